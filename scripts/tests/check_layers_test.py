#!/usr/bin/env python3
"""The layering check sees an include as the compiler resolves it, however it is written."""

import runpy
import sys
import tempfile
import unittest
from pathlib import Path
from types import SimpleNamespace

SCRIPT = Path(__file__).resolve().parent.parent / "check-layers"


def load_checker():
    """The script's functions, run as a module rather than as a program."""
    return SimpleNamespace(**runpy.run_path(str(SCRIPT), run_name="check_layers"))


class SmallTree:
    """A repository of two libraries: rtl at the bottom and the grid above it."""

    def __init__(self, folder):
        self.root = Path(folder)
        self.write("platform/rtl/CMakeLists.txt", "modem_library(rtl)\n")
        self.write("platform/rtl/Strings.h", "#pragma once\n")
        self.write("grid/core/CMakeLists.txt", "modem_library(grid_core DEPS rtl)\n")
        self.write("grid/core/DBGridGx.h", '#pragma once\n#include "platform/rtl/Strings.h"\n')

    def write(self, path, text):
        target = self.root / path
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_text(text)


class IncludeFormsTest(unittest.TestCase):
    checker = load_checker()

    def faults_for(self, include_line):
        with tempfile.TemporaryDirectory() as folder:
            tree = SmallTree(folder)
            tree.write("platform/rtl/Strings.cpp", f'#include "platform/rtl/Strings.h"\n{include_line}\n')
            return self.checker.check(tree.root)

    def test_upward_includes_are_refused_in_every_form(self):
        for line in ('#include "grid/core/DBGridGx.h"',
                     '#include "../../grid/core/DBGridGx.h"',
                     '#include "./../../grid/core/../core/DBGridGx.h"',
                     "#include <grid/core/DBGridGx.h>"):
            with self.subTest(line=line):
                faults = self.faults_for(line)
                self.assertTrue(any("grid/core/DBGridGx.h" in f and "higher layer" in f for f in faults), faults)

    def test_includes_within_the_layers_pass(self):
        for line in ('#include "Strings.h"', "#include <vector>", '#include "not/in/the/tree.h"'):
            with self.subTest(line=line):
                self.assertEqual(self.faults_for(line), [])


if __name__ == "__main__":
    sys.exit(unittest.main())
