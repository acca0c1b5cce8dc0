#include "lib/definitions.hpp"
#include "lib/py/convert.hpp"
#include "lib/sample_set/forms.hpp"
#include "lib/sample_set/members.hpp"
#include "lib/sample_set/runtime.hpp"
#include "model/error.hpp"

namespace vn::bind {

namespace {

// A sample set and its metadata dict. The dict is held by reference: sample sets derived from
// this one (to_dense, feasible, ...) hold the same dict object.
struct SampleSetValue {
  SampleSet samples;
  py::Ref metadata;
  // Metadata takes no part in equality.
  friend bool operator==(const SampleSetValue& a, const SampleSetValue& b) {
    return a.samples == b.samples;
  }
};

const py::Signature kConstructor("SampleSet", {{"record"},
                                               {"evaluation"},
                                               {"measuring_time"},
                                               py::optional("metadata", "None")});
const py::Signature kToPandas("to_pandas", {});
const py::Signature kToDense("to_dense", {});
const py::Signature kIsDense("is_dense", {});
const py::Signature kIsSparse("is_sparse", {});
const py::Signature kBackendTime("get_backend_calculation_time", {});
const py::Signature kFeasible("feasible",
                              {py::optional("rtol", "1e-5"), py::optional("atol", "1e-8")});
const py::Signature kInfeasible("infeasible",
                                {py::optional("rtol", "1e-5"), py::optional("atol", "1e-8")});
const py::Signature kLowest("lowest", {py::optional("rtol", "1e-5"), py::optional("atol", "1e-8")});
const py::Signature kConcatenate("concatenate", {{"sample_sets"}});

const SampleSetValue& self_value(PyObject* self) { return py::value_of<SampleSetValue>(self); }

py::Ref new_dict() { return py::check(PyDict_New()); }

py::Ref wrap(SampleSet samples, py::Ref metadata) {
  return wrap_value(ClassId::SampleSet, SampleSetValue{std::move(samples), std::move(metadata)});
}

// The metadata dict; a new one if the collector has cleared it.
py::Ref metadata_of(const SampleSetValue& value) {
  return value.metadata ? value.metadata : new_dict();
}

py::Ref metadata_argument(PyObject* object) {
  if (!object || object == Py_None) return new_dict();
  return py::convert_argument("metadata", [&] {
    if (!PyDict_Check(object)) py::cannot_convert(object, "PyDict");
    return py::Ref::borrow(object);
  });
}

py::Ref construct(PyTypeObject*, const py::Args& args) {
  SampleSet samples;
  samples.record = py::convert_argument(
      "record", [&] { return value_argument<Record>(args[0], ClassId::Record); });
  samples.evaluation = py::convert_argument(
      "evaluation", [&] { return value_argument<Evaluation>(args[1], ClassId::Evaluation); });
  samples.measuring_time = py::convert_argument("measuring_time", [&] {
    return value_argument<MeasuringTime>(args[2], ClassId::MeasuringTime);
  });
  return wrap(std::move(samples), metadata_argument(args[3]));
}

// ---- attributes

py::Ref get_record(const SampleSetValue& v) {
  return wrap_value(ClassId::Record, v.samples.record);
}
void set_record(SampleSetValue& v, PyObject* value) {
  v.samples.record = value_argument<Record>(value, ClassId::Record);
}
py::Ref get_evaluation(const SampleSetValue& v) {
  return wrap_value(ClassId::Evaluation, v.samples.evaluation);
}
void set_evaluation(SampleSetValue& v, PyObject* value) {
  v.samples.evaluation = value_argument<Evaluation>(value, ClassId::Evaluation);
}
py::Ref get_measuring_time(const SampleSetValue& v) {
  return wrap_value(ClassId::MeasuringTime, v.samples.measuring_time);
}
void set_measuring_time(SampleSetValue& v, PyObject* value) {
  v.samples.measuring_time = value_argument<MeasuringTime>(value, ClassId::MeasuringTime);
}
py::Ref get_metadata(const SampleSetValue& v) { return metadata_of(v); }
void set_metadata(SampleSetValue& v, PyObject* value) {
  if (!PyDict_Check(value)) py::cannot_convert(value, "PyDict");
  v.metadata = py::Ref::borrow(value);
}

int traverse(PyObject* self, visitproc visit, void* arg) {
  Py_VISIT(py::value_of<SampleSetValue>(self).metadata.get());
  Py_VISIT(Py_TYPE(self));
  return 0;
}

int clear(PyObject* self) {
  py::value_of<SampleSetValue>(self).metadata = py::Ref();
  return 0;
}

// ---- dicts and JSON

py::Ref dict_of(const SampleSetValue& v, Numbers numbers) {
  py::Ref dict = new_dict();
  set_item(dict.get(), "record", record_to_dict(v.samples.record, numbers));
  set_item(dict.get(), "evaluation", evaluation_to_dict(v.samples.evaluation));
  set_item(dict.get(), "measuring_time", measuring_time_to_dict(v.samples.measuring_time));
  set_item(dict.get(), "metadata", metadata_of(v));
  return dict;
}

// The value under one of the three required keys: present, and a dict.
PyObject* required_part(PyObject* dict, const char* key) {
  PyObject* value = dict_item(dict, key);
  if (!value) {
    py::raise(PyExc_ValueError, std::string("the key '") + key + "' is not included in the dict");
  }
  if (!PyDict_Check(value)) {
    py::raise(PyExc_TypeError, std::string("the value of the key '") + key + "' is not dict");
  }
  return value;
}

py::Ref sample_set_from_dict(PyObject* dict) {
  SampleSet samples;
  samples.record = record_from_dict(required_part(dict, "record"));
  samples.evaluation = evaluation_from_dict(required_part(dict, "evaluation"));
  samples.measuring_time = measuring_time_from_dict(required_part(dict, "measuring_time"));
  PyObject* metadata = dict_item(dict, "metadata");
  if (metadata && !PyDict_Check(metadata)) {
    py::raise(PyExc_TypeError, "the value of the key 'metadata' is not dict");
  }
  return wrap(std::move(samples), metadata ? py::Ref::borrow(metadata) : new_dict());
}

py::Ref to_dict(PyObject* self, const py::Args&) {
  return dict_of(self_value(self), Numbers::Python);
}
py::Ref from_dict(const py::Args& args) { return sample_set_from_dict(dict_argument(args[0])); }

// The record's lists go to the JSON writer as arrays: it writes them as the same JSON lists,
// without a Python object per number.
py::Ref to_json(PyObject* self, const py::Args&) {
  return json_dumps(dict_of(self_value(self), Numbers::Arrays).get());
}

py::Ref from_json(const py::Args& args) {
  PyObject* text = py::convert_argument("json", [&] {
    if (!PyUnicode_Check(args[0])) py::cannot_convert(args[0], "str");
    return args[0];
  });
  py::Ref loaded = json_loads(text);
  if (!PyDict_Check(loaded.get())) {
    py::raise(PyExc_TypeError, std::string("the JSON text holds a ") + py::type_name(loaded.get()) +
                                   ", not an object");
  }
  return sample_set_from_dict(loaded.get());
}

// ---- conversions and filters

py::Ref pandas(PyObject* self, const py::Args&) {
  const SampleSet& samples = self_value(self).samples;
  py::Ref record = record_table(samples.record);
  py::Ref evaluation = evaluation_table(samples.evaluation);
  return side_by_side(record.get(), evaluation.get());
}

py::Ref derived(PyObject* self, SampleSet samples) {
  return wrap(std::move(samples), metadata_of(self_value(self)));
}

py::Ref dense(PyObject* self, const py::Args&) {
  const SampleSet& samples = self_value(self).samples;
  return derived(self, {to_dense(samples.record), samples.evaluation, samples.measuring_time});
}

py::Ref is_dense(PyObject* self, const py::Args&) {
  return py::from_bool(self_value(self).samples.record.is_dense());
}
py::Ref is_sparse(PyObject* self, const py::Args&) {
  return py::from_bool(!self_value(self).samples.record.is_dense());
}

template <SampleSet (*Filter)(const SampleSet&, double, double)>
py::Ref filtered(PyObject* self, const py::Args& args) {
  const double rtol =
      args[0] ? py::convert_argument("rtol", [&] { return py::to_float(args[0]); }) : 1e-5;
  const double atol =
      args[1] ? py::convert_argument("atol", [&] { return py::to_float(args[1]); }) : 1e-8;
  return derived(self, Filter(self_value(self).samples, rtol, atol));
}

py::Ref backend_time(PyObject* self, const py::Args&) {
  return backend_calculation_time(metadata_of(self_value(self)).get());
}

std::string text(const SampleSetValue& v) {
  py::Ref metadata = py::check(PyObject_Str(metadata_of(v).get()));
  return "SampleSet(record=" + to_text(v.samples.record) +
         ", evaluation=" + to_text(v.samples.evaluation) +
         ", measuring_time=" + to_text(v.samples.measuring_time) +
         ", metadata=" + py::to_text(metadata.get()) + ")";
}

// ---- concatenate

py::Ref concatenate_sets(const py::Args& args) {
  py::Sequence items = py::convert_argument("sample_sets", [&] { return py::Sequence(args[0]); });
  std::vector<const SampleSet*> sets;
  for (Py_ssize_t i = 0; i < items.size(); ++i) {
    const SampleSetValue& value = py::convert_argument("sample_sets", [&]() -> const auto& {
      return value_argument<SampleSetValue>(items[i], ClassId::SampleSet);
    });
    sets.push_back(&value.samples);
  }
  if (sets.empty()) py::raise(PyExc_ValueError, "empty list is invalid");
  if (sets.size() == 1) return wrap(*sets[0], metadata_of(self_value(items[0])));
  return wrap(concatenate(sets), new_dict());
}

}  // namespace

py::ClassDef define_sample_set() {
  py::ClassDef def = py::class_of<SampleSetValue>("SampleSet");
  def.doc =
      "What a solver returned: the solutions (record), their evaluation against the model "
      "(evaluation), the timing (measuring_time) and free-form metadata. Sample i is the i-th "
      "solution of the record, its i-th num_occurrences and the i-th entry of every per-sample "
      "array of the evaluation.\n\n"
      "The metadata dict is held by reference: sample sets made from this one (to_dense, "
      "feasible, infeasible, lowest) hold the same dict.";
  def.signature = &kConstructor;
  def.constructor = py::constructor<&construct, kConstructor>();
  def.getters = {
      py::property<SampleSetValue, &get_record, &set_record>("record", "A copy of the Record."),
      py::property<SampleSetValue, &get_evaluation, &set_evaluation>("evaluation",
                                                                     "A copy of the Evaluation."),
      py::property<SampleSetValue, &get_measuring_time, &set_measuring_time>(
          "measuring_time", "A copy of the MeasuringTime."),
      py::property<SampleSetValue, &get_metadata, &set_metadata>(
          "metadata", "The metadata dict itself (not a copy)."),
  };
  def.methods = {
      py::method<&to_dict, kToDictSignature>(
          "{\"record\": ..., \"evaluation\": ..., \"measuring_time\": ..., \"metadata\": ...}."),
      py::static_method<&from_dict, kFromDictSignature>(
          "A SampleSet from a dict as to_dict writes it; \"metadata\" may be missing."),
      py::method<&to_json, kToJsonSignature>(
          "JSON text of to_dict(), written by orjson with numpy arrays as JSON lists."),
      py::static_method<&from_json, kFromJsonSignature>(
          "Reads JSON text as to_json writes it, with orjson. Dense and sparse sample sets "
          "both read back what to_json wrote."),
      py::method<&pandas, kToPandas>(
          "pandas.concat([record.to_pandas(), evaluation.to_pandas()], axis=1)."),
      py::method<&dense, kToDense>("A new SampleSet whose record is in dense format."),
      py::method<&filtered<&feasible>, kFeasible>(
          "The feasible samples: those whose total constraint violation v satisfies "
          "|v| <= atol + rtol * |v|. NaN and infinity are infeasible. Without constraint "
          "violations every "
          "sample is feasible."),
      py::method<&filtered<&infeasible>, kInfeasible>("The samples that are not feasible."),
      py::method<&filtered<&lowest>, kLowest>(
          "The feasible samples with the lowest objective, every tie kept in sample order. "
          "Raises ValueError without constraint violations."),
      py::method<&is_dense, kIsDense>("Whether the record is in dense format."),
      py::method<&is_sparse, kIsSparse>("Whether the record is in sparse format."),
      py::method<&backend_time, kBackendTime>(
          "The durations, in seconds, of the spans the solving service recorded in metadata: "
          "a span without child spans gives its duration, a span with children a dict of "
          "them."),
  };
  def.slots = value_slots<SampleSetValue, &text>();
  def.traverse = &traverse;
  def.clear = &clear;
  return def;
}

py::Ref make_concatenate(PyObject* module) {
  return py::function<&concatenate_sets, kConcatenate>(
      module,
      "Joins two or more sample sets into one, its samples those of each set in list order.\n\n"
      "Every record must be sparse (see Record.to_sparse); a list of one sample set gives a "
      "copy of it, whatever its format. Sets without samples are passed over, whatever their "
      "format; the others must "
      "name the same decision variables, constraints and penalty terms, so that the per-sample "
      "lists of the result line up: each variable's solutions, num_occurrences, energy, "
      "objective, each constraint's violations, each penalty term's values and "
      "constraint_values are appended in list order. The forall index tuples of a constraint "
      "must agree between the sets. The result has new, empty metadata and a MeasuringTime "
      "whose fields are all None, since the sets were not measured as one run.\n\n"
      "This function will be deprecated in v1.1.0.");
}

}  // namespace vn::bind
