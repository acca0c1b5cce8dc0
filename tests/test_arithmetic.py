"""The arithmetic operators and the normal form of the sums and products they build."""

import pytest

import varnova as vn

a, b, c, d, p, q = (vn.Placeholder(name) for name in "abcdpq")
x, y = vn.BinaryVar("x"), vn.ContinuousVar("y", lower_bound=0, upper_bound=1)


def shape(e):
    """The class, then the terms (or operands) as text: enough to see the normal form."""
    if isinstance(e, (vn.AddOp, vn.MulOp)):
        return (type(e).__name__, [str(t) for t in e.terms])
    if isinstance(e, vn.PowOp):
        return ("PowOp", [str(e.base), str(e.exponent)])
    if isinstance(e, vn.ModOp):
        return ("ModOp", [str(e.left), str(e.right)])
    return (type(e).__name__, str(e))


@pytest.mark.parametrize("build, expected", [
    # sums: flattened, one numeric term kept last, zeros dropped
    (lambda: a + b + c + d, ("AddOp", ["a", "b", "c", "d"])),
    (lambda: (a + 1) + (b + 2), ("AddOp", ["a", "b", "3"])),
    (lambda: (a + 1) + (b - 1), ("AddOp", ["a", "b"])),
    (lambda: (a + 1) + (-1), ("Placeholder", "a")),
    (lambda: 1 + a, ("AddOp", ["a", "1"])),
    (lambda: p + (a + b), ("AddOp", ["a", "b", "p"])),
    (lambda: (a + 1) + b, ("AddOp", ["a", "b", "1"])),
    (lambda: 2 + (a + 1), ("AddOp", ["a", "3"])),
    (lambda: p + 0, ("Placeholder", "p")),
    (lambda: 0 + p, ("Placeholder", "p")),
    (lambda: a * b + c, ("AddOp", ["a * b", "c"])),
    # subtraction and negation rewrite into sums and products with -1
    (lambda: x - y, ("AddOp", ["x", "- y"])),
    (lambda: x - 3, ("AddOp", ["x", "-3"])),
    (lambda: 3 - x, ("AddOp", ["- x", "3"])),
    (lambda: 0 - p, ("MulOp", ["-1", "p"])),
    (lambda: p - 0, ("Placeholder", "p")),
    (lambda: -(a + b), ("MulOp", ["-1", "a + b"])),
    (lambda: -(-x), ("MulOp", ["1", "x"])),
    # products: one coefficient kept first, ones dropped, zero absorbs
    (lambda: 2 * a, ("MulOp", ["2", "a"])),
    (lambda: a * 2, ("MulOp", ["2", "a"])),
    (lambda: (2 * a) * 3, ("MulOp", ["6", "a"])),
    (lambda: 3 * (2 * a), ("MulOp", ["6", "a"])),
    (lambda: (2 * a) * (3 * b * c), ("MulOp", ["6", "a", "c", "b"])),
    (lambda: (2 * x) * (0.5 * y), ("MulOp", ["1", "x", "y"])),
    (lambda: (a * b) * (c * d), ("MulOp", ["a", "b", "c", "d"])),
    (lambda: p * 1, ("Placeholder", "p")),
    (lambda: 1 * p, ("Placeholder", "p")),
    (lambda: p * 1.0, ("Placeholder", "p")),
    (lambda: x * 0.0, ("NumberLit", "0")),
    # powers: never folded, equal bases merged
    (lambda: p ** 2 * p ** 3, ("PowOp", ["p", "5"])),
    (lambda: p ** 2 * p ** -2, ("PowOp", ["p", "0"])),
    (lambda: p ** 2 * q ** 2, ("MulOp", ["p ** 2", "q ** 2"])),
    (lambda: p ** 2 * 3, ("MulOp", ["3", "p ** 2"])),
    (lambda: p ** 2 * (2 * q), ("MulOp", ["2", "q", "p ** 2"])),
    (lambda: vn.NumberLit(2) ** 3, ("PowOp", ["2", "3"])),
    (lambda: x ** 0.5, ("PowOp", ["x", "0.5"])),
    (lambda: vn.NumberLit(0) ** p, ("PowOp", ["0", "p"])),
    # division is a product with a power -1, never folded
    (lambda: vn.NumberLit(6) / 3, ("MulOp", ["6", "3 ** -1"])),
    (lambda: a / 2, ("MulOp", ["a", "2 ** -1"])),
    (lambda: pow(p, 2, 3), ("ModOp", ["p ** 2", "3"])),
    (lambda: p % q, ("ModOp", ["p", "q"])),
])
def test_normal_form(build, expected):
    assert shape(build()) == expected


@pytest.mark.parametrize("build, value", [
    (lambda: vn.NumberLit(2) + 3, 5),
    (lambda: vn.NumberLit(2) + 0.5, 2.5),
    (lambda: vn.NumberLit(1) - 0.5, 0.5),
    (lambda: vn.NumberLit(0.5) - 1, -0.5),
    (lambda: vn.NumberLit(0.0) + 0.0, 0.0),
    (lambda: vn.NumberLit(0.0) - 0.0, 0),
    (lambda: vn.NumberLit(3) * 4, 12),
    (lambda: -vn.NumberLit(5), -5),
    (lambda: -vn.NumberLit(-2**63), -2**63),
    (lambda: vn.NumberLit(2**63 - 1) + 1, -2**63),
    (lambda: vn.NumberLit(2**62) * 4, 0),
    (lambda: vn.NumberLit(-2**63) - 1, 2**63 - 1),
])
def test_literals_fold_with_wrap_around(build, value):
    result = build()
    assert type(result) is vn.NumberLit
    assert result.value == value and type(result.value) is type(value)


def test_custom_latex_operands_stay_opaque():
    s = a + b
    s.set_latex("S")
    assert shape(s + c) == ("AddOp", ["a + b", "c"])
    assert shape(c + s) == ("AddOp", ["c", "a + b"])
    assert shape((c + d) + s) == ("AddOp", ["c", "d", "a + b"])
    assert shape(1 + s) == ("AddOp", ["a + b", "1"])
    assert shape((c + 1) + s) == ("AddOp", ["c", "a + b", "1"])
    m = 2 * a
    m.set_latex("M")
    assert shape(m * 3) == ("MulOp", ["3", "2 * a"])
    assert shape((3 * b) * m) == ("MulOp", ["3", "b", "2 * a"])
    p2 = p ** 2
    p2.set_latex("P")
    assert shape(p2 * p ** 3) == ("MulOp", ["p ** 2", "p ** 3"])


def test_operands_are_not_changed_by_operations():
    s = a + b
    t = s + c
    u = s + d  # grows from the same sum as t
    assert [str(term) for term in s.terms] == ["a", "b"]
    assert [str(term) for term in t.terms] == ["a", "b", "c"]
    assert [str(term) for term in u.terms] == ["a", "b", "d"]


def test_set_latex_changes_only_its_own_object():
    s = a + b
    total = s + c
    s.set_latex("S")
    a.set_latex(r"\alpha")
    assert shape(total + d) == ("AddOp", ["a", "b", "c", "d"])
    s.set_latex(None)
    assert shape(s + c) == ("AddOp", ["a", "b", "c"])


@pytest.mark.parametrize("build, error, message", [
    (lambda: p / 0, ZeroDivisionError, "division by zero"),
    (lambda: vn.NumberLit(1) / 0.0, ZeroDivisionError, "division by zero"),
    (lambda: p % 0, ZeroDivisionError, "modulo by zero"),
    (lambda: vn.NumberLit(0) ** -1, ZeroDivisionError, "zero cannot be raised to a negative power"),
    (lambda: vn.NumberLit(0.0) ** -0.0, ZeroDivisionError,
     "zero cannot be raised to a negative power"),
    (lambda: 2 ** x, vn.ModelingError, "the exponent contains a decision variable"),
    (lambda: x ** 0, vn.ModelingError, "a decision variable can be raised to only a positive power"),
    (lambda: x ** -1, vn.ModelingError, "a decision variable can be raised to only a positive power"),
    (lambda: x ** 0.0, vn.ModelingError, "a decision variable can be raised to only a positive power"),
    (lambda: x ** p, vn.ModelingError, "a decision variable can be raised to only a positive power"),
    (lambda: (x + 1) ** -1, vn.ModelingError,
     "a decision variable can be raised to only a positive power"),
    (lambda: p / x, vn.ModelingError, "a decision variable can be raised to only a positive power"),
    (lambda: p % (2 * x), vn.ModelingError, "the modulo op contains a decision variable"),
    (lambda: pow(x, 2, 3), vn.ModelingError, "the modulo op contains a decision variable"),
])
def test_errors(build, error, message):
    with pytest.raises(error) as raised:
        build()
    assert str(raised.value) == message
    assert type(raised.value) is error


def test_operator_methods_can_be_called_by_name():
    assert shape(p.__radd__(2)) == ("AddOp", ["p", "2"])
    assert shape(p.__rsub__(1)) == ("AddOp", ["- p", "1"])
    assert shape(p.__pow__(2, 3)) == ("ModOp", ["p ** 2", "3"])
    assert shape(p.__rpow__(2)) == ("PowOp", ["2", "p"])
    assert shape(p.__rtruediv__(1)) == ("PowOp", ["p", "-1"])
    with pytest.raises(TypeError, match="^failed to convert into expression.$"):
        p.__mul__("q")
    assert not hasattr(x, "__truediv__") and not hasattr(x, "__mod__")


def test_getters_return_copies():
    power = p ** 2
    assert power.base is not power.base
    assert str(power.base) == "p" and str(power.exponent) == "2"
    assert (p % 3).left.name == "p" and (p % 3).right.value == 3
