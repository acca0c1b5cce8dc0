"""Argument binding and the conversion errors of the simple argument types."""

import pytest

import varnova as vn


@pytest.mark.parametrize("call, message", [
    (lambda: vn.Placeholder(), "Placeholder() missing 1 required positional argument: 'name'"),
    (lambda: vn.ArrayLength(), "ArrayLength() missing 2 required positional arguments: "
                               "'array' and 'axis'"),
    (lambda: vn.Placeholder("a", x=1), "Placeholder() got an unexpected keyword argument 'x'"),
    (lambda: vn.Placeholder("a", name="b"),
     "Placeholder() got multiple values for argument 'name'"),
    (lambda: vn.Placeholder("a", 2), "Placeholder() takes 1 positional argument but 2 were given"),
    (lambda: vn.Placeholder("a", 2, ndim=1),
     "Placeholder() takes 1 positional argument but 2 positional arguments "
     "(and 1 keyword-only argument) were given"),
    (lambda: vn.NumberLit(1, 2), "NumberLit() takes 1 positional argument but 2 were given"),
    (lambda: vn.Placeholder("a", ndim=2).len_at(),
     "len_at() missing 1 required positional argument: 'axis'"),
    (lambda: vn.Placeholder(**{"name": "a", "latex": None, "ndim": 0, "bad": 1}),
     "Placeholder() got an unexpected keyword argument 'bad'"),
])
def test_interpreter_style_binding_errors(call, message):
    with pytest.raises(TypeError) as error:
        call()
    assert str(error.value) == message


def test_keyword_and_positional_name_give_equal_results():
    assert vn.Placeholder("a").name == vn.Placeholder(name="a").name


@pytest.mark.parametrize("call, message", [
    (lambda: vn.Placeholder(1), "argument 'name': 'int' object cannot be converted to 'str'"),
    (lambda: vn.Placeholder("a", ndim=1.0),
     "argument 'ndim': 'float' object cannot be interpreted as an integer"),
    (lambda: vn.Placeholder("a", latex=1), "argument 'latex': 'int' object cannot be converted "
                                           "to 'str'"),
    (lambda: vn.Placeholder("a", description=b"d"),
     "argument 'description': 'bytes' object cannot be converted to 'str'"),
    (lambda: vn.ArrayLength(vn.Placeholder("a", ndim=1), "0"),
     "argument 'axis': 'str' object cannot be interpreted as an integer"),
])
def test_type_errors_name_the_argument_and_keep_the_cause(call, message):
    with pytest.raises(TypeError) as error:
        call()
    assert str(error.value) == message
    cause = error.value.__cause__
    assert type(cause) is TypeError
    assert message.endswith(str(cause))


@pytest.mark.parametrize("call", [
    lambda: vn.Placeholder("a", ndim=-1),
    lambda: vn.Placeholder("a", ndim=2).len_at(-1),
    lambda: vn.Placeholder("a", ndim=2**64),
])
def test_counts_out_of_range_raise_the_interpreters_overflow_error(call):
    with pytest.raises(OverflowError) as error:
        call()
    assert "argument" not in str(error.value)
