"""sum and prod over index elements."""

import pytest

import varnova as vn

N = vn.Placeholder("N")
i, j = vn.Element("i", N), vn.Element("j", N)
a = vn.Placeholder("a", ndim=1)
x = vn.BinaryVar("x", shape=(N, N))
y = vn.BinaryVar("y", shape=(N,))


def test_single_index():
    s = vn.sum(i, a[i])
    assert type(s) is vn.SumOp and s.condition is None
    assert s.index.name == "i" and str(s.operand) == "a[i]"


def test_conditional_index():
    s = vn.sum((i, i != 2), a[i])
    assert type(s.condition) is vn.NotEqualOp and str(s.condition) == "i != 2"


@pytest.mark.parametrize("index", [[i, (j, j != i)], (i, (j, j != i))])
def test_several_indices_nest_from_the_first(index):
    s = vn.sum(index, x[i, j])
    assert s.index.name == "i" and s.condition is None
    inner = s.operand
    assert type(inner) is vn.SumOp and inner.index.name == "j" and str(inner.condition) == "j != i"


def test_a_pair_of_elements_is_two_indices():
    s = vn.prod((i, j), x[i, j])
    assert type(s) is vn.ProdOp and type(s.operand) is vn.ProdOp and s.operand.index.name == "j"


def test_nothing_is_simplified():
    s = vn.sum(i, N)
    assert [type(t) for t in (s + 1).terms] == [vn.SumOp, vn.NumberLit]
    assert type(vn.sum(i, vn.sum(i, a[i])).operand) is vn.SumOp


@pytest.mark.parametrize("build, text", [
    (lambda: vn.sum(i, y[i]), "sum(i in [0..N), y[i])"),
    (lambda: vn.sum(i, y[i] + 1), "sum(i in [0..N), (y[i] + 1))"),
    (lambda: vn.sum(i, 2 * y[i]), "sum(i in [0..N), 2 * y[i])"),
    (lambda: vn.sum(i, a[i] % 2), "sum(i in [0..N), (a[i] % 2))"),
    (lambda: vn.sum(i, y[i] ** 2), "sum(i in [0..N), (y[i] ** 2))"),
    (lambda: vn.sum(i, y[i]) ** 2, "(sum(i in [0..N), y[i])) ** 2"),
    (lambda: 2 * vn.sum(i, y[i]), "2 * sum(i in [0..N), y[i])"),
    (lambda: vn.prod(i, y[i]), "prod(i in [0..N), y[i])"),
    (lambda: vn.sum((i, i + 1 != j), y[i]), "sum(i in [0..N) s.t. (i + 1) != j, y[i])"),
    (lambda: vn.sum(vn.Element("k", (1, N ** 2)), N), "sum(k in [1..(N ** 2)), N)"),
    (lambda: vn.sum(vn.Element("e", a), 1), "sum(e in a, 1)"),
    (lambda: vn.sum(vn.Element("f", vn.Element("e", vn.Placeholder("b", ndim=2))), 1),
     "sum(f in e, 1)"),
    (lambda: vn.sum(vn.Element("g", vn.Placeholder("c", ndim=2)[i + 1]), 1),
     "sum(g in c[i + 1], 1)"),
    (lambda: vn.sum(vn.Element("g", vn.Placeholder("c", ndim=3)[N ** 2, 1]), 1),
     "sum(g in c[(N ** 2), 1], 1)"),
])
def test_text(build, text):
    assert str(build()) == text


def test_repr():
    assert repr(vn.sum(i, y[i])) == (
        "sum(Element(name='i', belong_to=(NumberLit(value=0), Placeholder(name='N', ndim=0))), "
        "BinaryVar(name='y', shape=[Placeholder(name='N', ndim=0)])[Element(name='i', "
        "belong_to=(NumberLit(value=0), Placeholder(name='N', ndim=0)))])")
    conditional = vn.prod((i, i != 1), N)
    assert repr(conditional) == (
        "prod(Element(name='i', belong_to=(NumberLit(value=0), Placeholder(name='N', ndim=0))), "
        "Element(name='i', belong_to=(NumberLit(value=0), Placeholder(name='N', ndim=0))) != "
        "NumberLit(value=1), Placeholder(name='N', ndim=0))")


@pytest.mark.parametrize("index, lines", [
    (3, ["- variant Single (Index::Single): failed to extract enum IndexItem",
         "- variant Sequence (Index::Sequence): 'int' object cannot be converted to 'Sequence'"]),
    ("i", ["a string is not accepted as a sequence"]),
    ((i, None), ["- variant ConditionalElement (IndexItem::ConditionalElement)", "item 1: "]),
    ((i, i != 1, 2), ["a tuple of 3 items is not a pair of an Element and a condition"]),
    ([i, 5], ["item 1: failed to extract enum IndexItem"]),
    (a, ["'Placeholder' object cannot be converted to 'Sequence'"]),
])
def test_index_errors(index, lines):
    with pytest.raises(TypeError) as error:
        vn.sum(index, 1)
    message = str(error.value)
    assert message.startswith("argument 'index': failed to extract enum Index "
                              "('Single | Sequence')\n")
    assert all(line in message for line in lines)
    assert type(error.value.__cause__) is TypeError


@pytest.mark.parametrize("build, error, message", [
    (lambda: vn.sum((i, y[i] == 1), a[i]), vn.ModelingError,
     "the condition expression contains a decision variable"),
    (lambda: vn.sum((i, (i == 1) | (y[i] == 1)), a[i]), vn.ModelingError,
     "the condition expression contains a decision variable"),
    (lambda: vn.sum([], 1), vn.ModelingError, "a reduction needs at least one index"),
    (lambda: vn.sum(i, a), TypeError, "argument 'operand': failed to convert into expression."),
    (lambda: vn.sum(i, x[:, i]), vn.ModelingError, "dummy indexed BinaryVar with name 'x'"),
])
def test_errors(build, error, message):
    with pytest.raises(error) as raised:
        build()
    assert str(raised.value).startswith(message)


def test_sums_of_variables_are_allowed_in_operands_but_not_conditions():
    assert type(vn.sum(i, y[i]) + vn.sum(j, y[j])) is vn.AddOp
