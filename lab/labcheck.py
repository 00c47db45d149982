"""What the lab scenario scripts share: the simulator's control module (zsimctl, a script without the .py
ending, so loaded by path) and the tally of checks, which goes on after a failed check so that one run shows
every fault of a scenario."""
import importlib.machinery
import importlib.util
import os


def _load_zsimctl():
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "appliance", "zsimctl")
    loader = importlib.machinery.SourceFileLoader("zsimctl", path)
    module = importlib.util.module_from_spec(importlib.util.spec_from_loader("zsimctl", loader))
    loader.exec_module(module)
    return module


zsimctl = _load_zsimctl()
FAILURES = []


def check(condition, what):
    if not condition:
        FAILURES.append(what)
        print("FAIL:", what)
    return condition


def verdict():
    """Prints how the checks went; the script's exit code."""
    if FAILURES:
        print("%d check(s) failed" % len(FAILURES))
        return 1
    print("all checks passed")
    return 0
