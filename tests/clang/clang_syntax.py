#!/usr/bin/env python3
"""Checks that clang accepts every source of the program (src/) and the fuzz
targets (fuzz/), so the libFuzzer build that the README describes keeps
compiling while the ordinary build uses GCC.

It reads the build's compile_commands.json and runs clang++ in syntax-only mode
with each file's own flags. To stay cheap, the files of one target are checked
a few at a time as one translation unit that includes them; when such a batch
fails it is split in halves until the failing file stands alone (two files of
one target may clash inside one unit where they never meet in the build), and
only a single file that clang refuses is a failure. Warnings are not errors
here: GCC's build decides about those.

Usage: clang_syntax.py <compile_commands.json> <source root> [--clang clang++-14] [--jobs N]
"""

import argparse
import concurrent.futures
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

CHECKED_FOLDERS = ("src", "fuzz")
# Files per unit: large enough to share the headers' cost, small enough that the
# units of a large library run side by side.
BATCH = 8
# Flags of the ordinary build that have no place in a syntax check.
DROPPED = {"-Werror", "-g", "-O0", "-O1", "-O2", "-O3", "-Os", "-DNDEBUG", "-fPIC"}


def flags_of(entry):
    """The flags of one compile command that matter for a syntax check."""
    args = entry["arguments"] if "arguments" in entry else shlex.split(entry["command"])
    flags = []
    skip = False
    for arg in args[1:]:
        if skip:
            skip = False
            continue
        if arg in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip = arg != "-c"
            continue
        if arg in DROPPED or arg == entry["file"] or arg.startswith("-fdiagnostics"):
            continue
        flags.append(arg)
    return tuple(flags)


def run_clang(clang, flags, files, workdir):
    """clang's verdict on the files as one unit: (ok, output)."""
    with tempfile.NamedTemporaryFile("w", suffix=".cpp", dir=workdir, delete=False) as unit:
        for path in files:
            unit.write('#include "%s"\n' % path)
        name = unit.name
    try:
        done = subprocess.run([clang, *flags, "-fsyntax-only", "-ferror-limit=20", name],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return done.returncode == 0, done.stdout
    finally:
        os.unlink(name)


def check_batch(clang, flags, files, workdir):
    """The files of the batch that clang refuses on their own, with its output."""
    ok, output = run_clang(clang, flags, files, workdir)
    if ok:
        return []
    if len(files) == 1:
        return [(files[0], output)]
    half = len(files) // 2
    return check_batch(clang, flags, files[:half], workdir) + check_batch(clang, flags, files[half:], workdir)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("commands")
    parser.add_argument("root")
    parser.add_argument("--clang", default="clang++-14")
    parser.add_argument("--jobs", type=int, default=min(4, os.cpu_count() or 1))
    args = parser.parse_args()

    clang = shutil.which(args.clang)
    if not clang:
        print("clang_syntax: %s is missing (scripts/packages.txt lists clang-14)" % args.clang)
        return 1
    root = os.path.realpath(args.root)
    with open(args.commands) as f:
        entries = json.load(f)

    batches = {}
    for entry in entries:
        path = os.path.realpath(os.path.join(entry.get("directory", ""), entry["file"]))
        relative = os.path.relpath(path, root)
        if relative.split(os.sep)[0] not in CHECKED_FOLDERS or not path.endswith(".cpp"):
            continue
        batches.setdefault(flags_of(entry), set()).add(path)
    if not batches:
        print("clang_syntax: no sources of %s in %s" % (", ".join(CHECKED_FOLDERS), args.commands))
        return 1

    count = sum(len(files) for files in batches.values())
    refused = []
    with tempfile.TemporaryDirectory(prefix="clang-syntax-") as workdir:
        with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
            jobs = []
            for flags, files in batches.items():
                files = sorted(files)
                for start in range(0, len(files), BATCH):
                    jobs.append(pool.submit(check_batch, clang, list(flags), files[start:start + BATCH], workdir))
            for job in jobs:
                refused += job.result()
    for path, output in sorted(refused):
        print("clang refuses %s:\n%s" % (os.path.relpath(path, root), output))
    print("clang_syntax: %d files in %d targets, %d refused" % (count, len(batches), len(refused)))
    return 1 if refused else 0


if __name__ == "__main__":
    sys.exit(main())
