#include <cmath>
#include <limits>
#include <string>

#include "check.hpp"
#include "model/error.hpp"
#include "sample_set/float_text.hpp"
#include "sample_set/ragged.hpp"
#include "sample_set/record.hpp"
#include "sample_set/sample_set.hpp"

namespace vn {

namespace {

template <class F>
std::string error_of(F&& body, ErrorKind kind) {
  try {
    body();
  } catch (const Error& error) {
    if (error.kind() == kind) return error.what();
    return "wrong kind: " + std::string(error.what());
  }
  return "no error";
}

Record sparse_record(std::vector<uint64_t> indices, size_t axes, std::vector<double> values,
                     std::vector<uint64_t> shape) {
  CooSeries series;
  series.push({axes, indices, values, shape});
  return {SparseSolution{{"x", series}}, {1}};
}

}  // namespace

VN_TEST(float_styles) {
  struct Case {
    double value;
    const char *json, *debug, *display, *python;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {1.0, "1.0", "1.0", "1", "1.0"},
      {-0.0, "-0.0", "-0.0", "-0", "-0.0"},
      {0.5, "0.5", "0.5", "0.5", "0.5"},
      {1e-7, "1e-7", "1e-7", "0.0000001", "1e-07"},
      {1e-5, "0.00001", "1e-5", "0.00001", "1e-05"},
      {1e-4, "0.0001", "0.0001", "0.0001", "0.0001"},
      {1e15, "1000000000000000.0", "1000000000000000.0", "1000000000000000", "1000000000000000.0"},
      {1e16, "1e16", "1e16", "10000000000000000", "1e+16"},
      {1.5e300, "1.5e300", "1.5e300", nullptr, "1.5e+300"},
      {123.25, "123.25", "123.25", "123.25", "123.25"},
      {std::nan(""), "null", "NaN", "NaN", "nan"},
      {-inf, "null", "-inf", "-inf", "-inf"},
  };
  // Each value after a longer one: a text must not pick up what an earlier one left behind.
  for (const Case& c : cases) {
    VN_CHECK(float_text(-2.5e-300, FloatStyle::Json) == "-2.5e-300");
    VN_CHECK(float_text(c.value, FloatStyle::Json) == c.json);
    VN_CHECK(float_text(c.value, FloatStyle::Debug) == c.debug);
    if (c.display) VN_CHECK(float_text(c.value, FloatStyle::Display) == c.display);
    VN_CHECK(float_text(c.value, FloatStyle::Python) == c.python);
  }
}

// Shapes come from outside: no conversion may allocate what they claim before checking it.
VN_TEST(dense_conversion_refuses_hostile_shapes_before_allocating) {
  const uint64_t huge = uint64_t{1} << 40;
  for (auto shape : {std::vector<uint64_t>{huge, huge}, std::vector<uint64_t>{huge},
                     std::vector<uint64_t>{kMaxDenseElements + 1}}) {
    Record record = sparse_record({0, 0}, shape.size(), {1.0}, shape);
    if (shape.size() == 1) record = sparse_record({0}, 1, {1.0}, shape);
    const std::string message = error_of([&] { to_dense(record); }, ErrorKind::Value);
    VN_CHECK(message.find("more than one conversion may allocate") != std::string::npos ||
             message.find("is too large for an array") != std::string::npos);
  }
  // Many entries that each fit must not add up past the bound either.
  CooSeries series;
  const std::vector<uint64_t> shape{kMaxDenseElements / 2 + 1};
  for (int i = 0; i < 2; ++i) series.push({1, {}, {}, shape});
  Record record{SparseSolution{{"x", series}}, {1, 1}};
  VN_CHECK(error_of([&] { to_dense(record); }, ErrorKind::Value) != "no error");
}

VN_TEST(dense_conversion_reports_coordinates_outside_the_shape) {
  VN_CHECK(error_of([] { to_dense(sparse_record({2, 0}, 2, {1.0}, {2, 3})); }, ErrorKind::Index) ==
           "Failed to get a mutable reference to the array at [2, 0]. This might be caused by "
           "the shape mismatch. shape: [2, 3]");
  VN_CHECK(error_of([] { to_dense(sparse_record({1}, 1, {1.0}, {2, 3})); }, ErrorKind::Index) ==
           "Failed to get a mutable reference to the array at [1]. This might be caused by the "
           "shape mismatch. shape: [2, 3]");
}

VN_TEST(sparse_and_dense_forms_convert_both_ways) {
  DenseSeries dense;
  dense.push(std::vector<double>{0.0, 1.0, -0.0, 2.0, std::nan(""), 3.0},
             std::vector<uint64_t>{2, 3});
  dense.push(std::vector<double>{4.0}, std::vector<uint64_t>{});
  dense.push(std::vector<double>{}, std::vector<uint64_t>{2, 0});
  const Record record{DenseSolution{{"x", dense}}, {1, 2, 3}};
  const Record sparse = to_sparse(record);
  const CooEntry first = std::get<SparseSolution>(sparse.solution).at("x")[0];
  VN_CHECK(first.values.size() == 4 && first.axes == 2);
  VN_CHECK(first.axis(0)[2] == 1 && first.axis(1)[2] == 1 && std::isnan(first.values[2]));
  const Record back = to_dense(sparse);
  const auto& x = std::get<DenseSolution>(back.solution).at("x");
  VN_CHECK(x.shapes == dense.shapes && x.data[1][0] == 4.0 && x.data[2].empty());
  VN_CHECK(std::isnan(x.data[0][4]) && x.data[0][5] == 3.0);
}

// Whether run boundaries are stored depends on the runs alone, so equal runs compare equal
// however they were built.
VN_TEST(ragged_runs_of_equal_and_unequal_length) {
  using Runs = Ragged<int>;
  auto of = [](std::initializer_list<std::vector<int>> runs) {
    Runs ragged;
    for (const auto& run : runs) ragged.push(run);
    return ragged;
  };
  const Runs mixed = of({{1, 2}, {3}, {4, 5}});
  VN_CHECK(mixed.size() == 3 && mixed[1].size() == 1 && mixed[2][1] == 5);
  const size_t ends[] = {0, 2};
  VN_CHECK(mixed.select(ends) == of({{1, 2}, {4, 5}}));
  const size_t middle[] = {1, 1};
  VN_CHECK(mixed.select(middle) == of({{3}, {3}}));
  Runs joined = of({{1, 2}});
  joined.append(of({{3}, {4, 5}}));
  VN_CHECK(joined == mixed);
  Runs uniform = of({{1, 2}, {3, 4}});
  const size_t reversed[] = {1, 0};
  VN_CHECK(uniform.select(reversed) == of({{3, 4}, {1, 2}}));
  uniform.push(std::vector<int>{});
  VN_CHECK(uniform.size() == 3 && uniform[2].empty() && uniform[1][1] == 4);
}

VN_TEST(lowest_refuses_an_objective_shorter_than_the_violations) {
  SampleSet samples;
  samples.evaluation.constraint_violations["c"] = {0.0, 0.0, 0.0};
  samples.evaluation.objective = {1.0};
  VN_CHECK(error_of([&] { lowest(samples, 1e-5, 1e-8); }, ErrorKind::Value) ==
           "the objective holds 1 values but the constraint violations hold 3");
}

}  // namespace vn
