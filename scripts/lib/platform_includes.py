#!/usr/bin/env python3
"""Checks the include rule of the platform layer (docs/platform-layout.md) and fails when it is
broken:

- platform/src/core includes no X11, GLX or native X header (the system's, or the public
  win/native_x11.h), and of the tree's own headers only those of core/, platform/include and
  common/;
- a backend (platform/src/x11, platform/src/null) includes its own headers, never the other
  backend's, and of the core's the two of the seam (native_backend.h down, backend_reports.h up)
  and those still listed in BACKEND_STILL_REACHES, besides platform/include and common/; the null
  backend includes no X header either;
- the layer includes no header of the layers above it (zelvo/include, zelv_games/include);
- common/, below both the layer and the framework (and built where the layer is not), includes
  its own headers and system headers only: no Windows, X or framework header;
- nothing outside platform/ includes a header by a path into platform/src (tests reach the
  internals by bare name through the zelvo_platform_internal target).

Since a core header may include only core, common and system headers that are not X's, and a
common header only common and system headers, checking each file's own includes covers what it
includes transitively. Run from the root of the tree."""
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
# System headers of X11 and GLX, and the public header that hands out X types.
X_HEADER = re.compile(r"^(X11/|GL/glx|win/native_x11\.h$)")
SRC = "platform/src"
PARTS = ("core", "x11", "null")
COMMON = "common"
# Folders whose headers are included by their path below the folder ("win/base.h", "Zelvo.h").
PLATFORM_INCLUDE = "platform/include"
COMMON_INCLUDE = "common/include"
ABOVE_INCLUDE = ("zelvo/include", "zelv_games/include")
# Generated into the build for the public headers (cmake/shared_libraries.cmake).
GENERATED_PUBLIC = {"zelvo_export.h"}
# The core's headers a backend includes: the seam, calls down and reports up.
BACKEND_SEAM = {"native_backend.h", "backend_reports.h"}
# Core headers the backends still reach past the seam (records they read, message boxes, GL
# contexts, text). Each leaves this list when no backend includes it any more, so that the seam
# only narrows; a header not listed here fails the check.
BACKEND_STILL_REACHES = {
    "cursor_object.h", "error_codes.h", "gdi_internal.h", "icon_image.h", "input_state.h",
    "message_box_registry.h", "message_box_text.h", "pixel_format_choice.h", "text_cp1252.h",
    "wgl_context.h", "window_object.h",
}


def tracked(patterns):
    out = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "--"] +
                         patterns, check=True, capture_output=True, text=True).stdout
    return [line for line in out.splitlines() if line]


def headers_below(root):
    """The tracked headers of `root`, by their path below it."""
    return {path[len(root) + 1:] for path in tracked([f"{root}/*.h"])}


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
    platform_public = headers_below(PLATFORM_INCLUDE) | GENERATED_PUBLIC
    common_headers = headers_below(COMMON_INCLUDE)
    above = set().union(*(headers_below(root) for root in ABOVE_INCLUDE))
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
            if name in above:
                problems.append(f"{path}: includes the framework's header {name}")
                continue
            if kind != '"' or name in common_headers or name in platform_public:
                continue
            owner = part_of.get(os.path.basename(name))
            if owner is None:
                problems.append(f'{path}: includes "{name}", a header of neither {SRC}, '
                                f"{PLATFORM_INCLUDE} nor {COMMON_INCLUDE}")
            elif owner != part and owner != "core":
                problems.append(f'{path}: includes "{name}" of {SRC}/{owner}')
            elif (owner == "core" and part != "core" and name not in BACKEND_SEAM and
                  name not in BACKEND_STILL_REACHES):
                problems.append(f'{path}: includes "{name}" of {SRC}/core past the seam '
                                "(native_backend.h, backend_reports.h)")
    common_files = tracked([f"{COMMON}/*.cpp", f"{COMMON}/*.h"])
    for path in common_files:
        for kind, name in includes(path):
            if kind == '"' and name not in common_headers:
                problems.append(f'{path}: includes "{name}", not a header of {COMMON_INCLUDE}')
            elif X_HEADER.match(name) or name in platform_public or name in above:
                problems.append(f"{path}: includes {name}, a Windows, X or framework header")
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
    print(f"platform includes: {len(files)} files ({core} in core), {len(common_files)} in "
          f"{COMMON}, {len(problems)} against the rule")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
