"""SolvingTime, SystemTime and MeasuringTime."""

import inspect
import math

import pytest

import varnova as vn

FIELDS = {
    vn.SolvingTime: ["preprocess", "solve", "postprocess"],
    vn.SystemTime: ["post_problem_and_instance_data", "request_queue",
                    "fetch_problem_and_instance_data", "fetch_result", "deserialize_solution"],
}
CLASSES = list(FIELDS)


@pytest.mark.parametrize("cls", CLASSES)
def test_fields_default_to_none_and_keep_their_order(cls):
    names = FIELDS[cls]
    assert str(inspect.signature(cls)) == "(" + ", ".join(f"{n}=None" for n in names) + ")"
    empty = cls()
    assert [getattr(empty, n) for n in names] == [None] * len(names)
    assert list(empty.to_dict()) == names
    assert empty.to_json() == "{" + ",".join(f'"{n}":null' for n in names) + "}"
    full = cls(*range(1, len(names) + 1))
    assert [getattr(full, n) for n in names] == [float(i) for i in range(1, len(names) + 1)]
    assert type(full.to_dict()[names[0]]) is float


@pytest.mark.parametrize("cls", CLASSES)
def test_setters_and_deleting(cls):
    time = cls()
    name = FIELDS[cls][-1]
    setattr(time, name, 2)
    assert getattr(time, name) == 2.0
    setattr(time, name, None)
    assert getattr(time, name) is None
    with pytest.raises(TypeError, match="must be real number, not str"):
        setattr(time, name, "1")
    with pytest.raises(AttributeError):
        delattr(time, name)


@pytest.mark.parametrize("cls", CLASSES)
def test_round_trips(cls):
    n = len(FIELDS[cls])
    for values in ([None] * n, [0.25, -0.0, 1e-7] + [1e300] * (n - 3), [3] * n):
        time = cls(*values)
        assert cls.from_dict(time.to_dict()) == time
        assert cls.from_json(time.to_json()) == time


def test_text_forms_and_json_numbers():
    time = vn.SolvingTime(solve=1.0)
    assert repr(time) == str(time) == "SolvingTime(preprocess=None, solve=1, postprocess=None)"
    assert time.to_json() == '{"preprocess":null,"solve":1.0,"postprocess":null}'
    assert repr(vn.SolvingTime(0.5, 1e-7, math.nan)) == \
        "SolvingTime(preprocess=0.5, solve=0.0000001, postprocess=NaN)"
    assert repr(vn.SolvingTime(math.inf)).startswith("SolvingTime(preprocess=inf,")
    assert vn.SolvingTime(math.inf, math.nan, 1e16).to_json() == \
        '{"preprocess":null,"solve":null,"postprocess":1e16}'
    assert repr(vn.SystemTime(fetch_result=2.5)) == (
        "SystemTime(post_problem_and_instance_data=None, request_queue=None, "
        "fetch_problem_and_instance_data=None, fetch_result=2.5, deserialize_solution=None)")
    assert repr(vn.MeasuringTime(total=3)) == (
        "MeasuringTime(solve=SolvingTime(preprocess=None, solve=None, postprocess=None), "
        "system=SystemTime(post_problem_and_instance_data=None, request_queue=None, "
        "fetch_problem_and_instance_data=None, fetch_result=None, deserialize_solution=None), "
        "total=3)")


def test_from_dict_reads_numbers_and_ignores_other_keys():
    time = vn.SolvingTime.from_dict({"solve": 2, "other": "x", "preprocess": None})
    assert time == vn.SolvingTime(solve=2.0)
    with pytest.raises(TypeError):
        vn.SolvingTime.from_dict({"solve": "2"})
    with pytest.raises(TypeError, match="^argument 'dict': 'list' object cannot be converted"):
        vn.SystemTime.from_dict([])


@pytest.mark.parametrize("cls, text, message", [
    (vn.SolvingTime, '{"solve":1.0,"solve":2.0}', "duplicate field `solve` at line 1, column 20"),
    (vn.SolvingTime, '{"solve":"1"}', 'invalid type: string "1", expected a float at line 1, '
                                      'column 12'),
    (vn.SolvingTime, '{"solve":true}', "invalid type: boolean `true`, expected a float"),
    (vn.SolvingTime, '{"solve":1.0', "parse error at line 1, column 13"),
    (vn.SolvingTime, '[]', "invalid type: array, expected an object"),
    (vn.SystemTime, '{\n"request_queue": [1]}', "invalid type: array, expected a float at line "
                                                "2, column 18"),
    (vn.MeasuringTime, '{"total": 3.0}', "missing field `solve` at line 1, column 14"),
    (vn.MeasuringTime, '{"solve": {}, "total": 3.0}', "missing field `system`"),
    (vn.MeasuringTime, '{"solve": {}, "system": 1}', "invalid type: integer `1`, expected an "
                                                     "object"),
])
def test_from_json_errors(cls, text, message):
    with pytest.raises(ValueError) as error:
        cls.from_json(text)
    assert message in str(error.value)


def test_from_json_accepts_missing_null_and_unknown_keys():
    assert vn.SolvingTime.from_json('{"solve":1,"x":{"y":[1,2]}}') == vn.SolvingTime(solve=1)
    assert vn.SolvingTime.from_json("{}") == vn.SolvingTime()
    assert vn.MeasuringTime.from_json('{"solve":{},"system":{}}') == vn.MeasuringTime()


def test_measuring_time_parts():
    time = vn.MeasuringTime(vn.SolvingTime(solve=1), vn.SystemTime(fetch_result=2), 3)
    assert time.solve == vn.SolvingTime(solve=1) and time.total == 3.0
    assert time.to_dict() == {"solve": time.solve.to_dict(), "system": time.system.to_dict(),
                              "total": 3.0}
    assert vn.MeasuringTime.from_dict(time.to_dict()) == time
    assert vn.MeasuringTime.from_json(time.to_json()) == time
    assert vn.MeasuringTime.from_dict({}) == vn.MeasuringTime()
    part = time.solve
    part.solve = 5                      # a getter returns a copy
    assert time.solve.solve == 1.0
    time.solve = part
    assert time.solve.solve == 5.0
    with pytest.raises(TypeError, match="^'SystemTime' object cannot be converted to "
                                        "'SolvingTime'$"):
        time.solve = vn.SystemTime()
    with pytest.raises(AttributeError):
        del time.system


@pytest.mark.parametrize("call, error, message", [
    (lambda: vn.MeasuringTime(solve=vn.SystemTime()), TypeError,
     "argument 'solve': 'SystemTime' object cannot be converted to 'SolvingTime'"),
    (lambda: vn.MeasuringTime(system=1), TypeError,
     "argument 'system': 'int' object cannot be converted to 'SystemTime'"),
    (lambda: vn.MeasuringTime(total="1"), TypeError,
     "argument 'total': must be real number, not str"),
    (lambda: vn.SolvingTime(solve=[]), TypeError, "argument 'solve': must be real number, not "
                                                  "list"),
    (lambda: vn.MeasuringTime.from_dict({"solve": 1}), ValueError,
     "the value of the key 'solve' is not dict"),
    (lambda: vn.MeasuringTime.from_dict({"system": []}), ValueError,
     "the value of the key 'system' is not dict"),
])
def test_argument_errors(call, error, message):
    with pytest.raises(error) as raised:
        call()
    assert str(raised.value) == message


@pytest.mark.parametrize("a, b, equal", [
    (vn.SolvingTime(1), vn.SolvingTime(1.0), True),
    (vn.SolvingTime(), vn.SolvingTime(0), False),
    (vn.SolvingTime(math.nan), vn.SolvingTime(math.nan), False),
    (vn.SystemTime(request_queue=2), vn.SystemTime(request_queue=2), True),
    (vn.MeasuringTime(total=1), vn.MeasuringTime(total=1), True),
    (vn.MeasuringTime(vn.SolvingTime(math.nan)), vn.MeasuringTime(vn.SolvingTime(math.nan)),
     False),
])
def test_equality(a, b, equal):
    assert (a == b) is equal and (a != b) is not equal


@pytest.mark.parametrize("value", [vn.SolvingTime(), vn.SystemTime(), vn.MeasuringTime()])
def test_comparison(value):
    assert (value == object()) is False
    for op in ("<", "<=", ">", ">="):
        with pytest.raises(TypeError, match=f"^Comparison '{op}' not supported for "
                                            f"{type(value).__name__}$"):
            eval(f"a {op} a", {"a": value})
