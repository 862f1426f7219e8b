#!/usr/bin/env python3
"""Checks that every #include in src/ points down the layers.

    check_layers.py SRC_DIR

Each folder of src/ is one layer. A file may include its own folder and the
layers its folder may see; nothing else of ours. Prints every arrow that
breaks the rule and exits 1 when there is one.
"""
import os
import re
import sys

BASE = {"ppd", "activation", "resources"}
SUBSYSTEMS = {"optiontree", "layoutpage", "jobpage", "printersettings", "printstart"}

# What each folder may include besides itself.
ALLOWED = {
    "ppd": set(),
    "resources": set(),
    "activation": {"resources"},
    "platform": BASE,
    **{name: BASE | {"platform"} for name in SUBSYSTEMS},
    "plugin": BASE | {"platform"} | SUBSYSTEMS,
}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]')


def target_layer(src, folder, name):
    """The layer an include names, or None for a system or generated file."""
    first = name.split("/", 1)[0]
    if "/" in name and first in ALLOWED:
        return first
    if "/" not in name:
        if os.path.exists(os.path.join(src, folder, name)):
            return folder
        if os.path.exists(os.path.join(src, "resources", name)):
            return "resources"
    return None


def main():
    src = sys.argv[1]
    errors = []
    for folder in sorted(os.listdir(src)):
        if not os.path.isdir(os.path.join(src, folder)):
            continue
        if folder not in ALLOWED:
            errors.append(f"src/{folder}/: a folder with no place among the layers")
            continue
        for root, _, files in os.walk(os.path.join(src, folder)):
            for file in sorted(files):
                path = os.path.join(root, file)
                with open(path, encoding="utf-8", errors="replace") as text:
                    for number, line in enumerate(text, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        layer = target_layer(src, folder, match.group(1))
                        if layer is None or layer == folder or layer in ALLOWED[folder]:
                            continue
                        rel = os.path.relpath(path, os.path.dirname(src))
                        errors.append(f"{rel}:{number}: {folder} may not include {match.group(1)}")
    for error in errors:
        print(error)
    print(f"{len(errors)} arrows against the layers")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
