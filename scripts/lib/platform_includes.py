#!/usr/bin/env python3
"""Checks the include rule of the platform layer (docs/platform-layout.md) and fails when it is
broken:

- platform/src/core includes no X11, GLX or native X header (the system's, or the public
  win/native_x11.h), and of the layer's own headers only those of core/ and platform/include;
- a backend (platform/src/x11, platform/src/null) includes core headers and its own, never the
  other backend's; the null backend includes no X header either;
- nothing outside platform/ includes a header by a path into platform/src (tests reach the
  internals by bare name through the zelvo_platform_internal target).

Since a core header may include only core headers and system headers that are not X's, checking
each file's own includes covers what it includes transitively. Run from the root of the tree."""
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
# System headers of X11 and GLX, and the public header that hands out X types.
X_HEADER = re.compile(r"^(X11/|GL/glx|win/native_x11\.h$)")
SRC = "platform/src"
PARTS = ("core", "x11", "null")


def tracked(patterns):
    out = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "--"] +
                         patterns, check=True, capture_output=True, text=True).stdout
    return [line for line in out.splitlines() if line]


def includes(path):
    with open(path, encoding="utf-8") as f:
        return INCLUDE.findall(f.read())


def main():
    files = tracked([f"{SRC}/*.cpp", f"{SRC}/*.h"])
    # The layer's own headers by bare name, and the part that holds each.
    part_of = {}
    for path in files:
        part = path[len(SRC) + 1:].split("/", 1)[0]
        if path.endswith(".h"):
            part_of[os.path.basename(path)] = part
    problems = []
    for path in files:
        rel = path[len(SRC) + 1:]
        part = rel.split("/", 1)[0]
        if part not in PARTS or "/" not in rel:
            problems.append(f"{path}: outside {SRC}/core, {SRC}/x11 and {SRC}/null")
            continue
        for kind, name in includes(path):
            if part in ("core", "null") and X_HEADER.match(name):
                problems.append(f"{path}: includes the X header <{name}>")
            if kind != '"':
                continue
            owner = part_of.get(os.path.basename(name))
            if owner is None or owner == part or owner == "core":
                continue
            problems.append(f'{path}: includes "{name}" of {SRC}/{owner}')
    outside = tracked(["*.cpp", "*.h", "*.c"])
    for path in outside:
        if path.startswith("platform/"):
            continue
        for _, name in includes(path):
            if "platform/src" in name or re.search(r"(^|/)src/(core|x11|null)/", name):
                problems.append(f'{path}: includes "{name}" by a path into {SRC}')
    for problem in problems:
        print(problem, file=sys.stderr)
    core = sum(1 for f in files if f.startswith(f"{SRC}/core/"))
    print(f"platform includes: {len(files)} files ({core} in core), "
          f"{len(problems)} against the rule")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
