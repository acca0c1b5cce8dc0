"""Element, its set, and Range."""

import pytest

import varnova as vn

n = vn.Placeholder("n")
x = vn.BinaryVar("x")


def ends(element):
    r = element.belong_to
    assert type(r) is vn.Range
    return (repr(r.start), repr(r.end))


@pytest.mark.parametrize("belong_to, start, end", [
    (10, "NumberLit(value=0)", "NumberLit(value=10)"),
    ((0, 10), "NumberLit(value=0)", "NumberLit(value=10)"),
    (True, "NumberLit(value=0)", "NumberLit(value=1)"),
    (2.5, "NumberLit(value=0)", "NumberLit(value=2.5)"),
    (vn.NumberLit(4), "NumberLit(value=0)", "NumberLit(value=4)"),
    (n, "NumberLit(value=0)", "Placeholder(name='n', ndim=0)"),
    ((1, n), "NumberLit(value=1)", "Placeholder(name='n', ndim=0)"),
    ((n, n), "Placeholder(name='n', ndim=0)", "Placeholder(name='n', ndim=0)"),
    (n + 1, "NumberLit(value=0)", "Placeholder(name='n', ndim=0) + NumberLit(value=1)"),
])
def test_ranges(belong_to, start, end):
    i = vn.Element("i", belong_to)
    assert i.ndim == 0 and i.shape == ()
    assert ends(i) == (start, end)


@pytest.mark.parametrize("ndim", [1, 3])
def test_arrays(ndim):
    a = vn.Placeholder("a", ndim=ndim)
    e = vn.Element("e", a)
    assert e.ndim == ndim - 1
    assert type(e.belong_to) is vn.Placeholder and e.belong_to.name == "a"
    assert [length.axis for length in e.shape] == list(range(ndim - 1))
    assert all(type(length.array) is vn.Element for length in e.shape)
    nested = vn.Element("f", e) if ndim > 1 else None
    if nested is not None:
        assert nested.ndim == ndim - 2 and type(nested.belong_to) is vn.Element


@pytest.mark.parametrize("belong_to, error, message", [
    (0, ValueError, "`Range.start` (= 0) is equal to `Range.end` (= 0)"),
    (-3, ValueError, "`Range.start` (= 0) is larger than `Range.end` (= -3)"),
    ((5, 2.5), ValueError, "`Range.start` (= 5) is larger than `Range.end` (= 2.5)"),
    ((3, 3.0), ValueError, "`Range.start` (= 3) is equal to `Range.end` (= 3)"),
    (x, vn.ModelingError, "the upper bound contains a decision variable"),
    ((x, 10), vn.ModelingError, "the lower bound contains a decision variable"),
    ((0, 2 * x + 1), vn.ModelingError, "the upper bound contains a decision variable"),
    ([0, 10], TypeError, "failed to convert into a set"),
    ((0, 5, 1), TypeError, "failed to convert into a set"),
    ((0, vn.Placeholder("a", ndim=1)), TypeError, "failed to convert into a set"),
    ("n", TypeError, "failed to convert into a set"),
    (None, TypeError, "failed to convert into a set"),
])
def test_set_errors(belong_to, error, message):
    with pytest.raises(error) as raised:
        vn.Element("i", belong_to)
    assert type(raised.value) is error and str(raised.value) == message


def test_arguments_are_converted_before_the_set():
    with pytest.raises(TypeError, match="^argument 'latex': "):
        vn.Element("i", 0, latex=1)
    with pytest.raises(TypeError, match="^argument 'name': "):
        vn.Element(1, 0)


def test_getters_and_len_at():
    i = vn.Element("i", 10, latex="i'", description="items")
    assert (i.name, i.ndim, i.description) == ("i", 0, "items")
    with pytest.raises(vn.ModelingError, match="^the element i is a scalar$"):
        i.len_at(0)
    e = vn.Element("e", vn.Placeholder("a", ndim=3))
    assert e.len_at(1, description="d").description == "d"
    with pytest.raises(vn.ModelingError,
                       match="^axis 2 is out of bounds for the axis of the array e$"):
        e.len_at(2)
    assert vn.ArrayLength(e, 0).array.name == "e"


def test_elements_take_part_in_arithmetic():
    i = vn.Element("i", n)
    assert str(2 * i + 1) == "2 * i + 1"
