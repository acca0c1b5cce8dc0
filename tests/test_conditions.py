"""Comparisons build conditions; &, | and ^ combine them."""

import pytest

import varnova as vn

x, y = vn.BinaryVar("x"), vn.BinaryVar("y")
i = vn.Element("i", 10)
p = vn.Placeholder("p")

COMPARISONS = [
    (lambda: x == 1, vn.EqualOp, "x", "1"),
    (lambda: 1 == x, vn.EqualOp, "x", "1"),
    (lambda: x != y, vn.NotEqualOp, "x", "y"),
    (lambda: x < 2, vn.LessThanOp, "x", "2"),
    (lambda: 1 < x, vn.GreaterThanOp, "x", "1"),
    (lambda: 1 <= x, vn.GreaterThanEqualOp, "x", "1"),
    (lambda: x >= 1, vn.GreaterThanEqualOp, "x", "1"),
    (lambda: x <= y, vn.LessThanEqualOp, "x", "y"),
    (lambda: x + y > 1, vn.GreaterThanOp, "x + y", "1"),
    (lambda: vn.NumberLit(1) == 1, vn.EqualOp, "1", "1"),
    (lambda: p == p, vn.EqualOp, "p", "p"),
]


@pytest.mark.parametrize("build, cls, left, right", COMPARISONS)
def test_comparisons(build, cls, left, right):
    c = build()
    assert type(c) is cls
    assert (str(c.left), str(c.right)) == (left, right)


@pytest.mark.parametrize("other", ["text", None, x == 1])
def test_comparison_operands_must_convert(other):
    with pytest.raises(TypeError, match="^failed to convert into expression.$"):
        p == other


def test_comparison_receiver_must_be_scalar():
    with pytest.raises(vn.ModelingError, match="^the dimensionality of the Placeholder"):
        vn.Placeholder("a", ndim=1) <= 1


def test_logical_operators_keep_their_operands():
    c = (i != 2) & (i != 3)
    assert type(c) is vn.AndOp and [type(t) for t in c.terms] == [vn.NotEqualOp] * 2
    nested = c & (i != 4)
    assert type(nested.terms[0]) is vn.AndOp and type(nested.terms[1]) is vn.NotEqualOp
    assert type((x == 1) | (y == 1)) is vn.OrOp
    assert type((x == 1) ^ (y == 1)) is vn.XorOp
    assert type(((x == 1) & (y == 1)) | (x == 0)) is vn.OrOp


@pytest.mark.parametrize("build", [lambda: (x == 1) & True, lambda: True | (x == 1),
                                   lambda: (x == 1) ^ x, lambda: (x == 1) & 1])
def test_logical_operands_must_be_conditions(build):
    with pytest.raises(TypeError, match="^failed to convert into a conditional expression.$"):
        build()


def test_no_truth_value_and_no_hash():
    assert bool(x == y) is True and bool(x != x) is True
    for obj in (p, x, x + 1, vn.abs(p)):
        with pytest.raises(TypeError, match="unhashable"):
            hash(obj)
    with pytest.raises(TypeError):
        x & y
    with pytest.raises(TypeError):
        (x == 1) + 1
    c = x == 1
    assert (c == c) is True and (c == (x == 1)) is False  # identity


def test_text():
    a, b = vn.Placeholder("a"), vn.Placeholder("b")
    both = (a == 1) & (b == 2)
    assert str(both) == "a == 1 and b == 2"
    assert repr(both) == ("Placeholder(name='a', ndim=0) == NumberLit(value=1) & "
                          "Placeholder(name='b', ndim=0) == NumberLit(value=2)")
    assert str((a == 1) | (b == 2)) == "a == 1 or b == 2"
    assert repr((a == 1) ^ (b == 2)).count(" ^ ") == 1
    assert str(((a == 1) & (b == 2)) ^ (a < b)) == "a == 1 and b == 2 xor a < b"
    assert str(a + 1 != b) == "a + 1 != b"


def test_getters_return_copies_and_set_latex_is_local():
    c = x + 1 == y
    assert c.left is not c.left
    c.set_latex("c")
    assert str(c) == "x + 1 == y"
    with pytest.raises(TypeError, match="^argument 'latex': "):
        c.set_latex(5)
