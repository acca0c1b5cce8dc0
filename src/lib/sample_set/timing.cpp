#include <utility>

#include "lib/definitions.hpp"
#include "lib/py/convert.hpp"
#include "lib/sample_set/forms.hpp"
#include "lib/sample_set/members.hpp"
#include "model/error.hpp"

namespace vn::bind {

namespace {

template <class T>
py::Ref seconds_of(const T& time, size_t field) {
  return py::from_optional_float(time.*Timing<T>::fields[field].member);
}

template <class T, size_t I>
py::Ref get_field(const T& time) {
  return seconds_of(time, I);
}

template <class T, size_t I>
void set_field(T& time, PyObject* value) {
  time.*Timing<T>::fields[I].member = py::to_optional_float(value);
}

// The members every timing record has, told once for SolvingTime and SystemTime.
template <class T, ClassId Id, const py::Signature& Constructor>
struct TimingClass {
  static py::Ref construct(PyTypeObject*, const py::Args& args) {
    T time;
    size_t i = 0;
    for (const auto& field : Timing<T>::fields) {
      time.*field.member =
          py::convert_argument(field.name, [&] { return py::to_optional_float(args[i]); });
      ++i;
    }
    return wrap_value(Id, time);
  }
  static T from_json(std::string_view text) {
    if constexpr (std::is_same_v<T, SolvingTime>) {
      return solving_time_from_json(text);
    } else {
      return system_time_from_json(text);
    }
  }
  using Methods = Conversions<T, Id, &timing_to_dict<T>, &timing_from_dict<T>, &to_json,
                              &TimingClass::from_json>;

  template <size_t... I>
  static std::vector<PyGetSetDef> properties(std::index_sequence<I...>) {
    return {py::property<T, &get_field<T, I>, &set_field<T, I>>(Timing<T>::fields[I].name)...};
  }

  static py::ClassDef define(const char* doc) {
    py::ClassDef def = py::class_of<T>(Timing<T>::name);
    def.doc = doc;
    def.signature = &Constructor;
    def.constructor = py::constructor<&construct, Constructor>();
    def.getters = properties(std::make_index_sequence<std::size(Timing<T>::fields)>());
    def.methods = Methods::methods({
        "A dict with one key per field, in field order.",
        "Reads the fields from a dict: a missing key or None gives None.",
        "Compact JSON text, one key per field.",
        "Reads JSON text as to_json writes it; missing keys and null give None.",
    });
    def.slots = value_slots<T, &to_text>();
    return def;
  }
};

const py::Signature kSolvingTime("SolvingTime",
                                 {py::optional("preprocess", "None"), py::optional("solve", "None"),
                                  py::optional("postprocess", "None")});
const py::Signature kSystemTime("SystemTime",
                                {py::optional("post_problem_and_instance_data", "None"),
                                 py::optional("request_queue", "None"),
                                 py::optional("fetch_problem_and_instance_data", "None"),
                                 py::optional("fetch_result", "None"),
                                 py::optional("deserialize_solution", "None")});
const py::Signature kMeasuringTime("MeasuringTime",
                                   {py::optional("solve", "None"), py::optional("system", "None"),
                                    py::optional("total", "None")});

using SolvingTimeClass = TimingClass<SolvingTime, ClassId::SolvingTime, kSolvingTime>;
using SystemTimeClass = TimingClass<SystemTime, ClassId::SystemTime, kSystemTime>;

// ---- MeasuringTime

template <class T>
T part_argument(const char* name, PyObject* object, ClassId id) {
  if (!object || object == Py_None) return T{};
  return py::convert_argument(name, [&] { return value_argument<T>(object, id); });
}

py::Ref construct_measuring_time(PyTypeObject*, const py::Args& args) {
  MeasuringTime time;
  time.solve = part_argument<SolvingTime>("solve", args[0], ClassId::SolvingTime);
  time.system = part_argument<SystemTime>("system", args[1], ClassId::SystemTime);
  time.total = py::convert_argument("total", [&] { return py::to_optional_float(args[2]); });
  return wrap_value(ClassId::MeasuringTime, time);
}

py::Ref get_solve(const MeasuringTime& time) {
  return wrap_value(ClassId::SolvingTime, time.solve);
}
void set_solve(MeasuringTime& time, PyObject* value) {
  time.solve = value_argument<SolvingTime>(value, ClassId::SolvingTime);
}
py::Ref get_system(const MeasuringTime& time) {
  return wrap_value(ClassId::SystemTime, time.system);
}
void set_system(MeasuringTime& time, PyObject* value) {
  time.system = value_argument<SystemTime>(value, ClassId::SystemTime);
}
py::Ref get_total(const MeasuringTime& time) { return py::from_optional_float(time.total); }
void set_total(MeasuringTime& time, PyObject* value) { time.total = py::to_optional_float(value); }

using MeasuringTimeConversions =
    Conversions<MeasuringTime, ClassId::MeasuringTime, &measuring_time_to_dict,
                &measuring_time_from_dict, &to_json, &measuring_time_from_json>;

}  // namespace

py::ClassDef define_solving_time() {
  return SolvingTimeClass::define(
      "The solver's own stages, in seconds: preprocess, solve and postprocess the problem. "
      "A stage not measured is None.");
}

py::ClassDef define_system_time() {
  return SystemTimeClass::define(
      "The stages of a remote run on the solving service, in seconds: uploading the problem "
      "and instance data to storage (post_problem_and_instance_data), sending the request to "
      "the queue (request_queue), fetching the problem and instance data from storage "
      "(fetch_problem_and_instance_data), fetching the result (fetch_result) and deserializing "
      "the returned JSON object (deserialize_solution). A stage not measured is None.");
}

py::ClassDef define_measuring_time() {
  py::ClassDef def = py::class_of<MeasuringTime>("MeasuringTime");
  def.doc =
      "The timing of a solve: the solver's stages (solve), the solving service's stages "
      "(system) and the total time in seconds (total, None when not measured).";
  def.signature = &kMeasuringTime;
  def.constructor = py::constructor<&construct_measuring_time, kMeasuringTime>();
  def.getters = {
      py::property<MeasuringTime, &get_solve, &set_solve>("solve", "The SolvingTime."),
      py::property<MeasuringTime, &get_system, &set_system>("system", "The SystemTime."),
      py::property<MeasuringTime, &get_total, &set_total>("total", "Total time in seconds."),
  };
  def.methods = MeasuringTimeConversions::methods({
      "{\"solve\": solve.to_dict(), \"system\": system.to_dict(), \"total\": total}.",
      "Reads a dict as to_dict writes it; a missing \"solve\" or \"system\" gives a part whose "
      "fields are all None.",
      "Compact JSON text of to_dict().",
      "Reads JSON text as to_json writes it; \"solve\" and \"system\" are required.",
  });
  def.slots = value_slots<MeasuringTime, &to_text>();
  return def;
}

}  // namespace vn::bind
