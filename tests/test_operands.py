"""Placeholder, ArrayLength, NumberLit and DataType."""

import numpy as np
import pytest

import varnova as vn


def test_placeholder_getters():
    p = vn.Placeholder("a", ndim=2, latex="A", description="data")
    assert (p.name, p.ndim, p.description) == ("a", 2, "data")
    assert vn.Placeholder("").name == ""
    assert vn.Placeholder("a").ndim == 0
    assert vn.Placeholder("a").description is None


def test_placeholder_shape_measures_each_axis():
    assert vn.Placeholder("a").shape == ()
    shape = vn.Placeholder("a", ndim=2).shape
    assert [s.axis for s in shape] == [0, 1]
    assert all(type(s) is vn.ArrayLength and s.array.name == "a" and s.description is None
               for s in shape)


def test_getters_return_new_objects_each_time():
    length = vn.Placeholder("a", ndim=1).len_at(0)
    assert length.array is not length.array
    assert length.array.name == length.array.name


def test_len_at():
    a = vn.Placeholder("a", ndim=2)
    length = a.len_at(1, latex="M", description="columns")
    assert (length.axis, length.array.ndim, length.description) == (1, 2, "columns")
    assert a.len_at(axis=0).axis == 0


@pytest.mark.parametrize("call, error, message", [
    (lambda: vn.Placeholder("a", ndim=2).len_at(2), vn.ModelingError,
     "axis 2 is out of bounds for the axis of the array a"),
    (lambda: vn.Placeholder("n").len_at(0), vn.ModelingError, "the placeholder n is a scalar"),
    (lambda: vn.ArrayLength(vn.Placeholder("n"), 0), TypeError,
     "argument 'array': unsupported type"),
    (lambda: vn.ArrayLength(3, 0), TypeError, "argument 'array': unsupported type"),
    (lambda: vn.ArrayLength(vn.Placeholder("a", ndim=1), 1), vn.ModelingError,
     "axis 1 is out of bounds for the axis of the array a"),
    (lambda: vn.ArrayLength(vn.Placeholder("a", ndim=1), 0, latex=2), TypeError,
     "argument 'latex': 'int' object cannot be converted to 'str'"),
])
def test_array_length_errors(call, error, message):
    with pytest.raises(error) as raised:
        call()
    assert str(raised.value) == message


def test_array_length_constructor():
    a = vn.Placeholder("a", ndim=3)
    length = vn.ArrayLength(a, 2, latex="L", description="depth")
    assert (length.axis, length.description, length.array.name) == (2, "depth", "a")
    assert type(length.array) is vn.Placeholder


@pytest.mark.parametrize("value, expected, dtype", [
    (123, 123, vn.DataType.INTEGER),
    (1.23, 1.23, vn.DataType.FLOAT),
    (True, 1, vn.DataType.INTEGER),
    (2**70, float(2**70), vn.DataType.FLOAT),
    (-(2**63), -(2**63), vn.DataType.INTEGER),
    (np.int32(7), 7, vn.DataType.INTEGER),
    (np.float32(0.5), 0.5, vn.DataType.FLOAT),
    (float("inf"), float("inf"), vn.DataType.FLOAT),
])
def test_number_lit_value_and_dtype(value, expected, dtype):
    n = vn.NumberLit(value)
    assert n.value == expected and type(n.value) is type(expected)
    assert n.dtype == dtype


def test_number_lit_accepts_nan():
    assert vn.NumberLit(float("nan")).value != vn.NumberLit(float("nan")).value


@pytest.mark.parametrize("value, integer_reason, float_reason", [
    ("3", "TypeError: 'str' object cannot be interpreted as an integer",
     "TypeError: must be real number, not str"),
    (None, "TypeError: 'NoneType' object cannot be interpreted as an integer",
     "TypeError: must be real number, not NoneType"),
    (10**400, "OverflowError: int too big to convert",
     "OverflowError: int too large to convert to float"),
])
def test_number_lit_rejects_non_numbers(value, integer_reason, float_reason):
    with pytest.raises(TypeError) as error:
        vn.NumberLit(value)
    assert str(error.value) == (
        "argument 'value': failed to extract enum NumericValue ('Integer | Float')\n"
        f"- variant Integer (Integer): {integer_reason}\n"
        f"- variant Float (Float): {float_reason}"
    )


def test_data_type_members():
    assert repr(vn.DataType.FLOAT) == str(vn.DataType.FLOAT) == "DataType.FLOAT"
    assert repr(vn.DataType.INTEGER) == "DataType.INTEGER"
    assert (int(vn.DataType.FLOAT), int(vn.DataType.INTEGER)) == (0, 1)
    assert type(vn.DataType.FLOAT) is vn.DataType


def test_data_type_comparisons():
    assert vn.DataType.INTEGER == 1 and vn.DataType.FLOAT == 0
    assert vn.DataType.FLOAT != vn.DataType.INTEGER
    assert vn.DataType.INTEGER == vn.NumberLit(5).dtype
    assert vn.DataType.INTEGER != "INTEGER"
    assert len({vn.DataType.INTEGER, vn.NumberLit(1).dtype, 1}) == 1
    for compare in (lambda: vn.DataType.FLOAT < vn.DataType.INTEGER,
                    lambda: vn.DataType.FLOAT >= 0):
        with pytest.raises(TypeError):
            compare()
