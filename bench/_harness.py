"""What every benchmark script shares: timing side by side, the floor module, the result table.

Figures are ratios of times taken in one process, one contender after another within each
repeat, so that a busy machine slows all of them alike. Each time is the minimum over the
repeats: on a shared machine noise only ever adds time.
"""

import datetime
import gc
import importlib
import os
import platform
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FLOOR_BUILD = os.path.join(ROOT, "build", "bench", "floor")


def floor_module():
    """The reference extension built by bench/run (bench/floor)."""
    sys.path.insert(0, FLOOR_BUILD)
    try:
        return importlib.import_module("bench_floor")
    except ImportError:
        sys.exit(f"bench_floor is not built in {FLOOR_BUILD}: run bench/run")
    finally:
        sys.path.remove(FLOOR_BUILD)


def peer(name):
    """The peer package, or None with a note when it is not installed."""
    try:
        return importlib.import_module(name)
    except ImportError as error:
        print(f"note: {name} is not installed ({error}); its figures are skipped")
        return None


def seconds(run):
    """One timed call of `run`, with the collector off as timeit does."""
    enabled = gc.isenabled()
    gc.disable()
    try:
        start = time.perf_counter()
        run()
        return time.perf_counter() - start
    finally:
        if enabled:
            gc.enable()


def side_by_side(contenders, repeats):
    """{name: min seconds}: every contender runs once per repeat, in turn."""
    best = {name: float("inf") for name in contenders}
    for _ in range(repeats):
        for name, run in contenders.items():
            best[name] = min(best[name], seconds(run))
    return best


def rss_bytes():
    """The resident set size of this process, from /proc."""
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def machine():
    """"date, N cores, CPU model", for the table's heading."""
    model = platform.processor() or "unknown CPU"
    try:
        with open("/proc/cpuinfo") as cpuinfo:
            for line in cpuinfo:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    today = datetime.date.today().isoformat()
    return f"{today}, {os.cpu_count()} cores ({model}), Python {platform.python_version()}"


class Table:
    """Rows of (id, workload, figure, goal, verdict), printed as a Markdown table."""

    def __init__(self, title):
        self.title = title
        self.rows = []

    def check(self, ident, workload, value, goal, met, unit="x"):
        """A figure with its goal; `met` is a bool."""
        self.rows.append((ident, workload, f"{value:.3g}{unit}", goal, "met" if met else "MISSED"))

    def note(self, ident, workload, figure, goal="", verdict="info"):
        """A row whose figure is given as text (information, pending, skipped, explained)."""
        self.rows.append((ident, workload, figure, goal, verdict))

    def print(self):
        print(f"\n### {self.title}\n")
        print(f"Measured {machine()}.\n")
        header = ("id", "workload", "figure", "goal", "result")
        print("| " + " | ".join(header) + " |")
        print("|" + "---|" * len(header))
        for row in self.rows:
            print("| " + " | ".join(str(cell) for cell in row) + " |")
        sys.stdout.flush()
