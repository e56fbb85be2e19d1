#!/usr/bin/env python3
"""Fails on an include from a lower layer to a higher one and on an include cycle.

Usage: check-layers.py [ROOT]   (ROOT: the source tree, by default this script's parent)

Each directory of src/ may include its own layer and the layers below it; directories that
share a level and are marked apart may not include each other. Includes in angle brackets
are the system's and are ignored.
"""
import os
import re
import sys

# Level by level, lowest first.
LAYERS = [
    ["platform", "codeconv", "ui"],
    ["settings"],
    ["engine"],
    ["reading"],
    ["toolbar", "settingsdlg"],
    ["app"],  # the composition root
]
# Directories on one level that may not include each other.
APART = [{"toolbar", "settingsdlg"}]
# Programs of their own: they may include anything below app.
PROGRAMS = ["dicteditor", "updater"]
# Trees below every layer of src/ and below the engine: anyone may include them, and they
# include nothing of src/ or speech_engine/.
FOUNDATIONS = ["encoding"]
# Trees whose files take part in the cycle check.
TREES = ["src", "speech_engine", "standins"] + FOUNDATIONS
ALLOWED_OUTSIDE = re.compile(r"^(\.\./)+resources/[A-Za-z0-9_]+_ids\.h$")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCE = re.compile(r"\.(h|hpp|cpp|cc|inc)$")

LEVEL = {name: level for level, names in enumerate(LAYERS) for name in names}
TOP = len(LAYERS) - 1


def may_include(source, target):
    if source == target or target in FOUNDATIONS:
        return True
    if any({source, target} <= apart for apart in APART):
        return False
    if source in PROGRAMS:
        return target in LEVEL and LEVEL[target] < TOP
    if source not in LEVEL or target not in LEVEL:
        return False
    return LEVEL[target] <= LEVEL[source]


def source_files(root):
    for tree in TREES:
        for folder, _, names in os.walk(os.path.join(root, tree)):
            for name in sorted(names):
                if SOURCE.search(name):
                    yield os.path.relpath(os.path.join(folder, name), root)


def includes(root, path):
    with open(os.path.join(root, path), encoding="utf-8", errors="replace") as text:
        for number, line in enumerate(text, 1):
            found = INCLUDE.match(line)
            if found:
                yield number, found.group(1)


def resolve(root, path, name):
    """The file an include names: beside the including file, else under src/, else at the root."""
    for base in (os.path.dirname(path), "src", ""):
        candidate = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def layer_violations(root, graph_edges):
    problems = []
    for path, number, name in graph_edges:
        parts = path.split(os.sep)
        if parts[0] in FOUNDATIONS:
            if not name.startswith(parts[0] + "/"):
                problems.append(f"{path}:{number}: {parts[0]} may not include {name}")
            continue
        if parts[0] != "src" or len(parts) < 3:
            continue
        source = parts[1]
        if ALLOWED_OUTSIDE.match(name):
            continue
        target = name.split("/")[0] if "/" in name else source
        if target.startswith("."):
            problems.append(f"{path}:{number}: {source} may not include {name}")
        elif not may_include(source, target):
            problems.append(f"{path}:{number}: {source} may not include {target}")
    return problems


def cycles(graph):
    """Each cycle once, as found by a depth-first walk."""
    found = []
    state = {}
    stack = []

    def walk(node):
        state[node] = "open"
        stack.append(node)
        for target in graph.get(node, []):
            if state.get(target) == "open":
                found.append(stack[stack.index(target):] + [target])
            elif target not in state:
                walk(target)
        stack.pop()
        state[node] = "done"

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in state:
            walk(node)
    return found


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    edges = []
    graph = {}
    for path in source_files(root):
        for number, name in includes(root, path):
            edges.append((path, number, name))
            target = resolve(root, path, name)
            if target:
                graph.setdefault(path, []).append(target)
    problems = layer_violations(root, edges)
    for cycle in cycles(graph):
        problems.append(f"{cycle[0]}: include cycle: {' -> '.join(cycle)}")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} layering problem(s)", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
