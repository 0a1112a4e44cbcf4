#!/usr/bin/env python3
"""check_layers.py <source root> <signal-path sources, comma-separated>

Each folder of the tree includes only the folders below it, so the build graph
has no cycle: the OS layer includes nothing of ours above it, the toolkit no
plug-in and no VST boundary, and Tonemark's signal path (the sources of its own
library and every header they reach) nothing outside tuner/. Prints each
include that breaks a rule and exits 1 if there is one.
"""
import os
import re
import sys

# Folder -> the folders its files may include (their own folder always).
ALLOWED = {
    "platform": set(),
    "toolkit": {"platform"},
    "framework": {"platform"},
    "controls": {"toolkit", "platform", "framework"},
    "tuner": {"controls", "toolkit", "platform", "framework"},
    "stereo": {"controls", "toolkit", "platform", "framework"},
    # The descriptions every format adapter shares: the plug-ins themselves.
    "formats": {"tuner", "stereo", "controls", "toolkit", "platform", "framework"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def includes_of(path):
    with open(path, encoding="utf-8", errors="replace") as source:
        return INCLUDE.findall(source.read())


def folder_rules(root):
    faults = []
    for folder, allowed in ALLOWED.items():
        for directory, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(directory, name)
                for included in includes_of(path):
                    top = included.split("/")[0]
                    if top in ALLOWED and top != folder and top not in allowed:
                        faults.append(f"{os.path.relpath(path, root)}: includes {included}")
    return faults


def signal_path_rule(root, sources):
    faults = []
    seen = set()
    pending = [os.path.relpath(source, root) for source in sources]
    while pending:
        file = pending.pop()
        if file in seen:
            continue
        seen.add(file)
        for included in includes_of(os.path.join(root, file)):
            if not included.startswith("tuner/"):
                faults.append(f"{file}: the signal path includes {included}")
            elif os.path.exists(os.path.join(root, included)):
                pending.append(included)
    return faults


def main():
    root = os.path.abspath(sys.argv[1])
    sources = [s for s in sys.argv[2].split(",") if s] if len(sys.argv) > 2 else []
    faults = folder_rules(root) + signal_path_rule(root, sources)
    for fault in faults:
        print(fault)
    if not sources:
        print("no signal-path sources given")
        return 1
    print(f"{len(faults)} includes against the layers")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
