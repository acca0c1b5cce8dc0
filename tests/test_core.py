"""Builds and runs the C++ tests of the core, which needs no Python to run."""

import pathlib
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent


def run(*command):
    done = subprocess.run(command, capture_output=True, text=True)
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def test_core_unit_tests():
    build = ROOT / "build" / "core-tests"
    run("cmake", "-S", str(ROOT), "-B", str(build), "-G", "Ninja",
        "-DCMAKE_BUILD_TYPE=Release", "-DVARNOVA_CORE_TESTS=ON")
    run("cmake", "--build", str(build), "--target", "core_tests")
    assert " 0 failed" in run(str(build / "core_tests"))
