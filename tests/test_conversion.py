"""How operands become expressions, and the errors of operands that cannot."""

import numpy as np
import pytest

import varnova as vn

p = vn.Placeholder("p")
a2 = vn.Placeholder("a", ndim=2)


@pytest.mark.parametrize("value, expected, dtype", [
    (True, 1, vn.DataType.INTEGER),
    (False, 0, vn.DataType.INTEGER),
    (2.0, 2.0, vn.DataType.FLOAT),
    (2**70, float(2**70), vn.DataType.FLOAT),
    (np.int64(-4), -4, vn.DataType.INTEGER),
    (np.uint8(200), 200, vn.DataType.INTEGER),
    (np.float64(0.25), 0.25, vn.DataType.FLOAT),
    (np.float32(0.5), 0.5, vn.DataType.FLOAT),
])
def test_numbers_become_literals(value, expected, dtype):
    # Folding with a zero literal keeps the converted operand as it is.
    literal = vn.NumberLit(0) + value
    assert type(literal) is vn.NumberLit
    assert literal.value == expected and type(literal.value) is type(expected)
    assert literal.dtype == dtype


@pytest.mark.parametrize("other", ["3", None, [1], vn.Placeholder("v", ndim=1), object()])
def test_unconvertible_operands_raise_instead_of_not_implemented(other):
    operations = [lambda: p + other, lambda: p ** other, lambda: p % other,
                  lambda: pow(p, 2, other or "m")]
    if not isinstance(other, vn.Placeholder):  # else the placeholder's own method runs
        operations.append(lambda: other * p)
    for operation in operations:
        with pytest.raises(TypeError) as error:
            operation()
        assert str(error.value) == "failed to convert into expression."


@pytest.mark.parametrize("receiver, message", [
    (a2, "the dimensionality of the Placeholder { name: a } must be zero, but is actually 2"),
    (vn.Element("e", vn.Placeholder("E", ndim=3)),
     "the dimensionality of the Element { name: e } must be zero, but is actually 2"),
    (vn.BinaryVar("x", shape=[3]),
     "the dimensionality of the BinaryVar { name: x } must be zero, but is actually 1"),
    (vn.SemiIntegerVar("s", shape=[2, 3], lower_bound=0, upper_bound=1),
     "the dimensionality of the SemiIntegerVar { name: s } must be zero, but is actually 2"),
    (vn.Placeholder("a", ndim=3)[1, p],
     "the dimensionality of the subscripted variable `a[1, p]` must be zero, but actually 1"),
])
def test_receiver_must_be_scalar(receiver, message):
    for operation in (lambda: receiver + 1, lambda: receiver * p, lambda: -receiver,
                      lambda: receiver ** 2, lambda: 1 + receiver, lambda: 2 ** receiver):
        with pytest.raises(vn.ModelingError) as error:
            operation()
        assert str(error.value) == message


def test_the_receiver_is_checked_before_the_other_operand():
    with pytest.raises(vn.ModelingError):
        a2 + a2
    with pytest.raises(TypeError, match="^failed to convert into expression.$"):
        p + a2


def test_decision_variables_have_no_division_or_modulo():
    x = vn.BinaryVar("x")
    for operation in (lambda: x / 2, lambda: 2 / x, lambda: x % 2):
        with pytest.raises(TypeError, match="unsupported operand type"):
            operation()
    # The placeholder's reflected method still serves a variable on the left.
    assert type(x / p) is vn.MulOp
