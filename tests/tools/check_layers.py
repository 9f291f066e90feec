#!/usr/bin/env python3
"""Holds every include of the component's folders to the links of their CMake targets.

A folder's target may include its own files and those of the folders whose targets it links
directly; a file in a component folder that no target owns, or an include of a component file
outside any target's folder, is refused too. Features stand apart: a feature's target links no
other feature, and its files include no other feature's header. Arguments: the layers file
that CMake writes (target|folder|links|1 for a feature per line), the source root, and
optionally extra files to check as if they were in the tree, given as PATH=CONTENT.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
SOURCES = (".c", ".cpp", ".h")


def main(layers_file, root, extra):
    folders = {}  # folder, relative to the root -> (target, allowed folders)
    targets = {}
    features = set()  # the features' folders
    with open(layers_file) as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            target, folder, links, feature = line.split("|")
            targets[target] = os.path.relpath(folder, root)
            folders[targets[target]] = (target, [l for l in links.split(";") if l and not l.startswith("$<")])
            if feature == "1":
                features.add(targets[target])
    allowed = {folder: {targets[l] for l in links if l in targets} | {folder} for folder, (_, links) in folders.items()}
    # Every file under the top folders of the targets is checked, so that a new folder without
    # a target of its own is refused as well.
    roots = sorted({folder.split("/")[0] for folder in folders})
    files = {}
    for top in roots:
        for dirpath, _, names in os.walk(os.path.join(root, top)):
            for name in names:
                if name.endswith(SOURCES):
                    path = os.path.relpath(os.path.join(dirpath, name), root)
                    files[path] = open(os.path.join(root, path), encoding="utf-8", errors="ignore").read()
    for item in extra:
        path, content = item.split("=", 1)
        files[path] = content
    faults = []
    for folder in sorted(features):
        target, links = folders[folder]
        for link in links:
            if targets.get(link) in features:
                faults.append(f"{target} links {link}, another feature")
    component = lambda path: any(path == top or path.startswith(top + "/") for top in roots)
    for path, text in sorted(files.items()):
        folder = os.path.dirname(path)
        if folder not in folders:
            faults.append(f"{path}: its folder {folder} has no target")
            continue
        for included in INCLUDE.findall(text):
            where = os.path.dirname(included)
            if where not in folders:
                if component(included) or where.split("/")[0] in ("simulator", "tests", "bench", "fuzz"):
                    faults.append(f"{path}: includes {included}, which no target of its own owns")
                continue
            if folder in features and where in features and where != folder:
                faults.append(f"{path}: includes {included}, a header of another feature ({folders[where][0]})")
            elif where not in allowed[folder]:
                faults.append(f"{path}: includes {included}, but {folders[folder][0]} does not link {folders[where][0]}")
    for fault in faults:
        print(fault)
    print(f"{len(files)} files in {len(folders)} folders, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2], sys.argv[3:]))
