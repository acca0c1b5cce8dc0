"""A knapsack model, built up as the library grows: today its instance data."""

import varnova as vn

# Instance data: item weights and values, and the knapsack's capacity.
w = vn.Placeholder("w", ndim=1, description="weight of each item")
v = vn.Placeholder("v", ndim=1, description="value of each item")
W = vn.Placeholder("W", description="capacity of the knapsack")

# The number of items is the length of the weight array.
N = w.len_at(0, latex="N", description="number of items")

print(f"placeholders: {w.name} (ndim {w.ndim}), {v.name} (ndim {v.ndim}), {W.name} (ndim {W.ndim})")
print(f"{W.name}: {W.description}")
print(f"N measures axis {N.axis} of {N.array.name}: {N.description}")
print(f"shape of v: {len(v.shape)} axis, measuring {v.shape[0].array.name}")

# Numbers become literals with a data type.
for value in (3, 2.5, True):
    literal = vn.NumberLit(value)
    print(f"NumberLit({value!r}): value {literal.value!r}, dtype {literal.dtype!r}")
