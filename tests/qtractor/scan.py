#!/usr/bin/env python3
"""scan.py — what Qtractor learns of a plug-in: its scanner run on TYPE:PATH
lines, each answer line split into its fields.

Usage: scan.py [--expect FIELD=VALUE]... TYPE:PATH...
       e.g. scan.py --expect name=Widefield --expect audio=2:2 --expect params=15:0 \
                    VST:build/linux/bin/Widefield.so

TYPE is what the scanner reads: VST (VST 2), CLAP, LADSPA, DSSI; it scans no
LV2 (an LV2 line gives nothing: Qtractor lists those through lilv itself). For every plug-in in the file the scanner prints one line

    TYPE|NAME|AUDIO_INS:AUDIO_OUTS|MIDI_INS:MIDI_OUTS|PARAM_INS:PARAM_OUTS|FLAGS|FILE|INDEX|ID

(audio: for VST 2 the record's numInputs and numOutputs, for CLAP the channel
count of the first (main) port a side, not a sum: two mono input ports give 1; midi: note ports / MIDI ins and outs; params: input and
output parameters, CLAP has no output ones; FLAGS from GUI (an editor, the
CLAP gui extension), EXT (state: VST 2 program chunks, the CLAP state
extension), RT (set for every plug-in tried); INDEX the plug-in's place in the file; ID the VST 2 unique ID, or for CLAP
a hash of Qtractor's own that differs from one scanner process to the next:
never compare it). A file it
cannot load gives no line at all: for VST a "plugin file error" on standard
error, for CLAP not even that; the exit status is 0 either way.

--expect (repeatable) names a field as printed (name, audio, midi, params,
flags), compared with every line of every file; the script exits 1 when a file gives
no line or a field differs, 77 when Qtractor is not installed.
"""
import os
import subprocess
import sys

FIELDS = ("type", "name", "audio", "midi", "params", "flags", "file", "index", "id")


def find_scanner():
    """The scanner lives in Qtractor's library folder, not on PATH."""
    try:
        listing = subprocess.run(["dpkg", "-L", "qtractor"], capture_output=True, text=True).stdout
    except FileNotFoundError:
        listing = ""
    for line in listing.splitlines():
        if line.endswith("/qtractor_plugin_scan") and os.access(line, os.X_OK):
            return line
    return None


def scan(scanner, request):
    """The scanner's answer lines for one TYPE:PATH, and its standard error."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")  # it makes a Qt application, no window
    result = subprocess.run([scanner], input=request + "\n", capture_output=True, text=True, env=env, timeout=60)
    return [line for line in result.stdout.splitlines() if "|" in line], result.stderr.strip()


def parse(line):
    parts = line.split("|")
    if len(parts) != len(FIELDS):
        raise ValueError("%d fields, not %d: %s" % (len(parts), len(FIELDS), line))
    return dict(zip(FIELDS, parts))


def main(argv):
    expect = {}
    while len(argv) > 1 and argv[0] == "--expect" and "=" in argv[1]:
        key, value = argv[1].split("=", 1)
        expect[key] = value
        argv = argv[2:]
    if not argv or any(":" not in request for request in argv):
        print(__doc__.strip())
        return 2
    scanner = find_scanner()
    if scanner is None:
        print("skipped: Qtractor is not installed (apt-get install qtractor)")
        return 77
    failed = False
    for request in argv:
        kind, path = request.split(":", 1)
        lines, errors = scan(scanner, "%s:%s" % (kind, os.path.abspath(path)))
        if not lines:
            print("FAIL  %s: the scanner lists nothing%s" % (request, " (%s)" % errors if errors else ""))
            failed = True
            continue
        for line in lines:
            fields = parse(line)
            for key in FIELDS:
                print("%s: %s" % (key, fields[key]))
            for key, want in expect.items():
                if fields.get(key) != want:
                    print("FAIL  %s: %s is %r, expected %r" % (request, key, fields.get(key), want))
                    failed = True
            print()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
