"""The five decision-variable classes: shapes, bounds and their errors."""

import numpy as np
import pytest

import varnova as vn

N = vn.Placeholder("N")
lb1, ub1 = vn.Placeholder("lb", ndim=1), vn.Placeholder("ub", ndim=1)
ub2 = vn.Placeholder("ub2", ndim=2)
BOUNDED = [vn.IntegerVar, vn.ContinuousVar, vn.SemiIntegerVar, vn.SemiContinuousVar]


@pytest.mark.parametrize("shape, ndim", [
    (None, 0), ([], 0), ((N,), 1), ([2, 3], 2), (range(3), 3), (np.array([4, 5]), 2),
    ((N, N + 1), 2),
])
def test_shapes(shape, ndim):
    x = vn.BinaryVar("x", shape=shape)
    assert x.ndim == ndim == len(x.shape)
    assert all(isinstance(axis, (vn.NumberLit, vn.Placeholder, vn.AddOp)) for axis in x.shape)


def test_numbers_in_shapes_come_back_as_literals():
    x = vn.BinaryVar("x", shape=[124, N])
    assert repr(x.shape[0]) == "NumberLit(value=124)" and x.shape[1].name == "N"


@pytest.mark.parametrize("shape, message", [
    (3, "argument 'shape': 'int' object cannot be converted to 'Sequence'"),
    ({1, 2}, "argument 'shape': 'set' object cannot be converted to 'Sequence'"),
    ("ab", "argument 'shape': a string is not accepted as a sequence of axis lengths"),
    (["a"], "argument 'shape': failed to convert into expression."),
    ([vn.Placeholder("v", ndim=1)], "argument 'shape': failed to convert into expression."),
    (vn.Placeholder("v", ndim=1),
     "argument 'shape': 'Placeholder' object cannot be converted to 'Sequence'"),
    (vn.BinaryVar("y", shape=[2]),
     "argument 'shape': 'BinaryVar' object cannot be converted to 'Sequence'"),
])
def test_shape_errors(shape, message):
    with pytest.raises(TypeError) as error:
        vn.BinaryVar("x", shape=shape)
    assert str(error.value) == message


def test_binary_bounds_are_fixed():
    x = vn.BinaryVar("x")
    assert not hasattr(x, "lower_bound") and not hasattr(x, "upper_bound")
    assert repr(x) == "BinaryVar(name='x', shape=[])"


@pytest.mark.parametrize("cls", BOUNDED)
def test_bounds(cls):
    v = cls("v", shape=[N], lower_bound=lb1, upper_bound=2.5,
            latex="v", description="d")
    assert type(v.lower_bound) is vn.Placeholder and v.lower_bound.ndim == 1
    assert v.upper_bound.value == 2.5
    assert (v.name, v.description, v.ndim) == ("v", "d", 1)
    scalar = cls("s", lower_bound=N, upper_bound=N + 1)
    assert type(scalar.upper_bound) is vn.AddOp
    x = vn.BinaryVar("x")
    assert type(cls("y", lower_bound=x, upper_bound=1).lower_bound) is vn.BinaryVar


@pytest.mark.parametrize("cls, lower, upper, message", [
    (vn.IntegerVar, ub2, 1, "the number of dimensions of a lower bound (= 2) must be equal to "
                            "zero or the number of an integer variable (= 1)"),
    (vn.ContinuousVar, ub2, 1, "the number of dimensions of a lower bound (= 2) must be equal "
                               "to zero or the number of a continuous variable (= 1)"),
    (vn.SemiIntegerVar, 0, ub2, "the number of dimensions of a upper bound (= 2) must be equal "
                                "to zero or the number of a semi-integer integer variable (= 1)"),
    (vn.SemiIntegerVar, ub2, 0, "the number of dimensions of a lower bound (= 2) must be equal "
                                "to zero or the number of a semi-integer variable (= 1)"),
    (vn.SemiContinuousVar, 0, ub2, "the number of dimensions of a upper bound (= 2) must be "
                                   "equal to zero or the number of a semi-continuous variable "
                                   "(= 1)"),
    (vn.IntegerVar, vn.Element("e", ub2), 1,
     "the input object is not used as the bound of a decision variable"),
    (vn.IntegerVar, 0, vn.BinaryVar("b", shape=[2]),
     "the input object is not used as the bound of a decision variable"),
    (vn.IntegerVar, "0", 1, "the input object is not used as the bound of a decision variable"),
])
def test_bound_errors(cls, lower, upper, message):
    with pytest.raises(vn.ModelingError) as error:
        cls("x", shape=[N], lower_bound=lower, upper_bound=upper)
    assert str(error.value) == message


def test_missing_bound_is_an_argument_error():
    with pytest.raises(TypeError) as error:
        vn.IntegerVar("y", lower_bound=0)
    assert str(error.value) == (
        "IntegerVar() missing 1 required keyword-only argument: 'upper_bound'")


def test_set_latex_keeps_earlier_copies():
    x = vn.BinaryVar("x")
    total = x + 1
    x.set_latex("X")
    assert repr(x) == "BinaryVar(name='x', shape=[], latex='X')"
    assert repr(total) == "BinaryVar(name='x', shape=[]) + NumberLit(value=1)"
