#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the installed Orca with --debug-file=LOG, the log written line by line.

Orca opens its debug file with Python's default block buffering, so its last utterances can sit
unwritten for a long while. Only that one file is opened line-buffered; Orca itself is the
installed program, unchanged.

Usage: orca_line_log.py LOG
"""

import builtins
import runpy
import sys

log = sys.argv[1]
real_open = builtins.open


def open_line_buffered(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        return real_open(file, mode, buffering=1, encoding="utf-8")
    return real_open(file, mode, *args, **kwargs)


builtins.open = open_line_buffered
sys.argv = ["orca", "--debug-file=" + log]
runpy.run_path("/usr/bin/orca", run_name="__main__")
