#include "sample_set/record.hpp"

#include <algorithm>

#include "model/error.hpp"
#include "sample_set/float_text.hpp"
#include "sample_set/json_reader.hpp"
#include "sample_set/json_writer.hpp"

namespace vn {

std::optional<uint64_t> element_count(std::span<const uint64_t> shape) {
  uint64_t count = 1;
  for (uint64_t dim : shape) {
    if (__builtin_mul_overflow(count, dim, &count)) return std::nullopt;
  }
  return count;
}

std::string bracketed(std::span<const uint64_t> values) {
  std::string text = "[";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(values[i]);
  }
  return text + "]";
}

namespace {

// Dense to coordinate form: every element that is not 0.0 (NaN included), in row-major order.
CooSeries sparse_of(const DenseSeries& dense) {
  CooSeries sparse;
  sparse.axes.reserve(dense.size());
  for (size_t i = 0; i < dense.size(); ++i) {
    const std::span<const double> data = dense.data[i];
    const std::span<const uint64_t> shape = dense.shapes[i];
    const size_t ndim = shape.size();
    const size_t nnz = static_cast<size_t>(
        std::count_if(data.begin(), data.end(), [](double x) { return x != 0.0; }));
    double* values = sparse.values.push_uninitialized(nnz);
    uint64_t* indices = sparse.indices.push_uninitialized(ndim * nnz);
    sparse.axes.push_back(ndim);
    sparse.shapes.push(shape);
    if (nnz == 0) continue;
    if (ndim == 0) {
      values[0] = data[0];
      continue;
    }
    // Rows along the last axis; `prefix` holds the coordinates of the current row.
    const uint64_t last = shape[ndim - 1];
    const size_t rows = data.size() / last;
    uint64_t* last_axis = indices + (ndim - 1) * nnz;
    std::vector<uint64_t> prefix(ndim - 1, 0);
    size_t k = 0;
    for (size_t row = 0; row < rows; ++row) {
      const double* elements = data.data() + row * last;
      for (uint64_t j = 0; j < last; ++j) {
        if (elements[j] == 0.0) continue;
        values[k] = elements[j];
        for (size_t a = 0; a + 1 < ndim; ++a) indices[a * nnz + k] = prefix[a];
        last_axis[k] = j;
        ++k;
      }
      for (size_t a = ndim - 1; a-- > 0;) {
        if (++prefix[a] < shape[a]) break;
        prefix[a] = 0;
      }
    }
  }
  return sparse;
}

[[noreturn]] void outside_shape(const CooEntry& entry, size_t k) {
  std::vector<uint64_t> at(entry.axes);
  for (size_t a = 0; a < entry.axes; ++a) at[a] = entry.axis(a)[k];
  fail(ErrorKind::Index,
       "Failed to get a mutable reference to the array at " + bracketed(at) +
           ". This might be caused by the shape mismatch. shape: " + bracketed(entry.shape));
}

// Checks every entry of the solution before the first array is allocated.
void check_dense_conversion(const SparseSolution& solution) {
  uint64_t total = 0;
  for (const auto& [name, series] : solution) {
    for (size_t i = 0; i < series.size(); ++i) {
      const CooEntry entry = series[i];
      // Arrays are addressed in signed bytes, even those with no elements: the product of the
      // non-zero dimensions must be addressable.
      uint64_t extent = sizeof(double);
      for (uint64_t dim : entry.shape) {
        if (__builtin_mul_overflow(extent, std::max<uint64_t>(dim, 1), &extent) ||
            extent > static_cast<uint64_t>(INT64_MAX)) {
          fail(ErrorKind::Value, "the shape " + bracketed(entry.shape) + " of " + name +
                                     " in sample " + std::to_string(i) +
                                     " is too large for an array");
        }
      }
      const std::optional<uint64_t> count = element_count(entry.shape);
      if (!count || __builtin_add_overflow(total, *count, &total) || total > kMaxDenseElements) {
        fail(ErrorKind::Value,
             "the dense arrays would hold more than " + std::to_string(kMaxDenseElements) +
                 " elements, more than one conversion may allocate (variable " + name +
                 ", sample " + std::to_string(i) + ", shape " + bracketed(entry.shape) + ")");
      }
      for (size_t k = 0; k < entry.values.size(); ++k) {
        if (entry.axes != entry.shape.size()) outside_shape(entry, k);
        for (size_t a = 0; a < entry.axes; ++a) {
          if (entry.axis(a)[k] >= entry.shape[a]) outside_shape(entry, k);
        }
      }
    }
  }
}

DenseSeries dense_of(const CooSeries& sparse) {
  DenseSeries dense;
  for (size_t i = 0; i < sparse.size(); ++i) {
    const CooEntry entry = sparse[i];
    double* data = dense.data.push_uninitialized(*element_count(entry.shape));
    dense.shapes.push(entry.shape);
    for (size_t k = 0; k < entry.values.size(); ++k) {
      uint64_t offset = 0;
      for (size_t a = 0; a < entry.axes; ++a) offset = offset * entry.shape[a] + entry.axis(a)[k];
      data[offset] = entry.values[k];  // a repeated coordinate keeps the last value
    }
  }
  return dense;
}

template <class Out, class In, class F>
Out map_series(const In& in, F convert) {
  Out out;
  for (const auto& [name, series] : in) out.emplace(name, convert(series));
  return out;
}

void check_selectable(size_t size, std::span<const size_t> positions, const std::string& what) {
  if (size != 0 && !positions.empty() && positions.back() >= size) {
    fail(ErrorKind::Value, "cannot select sample " + std::to_string(positions.back()) + ": " +
                               what + " holds " + std::to_string(size) + " samples");
  }
}

}  // namespace

Record to_dense(const Record& record) {
  if (record.is_dense()) return record;
  const auto& sparse = std::get<SparseSolution>(record.solution);
  check_dense_conversion(sparse);
  return {map_series<DenseSolution>(sparse, dense_of), record.num_occurrences};
}

Record to_sparse(const Record& record) {
  if (!record.is_dense()) return record;
  return {map_series<SparseSolution>(std::get<DenseSolution>(record.solution), sparse_of),
          record.num_occurrences};
}

Record select(const Record& record, std::span<const size_t> positions) {
  Record kept;
  std::visit(
      [&](const auto& solution) {
        using Map = std::decay_t<decltype(solution)>;
        Map selected;
        for (const auto& [name, series] : solution) {
          check_selectable(series.size(), positions, "the solution of " + name);
          if (series.size() == 0) {
            selected.emplace(name, series);
            continue;
          }
          typename Map::mapped_type part;
          if constexpr (std::is_same_v<Map, DenseSolution>) {
            part.data = series.data.select(positions);
            part.shapes = series.shapes.select(positions);
          } else {
            part.indices = series.indices.select(positions);
            part.axes = gather(series.axes, positions);
            part.values = series.values.select(positions);
            part.shapes = series.shapes.select(positions);
          }
          selected.emplace(name, std::move(part));
        }
        kept.solution = std::move(selected);
      },
      record.solution);
  check_selectable(record.num_occurrences.size(), positions, "num_occurrences");
  if (!record.num_occurrences.empty()) {
    kept.num_occurrences = gather(record.num_occurrences, positions);
  }
  return kept;
}

void extend(Record& into, const Record& more) {
  if (more.is_dense()) {
    fail(ErrorKind::Value, "Failed to extend the sparse solution with the dense solution.");
  }
  auto& solution = std::get<SparseSolution>(into.solution);
  for (const auto& [name, series] : std::get<SparseSolution>(more.solution)) {
    CooSeries& target = solution[name];
    target.indices.append(series.indices);
    target.axes.insert(target.axes.end(), series.axes.begin(), series.axes.end());
    target.values.append(series.values);
    target.shapes.append(series.shapes);
  }
  into.num_occurrences.insert(into.num_occurrences.end(), more.num_occurrences.begin(),
                              more.num_occurrences.end());
}

// ---- text

namespace {

template <class T, class F>
void append_list(std::string& out, std::span<const T> items, F append_item) {
  out += '[';
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    append_item(out, items[i]);
  }
  out += ']';
}

void append_tuple(std::string& out, std::span<const uint64_t> items) {
  out += '(';
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(items[i]);
  }
  out += items.size() == 1 ? ",)" : ")";
}

void append_index(std::string& out, uint64_t index) { out += std::to_string(index); }

// Nested brackets, one level per axis: "[[0, 1], [2.5, 0]]".
void append_array(std::string& out, std::span<const double> data, std::span<const uint64_t> shape) {
  if (shape.empty()) return append_float(out, data[0], FloatStyle::Display);
  const size_t stride = shape[0] == 0 ? 0 : data.size() / shape[0];
  out += '[';
  for (uint64_t i = 0; i < shape[0]; ++i) {
    if (i > 0) out += ", ";
    append_array(out, data.subspan(i * stride, stride), shape.subspan(1));
  }
  out += ']';
}

void append_entry(std::string& out, const CooEntry& entry) {
  out += "((";
  for (size_t a = 0; a < entry.axes; ++a) {
    if (a > 0) out += ", ";
    append_list(out, entry.axis(a), append_index);
  }
  out += entry.axes == 1 ? ",), " : "), ";
  append_list(out, entry.values,
              [](std::string& text, double x) { append_float(text, x, FloatStyle::Python); });
  out += ", ";
  append_tuple(out, entry.shape);
  out += ')';
}

}  // namespace

std::string to_text(const Record& record) {
  std::string out = "Record(solution={";
  bool first = true;
  std::visit(
      [&](const auto& solution) {
        for (const auto& [name, series] : solution) {
          if (!first) out += ", ";
          first = false;
          out += "'" + name + "': [";
          for (size_t i = 0; i < series.size(); ++i) {
            if (i > 0) out += ", ";
            if constexpr (std::is_same_v<std::decay_t<decltype(series)>, DenseSeries>) {
              append_array(out, series.data[i], series.shapes[i]);
            } else {
              append_entry(out, series[i]);
            }
          }
          out += ']';
        }
      },
      record.solution);
  out += "}, num_occurrences=";
  append_list(out, std::span<const int64_t>(record.num_occurrences),
              [](std::string& text, int64_t n) { text += std::to_string(n); });
  return out + ")";
}

// ---- JSON

std::string to_json(const Record& record) {
  JsonWriter json;
  json.begin_object().key("solution").begin_object();
  if (record.is_dense()) {
    json.key("Dense").begin_object();
    for (const auto& [name, series] : std::get<DenseSolution>(record.solution)) {
      json.key(name).begin_array();
      for (size_t i = 0; i < series.size(); ++i) {
        json.begin_object().key("v").value(int64_t{1});
        json.key("dim").list(series.shapes[i]).key("data").list(series.data[i]).end_object();
      }
      json.end_array();
    }
  } else {
    json.key("Sparse").begin_object();
    for (const auto& [name, series] : std::get<SparseSolution>(record.solution)) {
      json.key(name).begin_array();
      for (size_t i = 0; i < series.size(); ++i) {
        const CooEntry entry = series[i];
        json.begin_object().key("non_zero_indices").begin_array();
        for (size_t a = 0; a < entry.axes; ++a) json.list(entry.axis(a));
        json.end_array().key("non_zero_values").list(entry.values);
        json.key("shape").list(entry.shape).end_object();
      }
      json.end_array();
    }
  }
  json.end_object().end_object();
  json.key("num_occurrences").list(record.num_occurrences);
  return json.end_object().take();
}

namespace {

// {"v": 1, "dim": [...], "data": [...]}
void read_dense_array(JsonReader& json, DenseSeries& series) {
  std::vector<uint64_t> dim;
  std::vector<double> data;
  const char* const names[] = {"v", "dim", "data"};
  const uint64_t seen = json.read_fields(
      names,
      [&](size_t field) {
        if (field == 0) {
          if (json.read_unsigned() != 1) json.fail_at_last("unknown array version, expected 1");
        } else if (field == 1) {
          dim = read_unsigned_integers(json);
        } else {
          data = read_floats(json);
        }
      },
      /*deny_unknown=*/true);
  json.require(seen, names, 0b111);
  const std::optional<uint64_t> count = element_count(dim);
  if (!count || *count != data.size()) {
    json.fail_at_last("the array holds " + std::to_string(data.size()) +
                      " elements, which does not match its dimensions " + bracketed(dim));
  }
  series.push(data, dim);
}

// {"non_zero_indices": [[...], ...], "non_zero_values": [...], "shape": [...]}, or the three
// fields as an array in that order.
void read_coo(JsonReader& json, CooSeries& series) {
  std::vector<std::vector<uint64_t>> indices;
  std::vector<double> values;
  std::vector<uint64_t> shape;
  auto read_field = [&](size_t field) {
    if (field == 0) {
      read_list(json, indices, read_unsigned_integers);
    } else if (field == 1) {
      values = read_floats(json);
    } else {
      shape = read_unsigned_integers(json);
    }
  };
  const char* const names[] = {"non_zero_indices", "non_zero_values", "shape"};
  if (json.at_array()) {
    json.begin_array();
    for (size_t field = 0; field < 3; ++field) {
      if (!json.next_item()) {
        json.fail_at_last("invalid length " + std::to_string(field) +
                          ", expected an array of 3 elements");
      }
      read_field(field);
    }
    if (json.next_item()) json.fail("invalid length, expected an array of 3 elements");
  } else {
    json.require(json.read_fields(names, read_field), names, 0b111);
  }
  std::vector<uint64_t> flat;
  flat.reserve(indices.size() * values.size());
  for (size_t a = 0; a < indices.size(); ++a) {
    if (indices[a].size() != values.size()) {
      json.fail_at_last("the COO entry holds " + std::to_string(values.size()) + " values but " +
                        std::to_string(indices[a].size()) + " indices on axis " +
                        std::to_string(a));
    }
    flat.insert(flat.end(), indices[a].begin(), indices[a].end());
  }
  series.push({indices.size(), flat, values, shape});
}

// {name: [item, ...], ...}
template <class Series, class ReadItem>
void read_series_map(JsonReader& json, std::map<std::string, Series>& into, ReadItem read_item) {
  read_map(json, into, [&](JsonReader& j, Series& series) {
    j.begin_array();
    while (j.next_item()) read_item(j, series);
  });
}

Solution read_solution(JsonReader& json) {
  json.begin_object();
  std::string variant;
  if (!json.next_key(variant)) {
    json.fail_at_last("invalid type: empty object, expected an object naming `Dense` or `Sparse`");
  }
  Solution solution;
  if (variant == "Dense") {
    DenseSolution dense;
    read_series_map(json, dense, read_dense_array);
    solution = std::move(dense);
  } else if (variant == "Sparse") {
    SparseSolution sparse;
    read_series_map(json, sparse, read_coo);
    solution = std::move(sparse);
  } else {
    json.fail_at_last("unknown variant `" + variant + "`, expected `Dense` or `Sparse`");
  }
  std::string extra;
  if (json.next_key(extra)) {
    json.fail_at_last(
        "invalid type: object with more than one key, expected an object naming "
        "`Dense` or `Sparse`");
  }
  return solution;
}

}  // namespace

Record record_from_json(std::string_view text) {
  JsonReader json(text);
  Record record;
  const char* const names[] = {"solution", "num_occurrences"};
  const uint64_t seen = json.read_fields(names, [&](size_t field) {
    if (field == 0) {
      record.solution = read_solution(json);
    } else {
      read_list(json, record.num_occurrences, [](JsonReader& j) { return j.read_int(); });
    }
  });
  json.require(seen, names, 0b11);
  return record;
}

}  // namespace vn
