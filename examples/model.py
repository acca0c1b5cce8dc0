"""A knapsack model with a conflict constraint, written with varnova end to end."""

import varnova as vn

# Instance data: item weights and values, the capacity, and pairs of items that conflict.
w = vn.Placeholder("w", ndim=1, description="weight of each item")
v = vn.Placeholder("v", ndim=1, description="value of each item")
W = vn.Placeholder("W", description="capacity of the knapsack")
C = vn.Placeholder("C", ndim=2, description="1 where two items conflict")
N = w.len_at(0, latex="N", description="number of items")

# Which items are packed.
x = vn.BinaryVar("x", shape=(N,), description="1 when the item is packed")
i = vn.Element("i", belong_to=(0, N))
j = vn.Element("j", belong_to=(0, N))

value = vn.sum(i, v[i] * x[i])
weight = vn.sum(i, w[i] * x[i]) <= W
# Conflicting items (j after i) are never packed together.
conflicts = vn.sum(i, vn.sum((j, j > i), C[i, j] * x[i] * x[j])) == 0
# Every slice sums like an explicit reduction over a dummy index.
packed = x[:].sum()

print("objective:  ", value)
print("capacity:   ", weight)
print("conflicts:  ", conflicts)
print("items:      ", packed, ">=", vn.ceil(N / 2) - 1)
print("bound:      ", vn.max(W - vn.sum(i, w[i]), 0))
print()
print("repr of x[i]:", repr(x[i]))
print("terms of the weight sum:", [str(t) for t in (weight.left + 2 * x[0] - 1).terms])
print("the objective's operand:", type(value.operand).__name__, [str(t) for t in value.operand.terms])

# ---------------------------------------------------------------------------------------------
# A solver's answer: the JSON of a SampleSet, as a solving service returns it for a knapsack of
# four items (x[i] = 1 when item i is packed). Keep the feasible samples, then the best of them.
import pathlib

result = vn.SampleSet.from_json((pathlib.Path(__file__).parent / "result.json").read_text())
feasible = result.feasible()
best = result.lowest()
print(f"samples: {len(result.record.num_occurrences)}, "
      f"feasible: {len(feasible.record.num_occurrences)}, best: {len(best.record.num_occurrences)}")
print(feasible.to_pandas()[["solution[x]", "num_occurrences", "objective",
                            "constraint_violation[capacity]"]].to_string())
print(best.to_pandas().to_string())
