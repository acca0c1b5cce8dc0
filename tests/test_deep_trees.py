"""Trees far deeper than the C stack could recurse through build, print or refuse to print, and
are freed. Each case runs in a subprocess, so that a crash fails the test instead of the run."""

import subprocess
import sys
import textwrap

import pytest

CASES = {
    "power chain": "p = vn.Placeholder('p')\ne = p\nfor _ in range(10**6): e = e ** 2",
    "nested elements": "e = vn.Element('e', vn.Placeholder('a', ndim=1))\n"
                       "for k in range(10**5): e = vn.Element('e', (0, e))",
    "negation chain": "e = vn.Placeholder('p')\nfor _ in range(10**6): e = -(e + 1)",
    "abs chain": "e = vn.Placeholder('p')\nfor _ in range(10**6): e = vn.abs(e)\n"
                 "assert type(e.operand) is vn.AbsOp",
    "nested reductions": "i = vn.Element('i', 3)\ne = vn.Placeholder('p')\n"
                         "for _ in range(10**5): e = vn.sum((i, i != e), e)",
    "nested conditions": "p = vn.Placeholder('p')\nc = p == 1\n"
                         "for _ in range(10**5): c = c & (p == 2)\n"
                         "e = vn.sum((vn.Element('i', 3), c), p)",
    "printed on a thread with a small stack":
        "import threading\nthreading.stack_size(512 * 1024)\n"
        "e = vn.Placeholder('p')\nfor _ in range(10**5): e = vn.abs(e)\n"
        "def render():\n    try:\n        str(e)\n    except RecursionError:\n        pass\n"
        "worker = threading.Thread(target=render)\nworker.start()\nworker.join()",
    "long sum and product": "x = vn.BinaryVar('x', shape=[10])\ne = 0\n"
                            "for k in range(10**5): e = e + (k + 1) * x[k % 10] * x[1]\n"
                            "assert len(e.terms) == 10**5",
}


@pytest.mark.parametrize("build", CASES.values(), ids=CASES.keys())
def test_deep_tree(build):
    script = textwrap.dedent("""
        import varnova as vn
        {build}
        for text in (str, repr):
            try:
                text(e)
            except RecursionError:
                pass
        del e
        print("ok")
    """).format(build=build)
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                          timeout=300)
    assert done.returncode == 0, done.stderr[-2000:]
    assert done.stdout.strip() == "ok"
