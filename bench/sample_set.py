"""Speed of the sample-set operations on 10^6 values, as ratios against NumPy/orjson baselines.

Each row times our operation and a baseline doing the same job with NumPy (or orjson) on the
same arrays, alternately in this one process, and reports the ratio of the minimum times over
the repeats (below 1 is faster than the baseline). Run: python bench/sample_set.py
"""

import time

import numpy as np
import orjson

import varnova as vn

REPEATS = 15
RTOL, ATOL = 1e-5, 1e-8


def best(function):
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return min(times)


def compare(name, ours, baseline):
    ours(), baseline()  # warm up
    ours_time, base_time = [], []
    for _ in range(3):  # interleave, so that both see the same machine state
        ours_time.append(best(ours))
        base_time.append(best(baseline))
    o, b = min(ours_time), min(base_time)
    print(f"| {name:<58} | {o * 1e3:9.2f} | {b * 1e3:9.2f} | {o / b:5.2f} |")


def filters():
    # 250 000 samples of x with shape (4,), 4 constraints: 10^6 solution values and 10^6
    # violation values.
    rng = np.random.default_rng(1)
    samples, constraints = 250_000, 4
    x = rng.random((samples, 4))
    violations = {f"c{k}": np.where(rng.random(samples) < 0.5, 0.0, rng.random(samples))
                  for k in range(constraints)}
    objective = np.round(rng.random(samples) * 100)
    energy = objective.copy()
    counts = np.ones(samples, dtype=np.int64)
    record = vn.Record({"x": list(x)}, counts.tolist())
    evaluation = vn.Evaluation(energy=energy, objective=objective,
                               constraint_violations=violations)
    s = vn.SampleSet(record, evaluation, vn.MeasuringTime())

    def mask(feasible):
        v = sum(violations.values())
        m = np.abs(0 - v) <= ATOL + RTOL * np.abs(v)
        return m if feasible else ~m

    def select(m):
        return (x[m], counts[m], energy[m], objective[m], [a[m] for a in violations.values()])

    def lowest():
        m = mask(True)
        least = np.nanmin(objective[m])
        return select(m & (objective == least))

    compare("feasible() vs sum + mask + index", lambda: s.feasible(RTOL, ATOL),
            lambda: select(mask(True)))
    compare("infeasible() vs sum + mask + index", lambda: s.infeasible(RTOL, ATOL),
            lambda: select(mask(False)))
    compare("lowest() vs sum + mask + min + index", lambda: s.lowest(RTOL, ATOL), lowest)


def conversions():
    rng = np.random.default_rng(2)
    a = np.where(rng.random((1000, 1000)) < 0.1, rng.random((1000, 1000)), 0.0)
    dense = vn.Record({"x": [a]}, [1])
    sparse = dense.to_sparse()
    (indices, values, shape), = sparse.solution["x"]
    index_arrays = tuple(np.array(axis) for axis in indices)
    value_array = np.array(values)

    def fill():
        z = np.zeros(shape)
        z[index_arrays] = value_array
        return z

    compare("Record.to_sparse() vs np.nonzero", dense.to_sparse, lambda: np.nonzero(a))
    compare("Record.to_sparse() vs np.nonzero + values", dense.to_sparse,
            lambda: (np.nonzero(a), a[a != 0]))
    compare("Record.to_dense() vs zeros + fill", sparse.to_dense, fill)


def to_json():
    rng = np.random.default_rng(3)
    option = orjson.OPT_SERIALIZE_NUMPY

    def default(obj):
        return obj.tolist() if isinstance(obj, np.ndarray) else obj

    samples = 1000
    violations = {"c": np.where(rng.random(samples) < 0.5, 0.0, rng.random(samples))}
    evaluation = vn.Evaluation(energy=rng.random(samples), objective=rng.random(samples),
                               constraint_violations=violations)
    record = vn.Record({"x": list(rng.random((samples, 1000)))}, [1] * samples)
    for name, r in [("dense", record), ("sparse, 10% non-zero",
                                        vn.Record({"x": list(np.where(
                                            rng.random((samples, 1000)) < 0.1,
                                            rng.random((samples, 1000)), 0.0))},
                                            [1] * samples).to_sparse())]:
        s = vn.SampleSet(r, evaluation, vn.MeasuringTime(), {"solver": "bench"})
        d = s.to_dict()
        assert orjson.dumps(d, default=default, option=option).decode() == s.to_json()
        compare(f"SampleSet.to_json(), {name}, vs orjson.dumps", s.to_json,
                lambda d=d: orjson.dumps(d, default=default, option=option).decode())


if __name__ == "__main__":
    print(f"min of {REPEATS} runs, best of 3 interleaved rounds; times in ms")
    print(f"| {'operation vs baseline':<58} | {'ours':>9} | {'baseline':>9} | ratio |")
    print(f"|{'-' * 60}|{'-' * 11}|{'-' * 11}|-------|")
    filters()
    conversions()
    to_json()
