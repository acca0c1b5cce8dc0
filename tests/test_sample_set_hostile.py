"""Hostile input to the readers of the result classes: only their documented errors come out."""

import json

import numpy as np
import pytest
from hypothesis import given, settings, strategies as st

import varnova as vn

CLASSES = [vn.Record, vn.Evaluation, vn.SolvingTime, vn.SystemTime, vn.MeasuringTime]

scalars = st.none() | st.booleans() | st.integers(-2**70, 2**70) | \
    st.floats(allow_nan=True, allow_infinity=True) | st.text(max_size=5)
values = st.recursive(scalars, lambda inner: st.lists(inner, max_size=4) |
                      st.dictionaries(st.sampled_from(
                          ["solution", "Dense", "Sparse", "x", "v", "dim", "data",
                           "non_zero_indices", "non_zero_values", "shape", "num_occurrences",
                           "energy", "objective", "constraint_violations", "constraint_forall",
                           "constraint_values", "penalty", "solve", "system", "total", "record",
                           "evaluation", "measuring_time", "metadata"]), inner, max_size=4),
                      max_leaves=30)


def read_all(text):
    for cls in CLASSES:
        try:
            cls.from_json(text)
        except ValueError:
            pass


@settings(max_examples=300, deadline=None)
@given(value=values)
def test_from_json_raises_only_value_error(value):
    read_all(json.dumps(value))


@settings(max_examples=300, deadline=None)
@given(text=st.text(max_size=40))
def test_from_json_of_arbitrary_text_raises_only_value_error(text):
    read_all(text)


@settings(max_examples=300, deadline=None)
@given(value=values)
def test_from_dict_raises_only_documented_errors(value):
    if not isinstance(value, dict):
        value = {"solution": value, "record": value}
    for cls in CLASSES + [vn.SampleSet]:
        try:
            result = cls.from_dict(value)
            if cls is vn.Record:
                result.to_sparse()
                result.to_dense()
                repr(result)
        except (TypeError, ValueError, IndexError, OverflowError):
            pass


@settings(max_examples=200, deadline=None)
@given(shape=st.lists(st.integers(0, 2**64 - 1), max_size=4),
       indices=st.lists(st.lists(st.integers(0, 2**64 - 1), max_size=3), max_size=4),
       values=st.lists(st.floats(), max_size=3))
def test_coo_entries_never_allocate_what_their_shape_claims(shape, indices, values):
    try:
        record = vn.Record({"x": [(indices, values, shape)]}, [1])
        dense = record.to_dense()
    except (TypeError, ValueError, IndexError):
        return
    assert dense.solution["x"][0].size <= 2**28


def test_shapes_without_elements_must_still_be_addressable():
    record = vn.Record({"x": [((), [], (0, 121, 2559173, 3723185927))]}, [1])
    with pytest.raises(ValueError, match=r"^the shape \[0, 121, 2559173, 3723185927\] of x in "
                                         "sample 0 is too large for an array$"):
        record.to_dense()
    assert vn.Record({"x": [((), [], (0, 2**40))]}, [1]).to_dense().solution["x"][0].shape == \
        (0, 2**40)


def test_huge_dense_json_arrays_are_refused_before_allocating():
    text = ('{"solution":{"Dense":{"x":[{"v":1,"dim":[65536,65536,65536],"data":[]}]}},'
            '"num_occurrences":[1]}')
    with pytest.raises(ValueError, match="does not match its dimensions"):
        vn.Record.from_json(text)
    for cls in CLASSES:
        with pytest.raises(ValueError, match="parse error"):
            cls.from_json("[" * 200_000)


def test_deeply_nested_lists_are_no_dense_solution():
    nested = 1.0
    for _ in range(100):
        nested = [nested]
    with pytest.raises(TypeError, match="Failed to extract a solution"):
        vn.Record({"x": [nested]}, [1])
    assert vn.Record({"x": [np.zeros((1,) * 32)]}, [1]).is_dense()
