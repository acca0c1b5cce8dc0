"""Expression building, use and printing, against the floor and the peers.

P1  one binary operator on scalar operands
P2  a sum grown term by term in a Python loop
P3  a getter and a use as operand of a long sum, against a two-term sum
P5  str and repr of a long sum with float coefficients
P7  memory per term of a long sum

Run by bench/run, which builds the floor module and installs the peers first.
"""

import array
import random
import subprocess
import sys
import textwrap

import varnova as vn

import _harness as h

floor = h.floor_module()
sympy = h.peer("sympy")
symengine = h.peer("symengine")
pyomo = h.peer("pyomo.environ")

table = h.Table("Expressions: building, use and printing")

# Operands are distinct objects so that no peer's result cache answers a repeated operation.
K = 10_000
REPEATS = 9


def has_subscripts():
    try:
        vn.BinaryVar("x", shape=(2,))[0]
    except TypeError:
        return False
    return True


SUBSCRIPTS = has_subscripts()
ABS = hasattr(vn, "abs")


def pairs_add(items):
    for a, b in items:
        a + b


def pairs_mul(items):
    for a, b in items:
        a * b


def singles_twice(items):
    for a in items:
        2 * a


def singles_plus_self(items):
    for a in items:
        a + a


# --- P1 ---------------------------------------------------------------------------------------

def p1():
    floor_objects = [floor.Floor() for _ in range(K + 1)]
    floor_pairs = list(zip(floor_objects, floor_objects[1:]))

    operand_sets = {}  # contender -> {"p": [...], "q": [...], "x": [...], "y": [...]}
    vn_sets = {
        "p": [vn.Placeholder(f"p{k}") for k in range(K)],
        "q": [vn.Placeholder(f"q{k}") for k in range(K)],
    }
    if SUBSCRIPTS:
        x, y = vn.BinaryVar("x", shape=(K,)), vn.BinaryVar("y", shape=(K,))
        vn_sets["x"] = [x[i] for i in range(K)]
        vn_sets["y"] = [y[K - 1 - j] for j in range(K)]
    else:  # scalar decision variables stand in for the subscripts
        vn_sets["x"] = [vn.BinaryVar(f"x{k}") for k in range(K)]
        vn_sets["y"] = [vn.ContinuousVar(f"y{k}", lower_bound=0, upper_bound=1) for k in range(K)]
    operand_sets["varnova"] = vn_sets
    if sympy:
        xb, yb = sympy.IndexedBase("x"), sympy.IndexedBase("y")
        operand_sets["SymPy"] = {
            "p": [sympy.Symbol(f"p{k}") for k in range(K)],
            "q": [sympy.Symbol(f"q{k}") for k in range(K)],
            "x": [xb[i] for i in range(K)],
            "y": [yb[K - 1 - j] for j in range(K)],
        }
    if symengine:  # SymEngine has no indexed symbols: one symbol per entry
        operand_sets["SymEngine"] = {
            key: [symengine.Symbol(f"{key}{k}") for k in range(K)] for key in "pqxy"
        }
    if pyomo:
        m = pyomo.ConcreteModel()
        m.p = pyomo.Param(range(K), mutable=True, initialize=1.0)
        m.q = pyomo.Param(range(K), mutable=True, initialize=1.0)
        m.x = pyomo.Var(range(K))
        m.y = pyomo.Var(range(K))
        operand_sets["Pyomo"] = {
            "p": [m.p[k] for k in range(K)],
            "q": [m.q[k] for k in range(K)],
            "x": [m.x[k] for k in range(K)],
            "y": [m.y[K - 1 - k] for k in range(K)],
        }

    x_text = "x[i]" if SUBSCRIPTS else "x"
    y_text = "y[j]" if SUBSCRIPTS else "y"
    operations = [
        ("p + q", pairs_add, "p", "q", pairs_add),
        (f"2 * {x_text}", singles_twice, "x", None, singles_plus_self),
        (f"{x_text} * {y_text}", pairs_mul, "x", "y", pairs_add),
    ]
    per_op = {}
    for text, loop, first, second, floor_loop in operations:
        contenders = {"floor": (lambda fl=floor_loop: fl(floor_pairs if fl is pairs_add
                                                         else floor_objects))}
        for name, sets in operand_sets.items():
            items = list(zip(sets[first], sets[second])) if second else sets[first]
            contenders[name] = lambda loop=loop, items=items: loop(items)
        best = h.side_by_side(contenders, REPEATS)
        per_op[text] = {name: t / K for name, t in best.items()}

    for text, times in per_op.items():
        ours = times["varnova"]
        label = text if SUBSCRIPTS or text == "p + q" else f"{text} (scalar vars)"
        table.check("P1", f"`{label}` vs floor ({times['floor'] * 1e9:.0f} ns vs "
                    f"{ours * 1e9:.0f} ns)", ours / times["floor"], "<= 1.5x", ours <= 1.5 * times["floor"])
        if "SymPy" in times:
            ratio = times["SymPy"] / ours
            table.check("P1", f"`{label}`: SymPy time / ours", ratio, ">= 5x", ratio >= 5)
        if "SymEngine" in times:
            ratio = times["SymEngine"] / ours
            table.check("P1", f"`{label}`: SymEngine time / ours", ratio, ">= 1x", ratio >= 1)
        if "Pyomo" in times:
            table.note("P1", f"`{label}`: Pyomo time / ours", f"{times['Pyomo'] / ours:.3g}x")
    if not SUBSCRIPTS:
        table.note("P1", "`2 * x[i]`, `x[i] * y[j]`", "pending", "", "pending: no x[i] yet")
    return per_op


# --- P2 ---------------------------------------------------------------------------------------

def grow(c, term_at, n):
    s = 0
    for i in range(n):
        s = s + c * term_at[i]
    return s


class Same:
    """`term_at[i]` that is always the same scalar variable (the stand-in for x[i])."""

    def __init__(self, term):
        self.term = term

    def __getitem__(self, i):
        return self.term


def p2(p1_times):
    sizes = (10**4, 10**5, 10**6)
    c = 1.5
    if SUBSCRIPTS:
        variables = {n: vn.BinaryVar("x", shape=(n,)) for n in sizes}
        label = "s = s + c * x[i]"
    else:
        variables = {n: Same(vn.BinaryVar("y")) for n in sizes}
        label = "s = s + c * y (scalar var)"
    contenders = {n: (lambda n=n: grow(c, variables[n], n)) for n in sizes}
    best = h.side_by_side(contenders, 5)
    growth = best[10**6] / best[10**5]
    table.check("P2", f"`{label}`: time(10^6) / time(10^5)", growth, "<= 11", growth <= 11)
    reference_text = "2 * x[i]" if SUBSCRIPTS else "2 * x"
    reference = p1_times[reference_text]["varnova"]
    for n in sizes:
        per_term = best[n] / n
        table.check("P2", f"`{label}` n=10^{len(str(n)) - 1}: per term ({per_term * 1e9:.0f} ns) "
                    f"/ P1 `{reference_text}`", per_term / reference, "<= 2x",
                    per_term <= 2 * reference)
    if not SUBSCRIPTS:
        table.note("P2", "`s = s + c * x[i]`", "pending", "", "pending: no x[i] yet")

    # The peers, each with its own loop-built sum, at the sizes they reach in a few seconds.
    ours = best[10**4] / 10**4
    if pyomo:
        m = pyomo.ConcreteModel()
        m.x = pyomo.Var(range(10**6))
        for n in (10**4, 10**6):
            t = h.side_by_side({"pyomo": lambda n=n: grow(c, m.x, n)}, 3)["pyomo"] / n
            table.note("P2", f"Pyomo loop n=10^{len(str(n)) - 1}: per term / ours at 10^4",
                       f"{t / ours:.3g}x")
    for name, module, n in (("SymPy", sympy, 10**3), ("SymEngine", symengine, 10**4)):
        if not module:
            continue
        xs = [module.Symbol(f"x{i}") for i in range(n)]
        t = h.side_by_side({name: lambda: grow(c, xs, n)}, 1)[name] / n
        table.note("P2", f"{name} loop n=10^{len(str(n)) - 1}: per term / ours at 10^4",
                   f"{t / ours:.3g}x", "", "info: grows with n (each step copies the sum)")


# --- P3 ---------------------------------------------------------------------------------------

def per_call(operation, calls):
    def run():
        for _ in range(calls):
            operation()
    return run


def p3():
    n = 10**5
    names = [vn.Placeholder(f"p{k}") for k in range(n)]
    big = 0
    for p in names:
        big = big + p
    small = names[0] + names[1]
    q = vn.Placeholder("q")

    def compare(label, big_op, small_op, big_calls, small_calls, goal=True):
        best = h.side_by_side({"big": per_call(big_op, big_calls),
                               "small": per_call(small_op, small_calls)}, REPEATS)
        ratio = (best["big"] / big_calls) / (best["small"] / small_calls)
        if goal:
            table.check("P3", f"{label}: 10^5 terms / 2 terms", ratio, "<= 2x", ratio <= 2)
        return ratio, best["big"] / big_calls

    ratio, big_time = compare("`.terms`", lambda: big.terms, lambda: small.terms, 5, 10**4,
                              goal=False)
    table.note("P3", "`.terms`: 10^5 terms / 2 terms",
               f"{ratio:.3g}x ({big_time / n * 1e9:.0f} ns per term)", "<= 2x or O(n) explained",
               "explained: returns a list of n new objects")
    if ABS:
        compare("`vn.abs(sum)`", lambda: vn.abs(big), lambda: vn.abs(small), 10**4, 10**4)
    else:
        table.note("P3", "`vn.abs(sum)`: 10^5 terms / 2 terms", "pending", "<= 2x",
                   "pending: no vn.abs yet")
    compare("`sum * q`", lambda: big * q, lambda: small * q, 10**4, 10**4)
    compare("`sum + q` (the sum used again)", lambda: big + q, lambda: small + q, 10**3, 10**4)


# --- P5 ---------------------------------------------------------------------------------------

def p5():
    n = 10**5
    rng = random.Random(5)
    coefficients = [rng.uniform(-10, 10) for _ in range(n)]
    if SUBSCRIPTS:
        x = vn.BinaryVar("x", shape=(n,))
        variables = [x[i] for i in range(n)]
        label = "c * x[i]"
    else:
        variables = [vn.BinaryVar(f"x{i}") for i in range(n)]
        label = "c * x (scalar vars)"
    s = 0
    for c, v in zip(coefficients, variables):
        s = s + c * v
    doubles = array.array("d", coefficients)
    best = h.side_by_side({"str": lambda: str(s), "repr": lambda: repr(s),
                           "to_chars": lambda: floor.to_chars(doubles)}, REPEATS)
    sizes = {"str": len(str(s)), "repr": len(repr(s))}
    for kind in ("str", "repr"):
        rate = sizes[kind] / best[kind] / 1e6
        table.check("P5", f"`{kind}` of 10^5 terms `{label}` ({sizes[kind] / 1e6:.1f} MB)",
                    rate, ">= 100 MB/s", rate >= 100, unit=" MB/s")
    for kind in ("str", "repr"):
        ratio = best[kind] / best["to_chars"]
        table.check("P5", f"`{kind}` per literal / `std::to_chars` loop "
                    f"({best['to_chars'] / n * 1e9:.0f} ns)", ratio, "<= 2x", ratio <= 2)
    # The peers' own text of a sum as long (SymPy's printer sorts terms: a tenth of the size).
    ours = sizes["str"] / best["str"]
    if pyomo:
        m = pyomo.ConcreteModel()
        m.x = pyomo.Var(range(n))
        e = 0
        for i, c in enumerate(coefficients):
            e = e + c * m.x[i]
        t = h.side_by_side({"pyomo": lambda: str(e)}, 3)["pyomo"]
        table.note("P5", "Pyomo `str`, 10^5 terms: MB/s / ours", f"{len(str(e)) / t / ours:.3g}x")
    for name, module, count in (("SymEngine", symengine, n), ("SymPy", sympy, n // 10)):
        if not module:
            continue
        e = module.Add(*[c * module.Symbol(f"x{i}") for i, c in enumerate(coefficients[:count])])
        t = h.side_by_side({name: lambda: str(e)}, 3)[name]
        table.note("P5", f"{name} `str`, {count} terms: MB/s / ours",
                   f"{len(str(e)) / t / ours:.3g}x")


# --- P7 ---------------------------------------------------------------------------------------

# Each measurement runs in a fresh interpreter, so that nothing freed earlier is reused.
MEMORY_PROBE = textwrap.dedent("""
    import gc, sys
    sys.path.insert(0, {bench!r})
    import _harness as h
    import varnova as vn
    n = 10**6
    {setup}
    gc.collect()
    before = h.rss_bytes()
    s = 0
    {loop}
    gc.collect()
    print((h.rss_bytes() - before) / n)
""")


def probe(setup, loop):
    code = MEMORY_PROBE.format(bench=h.ROOT + "/bench", setup=setup, loop=loop)
    output = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                            check=True)
    return float(output.stdout.split()[-1])


def p7():
    if SUBSCRIPTS:
        setup, term, label = "x = vn.BinaryVar('x', shape=(n,))", "1.5 * x[i]", "1.5 * x[i]"
    else:
        setup, term, label = "y = vn.BinaryVar('y')", "1.5 * y", "1.5 * y (scalar var)"
    own = probe(setup + f"\nterms = [{term} for i in range(n)]",
                "for t in terms: s = s + t")
    table.check("P7", f"10^6-term sum of existing terms `{label}`: the sum's bytes per term",
                own, "<= 48 B", own <= 48, unit=" B")
    whole = probe(setup, f"for i in range(n): s = s + {term}")
    table.check("P7", f"`s = s + {label}`, n=10^6: all bytes per term, term nodes included",
                whole, "<= 48 B", whole <= 48, unit=" B")
    if pyomo:
        peer_bytes = probe("import pyomo.environ as pe\nm = pe.ConcreteModel()\n"
                           "m.x = pe.Var(range(n))", "for i in range(n): s = s + 1.5 * m.x[i]")
        table.note("P7", "Pyomo `s = s + 1.5 * x[i]`, n=10^6: all bytes per term",
                   f"{peer_bytes:.3g} B")


def main():
    print("varnova benchmarks: expressions" + ("" if SUBSCRIPTS else " (x[i] pending)"))
    p1_times = p1()
    p2(p1_times)
    p3()
    p5()
    p7()
    table.print()


if __name__ == "__main__":
    main()
