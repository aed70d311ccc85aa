#!/usr/bin/env python3
"""Prints every C and C++ source file of the tree, and every public header, that no CMake file
names, and fails when there is one. CMake lists its sources explicitly, so a file that a merge drops from a list (or that nobody
added) would otherwise sit in the tree unbuilt and untested without anyone noticing.

A CMake file names a source by its path relative to its own folder, or, for the files in cmake/
that a CMakeLists.txt includes, relative to a folder that has a CMakeLists.txt;
${CMAKE_CURRENT_SOURCE_DIR}, ${CMAKE_CURRENT_FUNCTION_LIST_DIR} and ${PROJECT_SOURCE_DIR} are read
as those folders and the root.
Run from the root of the tree."""
import os
import re
import subprocess
import sys

FOLDERS = ["common", "platform", "zelvo", "zelv_games", "demo", "tools", "examples", "tests", "bench", "fuzz"]
# Built by scripts, not by CMake: scripts/leakcheck preloads it into the demo.
BUILT_BY_SCRIPTS = {"tests/sanitizers/swap_counter.c"}

# Public headers are listed too: tests/CMakeLists.txt compiles each on its own.
PUBLIC_HEADERS = ["platform/include/*.h", "zelvo/include/*.h", "zelv_games/include/*.h"]

TOKEN = re.compile(r"[A-Za-z0-9_${}./+-]+\.(?:cpp|c|h)\b")


def tracked(patterns):
    # Files not yet committed count too, so that the check sees a new file before its commit.
    out = subprocess.run(["git", "ls-files", "--cached", "--others", "--exclude-standard", "--"] +
                         patterns, check=True, capture_output=True, text=True).stdout
    return [line for line in out.splitlines() if line]


def main():
    sources = {f for f in tracked([f"{d}/*.cpp" for d in FOLDERS] + [f"{d}/*.c" for d in FOLDERS])
               if f not in BUILT_BY_SCRIPTS}
    sources |= set(tracked(PUBLIC_HEADERS))
    cmake_files = tracked(["CMakeLists.txt", "*/CMakeLists.txt", "cmake/*.cmake"])
    list_folders = sorted({os.path.dirname(f) for f in cmake_files
                           if os.path.basename(f) == "CMakeLists.txt"})
    named = set()
    for cmake_file in cmake_files:
        folder = os.path.dirname(cmake_file)
        bases = list_folders if folder == "cmake" else [folder]
        with open(cmake_file, encoding="utf-8") as f:
            text = "\n".join(line.split("#", 1)[0] for line in f)
        for token in TOKEN.findall(text):
            if token.startswith("${PROJECT_SOURCE_DIR}/"):
                token, token_bases = token[len("${PROJECT_SOURCE_DIR}/"):], [""]
            else:
                # A function defined in a CMakeLists.txt names files from that list's folder too.
                token = token.replace("${CMAKE_CURRENT_FUNCTION_LIST_DIR}/", "")
                token, token_bases = token.replace("${CMAKE_CURRENT_SOURCE_DIR}/", ""), bases
            for base in token_bases:
                path = os.path.normpath(os.path.join(base, token))
                if "$" not in path and path in sources:
                    named.add(path)
    missing = sorted(sources - named)
    for path in missing:
        print(f"{path}: named in no CMakeLists.txt (add it to its folder's list)", file=sys.stderr)
    print(f"listed in CMake: {len(named)} of {len(sources)} sources and public headers")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
