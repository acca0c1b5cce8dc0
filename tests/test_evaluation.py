"""Evaluation: fields, dict/JSON forms, text, equality and its pandas table."""

import inspect
import math

import numpy as np
import pytest

import varnova as vn

FIELDS = ["energy", "objective", "constraint_violations", "constraint_forall",
          "constraint_values", "penalty"]


def full():
    return vn.Evaluation(
        energy=[1.0, 2.0], objective=np.array([3.0, -4.5]),
        constraint_violations={"c": [0.0, 1.0], "b": np.array([0.5, 0.0])},
        constraint_forall={"c": [[0, 1], [1, 0]], "b": np.array([[2]])},
        constraint_values=[{"c": [0.5, 1.5], "b": [0.0]}, {"c": [0.0, 1.0], "b": [1e-7]}],
        penalty={"p": [1e16, -2.0]})


def assert_same_form(got, want):
    if isinstance(want, dict):
        assert list(got) == list(want)
        for key in want:
            assert_same_form(got[key], want[key])
    elif isinstance(want, list):
        assert len(got) == len(want)
        for a, b in zip(got, want):
            assert_same_form(a, b)
    else:
        assert type(got) is np.ndarray and got.dtype == want.dtype
        np.testing.assert_array_equal(got, want)


def test_empty_evaluation():
    e = vn.Evaluation()
    assert str(inspect.signature(vn.Evaluation)) == \
        "(" + ", ".join(f"{f}=None" for f in FIELDS) + ")"
    assert e.energy.shape == (0,) and e.energy.dtype == np.float64
    assert (e.constraint_violations, e.constraint_forall, e.constraint_values, e.penalty) == \
        ({}, {}, [], {})
    assert e.to_json() == ('{"energy":[],"objective":[],"constraint_violations":{},'
                           '"constraint_forall":{},"constraint_values":[],"penalty":{}}')


def test_getters_give_python_forms_in_name_order():
    e = full()
    assert list(e.to_dict()) == FIELDS
    assert_same_form(e.to_dict(), {
        "energy": np.array([1.0, 2.0]), "objective": np.array([3.0, -4.5]),
        "constraint_violations": {"b": np.array([0.5, 0.0]), "c": np.array([0.0, 1.0])},
        "constraint_forall": {"b": np.array([[2]]), "c": np.array([[0, 1], [1, 0]])},
        "constraint_values": [{"b": np.array([0.0]), "c": np.array([0.5, 1.5])},
                              {"b": np.array([1e-7]), "c": np.array([0.0, 1.0])}],
        "penalty": {"p": np.array([1e16, -2.0])}})
    assert e.constraint_forall["c"].dtype == np.int64


def test_getters_return_copies_and_setters_replace():
    e = full()
    e.energy[0] = 99.0
    e.constraint_violations["c"][0] = 99.0
    e.constraint_values.append({})
    assert e == full()
    e.energy = (5, 6)
    e.penalty = None
    assert list(e.energy) == [5.0, 6.0] and e.penalty == {}
    for name in FIELDS:
        with pytest.raises(AttributeError):
            delattr(e, name)
    with pytest.raises(AttributeError):
        e.constraint_expr_values = []


def test_constraint_expr_values_pairs_forall_tuples_with_values():
    e = vn.Evaluation(constraint_forall={"c": [[0], [1]]},
                      constraint_values=[{"c": [0.5, 1.5]}, {"c": [2.0, 3.0]}])
    assert e.constraint_expr_values == [{"c": {(0,): 0.5, (1,): 1.5}},
                                        {"c": {(0,): 2.0, (1,): 3.0}}]
    short = vn.Evaluation(constraint_forall={"c": [[0]]}, constraint_values=[{"c": [0.5, 1.5]}])
    with pytest.raises(ValueError, match="^the constraint c has 1 forall index tuples but 2 "
                                         "values in sample 0$"):
        short.constraint_expr_values
    with pytest.raises(ValueError, match="has 0 forall index tuples"):
        vn.Evaluation(constraint_values=[{"d": [1.0]}]).constraint_expr_values


@pytest.mark.parametrize("kwargs, message", [
    ({"energy": "abc"}, "argument 'energy': 'str' object cannot be converted to '1-D float64 "
                        "array'"),
    ({"objective": [[1.0]]}, "argument 'objective': 'list' object cannot be converted to "
                             "'1-D float64 array'"),
    ({"constraint_violations": [1.0]}, "argument 'constraint_violations': 'list' object cannot "
                                       "be converted to 'PyDict'"),
    ({"constraint_violations": {1: [1.0]}}, "argument 'constraint_violations': 'int' object "
                                            "cannot be converted to 'str'"),
    ({"constraint_forall": {"c": [[0.5]]}}, "argument 'constraint_forall': 'list' object cannot "
                                            "be converted to '2-D int64 array'"),
    ({"constraint_forall": {"c": [0, 1]}}, "argument 'constraint_forall': 'list' object cannot "
                                           "be converted to '2-D int64 array'"),
    ({"constraint_values": {"c": [1.0]}}, "argument 'constraint_values': 'dict' object cannot be "
                                          "converted to 'Sequence'"),
    ({"penalty": {"p": {"q": 1}}}, "argument 'penalty': 'dict' object cannot be converted to "
                                   "'1-D float64 array'"),
])
def test_constructor_errors_name_the_argument(kwargs, message):
    with pytest.raises(TypeError) as error:
        vn.Evaluation(**kwargs)
    assert str(error.value) == message


def test_from_dict():
    assert vn.Evaluation.from_dict(full().to_dict()) == full()
    assert vn.Evaluation.from_dict({"energy": [1.0], "other": 1}) == vn.Evaluation(energy=[1.0])
    with pytest.raises(TypeError, match="^argument 'dict': "):
        vn.Evaluation.from_dict("energy")


@pytest.mark.parametrize("make", [vn.Evaluation, full,
                                  lambda: vn.Evaluation(constraint_forall={"c": [[]]})])
def test_json_round_trips(make):
    e = make()
    assert vn.Evaluation.from_json(e.to_json()) == e


def test_json_writes_non_finite_values_as_null_and_reads_them_back_as_nan():
    e = vn.Evaluation(energy=[math.nan, math.inf, 1.0])
    assert e.to_json().startswith('{"energy":[null,null,1.0],')
    assert np.isnan(vn.Evaluation.from_json(e.to_json()).energy[:2]).all()


def test_json_layout():
    assert full().to_json() == (
        '{"energy":[1.0,2.0],"objective":[3.0,-4.5],"constraint_violations":{"b":[0.5,0.0],'
        '"c":[0.0,1.0]},"constraint_forall":{"b":[[2]],"c":[[0,1],[1,0]]},'
        '"constraint_values":[{"b":[0.0],"c":[0.5,1.5]},{"b":[1e-7],"c":[0.0,1.0]}],'
        '"penalty":{"p":[1e16,-2.0]}}')


BASE = ('"energy":[],"objective":[],"constraint_violations":{},"constraint_forall":{},'
        '"constraint_values":[]')


@pytest.mark.parametrize("text, message", [
    ("{" + BASE + "}", "missing field `penalty` at line 1, column 101"),
    ('{"objective":[]}', "missing field `energy` at line 1, column 16"),
    ("{" + BASE + ',"penalty":{},"energy":[]}', "duplicate field `energy`"),
    ("{" + BASE + ',"penalty":{"p":[1],"p":[2]}}', "duplicate field `p`"),
    ("{" + BASE.replace('"energy":[]', '"energy":["a"]') + ',"penalty":{}}',
     'invalid type: string "a", expected a float at line 1, column 14'),
    ("{" + BASE.replace('"constraint_forall":{}', '"constraint_forall":{"c":[[0],[1,2]]}') +
     ',"penalty":{}}', "the rows of a forall table must be of equal length, found 1 and 2"),
    ("{" + BASE.replace('"constraint_forall":{}', '"constraint_forall":{"c":[[0.5]]}') +
     ',"penalty":{}}', "invalid type: floating point `0.5`, expected an integer"),
    ("{" + BASE + ',"penalty":{}', "parse error at line 1, column 114"),
])
def test_from_json_errors(text, message):
    with pytest.raises(ValueError) as error:
        vn.Evaluation.from_json(text)
    assert message in str(error.value)


def test_from_json_ignores_unknown_keys():
    text = "{" + BASE + ',"penalty":{},"unknown":{"a":[1,{"b":null}]}}'
    assert vn.Evaluation.from_json(text) == vn.Evaluation()


def test_text_form():
    assert repr(vn.Evaluation(energy=[1.0], objective=[1.0])) == (
        "Evaluation(energy=[1.0], objective=[1.0], constraint_violations={}, "
        "constraint_forall={}, constraint_values=[], penalty={})")
    assert str(full()) == (
        'Evaluation(energy=[1.0, 2.0], objective=[3.0, -4.5], constraint_violations='
        '{"b": [0.5, 0.0], "c": [0.0, 1.0]}, constraint_forall={"b": [[2]], "c": [[0, 1], '
        '[1, 0]]}, constraint_values=[{"b": [0.0], "c": [0.5, 1.5]}, {"b": [1e-7], "c": [0.0, '
        '1.0]}], penalty={"p": [1e16, -2.0]})')
    assert repr(vn.Evaluation(energy=[1e-4, 9.5e-5, -1.5e16, 0.0, math.inf])).startswith(
        "Evaluation(energy=[0.0001, 9.5e-5, -1.5e16, 0.0, inf],")


def test_equality_and_comparison():
    assert full() == full()
    assert vn.Evaluation(energy=[1.0]) != vn.Evaluation(energy=[1.0, 1.0])
    assert vn.Evaluation(constraint_forall={"c": np.zeros((0, 2), dtype=int)}) != \
        vn.Evaluation(constraint_forall={"c": np.zeros((0, 1), dtype=int)})
    assert vn.Evaluation() != vn.Record({}, [])
    with pytest.raises(TypeError, match="^Comparison '>=' not supported for Evaluation$"):
        vn.Evaluation() >= vn.Evaluation()


def test_to_pandas_columns():
    table = full().to_pandas()
    assert list(table.columns) == ["energy", "objective", "constraint_forall",
                                   "constraint_values", "constraint_violation[b]",
                                   "constraint_violation[c]", "penalty[p]"]
    assert len(table) == 2 and list(table["objective"]) == [3.0, -4.5]
    forall = table["constraint_forall"][1]
    assert list(forall) == ["b", "c"] and forall["c"].tolist() == [[0, 1], [1, 0]]
    assert table["constraint_values"][0]["c"].tolist() == [0.5, 1.5]
    plain = vn.Evaluation(energy=[1.0], objective=[2.0]).to_pandas()
    assert list(plain.columns) == ["energy", "objective", "constraint_forall",
                                   "constraint_values"]
    assert plain["constraint_forall"][0] is None and plain["constraint_values"][0] is None
