"""Record: dense and sparse solutions, conversions, dict/JSON forms, text and equality."""

import math

import numpy as np
import pytest

import varnova as vn

LONG = ("Failed to extract a solution. The solution must be a dict of str to a list of "
        "numpy.ndarray or Tuple[List[List[int]], List[int|float], Tuple[int,..]].")

X0 = [[0.0, 1.0, 0.0], [2.0, 0.0, 3.0]]
X1 = [[1.0, 0.0, 0.0], [2.0, 3.0, 4.0]]
DENSE = {"x": [np.array(X0), np.array(X1)], "y": [np.array([0.0, 0.0, 1.0]),
                                                   np.array([0.0, 1.0, 0.0])]}
SPARSE = {"x": [(([0, 1, 1], [1, 0, 2]), [1.0, 2.0, 3.0], (2, 3)),
                (([0, 1, 1, 1], [0, 0, 1, 2]), [1.0, 2.0, 3.0, 4.0], (2, 3))],
          "y": [(([2],), [1.0], (3,)), (([1],), [1.0], (3,))]}


def dense_record():
    return vn.Record(DENSE, [1, 2])


def sparse_record():
    return vn.Record(SPARSE, [1, 2])


def assert_dense_equal(solution, expected):
    assert list(solution) == list(expected)
    for name in expected:
        assert len(solution[name]) == len(expected[name])
        for got, want in zip(solution[name], expected[name]):
            assert got.dtype == np.float64
            np.testing.assert_array_equal(got, want)


def test_dense_and_sparse_forms_convert_into_each_other():
    dense, sparse = dense_record(), sparse_record()
    assert dense.is_dense() and not dense.is_sparse()
    assert sparse.is_sparse() and not sparse.is_dense()
    assert dense.to_sparse() == sparse
    assert sparse.to_dense() == dense
    assert sparse.to_dense().to_sparse() == sparse
    assert sparse.to_sparse() == sparse and sparse.to_sparse() is not sparse
    assert_dense_equal(sparse.to_dense().solution, DENSE)
    assert sparse.solution == SPARSE


@pytest.mark.parametrize("array, indices, values", [
    (np.array([0.0, -0.0, np.nan, 5.0]), ([2, 3],), [math.nan, 5.0]),  # NaN is non-zero
    (np.array(2.5), (), [2.5]),                                      # no axes
    (np.array(0.0), (), []),
    (np.zeros((2, 0)), ([], []), []),
    (np.arange(8.0).reshape(2, 2, 2), ([0, 0, 0, 1, 1, 1, 1], [0, 1, 1, 0, 0, 1, 1],
                                        [1, 0, 1, 0, 1, 0, 1]), [1.0, 2, 3, 4, 5, 6, 7]),
])
def test_to_sparse_walks_every_axis_in_row_major_order(array, indices, values):
    (got_indices, got_values, shape), = vn.Record({"x": [array]}, [1]).to_sparse().solution["x"]
    assert got_indices == indices and shape == array.shape
    np.testing.assert_array_equal(got_values, values)
    back = vn.Record({"x": [(got_indices, got_values, shape)]}, [1]).to_dense().solution["x"][0]
    np.testing.assert_array_equal(back, array)


def test_to_dense_keeps_the_last_value_of_a_repeated_coordinate():
    record = vn.Record({"x": [(([1, 1],), [2.0, 3.0], (2,))]}, [1])
    np.testing.assert_array_equal(record.to_dense().solution["x"][0], [0.0, 3.0])


@pytest.mark.parametrize("entry, message", [
    ((([2], [0]), [1.0], (2, 3)), "at [2, 0]. This might be caused by the shape mismatch. "
                                  "shape: [2, 3]"),
    ((([1],), [1.0], (2, 3)), "at [1]. This might be caused by the shape mismatch. "
                              "shape: [2, 3]"),
    ((([0], [0], [0]), [1.0], (2, 3)), "at [0, 0, 0]. This might"),
    ((([0], [3]), [1.0], (2, 3)), "at [0, 3]. This might"),
])
def test_to_dense_refuses_coordinates_outside_the_shape(entry, message):
    with pytest.raises(IndexError, match="^Failed to get a mutable reference to the array " +
                       message.replace("[", r"\[").replace("]", r"\]").replace(".", r"\.")):
        vn.Record({"x": [entry]}, [1]).to_dense()


@pytest.mark.parametrize("shape, message", [
    ((2**40, 2**40), "is too large for an array"),
    ((2**63, 4), "is too large for an array"),
    ((2**64 - 1,), "is too large for an array"),
    ((2**28 + 1,), "more than one conversion may allocate"),
])
def test_to_dense_refuses_shapes_too_large_to_allocate(shape, message):
    record = vn.Record({"x": [((), [], shape)]}, [1])
    with pytest.raises(ValueError, match=message):
        record.to_dense()


def test_to_dense_bounds_the_total_of_all_arrays():
    entry = ((), [], (2**27 + 1,))
    with pytest.raises(ValueError, match="more than one conversion may allocate"):
        vn.Record({"x": [entry], "y": [entry]}, [1]).to_dense()


@pytest.mark.parametrize("entry, message", [
    ((([0, 1],), [1.0, 2.0, 3.0], (4,)), "holds 3 values but 2 indices on axis 0"),
    ((([0, 1, 2], [0]), [1.0, 2.0, 3.0], (4, 4)), "holds 3 values but 1 indices on axis 1"),
    ((([0, 1, 2],), [1.0], (4,)), "holds 1 values but 3 indices on axis 0"),
])
def test_coo_entries_need_one_index_per_value_on_every_axis(entry, message):
    with pytest.raises(ValueError, match="the sparse solution of x in sample 0 " + message):
        vn.Record({"x": [entry]}, [1])


@pytest.mark.parametrize("solution", [
    {"x": [np.array([1, 2])]},                  # integer dtype is no dense solution
    {"x": [np.array([1.0], dtype=np.float32)]},
    {"x": [[1, 2]]},                            # nested lists of int are neither
    {"x": [[[0.0], [1.0, 2.0]]]},               # ragged
    {"x": [(([0.5],), [1.0], (2,))]},           # float index
    {"x": [(([-1],), [1.0], (2,))]},            # negative index
    {"x": [(([0],), ["a"], (2,))]},
    {"x": [(([0],), [1.0])]},                   # two items
    {"x": ["abc"]},
    {"x": 1},
    [np.array([1.0])],
    None,
])
def test_unreadable_solutions_are_refused_with_the_long_message(solution):
    with pytest.raises(TypeError) as error:
        vn.Record(solution, [])
    assert str(error.value) == "argument 'solution': " + LONG
    with pytest.raises(TypeError, match="^" + LONG.replace(".", r"\.").replace("[", r"\[")
                       .replace("]", r"\]").replace("|", r"\|").replace("(", r"\(")
                       .replace(")", r"\)")):
        vn.Record.from_dict({"solution": solution})


def test_a_non_str_variable_name_is_refused():
    with pytest.raises(TypeError, match="^argument 'solution': Failed to extract a solution.$"):
        vn.Record({1: [np.array([1.0])]}, [1])


@pytest.mark.parametrize("counts, message", [
    ("12", "'str' object cannot be converted to 'Sequence'"),
    (3, "'int' object cannot be converted to 'Sequence'"),
    ([1.5], "'float' object cannot be interpreted as an integer"),
])
def test_num_occurrences_errors_name_the_argument(counts, message):
    with pytest.raises(TypeError) as error:
        vn.Record({}, counts)
    assert str(error.value) == "argument 'num_occurrences': " + message


def test_sparse_triples_accept_any_sequences_and_numpy_numbers():
    record = vn.Record({"x": [[[np.array([0, 2])], np.array([1, 2.5]), [np.int64(3)]]]},
                       (np.int32(4),))
    assert record.solution == {"x": [(([0, 2],), [1.0, 2.5], (3,))]}
    assert record.num_occurrences == [4]


def test_nested_lists_of_floats_are_read_as_dense_arrays():
    record = vn.Record({"x": [[[0.0, 1.5], [None, 2.0]], 3.0, []]}, [1, 1, 1])
    assert record.is_dense()
    x = record.solution["x"]
    np.testing.assert_array_equal(x[0], [[0.0, 1.5], [math.nan, 2.0]])
    assert x[1].shape == () and x[1] == 3.0
    assert x[2].shape == (0,)


def test_dense_arrays_of_any_layout_and_byte_order_are_read():
    a = np.arange(6.0).reshape(2, 3)
    record = vn.Record({"x": [a.T, a.astype(">f8")]}, [1, 1])
    np.testing.assert_array_equal(record.solution["x"][0], a.T)
    np.testing.assert_array_equal(record.solution["x"][1], a)


def test_empty_records():
    assert vn.Record({}, []).to_dict() == {"solution": {}, "num_occurrences": []}
    empty = vn.Record.from_dict({})
    assert empty.is_sparse() and empty.solution == {} and empty.num_occurrences == []
    assert vn.Record({}, []).is_dense()


def test_getters_return_new_values_and_setters_replace_them():
    record = dense_record()
    record.solution["x"][0][0, 0] = 99.0
    record.num_occurrences.append(7)
    assert record == dense_record()
    record.solution = SPARSE
    record.num_occurrences = (5, 6)
    assert record == vn.Record(SPARSE, [5, 6])
    with pytest.raises(TypeError, match="^Failed to extract a solution"):
        record.solution = {"x": [1]}
    for name in ("solution", "num_occurrences"):
        with pytest.raises(AttributeError):
            delattr(record, name)


def test_from_dict_ignores_other_keys_and_refuses_non_dicts():
    assert vn.Record.from_dict({"solution": SPARSE, "num_occurrences": [1, 2], "x": 0}) == \
        sparse_record()
    with pytest.raises(TypeError, match="^argument 'dict': 'list' object cannot be converted "
                                        "to 'PyDict'$"):
        vn.Record.from_dict([])


@pytest.mark.parametrize("make", [dense_record, sparse_record,
                                  lambda: vn.Record({}, []),
                                  lambda: vn.Record.from_dict({}),
                                  lambda: vn.Record({"x": [np.array(-0.5), np.array(1e-7)]},
                                                    [1, 1]),
                                  lambda: vn.Record({"x": [((), [2.0], ())]}, [3])])
def test_dict_and_json_round_trips(make):
    record = make()
    assert vn.Record.from_json(record.to_json()) == record
    back = vn.Record.from_dict(record.to_dict())
    if record.solution == {}:  # an empty dict reads as dense: the format cannot come back
        assert back.is_dense() and back.num_occurrences == record.num_occurrences
    else:
        assert back == record


def test_a_mix_of_dense_and_sparse_variables_is_refused():
    with pytest.raises(TypeError, match="^argument 'solution': Failed to extract a solution. "):
        vn.Record({"s": [((), [1.0], ())], "d": [np.array(2.5)]}, [])


def test_json_layouts():
    assert dense_record().to_json() == (
        '{"solution":{"Dense":{"x":[{"v":1,"dim":[2,3],"data":[0.0,1.0,0.0,2.0,0.0,3.0]},'
        '{"v":1,"dim":[2,3],"data":[1.0,0.0,0.0,2.0,3.0,4.0]}],'
        '"y":[{"v":1,"dim":[3],"data":[0.0,0.0,1.0]},{"v":1,"dim":[3],"data":[0.0,1.0,0.0]}]}},'
        '"num_occurrences":[1,2]}')
    assert vn.Record({"y": SPARSE["y"]}, [1, 2]).to_json() == (
        '{"solution":{"Sparse":{"y":[{"non_zero_indices":[[2]],"non_zero_values":[1.0],'
        '"shape":[3]},{"non_zero_indices":[[1]],"non_zero_values":[1.0],"shape":[3]}]}},'
        '"num_occurrences":[1,2]}')
    nan = vn.Record({"x": [np.array([np.nan, np.inf, 1e16, 1e-7])]}, [1])
    assert '"data":[null,null,1e16,1e-7]' in nan.to_json()
    back = vn.Record.from_json(nan.to_json()).solution["x"][0]
    assert np.isnan(back[:2]).all() and list(back[2:]) == [1e16, 1e-7]


def test_from_json_reads_coo_entries_given_as_arrays():
    text = '{"solution":{"Sparse":{"y":[[[[2]],[1.0],[3]]]}},"num_occurrences":[1]}'
    assert vn.Record.from_json(text) == vn.Record({"y": [SPARSE["y"][0]]}, [1])


@pytest.mark.parametrize("text, message", [
    ('{"solution":{"Dense":{}}', "parse error at line 1, column 25: syntax error"),
    ('{"solution":\n {"Foo":{}},"num_occurrences":[]}',
     "unknown variant `Foo`, expected `Dense` or `Sparse` at line 2, column 7"),
    ('{"solution":{"Sparse":{}}}', "missing field `num_occurrences` at line 1, column 26"),
    ('{"num_occurrences":[]}', "missing field `solution` at line 1, column 22"),
    ('{"solution":{"Sparse":{}},"num_occurrences":[1.5]}',
     "invalid type: floating point `1.5`, expected an integer at line 1, column 49"),
    ('{"solution":{"Sparse":{}},"num_occurrences":[],"num_occurrences":[]}',
     "duplicate field `num_occurrences` at line 1, column 64"),
    ('{"solution":{"Sparse":{"x":[],"x":[]}},"num_occurrences":[]}', "duplicate field `x`"),
    ('{"solution":{"Dense":{},"Sparse":{}},"num_occurrences":[]}', "more than one key"),
    ('{"solution":{},"num_occurrences":[]}', "empty object"),
    ('{"solution":{"Dense":{"x":[{"v":1,"dim":[2],"data":[1.0]}]}},"num_occurrences":[1]}',
     "the array holds 1 elements, which does not match its dimensions [2]"),
    ('{"solution":{"Dense":{"x":[{"v":1,"dim":[4294967296,4294967296],"data":[]}]}},'
     '"num_occurrences":[1]}', "does not match its dimensions"),
    ('{"solution":{"Dense":{"x":[{"v":2,"dim":[],"data":[1.0]}]}},"num_occurrences":[1]}',
     "unknown array version, expected 1"),
    ('{"solution":{"Dense":{"x":[{"v":1,"dim":[],"data":[1.0],"w":0}]}},"num_occurrences":[1]}',
     "unknown field `w`, expected one of `v`, `dim`, `data`"),
    ('{"solution":{"Dense":{"x":[{"v":1,"data":[1.0]}]}},"num_occurrences":[1]}',
     "missing field `dim`"),
    ('{"solution":{"Sparse":{"x":[{"non_zero_indices":[[0,1]],"non_zero_values":[1.0],'
     '"shape":[2]}]}},"num_occurrences":[1]}', "holds 1 values but 2 indices on axis 0"),
    ('{"solution":{"Sparse":{"x":[{"non_zero_indices":[[-1]],"non_zero_values":[1.0],'
     '"shape":[2]}]}},"num_occurrences":[1]}', "invalid value: integer `-1`"),
    ('{"solution":{"Sparse":{"x":[[[[0]],[1.0]]]}},"num_occurrences":[1]}',
     "invalid length 2, expected an array of 3 elements"),
    ('{"solution":"Dense","num_occurrences":[]}', 'invalid type: string "Dense", expected an '
                                                  'object'),
    ('[]', "invalid type: array, expected an object at line 1, column 1"),
    ('{"solution":{"Sparse":{}},"num_occurrences":[]} x', "parse error at line 1, column 49"),
    ('', "parse error at line 1, column 1"),
])
def test_from_json_errors_name_the_problem_and_its_place(text, message):
    with pytest.raises(ValueError) as error:
        vn.Record.from_json(text)
    assert message in str(error.value)


def test_from_json_survives_deep_nesting_in_ignored_values():
    deep = "[" * 100_000 + "]" * 100_000
    text = '{"other":' + deep + ',"solution":{"Sparse":{}},"num_occurrences":[]}'
    assert vn.Record.from_json(text) == vn.Record.from_dict({})
    with pytest.raises(TypeError, match="^argument 'json': 'bytes' object cannot be converted"):
        vn.Record.from_json(b"{}")


def test_text_form():
    assert repr(dense_record()) == (
        "Record(solution={'x': [[[0, 1, 0], [2, 0, 3]], [[1, 0, 0], [2, 3, 4]]], "
        "'y': [[0, 0, 1], [0, 1, 0]]}, num_occurrences=[1, 2])")
    assert str(sparse_record()) == (
        "Record(solution={'x': [(([0, 1, 1], [1, 0, 2]), [1.0, 2.0, 3.0], (2, 3)), "
        "(([0, 1, 1, 1], [0, 0, 1, 2]), [1.0, 2.0, 3.0, 4.0], (2, 3))], "
        "'y': [(([2],), [1.0], (3,)), (([1],), [1.0], (3,))]}, num_occurrences=[1, 2])")
    assert repr(vn.Record({"d": [np.array(2.5), np.zeros((2, 0))]}, [])) == \
        "Record(solution={'d': [2.5, [[], []]]}, num_occurrences=[])"
    assert repr(vn.Record({"s": [((), [1e-7, 1e16], ())]}, [])) == \
        "Record(solution={'s': [((), [1e-07, 1e+16], ())]}, num_occurrences=[])"


def test_equality_and_comparison():
    assert dense_record() == dense_record()
    assert dense_record() != sparse_record()              # same samples, other format
    assert vn.Record(DENSE, [1, 3]) != dense_record()
    nan = vn.Record({"x": [np.array([np.nan])]}, [1])
    assert nan != vn.Record({"x": [np.array([np.nan])]}, [1])
    assert vn.Record({"x": [np.array([0.0])]}, [1]) == vn.Record({"x": [np.array([-0.0])]}, [1])
    assert (dense_record() == 1) is False and dense_record() != "x"
    for op in ("<", "<=", ">", ">="):
        with pytest.raises(TypeError, match=f"^Comparison '{op}' not supported for Record$"):
            eval(f"a {op} b", {"a": dense_record(), "b": dense_record()})


def test_to_pandas_columns():
    table = dense_record().to_pandas()
    assert list(table.columns) == ["solution[x]", "solution[y]", "num_occurrences"]
    assert list(table["num_occurrences"]) == [1, 2]
    np.testing.assert_array_equal(table["solution[x]"][1], X1)
    assert sparse_record().to_pandas()["solution[y]"][0] == (([2],), [1.0], (3,))
