"""Subscripting with [], Subscript and DummyIndexedVar."""

import pytest

import varnova as vn

n, m = vn.Placeholder("n"), vn.Placeholder("m")
a1, a2, a3 = (vn.Placeholder("a", ndim=d) for d in (1, 2, 3))
x1 = vn.BinaryVar("x", shape=[n])
x2 = vn.BinaryVar("x", shape=(n, n))
j = vn.Element("j", n)


def same(e, f):
    return repr(e) == repr(f)


def test_subscripts_of_arrays():
    s = a2[1]
    assert type(s) is vn.Subscript and s.ndim == 1
    assert [repr(t) for t in s.subscripts] == ["NumberLit(value=1)"]
    assert same(s.variable, a2)
    assert same(a2[1, 2], a2[(1, 2)]) and same(a2[1, 2], a2[[1, 2]]) and same(a2[1, 2], a2[1][2])
    flat = a3[1][2]
    assert same(flat, a3[1, 2]) and flat.ndim == 1 and same(flat.variable, a3)
    assert str(a2[j, n + 1]) == "a[j, n + 1]"
    assert a1[1.5].ndim == 0  # no check of the value itself
    assert a1[vn.BinaryVar("y")].ndim == 0  # a single subscript is taken as it is


def test_subscripts_of_elements_and_variables():
    e = vn.Element("e", a3)
    assert e[1].ndim == 1 and str(e[1, 2]) == "e[1, 2]"
    assert vn.BinaryVar("x", shape=[124])[123].ndim == 0
    assert repr(vn.BinaryVar("x", shape=[124])[123]) == (
        "BinaryVar(name='x', shape=[NumberLit(value=124)])[NumberLit(value=123)]")
    assert repr(vn.Element("e", vn.Placeholder("a", ndim=2))[123]) == (
        "Element(name='e', belong_to=Placeholder(name='a', ndim=2))[NumberLit(value=123)]")


def test_subscript_shape_and_len_at():
    xy = vn.BinaryVar("x", shape=[n, m])
    assert [str(axis) for axis in xy[0].shape] == ["m"]
    assert [str(axis) for axis in a3[1].shape] == ["len(a[1], 0)", "len(a[1], 1)"]
    assert str(a3[1].len_at(1, latex="L")) == "len(a[1], 1)"


@pytest.mark.parametrize("build, error, message", [
    (lambda: vn.Placeholder("a")[0], TypeError,
     "ModelingError: the scalar `Placeholder { name: a }` is not subscriptable"),
    (lambda: vn.Element("i", 3)[0], TypeError,
     "ModelingError: the scalar `Element { name: i }` is not subscriptable"),
    (lambda: a3[1, 2, 3][0], TypeError, "ModelingError: the scalar `a[1, 2, 3]` is not subscriptable"),
    (lambda: a2[1, 2, 3], IndexError, "ModelingError: the number of subscripts (= 3) is greater "
                                      "than the dimensionality of the variable `a` (= 2)"),
    (lambda: a3[1][2, 3, 4], IndexError, "ModelingError: the number of subscripts (= 3) is "
                                         "greater than the dimensionality of the variable `a[1]` "
                                         "(= 2)"),
    (lambda: a1[:], TypeError, "'slice' object cannot be converted to 'Sequence'"),
    (lambda: a1["i"], TypeError, "a string is not accepted as a sequence of subscripts"),
    (lambda: a1[a1], TypeError, "'Placeholder' object cannot be converted to 'Sequence'"),
    (lambda: a2[1, "i"], TypeError, "failed to convert into expression."),
    (lambda: a2[()], vn.ModelingError, "the number of subscripts is zero"),
    (lambda: a2[vn.BinaryVar("y"), 1], vn.ModelingError, "a subscript contains a decision variable"),
    (lambda: a2[1][vn.BinaryVar("y")], IndexError,
     "ModelingError: a subscript contains a decision variable"),
    (lambda: vn.BinaryVar("y", shape=[3])[vn.BinaryVar("z")], vn.ModelingError,
     "a subscript contains a decision variable"),
    (lambda: vn.BinaryVar("x", shape=[2])["k"], IndexError, "Invalid index: 'k'"),
    (lambda: x1[a1], IndexError, "Invalid index: Placeholder(name='a', ndim=1)"),
    (lambda: x1[(1, x2[:, 0])], IndexError, "Invalid index: (1, <varnova.DummyIndexedVar"),
    (lambda: vn.BinaryVar("z")[0], vn.ModelingError,
     "the scalar `BinaryVar { name: z }` is not subscriptable"),
    (lambda: x1[1, 2], vn.ModelingError, "the number of subscripts (= 2) is greater than the "
                                         "dimensionality of the variable `x` (= 1)"),
    (lambda: x2[()], vn.ModelingError, "the number of subscripts is zero"),
    (lambda: x1[0].len_at(0), vn.ModelingError, "Can't get length of a scalar"),
    (lambda: x2[0].len_at(0), vn.ModelingError, "the subscripted variable x[0] is a decision variable"),
    (lambda: a2[0].len_at(1), vn.ModelingError,
     "axis 1 is out of bounds for the axis of the array a[0]"),
    (lambda: vn.ArrayLength(x2[0], 0), TypeError, "argument 'array': unsupported type"),
])
def test_errors(build, error, message):
    with pytest.raises(error) as raised:
        build()
    assert type(raised.value) is error
    assert str(raised.value).startswith(message)


def test_slices_sum_over_dummy_elements():
    i = vn.Element("__dummy_x_0", belong_to=n, latex=r"\ast_{0}",
                   description="dummy index at 0 for x")
    total = x2[:, j].sum()
    assert same(total, vn.sum(i, x2[i, j]))
    dummy = total.index
    assert dummy.description == "dummy index at 0 for x"
    assert repr(dummy) == ("Element(name='__dummy_x_0', belong_to=(NumberLit(value=0), "
                           "Placeholder(name='n', ndim=0)), latex='\\ast_{0}', "
                           "description='dummy index at 0 for x')")
    assert str(x2[1:n, j].sum()) == "sum(__dummy_x_0 in [1..n), x[__dummy_x_0, j])"
    product = x2[:, :].prod()
    assert type(product) is vn.ProdOp and type(product.operand) is vn.ProdOp
    assert product.operand.index.name == "__dummy_x_1"
    assert str(x2[0, 1:3].sum()) == "sum(__dummy_x_1 in [1..3), x[0, __dummy_x_1])"


@pytest.mark.parametrize("build, error, message", [
    (lambda: x2[::2, j], vn.ModelingError, "The 0-th subscript of the BinaryVar named 'x' uses a "
                                           "slice with a step `2`. However, the slice with a "
                                           "step is not supported."),
    (lambda: x2[0:n:1, j], vn.ModelingError, "The 0-th subscript of the BinaryVar named 'x' uses "
                                             "a slice with a step `1`."),
    (lambda: x2[3:1, j], ValueError, "`Range.start` (= 3) is larger than `Range.end` (= 1)"),
    (lambda: x2[:vn.BinaryVar("k"), j], vn.ModelingError,
     "the upper bound contains a decision variable"),
    (lambda: x2[:"a"], TypeError, "failed to convert into expression."),
    (lambda: x1[0, :], vn.ModelingError, "the 1-th subscript of the BinaryVar named 'x' is a "
                                         "slice without a stop"),
    (lambda: vn.BinaryVar("s")[:], vn.ModelingError, "the 0-th subscript of the BinaryVar named "
                                                     "'s' is a slice without a stop"),
    (lambda: x1[0:3, 1].sum(), vn.ModelingError, "the number of subscripts (= 2) is greater than "
                                                 "the dimensionality of the variable `x` (= 1)"),
    (lambda: vn.BinaryVar("s")[0:3].sum(), vn.ModelingError,
     "the scalar `BinaryVar { name: s }` is not subscriptable"),
    (lambda: x2[:].sum(), vn.ModelingError,
     "the dimensionality of the subscripted variable `x[__dummy_x_0]` must be zero, but actually 1"),
    (lambda: vn.abs(x2[:, j]), vn.ModelingError, "dummy indexed BinaryVar with name 'x' must be "
                                                 "called the `sum` or `prod` method to be "
                                                 "converted into an expression."),
    (lambda: x1[:] + 1, TypeError, "unsupported operand"),
    (lambda: vn.BinaryVar("b", shape=[x2[:, 0]]), vn.ModelingError, "dummy indexed BinaryVar"),
])
def test_slice_errors(build, error, message):
    with pytest.raises(error) as raised:
        build()
    assert type(raised.value) is error
    assert message in str(raised.value)


class Index:
    """A sequence that makes its items on demand, so a temporary list holds the only ones."""

    def __len__(self):
        return 2

    def __getitem__(self, k):
        if k >= 2:
            raise IndexError(k)
        return slice(None) if k == 0 else 1


def test_any_sequence_serves_as_an_index():
    assert str(x2[Index()].sum()) == "sum(__dummy_x_0 in [0..n), x[__dummy_x_0, 1])"
    assert str(a2[Index.__getitem__(None, 1), 2]) == "a[1, 2]"


def test_dummy_indexed_var_is_not_an_operand():
    assert type(x1[:].sum() + 1) is vn.AddOp
    # the sum converts; abs then refuses the decision variable inside it
    with pytest.raises(vn.ModelingError, match="unary op contains a decision variable"):
        vn.abs(x1[:].sum())
    assert "DummyIndexedVar object at" in repr(x1[:])
