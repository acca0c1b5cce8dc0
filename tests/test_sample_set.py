"""SampleSet: construction, metadata sharing, filters, dict/JSON forms, concatenate, span times."""

import gc
import inspect
import math
import weakref

import numpy as np
import orjson
import pytest

import varnova as vn


def record(values, dense=True):
    """One variable x of shape (2,) per sample, x = (value, 0)."""
    r = vn.Record({"x": [np.array([v, 0.0]) for v in values]}, [1] * len(values))
    return r if dense else r.to_sparse()


def sample_set(violations, objective, dense=True, metadata=None, **evaluation):
    n = len(objective)
    e = vn.Evaluation(energy=[float(i) for i in range(n)], objective=objective,
                      constraint_violations=violations, **evaluation)
    return vn.SampleSet(record([float(i) for i in range(n)], dense), e,
                        vn.MeasuringTime(total=1.5), metadata)


def kept(samples):
    """The sample numbers kept, as recorded in energy (sample i has energy i)."""
    return [int(v) for v in samples.evaluation.energy]


def orjson_recipe(samples):
    def default(obj):
        return obj.tolist() if isinstance(obj, np.ndarray) else obj
    return orjson.dumps(samples.to_dict(), default=default,
                        option=orjson.OPT_SERIALIZE_NUMPY).decode("utf-8")


def test_constructor_and_signatures():
    assert str(inspect.signature(vn.SampleSet)) == \
        "(record, evaluation, measuring_time, metadata=None)"
    assert str(inspect.signature(vn.SampleSet.feasible)) == "(self, /, rtol=1e-05, atol=1e-08)"
    assert str(inspect.signature(vn.concatenate)) == "(sample_sets)"
    assert "deprecated in v1.1.0" in vn.concatenate.__doc__
    s = vn.SampleSet(vn.Record({}, []), vn.Evaluation(), vn.MeasuringTime())
    assert s.metadata == {} and s.is_dense() and not s.is_sparse()


@pytest.mark.parametrize("args, message", [
    ((1, vn.Evaluation(), vn.MeasuringTime()),
     "argument 'record': 'int' object cannot be converted to 'Record'"),
    ((vn.Record({}, []), vn.Record({}, []), vn.MeasuringTime()),
     "argument 'evaluation': 'Record' object cannot be converted to 'Evaluation'"),
    ((vn.Record({}, []), vn.Evaluation(), vn.SolvingTime()),
     "argument 'measuring_time': 'SolvingTime' object cannot be converted to 'MeasuringTime'"),
    ((vn.Record({}, []), vn.Evaluation(), vn.MeasuringTime(), []),
     "argument 'metadata': 'list' object cannot be converted to 'PyDict'"),
])
def test_constructor_errors(args, message):
    with pytest.raises(TypeError) as error:
        vn.SampleSet(*args)
    assert str(error.value) == message


def test_metadata_is_shared_by_reference():
    metadata = {"a": 1}
    s = sample_set({"c": [0.0, 1.0]}, [1.0, 2.0], metadata=metadata)
    assert s.metadata is metadata
    s.metadata["b"] = 2
    assert s.to_dict()["metadata"] is metadata
    for derived in (s.feasible(), s.infeasible(), s.lowest(), s.to_dense()):
        assert derived.metadata is metadata
    fresh = sample_set({}, [])
    assert fresh.metadata == {} and fresh.metadata is fresh.metadata
    s.metadata = {"c": 3}
    assert s.feasible().metadata == {"c": 3}
    with pytest.raises(TypeError):
        s.metadata = 1
    with pytest.raises(AttributeError):
        del s.metadata


def test_getters_return_copies_and_setters_copy_in():
    s = sample_set({"c": [0.0, 1.0]}, [1.0, 2.0])
    r = s.record
    r.num_occurrences = [5, 5]
    assert s.record.num_occurrences == [1, 1]
    s.record = r
    r.num_occurrences = [7, 7]
    assert s.record.num_occurrences == [5, 5]
    s.measuring_time = vn.MeasuringTime(total=9)
    assert s.measuring_time.total == 9.0
    with pytest.raises(TypeError, match="cannot be converted to 'Evaluation'"):
        s.evaluation = s.record
    for name in ("record", "evaluation", "measuring_time"):
        with pytest.raises(AttributeError):
            delattr(s, name)


class Marker:
    pass


def test_metadata_cycles_are_collected():
    s = sample_set({}, [])
    marker = Marker()
    s.metadata["self"], s.metadata["marker"] = s, marker
    ref = weakref.ref(marker)
    del s, marker
    gc.collect()
    assert ref() is None


@pytest.mark.parametrize("violations, rtol, atol, feasible", [
    ({"c": [0.0, 1e-8, 2e-8, math.nan]}, 0.0, 1e-8, [0, 1]),      # atol itself is feasible
    ({"c": [0.0, 1e-9, -1e-9, 1e-7]}, 1e-5, 1e-8, [0, 1, 2]),
    ({"a": [0.5, 0.0], "b": [-0.5, 0.0]}, 0.0, 0.0, [0, 1]),        # totals, not each one
    ({"a": [1.0, 0.0], "b": [0.0, 1.0]}, 0.0, 0.5, []),
    ({"c": [math.inf, -math.inf, 0.0]}, 1e-5, 1e-8, [2]),        # infinity is never feasible
    ({"a": [math.inf], "b": [-math.inf]}, 1e-5, 1e-8, []),
    ({"c": [1.0, 2.0]}, 1.0, 0.0, [0, 1]),                          # |v| <= rtol * |v|
])
def test_feasible_and_infeasible_split_the_samples(violations, rtol, atol, feasible):
    n = len(next(iter(violations.values())))
    s = sample_set(violations, [1.0] * n)
    assert kept(s.feasible(rtol, atol)) == feasible
    assert kept(s.infeasible(rtol=rtol, atol=atol)) == [i for i in range(n) if i not in feasible]


def test_selection_keeps_every_per_sample_field():
    s = sample_set({"c": [1.0, 0.0, 0.0]}, [3.0, 2.0, 1.0], dense=False,
                   constraint_forall={"c": [[0]]},
                   constraint_values=[{"c": [1.0]}, {"c": [0.0]}, {"c": [0.5]}],
                   penalty={"p": [7.0, 8.0, 9.0]})
    f = s.feasible()
    assert f.is_sparse()
    assert f.record == vn.Record({"x": [(([0],), [1.0], (2,)), (([0],), [2.0], (2,))]}, [1, 1])
    e = f.evaluation
    assert list(e.objective) == [2.0, 1.0] and list(e.penalty["p"]) == [8.0, 9.0]
    assert [list(v["c"]) for v in e.constraint_values] == [[0.0], [0.5]]
    assert e.constraint_forall["c"].tolist() == [[0]]
    assert f.measuring_time == s.measuring_time


def test_without_violations_all_samples_are_feasible():
    s = vn.SampleSet(record([1.0, 2.0]), vn.Evaluation(objective=[1.0, 2.0]), vn.MeasuringTime())
    assert s.feasible() == s and s.feasible() is not s
    none = s.infeasible()
    assert none.record.num_occurrences == [] and none.record.solution == {"x": []}
    assert list(none.evaluation.objective) == []
    with pytest.raises(ValueError, match="^constraint violation is empty$"):
        s.lowest()


@pytest.mark.parametrize("violations, objective, lowest", [
    ({"c": [0.0, 0.0, 0.0, 1.0]}, [2.0, 1.0, 1.0, 0.0], [1, 2]),   # ties kept, infeasible out
    ({"c": [0.0, 0.0]}, [math.nan, 3.0], [1]),                    # NaN ignored
    ({"c": [0.0, 0.0]}, [math.nan, math.nan], []),
    ({"c": [1.0, 1.0]}, [1.0, 2.0], []),
    ({"c": [0.0, 0.0]}, [-math.inf, 1.0], [0]),
])
def test_lowest(violations, objective, lowest):
    assert kept(sample_set(violations, objective).lowest()) == lowest


@pytest.mark.parametrize("make, message", [
    (lambda: vn.SampleSet(record([1.0, 2.0]),
                          vn.Evaluation(objective=[1.0], constraint_violations={"c": [0.0, 0.0]}),
                          vn.MeasuringTime()),
     "the objective holds 1 values but the constraint violations hold 2"),
])
def test_lowest_refuses_an_objective_shorter_than_the_violations(make, message):
    with pytest.raises(ValueError, match=f"^{message}$"):
        make().lowest()


@pytest.mark.parametrize("evaluation, counts, message", [
    (vn.Evaluation(constraint_violations={"a": [0.0, 0.0], "b": [0.0]}), [1, 1],
     "operands could not be broadcast together with shapes (2,) (1,)"),
    (vn.Evaluation(energy=[1.0], constraint_violations={"c": [1.0, 0.0]}), [1, 1],
     "cannot select sample 1: energy holds 1 samples"),
    (vn.Evaluation(constraint_violations={"c": [1.0, 0.0]}), [1],
     "cannot select sample 1: num_occurrences holds 1 samples"),
    (vn.Evaluation(constraint_violations={"c": [1.0, 0.0]}, penalty={"p": [1.0]}), [1, 1],
     "cannot select sample 1: the penalty p holds 1 samples"),
])
def test_filters_refuse_samples_missing_from_a_field(evaluation, counts, message):
    s = vn.SampleSet(vn.Record({}, counts), evaluation, vn.MeasuringTime())
    with pytest.raises(ValueError) as error:
        s.feasible()
    assert str(error.value) == message


def test_filters_refuse_short_solutions():
    s = vn.SampleSet(record([1.0]),
                     vn.Evaluation(constraint_violations={"c": [1.0, 0.0]}), vn.MeasuringTime())
    with pytest.raises(ValueError, match="^cannot select sample 1: the solution of x holds 1 "):
        s.feasible()


def test_filter_arguments():
    s = sample_set({"c": [0.0]}, [1.0])
    with pytest.raises(TypeError, match="^argument 'rtol': must be real number, not str$"):
        s.feasible("1")
    with pytest.raises(TypeError, match="takes from 0 to 2 positional arguments but 3 were"):
        s.lowest(1, 2, 3)


def test_to_dict_and_from_dict():
    s = sample_set({"c": [0.0, 1.0]}, [1.0, 2.0], metadata={"k": [1]})
    d = s.to_dict()
    assert list(d) == ["record", "evaluation", "measuring_time", "metadata"]
    back = vn.SampleSet.from_dict(d)
    assert back == s and back.metadata is d["metadata"]
    del d["metadata"]
    assert vn.SampleSet.from_dict(d).metadata == {}


@pytest.mark.parametrize("change, error, message", [
    (lambda d: d.pop("record"), ValueError, "the key 'record' is not included in the dict"),
    (lambda d: d.pop("evaluation"), ValueError,
     "the key 'evaluation' is not included in the dict"),
    (lambda d: d.pop("measuring_time"), ValueError,
     "the key 'measuring_time' is not included in the dict"),
    (lambda d: d.update(record=[]), TypeError, "the value of the key 'record' is not dict"),
    (lambda d: d.update(evaluation=1), TypeError,
     "the value of the key 'evaluation' is not dict"),
    (lambda d: d.update(measuring_time=None), TypeError,
     "the value of the key 'measuring_time' is not dict"),
    (lambda d: d.update(metadata=[]), TypeError, "the value of the key 'metadata' is not dict"),
    (lambda d: d["measuring_time"].update(solve=1), ValueError,
     "the value of the key 'solve' is not dict"),
])
def test_from_dict_errors(change, error, message):
    d = sample_set({"c": [0.0]}, [1.0]).to_dict()
    change(d)
    with pytest.raises(error) as raised:
        vn.SampleSet.from_dict(d)
    assert str(raised.value) == message
    with pytest.raises(TypeError, match="^argument 'dict': "):
        vn.SampleSet.from_dict([])


@pytest.mark.parametrize("dense", [True, False])
@pytest.mark.parametrize("metadata", [{}, {"solver": "x", "n": [1, 2.5, None], "t": 1e-7}])
def test_to_json_is_the_orjson_text_of_to_dict_and_reads_back(dense, metadata):
    s = sample_set({"c": [0.0, 1.0]}, [1.0, 2.0], dense=dense, metadata=metadata,
                   constraint_forall={"c": [[0, 1]]},
                   constraint_values=[{"c": [0.5]}, {"c": [1e16]}])
    text = s.to_json()
    assert text == orjson_recipe(s)
    back = vn.SampleSet.from_json(text)
    assert back == s and back.is_dense() == dense and back.metadata == metadata


@pytest.mark.parametrize("solution", [
    {"x": [np.array(2.5), np.array(-0.0)]},
    {"x": [np.zeros((2, 0)), np.zeros((0,))]},
    {"x": [np.arange(24.0).reshape(2, 3, 4), np.full((2, 3, 4), np.nan)]},
    {"x": [(([], []), [], (2, 3)), ((), [1.0], ())]},
    {"x": [(([0, 1, 1], [1, 0, 2]), [1.0, 2.0, 3.0], (2, 3)), (([2], [0]), [5.0], (3, 1))]},
    {},
])
def test_to_json_round_trips_records_of_every_shape(solution):
    s = vn.SampleSet(vn.Record(solution, [1, 1] if solution else []), vn.Evaluation(),
                     vn.MeasuringTime())
    text = s.to_json()
    assert text == orjson_recipe(s)
    back = vn.SampleSet.from_json(text)
    assert back.is_dense() == s.is_dense()
    assert back.record.to_json() == s.record.to_json()  # NaN equals nothing: compare texts


def test_to_json_lets_orjson_errors_through():
    s = sample_set({}, [], metadata={"x": object()})
    with pytest.raises(TypeError):
        s.to_json()


@pytest.mark.parametrize("text, error", [
    ("[1]", TypeError),
    ("{", orjson.JSONDecodeError),
    ('{"record": {}}', ValueError),
])
def test_from_json_errors(text, error):
    with pytest.raises(error):
        vn.SampleSet.from_json(text)
    with pytest.raises(TypeError, match="^argument 'json': 'bytes' object cannot be converted"):
        vn.SampleSet.from_json(b"{}")


def test_text_form():
    s = vn.SampleSet(vn.Record({}, []), vn.Evaluation(), vn.MeasuringTime(), {"k": "v"})
    assert repr(s) == str(s) == (
        "SampleSet(record=" + repr(s.record) + ", evaluation=" + repr(s.evaluation) +
        ", measuring_time=" + repr(s.measuring_time) + ", metadata={'k': 'v'})")


def test_equality_ignores_metadata():
    assert sample_set({"c": [0.0]}, [1.0], metadata={"a": 1}) == \
        sample_set({"c": [0.0]}, [1.0], metadata={"b": 2})
    assert sample_set({"c": [0.0]}, [1.0]) != sample_set({"c": [0.0]}, [2.0])
    assert sample_set({"c": [0.0]}, [1.0]) != sample_set({"c": [0.0]}, [1.0], dense=False)
    assert (sample_set({}, []) == 1) is False
    for op in ("<", "<=", ">", ">="):
        with pytest.raises(TypeError, match=f"^Comparison '{op}' not supported for SampleSet$"):
            eval(f"a {op} a", {"a": sample_set({}, [])})


def test_to_dense():
    s = sample_set({"c": [0.0]}, [1.0], dense=False)
    d = s.to_dense()
    assert d.is_dense() and d.record == s.record.to_dense() and d.evaluation == s.evaluation
    assert s.to_dense().to_dense() == d and d.to_dense() is not d


def test_to_pandas_puts_the_record_and_evaluation_tables_side_by_side():
    table = sample_set({"c": [0.0, 1.0]}, [1.0, 2.0], penalty={"p": [0.0, 0.5]}).to_pandas()
    assert list(table.columns) == ["solution[x]", "num_occurrences", "energy", "objective",
                                   "constraint_forall", "constraint_values",
                                   "constraint_violation[c]", "penalty[p]"]
    assert len(table) == 2 and list(table["penalty[p]"]) == [0.0, 0.5]


def sparse_set(values, violations, name="x", metadata=None):
    r = vn.Record({name: [(([0],), [v], (2,)) for v in values]}, [1] * len(values))
    e = vn.Evaluation(energy=values, objective=values, constraint_violations={"c": violations},
                      constraint_forall={"c": [[0]]})
    return vn.SampleSet(r, e, vn.MeasuringTime(total=1.0), metadata)


def test_concatenate_appends_samples_in_list_order():
    a, b = sparse_set([1.0, 2.0], [0.0, 1.0]), sparse_set([3.0], [0.5])
    joined = vn.concatenate([a, b, sparse_set([], [])])
    assert joined.record == vn.Record(
        {"x": [(([0],), [v], (2,)) for v in (1.0, 2.0, 3.0)]}, [1, 1, 1])
    e = joined.evaluation
    assert list(e.objective) == [1.0, 2.0, 3.0]
    assert list(e.constraint_violations["c"]) == [0.0, 1.0, 0.5]
    assert e.constraint_forall["c"].tolist() == [[0]]
    assert joined.measuring_time == vn.MeasuringTime() and joined.metadata == {}
    assert kept_objective(vn.concatenate((b, a))) == [3.0, 1.0, 2.0]


def kept_objective(samples):
    return list(samples.evaluation.objective)


def test_concatenate_of_one_set_is_a_copy_in_any_format():
    metadata = {"k": 1}
    s = sample_set({"c": [0.0]}, [1.0], metadata=metadata)
    copy = vn.concatenate([s])
    assert copy == s and copy is not s and copy.is_dense() and copy.metadata is metadata


@pytest.mark.parametrize("sets, error, message", [
    ([], ValueError, "empty list is invalid"),
    ([sample_set({"c": [0.0]}, [1.0]), sample_set({"c": [0.0]}, [1.0])], ValueError,
     "Failed to extend the sparse solution with the dense solution."),
    ([sparse_set([1.0], [0.0]), sample_set({"c": [0.0]}, [1.0])], ValueError,
     "Failed to extend the sparse solution with the dense solution."),
    ([sparse_set([1.0], [0.0]), sparse_set([1.0], [0.0], name="y")], ValueError,
     "cannot concatenate sample sets with different decision variables: [x] and [y]"),
    ([sparse_set([1.0], [0.0]), 1], TypeError,
     "argument 'sample_sets': 'int' object cannot be converted to 'SampleSet'"),
    ("ab", TypeError, "argument 'sample_sets': 'str' object cannot be converted to 'Sequence'"),
])
def test_concatenate_errors(sets, error, message):
    with pytest.raises(error) as raised:
        vn.concatenate(sets)
    assert str(raised.value) == message


def test_concatenate_refuses_sets_whose_constraints_do_not_line_up():
    a = sparse_set([1.0], [0.0])
    b = sparse_set([1.0], [0.0])
    e = b.evaluation
    e.constraint_violations = {"d": [0.0]}
    b.evaluation = e
    with pytest.raises(ValueError, match=r"different constraints: \[c\] and \[d\]"):
        vn.concatenate([a, b])
    e.constraint_violations = {"c": [0.0]}
    e.constraint_forall = {"c": [[1]]}
    b.evaluation = e
    with pytest.raises(ValueError, match="different forall index tuples for the constraint c"):
        vn.concatenate([a, b])


def span(start, end, span_id, parent_id=None):
    return {"name": span_id, "start_time": start, "end_time": end,
            "context": {"trace_id": "t", "span_id": span_id}, "parent_id": parent_id,
            "attributes": {}}


def test_backend_calculation_time_reports_nested_spans():
    metadata = {
        "solve": span("2026-01-01T00:00:00.000000Z", "2026-01-01T00:00:03.500000Z", "s"),
        "preprocess": span("2026-01-01T00:00:00.000000Z", "2026-01-01T00:00:00.250000Z",
                           "p", "s"),
        "search": span("2026-01-01T00:00:00.250000Z", "2026-01-01T00:00:03.250000Z", "q", "s"),
        "branch": span("2026-01-01T00:00:00.250000Z", "2026-01-01T00:00:01.000000Z", "b", "q"),
        "solver": "name",
    }
    before = repr(metadata)
    s = sample_set({}, [], metadata=metadata)
    assert s.get_backend_calculation_time() == {
        "solve": {"preprocess": 0.25, "search": {"branch": 0.75}},
        "preprocess": 0.25,
        "search": {"branch": 0.75},
        "branch": 0.75,
    }
    assert repr(metadata) == before


def test_backend_calculation_time_edge_cases():
    assert sample_set({}, []).get_backend_calculation_time() == {}
    assert sample_set({}, [], metadata={"x": 1}).get_backend_calculation_time() == {}
    cycle = {"a": span("2026-01-01T00:00:00.0Z", "2026-01-01T00:00:01.0Z", "a", "b"),
             "b": span("2026-01-01T00:00:00.0Z", "2026-01-01T00:00:02.0Z", "b", "a")}
    assert sample_set({}, [], metadata=cycle).get_backend_calculation_time() == \
        {"a": {"b": 2.0}, "b": {"a": 1.0}}


@pytest.mark.parametrize("metadata, error", [
    ({"a": {"start_time": "2026-01-01T00:00:00.0Z"}}, KeyError),
    ({"a": span("2026-01-01 00:00:00", "2026-01-01T00:00:01.0Z", "a")}, ValueError),
    ({"group": {"inner": span("2026-01-01T00:00:00.0Z", "2026-01-01T00:00:01.0Z", "i")}},
     KeyError),
    ({1: {}}, TypeError),
])
def test_backend_calculation_time_lets_errors_through(metadata, error):
    with pytest.raises(error):
        sample_set({}, [], metadata=metadata).get_backend_calculation_time()
