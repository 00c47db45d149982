"""check-includes on small trees: it must pass a tree whose dependencies point one way and fail each kind
of cycle and a library that includes what it does not link."""

import os
import subprocess
import sys
import tempfile
import unittest

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "check-includes")


def run(files):
    with tempfile.TemporaryDirectory() as root:
        for path, text in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
        result = subprocess.run([sys.executable, CHECK, "--root", root], capture_output=True, text=True)
        return result.returncode, result.stdout


ONE_WAY = {
    "framework/Wnd.h": "",
    "framework/Wnd.cpp": '#include "Wnd.h"\n',
    "framework/WinApp.cpp": '#include "Wnd.h"\n',
    "framework/CMakeLists.txt": "add_library(fw STATIC Wnd.cpp WinApp.cpp)\n",
    "wizard/ops/Dlg.h": '#include "Wnd.h"\n',
    "wizard/ops/Dlg.cpp": '#include "Dlg.h"\n',
    "wizard/ops/CMakeLists.txt": "add_library(ops STATIC Dlg.cpp)\ntarget_link_libraries(ops PUBLIC fw)\n",
    "wizard/shell/Page.cpp": '#include "../ops/Dlg.h"\n',
    "wizard/shell/CMakeLists.txt": "add_library(shell STATIC Page.cpp)\ntarget_link_libraries(shell PUBLIC ops)\n",
    # Tests sit on top of what they test and are not part of the graph.
    "wizard/ops/tests/DlgTest.cpp": '#include "../../shell/Page.h"\n',
}


class CheckIncludes(unittest.TestCase):
    def test_one_way_tree_passes(self):
        code, out = run(ONE_WAY)
        self.assertEqual(code, 0, out)
        self.assertIn("wizard/shell -> wizard/ops  (1)", out)

    def test_each_cycle_and_hidden_link_fails(self):
        cases = {
            "folder include": {"wizard/ops/Dlg.cpp": '#include "Dlg.h"\n#include "../shell/Page.h"\n',
                               "wizard/shell/Page.h": ""},
            "framework component": {"framework/Wnd.cpp": '#include "Wnd.h"\n#include "WinApp.h"\n',
                                    "framework/WinApp.h": ""},
            "library link": {"wizard/ops/CMakeLists.txt":
                             "add_library(ops STATIC Dlg.cpp)\ntarget_link_libraries(ops PUBLIC fw shell)\n"},
            "hidden link": {"wizard/shell/CMakeLists.txt": "add_library(shell STATIC Page.cpp)\n"},
        }
        for kind, change in cases.items():
            with self.subTest(kind):
                code, out = run({**ONE_WAY, **change})
                self.assertEqual(code, 1, out)
                self.assertIn(f"FAIL {kind}", out)


if __name__ == "__main__":
    unittest.main()
