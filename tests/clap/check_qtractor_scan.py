#!/usr/bin/env python3
"""check_qtractor_scan.py — Qtractor's plug-in scanner, a real CLAP host's own
code, reads both .clap files: their names, two audio ports a side, the
parameter counts, and a GUI. Exits 77 (skipped) without Qtractor.

Usage: check_qtractor_scan.py CLAP_DIR
"""
import glob
import os
import subprocess
import sys

# name: parameters (the ports of the LV2 build)
EXPECTED = {"Tonemark": 2, "Widefield": 22}


def scanner():
    found = glob.glob("/usr/lib/*/qtractor/qtractor_plugin_scan") + glob.glob("/usr/lib/qtractor/qtractor_plugin_scan")
    return found[0] if found else None


def main():
    tool = scanner()
    if tool is None:
        print("skipped: qtractor_plugin_scan is not installed (apt-get install qtractor)")
        return 77
    failures = 0
    for name, params in EXPECTED.items():
        path = os.path.join(sys.argv[1], name + ".clap")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        result = subprocess.run([tool], input="CLAP:%s\n" % path, capture_output=True, text=True, env=env, timeout=60)
        # CLAP|name|audio in:out|midi in:out|params in:out|flags|path|index|id
        lines = [l.split("|") for l in result.stdout.splitlines() if l.startswith("CLAP|")]
        fields = lines[0] if len(lines) == 1 else []
        ok = (len(fields) >= 7 and fields[1] == name and fields[2] == "2:2" and fields[3] == "0:0" and
              fields[4] == "%d:0" % params and "GUI" in fields[5].split(","))
        print("%s  %s: %s" % ("ok  " if ok else "FAIL", name, result.stdout.strip() or result.stderr.strip()))
        failures += not ok
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
