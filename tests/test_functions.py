"""abs, ceil, floor, ln, log2, log10, min and max."""

import pytest

import varnova as vn

p, q = vn.Placeholder("p"), vn.Placeholder("q")
x = vn.BinaryVar("x", shape=[3])
i = vn.Element("i", 3)

UNARY = [(vn.abs, vn.AbsOp, "|p + 1|", "abs("), (vn.ceil, vn.CeilOp, "ceil(p + 1)", "ceil("),
         (vn.floor, vn.FloorOp, "floor(p + 1)", "floor("), (vn.ln, vn.LnOp, "ln(p + 1)", "ln("),
         (vn.log2, vn.Log2Op, "log2(p + 1)", "log2("),
         (vn.log10, vn.Log10Op, "log10(p + 1)", "log10(")]


@pytest.mark.parametrize("function, cls, text, opening", UNARY)
def test_unary_functions(function, cls, text, opening):
    e = function(p + 1)
    assert type(e) is cls and str(e) == text
    assert repr(e).startswith(opening)
    assert str(e.operand) == "p + 1"
    assert type(function(-3).operand) is vn.NumberLit  # never evaluated
    assert type(function(function(p)).operand) is cls
    with pytest.raises(vn.ModelingError,
                       match="^the operand of the unary op contains a decision variable$"):
        function(x[i] + 1)


def test_unary_functions_search_reductions():
    assert str(vn.ceil(p / 2)) == "ceil(p * 2 ** -1)"
    with pytest.raises(vn.ModelingError, match="unary op contains a decision variable"):
        vn.abs(vn.sum(i, x[i]))


@pytest.mark.parametrize("function, cls, name", [(vn.min, vn.MinOp, "min"),
                                                 (vn.max, vn.MaxOp, "max")])
def test_min_and_max(function, cls, name):
    e = function(1, 2)
    assert type(e) is cls and [t.value for t in e.terms] == [1, 2]
    assert str(function(p, q + 1)) == f"{name}(p, q + 1)"
    assert function().terms == [] and len(function(p).terms) == 1
    inner = function(function(p, q), 1)
    assert type(inner.terms[0]) is cls
    with pytest.raises(vn.ModelingError, match="^the 2-th term contains a decision variable$"):
        function(p, q, x[0])
    with pytest.raises(vn.ModelingError, match="^the 0-th term contains a decision variable$"):
        function(x[0] * 2)


@pytest.mark.parametrize("call, message", [
    (lambda: vn.abs("x"), "argument 'operand': failed to convert into expression."),
    (lambda: vn.log2(vn.Placeholder("a", ndim=2)),
     "argument 'operand': failed to convert into expression."),
    (lambda: vn.max(p, "q"), "argument 'operands': failed to convert into expression."),
    (lambda: vn.abs(), "abs() missing 1 required positional argument: 'operand'"),
    (lambda: vn.min(p, key=1), "min() got an unexpected keyword argument 'key'"),
])
def test_argument_errors(call, message):
    with pytest.raises(TypeError) as error:
        call()
    assert str(error.value) == message


def test_results_take_part_in_arithmetic_and_comparisons():
    assert type(vn.abs(p) + 1) is vn.AddOp
    assert type(vn.max(p, q) <= 3) is vn.LessThanEqualOp
    a = vn.abs(p)
    a.set_latex(r"\lvert p \rvert")
    assert str(a + a) == "|p| + |p|"
