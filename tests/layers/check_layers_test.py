#!/usr/bin/python3
"""The layer check (scripts/check_layers.sh) against includes planted in a
scratch copy of this tree, made without git and without the build trees: the
clean copy passes, and each planted include, one at a time, fails it with a
message that names the planted file.

Usage: tests/layers/check_layers_test.py
"""
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOP = os.path.realpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
CHECK = os.path.join(TOP, "scripts", "check_layers.sh")

ENGINE = '"engine/exam_engine.h"'

# Each row: what it plants, the files it writes (path: text; a path starting
# with "+" has the text appended to the file already there) and the line of the
# check's report expected.
ROWS = [
    ("a path that climbs out of its folder",
     {"core/common/planted.h": '#include "../engine/exam_engine.h"\n'},
     "core/common/planted.h:1 (core/common) includes ../engine/exam_engine.h of a higher layer"),
    ("a name in angle brackets",
     {"core/common/planted.h": "#include <engine/exam_engine.h>\n"},
     "core/common/planted.h:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("an include through a macro",
     {"core/common/planted.h": f"#define KZ_ENGINE {ENGINE}\n#include KZ_ENGINE\n"},
     "core/common/planted.h:2 includes through a macro (KZ_ENGINE)"),
    ("an include split by a line continuation",
     {"core/common/planted.h": f"#pragma once\n#include \\\n    {ENGINE}\n"},
     "core/common/planted.h:2 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a directive split with blanks after the backslash",
     {"core/common/planted.h": f"#incl\\ \nude {ENGINE}\n"},
     "core/common/planted.h:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a byte order mark before the first directive",
     {"core/common/planted.h": f"\ufeff#include {ENGINE}\n"},
     "core/common/planted.h:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a comment before the directive",
     {"core/common/planted.h": f"/* the engine */ #include {ENGINE}\n"},
     "core/common/planted.h:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("the digraph of #",
     {"core/common/planted.h": f"%:include {ENGINE}\n"},
     "core/common/planted.h:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a .hpp header",
     {"core/common/planted.hpp": f"#include {ENGINE}\n"},
     "core/common/planted.hpp:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("an .inl file",
     {"core/common/planted.inl": f"#include {ENGINE}\n"},
     "core/common/planted.inl:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a header of no known kind, reached by an include",
     {"core/common/planted.h": '#include "planted.txt"\n', "core/common/planted.txt": f"#include {ENGINE}\n"},
     "core/common/planted.txt:1 (core/common) includes engine/exam_engine.h of a higher layer"),
    ("a source file in a new top-level folder",
     {"plugins/planted.cpp": f"#include {ENGINE}\n"},
     "plugins/planted.cpp lies in a folder of no layer"),
    ("the product including a test's header",
     {"tools/packer/planted.cpp": '#include "../../tests/unit/quiz_fixtures.h"\n'},
     "tools/packer/planted.cpp:1 includes ../../tests/unit/quiz_fixtures.h, which lies in a folder of no layer"),
    ("the web player including the terminal player",
     {"web/planted.cpp": '#include "terminal_view.h"\n'},
     "web/planted.cpp:1 includes terminal_view.h of another front end (terminal/terminal_view.h)"),
    ("a tool including the web player",
     {"tools/packer/planted.cpp": '#include "web_view.h"\n'},
     "tools/packer/planted.cpp:1 includes web_view.h of another front end (web/web_view.h)"),
    ("the core including the web player",
     {"core/engine/planted.h": '#include "../../web/page_text.h"\n'},
     "core/engine/planted.h:1 includes ../../web/page_text.h of a front end (web/page_text.h)"),
    ("an include folder that the check does not search",
     {"+terminal/CMakeLists.txt": "target_include_directories(player PRIVATE ${PROJECT_SOURCE_DIR}/windows)\n"},
     "terminal/CMakeLists.txt gives the include folder windows, which is not among the include folders "
     "of terminal"),
    ("an include folder given for the build tree alone",
     {"+web/CMakeLists.txt":
      "target_include_directories(quiz_player PRIVATE $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/terminal>)\n"},
     "web/CMakeLists.txt gives the include folder terminal, which is not among the include folders of web"),
]


def run_check(tree):
    run = subprocess.run([CHECK, tree], capture_output=True, text=True, timeout=60)
    return run.returncode, run.stdout + run.stderr


@contextlib.contextmanager
def planted(tree, plants):
    """The tree with the files written, then as it was."""
    kept, made = {}, []
    try:
        for path, text in plants.items():
            appended = path.startswith("+")
            path = os.path.join(tree, path.lstrip("+"))
            if os.path.exists(path):
                with open(path, encoding="utf-8") as before:
                    kept[path] = before.read()
            else:
                kept[path] = None
                folder = os.path.dirname(path)
                while not os.path.exists(os.path.dirname(folder)):
                    folder = os.path.dirname(folder)
                if not os.path.exists(folder):
                    made.append(folder)
                os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "a" if appended else "w", encoding="utf-8") as plant:
                plant.write(text)
        yield
    finally:
        for path, text in kept.items():
            if text is None:
                if os.path.exists(path):
                    os.remove(path)
            else:
                with open(path, "w", encoding="utf-8") as restored:
                    restored.write(text)
        for folder in made:
            shutil.rmtree(folder, ignore_errors=True)


class CheckLayers(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="check-layers-")
        cls.tree = os.path.join(cls.scratch, "tree")
        outside = {os.path.join(TOP, name) for name in ("build", "out", ".git")}
        shutil.copytree(TOP, cls.tree, symlinks=True,
                        ignore=lambda folder, names: [n for n in names if os.path.join(folder, n) in outside])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.scratch)

    def test_the_clean_tree_passes(self):
        self.assertFalse(os.path.exists(os.path.join(self.tree, ".git")))
        status, report = run_check(self.tree)
        self.assertEqual(status, 0, report)
        self.assertRegex(report, r"^layers: every include runs downwards \([1-9][0-9]+ files")

    def test_each_planted_include_fails(self):
        for name, plants, expected in ROWS:
            with self.subTest(name), planted(self.tree, plants):
                status, report = run_check(self.tree)
                self.assertEqual(status, 1, report)
                self.assertIn("layers: " + expected, report)

    def test_includes_in_comments_and_raw_strings_are_text(self):
        text = ('// #include "../engine/exam_engine.h"\n/*\n#include "../engine/exam_engine.h"\n*/\n'
                'const char* text = R"(\n#include "../engine/exam_engine.h"\n)";\n')
        with planted(self.tree, {"core/common/planted.h": text}):
            status, report = run_check(self.tree)
        self.assertEqual(status, 0, report)

    def test_a_tree_without_source_fails(self):
        with tempfile.TemporaryDirectory() as empty:
            os.makedirs(os.path.join(empty, "core", "common"))
            status, report = run_check(empty)
        self.assertEqual(status, 1, report)
        self.assertIn("nothing was checked", report)


if __name__ == "__main__":
    unittest.main(verbosity=2)
