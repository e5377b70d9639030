#!/usr/bin/env python3
"""Checks the library layers of src/: no file includes a header of a library
above its own, and each library's CMakeLists.txt links exactly the libraries
whose headers its files include.

Usage: check_layers.py [SRC_DIR]   (default: the src/ beside this script's folder)
Prints one line per library and every fault; exits 1 when there is a fault.
"""
import os
import re
import sys

# The libraries from the bottom up, each named by its folder under src/. A file
# may include headers of its own library and of libraries listed before it.
LAYERS = [
    "base",
    "profile",
    "mail/account",
    "settings",
    "command",
    "mail/transport",
    "mail/pop3",
    "mail/mime",
    "mail/jobs",
    "program",
    "mailview",
    "dialogs",
    "app",
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
PROJECT_TARGET = re.compile(r"\bvsmr_[a-z0-9_]+\b(?!\s*\()")
DEFINED_TARGET = re.compile(
    r"\b(?:add_library|add_custom_target|add_executable|vsmr_add_subsystem_library)\(\s*(vsmr_[a-z0-9_]+)")


def library_of(path):
    """The library a path relative to src/ belongs to (the longest folder match)."""
    best = None
    for layer in LAYERS:
        if path == layer or path.startswith(layer + "/"):
            if best is None or len(layer) > len(best):
                best = layer
    return best


def target_of(layer):
    return "vsmr_" + layer.replace("/", "_")


def strip_comments(cmake_text):
    return "\n".join(line.split("#", 1)[0] for line in cmake_text.splitlines())


def check(src):
    faults = []
    includes = {layer: set() for layer in LAYERS}
    for folder, _, names in sorted(os.walk(src)):
        for name in sorted(names):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.relpath(os.path.join(folder, name), src).replace(os.sep, "/")
            own = library_of(path)
            if own is None:
                faults.append(f"{path}: lies in no library of the layer list")
                continue
            with open(os.path.join(folder, name), encoding="utf-8") as f:
                text = f.read()
            for header in INCLUDE.findall(text):
                if "/" not in header:
                    continue
                other = library_of(header)
                if other is None:
                    faults.append(f"{path}: includes {header}, which lies in no library")
                elif not os.path.isfile(os.path.join(src, header)):
                    faults.append(f"{path}: includes {header}, which does not exist")
                elif LAYERS.index(other) > LAYERS.index(own):
                    faults.append(f"{path}: includes {header}, but {other} lies above {own}")
                elif other != own:
                    includes[own].add(other)

    lines = []
    for layer in LAYERS:
        cmake_file = os.path.join(src, layer, "CMakeLists.txt")
        if not os.path.isfile(cmake_file):
            faults.append(f"{layer}: has no CMakeLists.txt")
            continue
        with open(cmake_file, encoding="utf-8") as f:
            cmake = strip_comments(f.read())
        defined = set(DEFINED_TARGET.findall(cmake))
        if target_of(layer) not in defined:
            faults.append(f"{layer}/CMakeLists.txt: does not define {target_of(layer)}")
        linked = set(PROJECT_TARGET.findall(cmake)) - defined
        wanted = {target_of(other) for other in includes[layer]}
        for missing in sorted(wanted - linked):
            faults.append(f"{layer}/CMakeLists.txt: its files include {missing}'s headers "
                          "but it does not link it")
        for extra in sorted(linked - wanted):
            faults.append(f"{layer}/CMakeLists.txt: links {extra} but none of its files "
                          "includes its headers")
        lines.append(f"{target_of(layer)} -> {' '.join(sorted(linked)) or '(nothing)'}")
    return lines, faults


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    src = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src")
    lines, faults = check(os.path.abspath(src))
    for line in lines:
        print(line)
    for fault in faults:
        print("fault: " + fault)
    print(f"{len(LAYERS)} libraries, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
