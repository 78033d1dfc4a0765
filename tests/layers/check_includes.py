#!/usr/bin/env python3
"""Reads every #include "folder/file.h" under src/ and fails on an include that reaches a
folder its own may not use (a layer up, or sideways where the layers do not meet) and on a
loop between modules, a module being a header and its source file together."""
import pathlib
import re
import sys

# The folders each folder may include besides its own: only layers below it.
ALLOWED = {
    "text": set(),
    "win32": {"text"},
    "resources": set(),
    "png": {"win32"},
    "jpeg": set(),
    "pictures": {"jpeg", "png", "win32"},
    "ripple": {"win32"},
    "desktop": {"win32"},
    "settings": {"pictures", "text", "win32"},
    "language": {"resources", "text", "win32"},
    "skin": {"png", "resources", "win32"},
    "show": {"desktop", "jpeg", "pictures", "png", "resources", "ripple", "settings", "text", "win32"},
    "wallpaper": {"desktop", "pictures", "resources", "ripple", "settings", "show", "text",
                  "win32"},
    "app": {"desktop", "jpeg", "language", "pictures", "png", "resources", "ripple", "settings",
            "show", "skin", "text", "wallpaper", "win32"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z0-9_]+)/([A-Za-z0-9_.]+)"', re.M)


def main(source_root: pathlib.Path) -> int:
    faults = []
    graph = {}
    for path in sorted(source_root.rglob("*")):
        if path.suffix not in (".h", ".cpp", ".rc"):
            continue
        name = path.relative_to(source_root).as_posix()
        module = name.rsplit(".", 1)[0]
        folder = name.split("/")[0]
        if folder not in ALLOWED:
            faults.append(f"{name}: folder {folder} has no place in the layers")
            continue
        uses = graph.setdefault(module, [])
        for target_folder, target_file in INCLUDE.findall(path.read_text()):
            target = f"{target_folder}/{target_file}"
            if (path.parent / target).exists():
                continue  # a file of a folder inside the includer's own
            if target_folder != folder and target_folder not in ALLOWED[folder]:
                faults.append(f"{name} includes {target}: {folder} may not use {target_folder}")
            target_module = target.rsplit(".", 1)[0]
            if target_module != module and target_module not in uses:
                uses.append(target_module)

    # A loop between modules, found by a depth-first walk.
    state = {}

    def walk(node, trail):
        state[node] = "open"
        for target in graph.get(node, []):
            if state.get(target) == "open":
                loop = trail[trail.index(target):] + [target]
                faults.append("modules in a loop: " + " -> ".join(loop))
            elif target not in state:
                walk(target, trail + [target])
        state[node] = "done"

    for node in graph:
        if node not in state:
            walk(node, [node])
    for fault in faults:
        print(fault)
    print(f"{len(graph)} modules, {sum(map(len, graph.values()))} uses, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1])))
