"""str and repr of every object: the exact text is the contract."""

import pytest

import varnova as vn

a, b, c = (vn.Placeholder(name) for name in "abc")
N = vn.Placeholder("N")
v = vn.Placeholder("v", ndim=1)
x, y = vn.BinaryVar("x"), vn.BinaryVar("y")


@pytest.mark.parametrize("build, text", [
    (lambda: (a + b) * c, "(a + b) * c"),
    (lambda: a * b + c, "a * b + c"),
    (lambda: 2 * (a % 3), "2 * (a % 3)"),
    (lambda: a / 2, "a * 2 ** -1"),
    (lambda: -a, "- a"),
    (lambda: -(a + b), "- (a + b)"),
    (lambda: (a + 1) ** 2, "(a + 1) ** 2"),
    (lambda: a ** 2 % 3, "a ** 2 % 3"),
    (lambda: (a ** b) ** c, "(a ** b) ** c"),
    (lambda: a ** (b ** c), "a ** (b ** c)"),
    (lambda: (a * b) ** 2, "(a * b) ** 2"),
    (lambda: (a % b) % c, "(a % b) % c"),
    (lambda: x - 3, "x - 3"),
    (lambda: x - 2 * y, "x - 2 * y"),
    (lambda: x - y, "x - y"),
    (lambda: 3 - x, "- x + 3"),
    (lambda: x - 0.5, "x - 0.5"),
    (lambda: x + 0.5, "x + 0.5"),
    (lambda: -2 * x + y, "- 2 * x + y"),
    (lambda: v.len_at(0), "len(v, 0)"),
    (lambda: vn.NumberLit(2.0), "2"),
    (lambda: vn.NumberLit(1e21), "1000000000000000000000"),
    (lambda: vn.NumberLit(1e-7), "0.0000001"),
    (lambda: vn.NumberLit(-2.5), "-2.5"),
    (lambda: vn.NumberLit(-0.0), "-0"),
    (lambda: vn.NumberLit(float("inf")), "inf"),
    (lambda: vn.NumberLit(float("-inf")), "-inf"),
    (lambda: vn.NumberLit(float("nan")), "NaN"),
    (lambda: vn.NumberLit(5e-324), "0." + "0" * 323 + "5"),
    (lambda: vn.NumberLit(0.1 + 0.2), "0.30000000000000004"),
    (lambda: vn.NumberLit(-2**63), "-9223372036854775808"),
    # a negative-led term of a sum drops the number's own minus sign, whatever its text
    (lambda: x - float("inf"), "x - inf"),
    (lambda: x + -float("nan"), "x - NaN"),
    (lambda: x - 1e21 * y, "x - 1000000000000000000000 * y"),
    (lambda: x + 5e-324 * -y, "x - 0." + "0" * 323 + "5 * y"),
    (lambda: x + -2**63, "x - 9223372036854775808"),
    (lambda: x - 0.1 * y + 2.5, "x - 0.1 * y + 2.5"),
])
def test_str(build, text):
    assert str(build()) == text


@pytest.mark.parametrize("build, text", [
    (lambda: vn.NumberLit(1.5), "NumberLit(value=1.5)"),
    (lambda: vn.Placeholder("a", ndim=1, latex="A", description="d"),
     "Placeholder(name='a', ndim=1, latex='A', description='d')"),
    (lambda: x + y, "BinaryVar(name='x', shape=[]) + BinaryVar(name='y', shape=[])"),
    (lambda: x - y, "BinaryVar(name='x', shape=[]) - BinaryVar(name='y', shape=[])"),
    (lambda: x - 3, "BinaryVar(name='x', shape=[]) + NumberLit(value=-3)"),
    (lambda: x - 2 * y,
     "BinaryVar(name='x', shape=[]) + NumberLit(value=-2) * BinaryVar(name='y', shape=[])"),
    (lambda: -a, "- Placeholder(name='a', ndim=0)"),
    (lambda: v.len_at(0), "ArrayLength(array=Placeholder(name='v', ndim=1), axis=0)"),
    (lambda: v.len_at(0, latex="L", description="n"),
     "ArrayLength(array=Placeholder(name='v', ndim=1), axis=0, latex='L', description='n')"),
    (lambda: vn.BinaryVar("x", shape=[124], description="d"),
     "BinaryVar(name='x', shape=[NumberLit(value=124)], description='d')"),
    (lambda: vn.ContinuousVar("x", shape=[124], lower_bound=0, upper_bound=2),
     "ContinuousVar(name='x', shape=[NumberLit(value=124)], lower_bound=NumberLit(value=0), "
     "upper_bound=NumberLit(value=2))"),
    (lambda: vn.IntegerVar("z", shape=[N], lower_bound=v, upper_bound=N ** 2),
     "IntegerVar(name='z', shape=[Placeholder(name='N', ndim=0)], "
     "lower_bound=Placeholder(name='v', ndim=1), "
     "upper_bound=Placeholder(name='N', ndim=0) ** NumberLit(value=2))"),
    (lambda: vn.Element("i", (0, 10)),
     "Element(name='i', belong_to=(NumberLit(value=0), NumberLit(value=10)))"),
    (lambda: vn.Element("e", vn.Placeholder("a", ndim=2), latex="e_1"),
     "Element(name='e', belong_to=Placeholder(name='a', ndim=2), latex='e_1')"),
    (lambda: vn.Element("j", vn.Element("e", vn.Placeholder("a", ndim=2))),
     "Element(name='j', belong_to=Element(name='e', belong_to=Placeholder(name='a', ndim=2)))"),
])
def test_repr(build, text):
    assert repr(build()) == text


def test_range_text():
    i = vn.Element("i", belong_to=N)
    assert str(i.belong_to) == "[0..N)"
    assert repr(i.belong_to) == "(NumberLit(value=0), Placeholder(name='N', ndim=0))"
    assert str(vn.Element("k", N ** 2).belong_to) == "[0..(N ** 2))"
    assert str(vn.Element("k", (1, N + 1)).belong_to) == "[1..N + 1)"


def test_enumerations():
    assert str(vn.DataType.INTEGER) == repr(vn.DataType.INTEGER) == "DataType.INTEGER"
