#!/usr/bin/env python3
"""Keeps the user's guide true: every example in it is code that is built or run somewhere.

Usage:
  check_guide.py GUIDE.md --tabulix PATH/TO/tabulix [--man-include docs/tabulix.h2m]
  check_guide.py GUIDE.md --run BUILD_DIR WORK_DIR

Each fenced block of the guide follows a comment that says where it comes from:
  <!-- from: examples/x/y.cpp -->       the block's lines stand, in order and together, in that file
  <!-- output of: tabulix --help -->    the block is exactly what the command prints
  <!-- run -->                          a shell block; --run runs it (see below)
A block without one fails the first form, which also checks that the man page's examples are
commands of the guide's run blocks (with $PREFIX as /usr, where the Debian packages install).

--run runs the shell blocks as they stand, top to bottom in one bash, in WORK_DIR as the working
folder and as HOME, where `build` is the build folder (as in the source folder after
scripts/build.sh); the guide itself sets PREFIX and PATH. Every block must succeed, and every
workbook named with -o must be written. Exits 0 when all is well, 1 otherwise.
"""

import os
import re
import subprocess
import sys
from pathlib import Path

BLOCK = re.compile(r"(?:<!--\s*(?P<tag>[^>]*?)\s*-->\s*\n)?```(?P<lang>[^\n]*)\n(?P<body>.*?)```", re.S)


def blocks(guide):
    text = guide.read_text()
    for match in BLOCK.finditer(text):
        line = text.count("\n", 0, match.start("lang")) + 1
        yield line, (match.group("tag") or "").strip(), match.group("body")


def contains_lines(haystack, needle):
    lines, wanted = haystack.splitlines(), needle.rstrip("\n").splitlines()
    return any(lines[i:i + len(wanted)] == wanted for i in range(len(lines) - len(wanted) + 1))


def run_commands(body):
    return [line for line in body.splitlines() if line.strip() and not line.lstrip().startswith("#")]


def normal(command):
    """A command as the man page writes it: $PREFIX as /usr, no quotes."""
    return command.strip().replace('"$PREFIX', '"/usr').replace("$PREFIX", "/usr").replace('"', "")


def check_sources(guide, tabulix, man_include):
    root = guide.resolve().parent.parent
    failures, run_lines = [], set()
    for line, tag, body in blocks(guide):
        where = f"{guide.name}:{line}"
        if tag.startswith("from:"):
            source = root / tag[len("from:"):].strip()
            if not source.is_file():
                failures.append(f"{where}: {source} does not exist")
            elif not contains_lines(source.read_text(), body):
                failures.append(f"{where}: the block is not in {source.relative_to(root)}")
        elif tag.startswith("output of:"):
            command = tag[len("output of:"):].split()
            printed = subprocess.run([tabulix, *command[1:]], capture_output=True, text=True).stdout
            if printed != body:
                failures.append(f"{where}: the block is not what `{' '.join(command)}` prints:\n{printed}")
        elif tag == "run":
            run_lines.update(normal(c) for c in run_commands(body))
        else:
            failures.append(f"{where}: the block says neither where it comes from nor that it is run")
    if man_include:
        text = man_include.read_text().replace("\\-", "-")
        for command in re.findall(r"^tabulix .*$", text, re.M):
            if normal(command) not in run_lines:
                failures.append(f"{man_include.name}: the example `{command}` is not run by the guide")
    return failures


def run_blocks(guide, build, work):
    """Runs the guide's run blocks in one bash, in `work`; returns the failures."""
    work.mkdir(parents=True, exist_ok=True)
    if not (work / "build").exists():
        (work / "build").symlink_to(build)
    runs = [(line, body) for line, tag, body in blocks(guide) if tag == "run"]
    # Each block announces itself on standard error, so that a failure names the block it was in.
    script = "".join(f"echo '{guide.name}:{line}' >&2\n{body}" for line, body in runs)
    env = {k: v for k, v in os.environ.items() if k not in ("PREFIX", "PKG_CONFIG_PATH")}
    env["HOME"] = str(work)
    if Path("/usr/lib/ccache/g++").exists():  # the examples compile through ccache where the machine has it
        env["PATH"] = f"/usr/lib/ccache:{env['PATH']}"
    result = subprocess.run(["bash", "-euo", "pipefail", "-c", script], cwd=work, env=env,
                            capture_output=True, text=True)
    if result.returncode != 0:
        return [f"the walk-through exited with {result.returncode}:\n{result.stdout}{result.stderr}"]
    failures = []
    for line, body in runs:
        for output in re.findall(r"-o\s+(\S+\.xlsx)", body):
            path = work / output
            if not path.is_file() or path.read_bytes()[:2] != b"PK":
                failures.append(f"{guide.name}:{line}: {output} was not written")
    return failures


def main(argv):
    guide = Path(argv[1])
    if argv[2] == "--run":
        failures = run_blocks(guide, *(Path(a).resolve() for a in argv[3:5]))
    else:
        options = dict(zip(argv[2::2], argv[3::2]))
        man = Path(options["--man-include"]) if "--man-include" in options else None
        failures = check_sources(guide, options["--tabulix"], man)
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
