#!/usr/bin/env python3
"""Both LV2 plug-ins in a real host: Ardour 7's headless tools, as the VST 2 test.

  create    ardour7-lua (tests/ardour/session.lua, BRISORA_PLUGIN_TYPE=LV2):
            a 48 kHz session, one stereo track per case, the LV2 plug-in
            before the fader, the VST 2 test's signal in the region
  bounce    each case bounced at the plug-in's output, its ports set in their
            own units, and compared bit for bit with `plughost process` on the
            VST 2 .so with the effect's values for them
  reload    settings, names and an automation lane (output rotation, in
            degrees) back after a save and a reload; no automation data
            ignored, every port automatable

Usage: check_lv2_in_ardour.py --plughost EXE --tonemark SO --widefield SO --lv2-path DIR --lua FILE --work DIR
Exit 0 when every check passes, 1 on a failure, 77 (skipped) without Ardour.
"""
import argparse
import importlib.util
import os
import re
import shutil
import sys
import time
import xml.etree.ElementTree as ElementTree

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
from check_bundles import WIDEFIELD_INDEX, WIDEFIELD_PORTS, effect_value  # noqa: E402

# The VST 2 test's signal, session driver and comparisons, shared.
_spec = importlib.util.spec_from_file_location("vst_in_ardour", os.path.join(here, "..", "ardour",
                                                                             "check_in_ardour.py"))
host = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(host)

TONEMARK, WIDEFIELD = "urn:brisora:tonemark", "urn:brisora:widefield"
TRACKS = [("tonemark", TONEMARK), ("tonemark-saved", TONEMARK), ("widefield", WIDEFIELD)]
AUDIO_PORTS = 4
TONEMARK_SAVED = {0: 445.0, 1: 2.0}  # as a session saved with the panel moved
# Port values in their own units: hertz and setting number; %, degrees, samples, dB.
BOUNCES = [
    ("tm-defaults", "tonemark", {}),
    ("tm-saved", "tonemark-saved", {}),
    ("tm-economy", "tonemark", {1: 0.0}),
    ("wf-defaults", "widefield", {}),
    ("wf-width200", "widefield", {3: 200.0}),
    ("wf-width0", "widefield", {3: 0.0}),
    ("wf-invert-left", "widefield", {0: 1.0}),
    ("wf-rotation", "widefield", {4: -36.0}),
    ("wf-delay", "widefield", {8: 60.0}),
    ("wf-mono", "widefield", {2: 1.0}),
    ("wf-gains", "widefield", {9: -6.0, 10: 3.0, 14: 40.0}),
    # The panel-only settings' ports: input width and pseudo-stereo, then the bass
    # stage (one bounce with it on: its filters go on from where the last one
    # with it on ended, as they do in any host between two plays).
    ("wf-panel-settings", "widefield", {15: 150.0, 20: 1.0, 8: 30.0}),
    ("wf-bass", "widefield", {16: 1.0, 17: 300.0, 18: 60.0, 19: -40.0}),
]
FINAL = {"widefield": {0: 1.0, 3: 160.0, 8: 60.0, 13: 1.0, 15: 50.0, 16: 1.0, 18: 25.0, 21: 0.0},
         "tonemark": {1: 0.0}}
LANE_INDEX = 5
LANE_POINTS = [-45.0, 45.0, 0.0]
TONEMARK_DEFAULTS = [440.0, 1.0]
SYMBOLS = list(WIDEFIELD_PORTS)
WIDEFIELD_DEFAULTS = [WIDEFIELD_PORTS[symbol][3] for symbol in SYMBOLS]


def vst_settings(track, settings):
    """Port positions and values in their units → the effect's indices and values."""
    if track.startswith("tonemark"):
        return dict(settings)
    return {WIDEFIELD_INDEX[SYMBOLS[k]]: effect_value(SYMBOLS[k], value) for k, value in settings.items()}


def expected_value(track, index):
    if track.startswith("widefield"):
        return host.float32(FINAL["widefield"].get(index, WIDEFIELD_DEFAULTS[index]))
    if track == "tonemark-saved":
        return host.float32(TONEMARK_SAVED.get(index, TONEMARK_DEFAULTS[index]))
    return host.float32(FINAL["tonemark"].get(index, TONEMARK_DEFAULTS[index]))


def check_settings(results, prefix, names):
    # Ardour counts and names an LV2 plug-in's parameters by port, the four audio
    # ports first, and reads their values by control port.
    for track, uri in TRACKS:
        controls = len(names[uri])
        count = int(results.get("%s.%s.count" % (prefix, track), "0"))
        host.check(count == AUDIO_PORTS + controls, "%s %s: %d ports" % (prefix, track, count))
        shown = [results.get("%s.%s.%d.name" % (prefix, track, AUDIO_PORTS + k)) for k in range(controls)]
        for index in range(controls):
            if track.startswith("widefield") and index == LANE_INDEX:
                continue  # under automation: the lane decides
            value = host.float32(float(results.get("%s.%s.%d.value" % (prefix, track, index), "nan")))
            expected = expected_value(track, index)
            # A gain in dB passes through the effect's linear value and back.
            close = abs(value - expected) < 1e-4 if track.startswith("widefield") else value == expected
            host.check(close, "%s %s: port %d is %r (expected %r)" % (prefix, track, index, value, expected))
        host.check(shown == [names[uri][str(i)] for i in range(controls)],
                   "%s %s: Ardour shows the VST 2 build's names (%s)" % (prefix, track, ", ".join(map(str, shown))))


def check_not_ignored(log, phase):
    ignored = len(re.findall(r"Ignored automation data", log))
    host.check(ignored == 0, "%s: no automation data ignored (%d)" % (phase, ignored))


def check_automatable(session_file):
    for route in ElementTree.parse(session_file).getroot().iter("Route"):
        for processor in route.iter("Processor"):
            if processor.get("type") != "lv2":
                continue
            flags = [c.get("flags", "") for c in processor.findall("Controllable")]
            host.check(flags and all("NotAutomatable" not in f for f in flags),
                       "%s: Ardour records its %d ports as automatable" % (route.get("name"), len(flags)))


def set_saved_tonemark(session_file):
    """Tonemark's ports in the saved session as a user left them on the panel."""
    text = open(session_file).read()
    route = re.search(r'<Route [^>]*name="tonemark-saved"', text)
    end = text.index("</Route>", route.end())
    part = text[route.end():end]
    for symbol, value in (("reference", TONEMARK_SAVED[0]), ("accuracy", TONEMARK_SAVED[1])):
        part, count = re.subn(r'(<Port symbol="%s" value=")[^"]*"' % symbol, r'\g<1>%r"' % value, part)
        host.check(count == 1, "the saved session holds Tonemark's port %s" % symbol)
    with open(session_file, "w") as f:
        f.write(text[:route.end()] + part + text[end:])


def check_bounces(args, bounced, signal, input_path, work):
    plugins = {TONEMARK: args.tonemark, WIDEFIELD: args.widefield}
    for bounce, track, settings in BOUNCES:
        uri = dict(TRACKS)[track]
        got = [host.read_wav_mono(bounced["bounce.%s.%d" % (bounce, channel)]) for channel in (0, 1)]
        effective = dict(TONEMARK_SAVED) if track == "tonemark-saved" else vst_settings(track, settings)
        expected = host.plughost_process(args, plugins[uri], effective, input_path, os.path.join(work, bounce + ".raw"))
        for channel, side in ((0, "left"), (1, "right")):
            label = "LV2 %s (%s), %s" % (bounce, host.settings_text(settings) or "defaults", side)
            if uri == TONEMARK:
                host.compare_bits(label + " against the input", got[channel], signal[channel])
            host.compare_bits(label + " against plughost on the VST 2 .so", got[channel], expected[channel])


def main():
    parser = argparse.ArgumentParser()
    for option in ("--plughost", "--tonemark", "--widefield", "--lv2-path", "--lua", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    if not os.access(host.ARDOUR_LUA, os.X_OK):
        print("SKIPPED: %s not found (Ardour 7 is installed by ./run: apt-get install ardour)" % host.ARDOUR_LUA)
        return 77
    started = time.monotonic()
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    ardour = host.Ardour(args, work)
    ardour.env.update(LV2_PATH=os.path.abspath(args.lv2_path), BRISORA_PLUGIN_TYPE="LV2",
                      BRISORA_LANE="%d %r %r %r" % ((LANE_INDEX,) + tuple(LANE_POINTS)))
    names = {TONEMARK: host.plughost_names(args, args.tonemark), WIDEFIELD: host.plughost_names(args, args.widefield)}
    # The settings a VST 2 host is not shown are named by their ports.
    names[WIDEFIELD].update({str(k): WIDEFIELD_PORTS[SYMBOLS[k]][0] for k in range(len(names[WIDEFIELD]), len(SYMBOLS))})

    left, right = host.test_signal()
    input_path = os.path.join(work, "input.raw")
    host.write_raw_stereo(input_path, left, right)
    ardour.write_plan("tracks.txt", ["%s %s" % entry for entry in TRACKS])
    created, _ = ardour.phase("create")
    if host.failures:
        return 1
    for track, _ in TRACKS:
        for channel, samples in ((0, left), (1, right)):
            host.overwrite_wav_mono(created["source.%s.%d" % (track, channel)], samples)
    session_file = os.path.join(ardour.session_dir, host.SESSION + ".ardour")
    set_saved_tonemark(session_file)

    ardour.write_plan("bounces.txt", ["%s %s %s" % (b, t, host.settings_text(s)) for b, t, s in BOUNCES])
    ardour.write_plan("final.txt", ["%s %s" % (t, host.settings_text(s)) for t, s in FINAL.items()])
    bounced, bounce_log = ardour.phase("bounce")
    if host.failures:
        return 1
    loaded = [float(bounced.get("loaded.tonemark-saved.%d.value" % i, "nan")) for i in range(2)]
    host.check(loaded == [TONEMARK_SAVED[0], TONEMARK_SAVED[1]], "the session's Tonemark ports reached it: %r" % loaded)
    check_bounces(args, bounced, (left, right), input_path, work)
    check_not_ignored(bounce_log, "load")
    check_settings(bounced, "saved", names)
    host.check_lane(bounced, "saved", LANE_POINTS, 1e-4)
    check_automatable(session_file)

    reloaded, reload_log = ardour.phase("reload")
    if reloaded.get("done") == "1":
        check_settings(reloaded, "reloaded", names)
        host.check_lane(reloaded, "reloaded", LANE_POINTS, 1e-4)
        check_not_ignored(reload_log, "reload")
    seconds = time.monotonic() - started
    print("%d checks failed" % len(host.failures) if host.failures else "all passed", "in %.1f s" % seconds)
    return 1 if host.failures else 0


if __name__ == "__main__":
    sys.exit(main())
