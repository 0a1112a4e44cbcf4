#!/usr/bin/env python3
"""check_in_ardour.py — both plug-ins in a real host: Ardour 7's headless tools.

  scan      Ardour's VST scanner indexes both .so files into a private cache
  create    ardour7-lua: a 48 kHz session, one stereo track per case, the
            plug-in before the fader, a region whose source files then get
            the test signal (noise, full scale, signed zeros, subnormals)
  bounce    each case bounced at the plug-in's output and compared with
            `plughost process` on the same signal and settings: Tonemark bit
            for bit with its input (its parameters as saved in the session,
            and changed through Ardour's controls), Widefield at defaults equal
            to its input (subnormals flushed to zero) and at each setting bit
            for bit with plughost
  reload    settings, names and the automation lane back after a save and a
            reload, and no automation dropped as not automatable
  chunk     Widefield's state chunk (made by `plughost --chunk-out`, with the
            panel-only settings moved) put into the session file where Ardour
            keeps it, base64 in the plug-in's <chunk>: loaded, bounced equal to
            `plughost --chunk-in` and to the same --param settings, saved back
            unchanged, and bounced the same after a reload; a Widefield saved
            as today's build is saved (15 values, no chunk) loads those values
            and bounces as plughost does with them

Usage: check_in_ardour.py --plughost EXE --tonemark SO --widefield SO --lua FILE --work DIR
Exit 0 when every check passes, 1 on a failure, 77 (skipped) without Ardour.
"""
import argparse
import array
import base64
import os
import random
import re
import shutil
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree

ARDOUR_LUA = "/usr/bin/ardour7-lua"
ARDOUR_LIB = "/usr/lib/ardour7"
SCANNER = ARDOUR_LIB + "/ardour-vst-scanner"
RATE = 48000
FRAMES = 12288
TAIL = 256  # silence at the end: the delay lines hold nothing into the next bounce
SESSION = "hosttest"

# Tonemark's settings as a user leaves them on the panel and the host saves them.
TONEMARK_SAVED = {0: 445.0, 1: 2.0}

# (bounce, track, {index: value}); the first Widefield case runs at its defaults.
BOUNCES = [
    ("tm-defaults", "tonemark", {}),
    ("tm-saved", "tonemark-saved", {}),
    ("tm-economy", "tonemark", {1: 0.0}),
    ("wf-defaults", "widefield", {}),
    ("wf-width1", "widefield", {3: 1.0}),
    ("wf-width0", "widefield", {3: 0.0}),
    ("wf-invert-left", "widefield", {0: 1.0}),
    ("wf-rotation", "widefield", {4: 0.3}),
    ("wf-delay", "widefield", {8: 0.75}),
    ("wf-mono", "widefield", {2: 1.0}),
    ("wf-chunk", "widefield-chunk", {}),
    ("wf-saved", "widefield-saved", {}),
]
TRACKS = [("tonemark", "Tonemark"), ("tonemark-saved", "Tonemark"), ("widefield", "Widefield"),
          ("widefield-chunk", "Widefield"), ("widefield-saved", "Widefield")]

# The chunk's settings: every panel-only one away from its default (input
# width 150 %, bass on at its own frequency, boost and width, pseudo-stereo,
# fluorescence off) and two host parameters.
CHUNK_SETTINGS = {3: 0.8, 8: 0.25, 15: 0.75, 17: 1.0, 18: 0.3, 19: 0.6, 20: 0.2, 21: 1.0, 40: 0.0}
# A Widefield as a session of the build before chunks keeps it: 15 values;
# none with a memory (DC filter, delay), so that the tail leaves nothing for
# the preset loaded into it later.
WIDEFIELD_SAVED = {0: 1.0, 3: 0.7, 4: 0.3, 9: 0.4, 12: 1.0}
# The bounces of the reloaded session, the bounce each must equal and the
# track whose Ardour preset is loaded first (last: it changes the track).
RELOAD_BOUNCES = [("wf-chunk-reloaded", "widefield-chunk", "wf-chunk", None),
                  ("wf-saved-reloaded", "widefield-saved", "wf-saved", None),
                  ("wf-preset", "widefield-saved", "wf-chunk", "widefield-chunk")]

# Settings left in place for the save (index 5 carries the automation lane).
FINAL = {"widefield": {0: 1.0, 3: 0.8, 8: 0.75, 13: 1.0}, "tonemark": {1: 0.0}}
LANE_INDEX = 5
LANE_POINTS = [0.25, 0.75, 0.5]

WIDEFIELD_DEFAULTS = [0.0, 0.0, 0.0, 0.5, 0.5, 0.5, 0.5, 0.0, 0.5, 0.5, 0.5, 0.0, 0.0, 0.0, 0.5]
TONEMARK_DEFAULTS = [440.0, 1.0]
WIDEFIELD_ID = 0x57644664  # "WdFd"

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)
    return condition


def float32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def bits(value):
    return struct.unpack("<I", struct.pack("<f", value))[0]


def is_subnormal(value):
    return value != 0.0 and (bits(value) & 0x7F800000) == 0


# ---- the test signal ----------------------------------------------------------------

def test_signal():
    generator = random.Random(20261209)
    left = array.array("f", (generator.uniform(-0.95, 0.95) for _ in range(FRAMES)))
    right = array.array("f", (generator.uniform(-0.95, 0.95) for _ in range(FRAMES)))
    special = [1.0, -1.0, 0.0, -0.0, 1e-45, -1e-45, 1.1754942e-38, -5e-39, 1.17549435e-38, 1e-30, 0.5, 0.999999940]
    for k, value in enumerate(special):
        left[100 + k] = value
        right[200 + 2 * k] = value
    for k in range(32):  # a run of subnormals on both channels
        left[3000 + k] = float32(k * 1e-40)
        right[3000 + k] = float32(-k * 3e-41)
    for k in range(FRAMES - TAIL, FRAMES):
        left[k] = right[k] = 0.0
    return left, right


def write_raw_stereo(path, left, right):
    interleaved = array.array("f", [0.0]) * (2 * len(left))
    interleaved[0::2] = left
    interleaved[1::2] = right
    with open(path, "wb") as f:
        interleaved.tofile(f)


def read_raw_stereo(path):
    data = array.array("f")
    with open(path, "rb") as f:
        data.frombytes(f.read())
    return data[0::2], data[1::2]


def wav_data_offset(path):
    """Offset and size of the data chunk of a RIFF WAVE file of 32-bit floats."""
    with open(path, "rb") as f:
        header = f.read(12)
        if header[0:4] != b"RIFF" or header[8:12] != b"WAVE":
            raise ValueError(path + " is not a WAVE file")
        while True:
            chunk = f.read(8)
            if len(chunk) < 8:
                raise ValueError(path + " has no data chunk")
            kind, size = chunk[0:4], struct.unpack("<I", chunk[4:8])[0]
            if kind == b"fmt ":
                fmt = f.read(size)
                if struct.unpack("<HH", fmt[0:4]) != (3, 1):
                    raise ValueError(path + " is not mono 32-bit float")
                continue
            if kind == b"data":
                return f.tell(), size
            f.seek(size + (size & 1), 1)


def read_wav_mono(path):
    offset, size = wav_data_offset(path)
    data = array.array("f")
    with open(path, "rb") as f:
        f.seek(offset)
        data.frombytes(f.read(size))
    return data


def overwrite_wav_mono(path, samples):
    offset, size = wav_data_offset(path)
    if size != 4 * len(samples):
        raise ValueError("%s holds %d bytes of samples, not %d" % (path, size, 4 * len(samples)))
    with open(path, "r+b") as f:
        f.seek(offset)
        samples.tofile(f)


# ---- the programs ---------------------------------------------------------------------

def run(command, env=None, timeout=180):
    started = time.monotonic()
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace"), time.monotonic() - started


def plughost_process(args, plugin, settings, input_path, output_path, chunk=()):
    command = [args.plughost, "process", plugin, input_path, output_path, "--raw", "--rate", str(RATE)] + list(chunk)
    for index, value in sorted(settings.items()):
        command += ["--param", "%d=%r" % (index, value)]
    code, out, _ = run(command)
    if code != 0:
        raise RuntimeError("plughost process failed: " + out)
    return read_raw_stereo(output_path)


def plughost_names(args, plugin):
    _, out, _ = run([args.plughost, "info", plugin])
    return dict(re.findall(r"^param\.(\d+)\.name: (.*)$", out, re.M))


class Ardour:
    """ardour7-lua with a home, cache and configuration of the test's own."""

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.env = dict(os.environ)
        for key, sub in (("HOME", "home"), ("XDG_CACHE_HOME", "cache"), ("XDG_CONFIG_HOME", "config")):
            self.env[key] = os.path.join(work, sub)
            os.makedirs(self.env[key], exist_ok=True)
        self.env["LXVST_PATH"] = os.path.join(work, "plugins")
        self.session_dir = os.path.join(work, SESSION)

    def scan(self, plugin):
        # A cache entry counts only when it is newer than the library by a second
        # or more: the copy is dated in the past.
        copy = os.path.join(self.env["LXVST_PATH"], os.path.basename(plugin))
        os.makedirs(os.path.dirname(copy), exist_ok=True)
        shutil.copyfile(plugin, copy)
        os.utime(copy, (1577836800, 1577836800))
        env = dict(self.env, LD_LIBRARY_PATH=ARDOUR_LIB)
        _, out, _ = run([SCANNER, "-f", copy], env=env, timeout=60)
        cache_dir = os.path.join(self.env["XDG_CACHE_HOME"], "ardour7", "vst")
        entries = os.listdir(cache_dir) if os.path.isdir(cache_dir) else []
        found = any(('binary="%s"' % copy) in open(os.path.join(cache_dir, n)).read() for n in entries)
        return found, out

    def phase(self, name):
        results_path = os.path.join(self.work, name + ".results")
        code, out, seconds = run([ARDOUR_LUA, self.args.lua, name, self.work, str(FRAMES)], env=self.env)
        results = {}
        if os.path.exists(results_path):
            for line in open(results_path):
                key, _, value = line.rstrip("\n").partition(" ")
                results[key] = value
        with open(os.path.join(self.work, name + ".log"), "w") as log:
            log.write(out)
        ok = check(code == 0 and results.get("done") == "1",
                   "ardour7-lua %s ran (%.1f s; log %s.log)" % (name, seconds, name))
        if not ok:
            print("\n".join("      " + line for line in out.splitlines()[-15:]))
        return results, out

    def write_plan(self, file_name, lines):
        with open(os.path.join(self.work, file_name), "w") as f:
            f.write("\n".join(lines) + "\n")


def settings_text(settings):
    return " ".join("%d=%r" % (index, value) for index, value in sorted(settings.items()))


# ---- the checks -----------------------------------------------------------------------

def compare_bits(label, got, expected):
    if len(got) != len(expected):
        return check(False, "%s: %d samples, expected %d" % (label, len(got), len(expected)))
    for i, (g, e) in enumerate(zip(got, expected)):
        if bits(g) != bits(e):
            return check(False, "%s: sample %d is %r, expected %r" % (label, i, g, e))
    return check(True, "%s: %d samples bit for bit" % (label, len(got)))


def compare_flushed(label, got, source):
    """Equal to the input, where the input is subnormal a zero."""
    if len(got) != len(source):
        return check(False, "%s: %d samples, expected %d" % (label, len(got), len(source)))
    flushed = 0
    for i, (g, x) in enumerate(zip(got, source)):
        if is_subnormal(x):
            flushed += 1
            if g != 0.0:
                return check(False, "%s: subnormal input %r at %d gave %r, not zero" % (label, x, i, g))
        elif g != x:
            return check(False, "%s: sample %d is %r, the input %r" % (label, i, g, x))
    return check(True, "%s: equal to the input, %d subnormal samples flushed to zero" % (label, flushed))


def expected_value(track, index):
    if track == "widefield-chunk":
        value = CHUNK_SETTINGS.get(index, WIDEFIELD_DEFAULTS[index])
    elif track == "widefield-saved":
        value = WIDEFIELD_SAVED.get(index, WIDEFIELD_DEFAULTS[index])
    elif track.startswith("widefield"):
        value = FINAL["widefield"].get(index, WIDEFIELD_DEFAULTS[index])
    elif track == "tonemark-saved":
        value = TONEMARK_SAVED.get(index, TONEMARK_DEFAULTS[index])
    else:
        value = FINAL["tonemark"].get(index, TONEMARK_DEFAULTS[index])
    return float32(value)


def check_settings(results, prefix, names):
    for track, plugin in TRACKS:
        count = int(results.get("%s.%s.count" % (prefix, track), "0"))
        check(count == len(names[plugin]), "%s %s: %d parameters" % (prefix, track, count))
        shown = []
        for index in range(count):
            name = results.get("%s.%s.%d.name" % (prefix, track, index))
            shown.append(name)
            if track.startswith("widefield") and index == LANE_INDEX:
                continue  # under automation: the lane decides
            value = float32(float(results.get("%s.%s.%d.value" % (prefix, track, index), "nan")))
            expected = expected_value(track, index)
            check(value == expected, "%s %s: parameter %d is %r (expected %r)" % (prefix, track, index, value, expected))
        check(shown == [names[plugin][str(i)] for i in range(count)],
              "%s %s: Ardour shows the names the plug-in gives (%s)" % (prefix, track, ", ".join(map(str, shown))))


def check_lane(results, prefix, points=LANE_POINTS, tolerance=1e-6):
    """Widefield's automation lane as the session script read it back (the LV2
    test's points are in the port's own unit)."""
    key = "%s.widefield.lane." % prefix
    check(results.get(key + "events") == str(len(points)),
          "%s: the automation lane holds %d events (got %s)" % (prefix, len(points), results.get(key + "events")))
    check(results.get(key + "state") == "play", "%s: the lane plays back" % prefix)
    for k, point in enumerate(points, start=1):
        value = float(results.get(key + "at%d" % k, "nan"))
        check(abs(value - point) < tolerance, "%s: the lane reads %r at point %d (expected %r)" % (prefix, value, k,
                                                                                                  point))


def check_not_ignored(log, phase):
    # Ardour keeps a lane per parameter and warns once for each lane of a
    # parameter that may not be automated: Tonemark's two, on each of its tracks.
    ignored = len(re.findall(r"^(?:\[WARNING\]: )?Ignored automation data for non-automatable parameter", log, re.M))
    tonemark_lanes = 2 * sum(1 for _, plugin in TRACKS if plugin == "Tonemark")
    check(ignored == tonemark_lanes, "%s: %d lanes ignored as not automatable, Tonemark's %d only (none of Widefield's)"
          % (phase, ignored, tonemark_lanes))


def check_automatable_flags(session_file):
    tree = ElementTree.parse(session_file)
    for route in tree.getroot().iter("Route"):
        for processor in route.iter("Processor"):
            if processor.get("type") != "lxvst":
                continue
            flags = [c.get("flags", "") for c in processor.findall("Controllable")]
            automatable = ["NotAutomatable" not in f for f in flags]
            expected = processor.get("name") == "Widefield"
            check(flags and all(a == expected for a in automatable),
                  "%s: Ardour records its %d parameters as %sautomatable" %
                  (route.get("name"), len(flags), "" if expected else "not "))


def set_saved_tonemark(session_file):
    """The session as saved with Tonemark's panel moved: 445 Hz, Super."""
    text = open(session_file).read()
    route = re.search(r'<Route [^>]*name="tonemark-saved"', text)
    start = text.index("<parameters ", route.end())
    end = text.index("/>", start)
    values = " ".join('param-%d="%s"' % (i, repr(v)) for i, v in sorted(TONEMARK_SAVED.items()))
    with open(session_file, "w") as f:
        f.write(text[:start] + "<parameters " + values + text[end:])


def check_bounces(args, plugins, bounced, signal, input_path, work, chunk_path):
    """Each bounce against plughost; the expected audio is kept in WORK/<bounce>.raw."""
    saved = {"tonemark-saved": TONEMARK_SAVED, "widefield-saved": WIDEFIELD_SAVED}
    for bounce, track, settings in BOUNCES:
        plugin = dict(TRACKS)[track]
        got = [read_wav_mono(bounced["bounce.%s.%d" % (bounce, channel)]) for channel in (0, 1)]
        effective = dict(saved.get(track, settings))
        chunk = ["--chunk-in", chunk_path] if track == "widefield-chunk" else []
        expected = plughost_process(args, plugins[plugin], effective, input_path, os.path.join(work, bounce + ".raw"),
                                    chunk)
        for channel, side in ((0, "left"), (1, "right")):
            label = "%s (%s), %s" % (bounce, " ".join(chunk) or settings_text(effective) or "defaults", side)
            if plugin == "Tonemark":
                compare_bits(label + " against the input", got[channel], signal[channel])
            elif not effective and not chunk:
                compare_flushed(label, got[channel], signal[channel])
            compare_bits(label + " against plughost", got[channel], expected[channel])


def check_reload_bounces(reloaded, work, config, chunk_path):
    for bounce, track, before, preset in RELOAD_BOUNCES:
        expected = read_raw_stereo(os.path.join(work, before + ".raw"))
        for channel, side in ((0, "left"), (1, "right")):
            got = read_wav_mono(reloaded["bounce.%s.%d" % (bounce, channel)])
            what = "a preset of %s loaded, against %s" % (preset, before) if preset else "against %s before the save" \
                % before
            compare_bits("%s, %s, %s" % (bounce, side, what), got, expected[channel])
    # Ardour keeps a chunk plug-in's presets as its program chunk, base64.
    presets = os.path.join(config, "ardour7", "presets", "vst-%d" % WIDEFIELD_ID)
    kept = [base64.b64decode(node.text or "") for node in ElementTree.parse(presets).getroot().iter("ChunkPreset")] \
        if os.path.exists(presets) else []
    check(kept == [open(chunk_path, "rb").read()], "Ardour's preset holds the chunk byte for byte (%s)" % presets)


# ---- the chunk in the session file ------------------------------------------------------

def make_chunk(args, plugin, input_path, work):
    """plughost's chunk of CHUNK_SETTINGS; the same settings as --param must sound
    as the chunk does, or the chunk would not carry them."""
    chunk_path = os.path.join(work, "widefield.chunk")
    by_chunk = os.path.join(work, "chunk-made.raw")
    plughost_process(args, plugin, CHUNK_SETTINGS, input_path, by_chunk, ["--chunk-out", chunk_path])
    plughost_process(args, plugin, {}, input_path, os.path.join(work, "chunk-defaults.raw"))
    plughost_process(args, plugin, {}, input_path, os.path.join(work, "chunk-restored.raw"), ["--chunk-in", chunk_path])
    audio = {name: open(os.path.join(work, "chunk-%s.raw" % name), "rb").read() for name in ("made", "restored",
                                                                                            "defaults")}
    check(audio["restored"] == audio["made"] and audio["restored"] != audio["defaults"],
          "plughost --chunk-in sounds as the chunk's settings given as --param, not as the defaults")
    values = chunk_values(open(chunk_path, "rb").read()) or {}
    check(all(values.get(i) == float32(v) for i, v in CHUNK_SETTINGS.items()),
          "plughost's chunk holds the settings as given (read by the documented layout)")
    return chunk_path


def chunk_values(data):
    """{index: value} of a chunk, read by the layout the README gives; None if
    it is not a whole Widefield chunk of version 1."""
    if len(data) < 20 or data[0:4] != b"BrSt" or data[4:8] != b"WdFd" or struct.unpack("<I", data[8:12])[0] != 1:
        return None
    count = struct.unpack("<I", data[12:16])[0]
    if len(data) < 20 + 8 * count:
        return None
    pairs = struct.unpack("<" + "if" * count, data[16:16 + 8 * count])
    name_length = struct.unpack("<I", data[16 + 8 * count:20 + 8 * count])[0]
    if len(data) != 20 + 8 * count + name_length:
        return None
    return dict(zip(pairs[0::2], pairs[1::2]))


def plugin_node(tree, track):
    for route in tree.getroot().iter("Route"):
        if route.get("name") == track:
            for processor in route.iter("Processor"):
                if processor.get("type") == "lxvst":
                    return processor
    raise KeyError("no VST processor on track " + track)


def chunk_nodes(processor):
    return [node for node in processor.iter("chunk")]


def put_chunk_and_old_state(session_file, chunk_path):
    """widefield-chunk: plughost's chunk in place of the one Ardour saved at
    creation; widefield-saved: 15 values and no chunk, as the build before
    chunks was saved (the <parameters> form Ardour writes for Tonemark)."""
    tree = ElementTree.parse(session_file)
    chunked = plugin_node(tree, "widefield-chunk")
    nodes = chunk_nodes(chunked)
    check(len(nodes) == 1 and plugin_node(tree, "widefield").find(".//parameters") is None,
          "Ardour saves Widefield's state as one <chunk>, without <parameters>")
    if nodes:
        nodes[0].text = base64.b64encode(open(chunk_path, "rb").read()).decode("ascii")
    old = plugin_node(tree, "widefield-saved")
    for parent in old.iter():
        for node in list(parent):
            if node.tag == "chunk":
                values = dict(("param-%d" % i, repr(v)) for i, v in enumerate(WIDEFIELD_DEFAULTS))
                values.update(("param-%d" % i, repr(v)) for i, v in WIDEFIELD_SAVED.items())
                parent.remove(node)
                ElementTree.SubElement(parent, "parameters", values)
    tree.write(session_file, encoding="UTF-8", xml_declaration=True)


def check_saved_chunks(session_file, chunk_path):
    """The chunks Ardour took from the plug-in at the save: widefield-chunk's
    as it was loaded, byte for byte; widefield-saved's with its old values."""
    tree = ElementTree.parse(session_file)
    for track, expected in (("widefield-chunk", open(chunk_path, "rb").read()), ("widefield-saved", None)):
        nodes = chunk_nodes(plugin_node(tree, track))
        data = base64.b64decode(nodes[0].text or "") if len(nodes) == 1 else b""
        if expected is not None:
            check(data == expected, "%s: the saved session holds the loaded chunk byte for byte (%d bytes)" %
                  (track, len(data)))
        else:
            values = chunk_values(data)
            wanted = {i: float32(v) for i, v in enumerate(WIDEFIELD_DEFAULTS)}
            wanted.update((i, float32(v)) for i, v in WIDEFIELD_SAVED.items())
            check(values is not None and all(values.get(i) == v for i, v in wanted.items()),
                  "%s: the session loaded from 15 values is saved as a chunk holding them" % track)


def main():
    parser = argparse.ArgumentParser()
    for option in ("--plughost", "--tonemark", "--widefield", "--lua", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    for tool in (ARDOUR_LUA, SCANNER):
        if not os.access(tool, os.X_OK):
            print("SKIPPED: %s not found (Ardour 7 is installed by ./run: apt-get install ardour)" % tool)
            return 77
    started = time.monotonic()
    work = os.path.abspath(args.work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    plugins = {"Tonemark": args.tonemark, "Widefield": args.widefield}
    ardour = Ardour(args, work)

    for plugin, path in plugins.items():
        found, out = ardour.scan(path)
        if not check(found, "the scanner indexed %s" % plugin):
            print(out)
    if failures:
        return 1
    names = {plugin: plughost_names(args, path) for plugin, path in plugins.items()}

    left, right = test_signal()
    input_path = os.path.join(work, "input.raw")
    write_raw_stereo(input_path, left, right)

    ardour.write_plan("tracks.txt", ["%s %s" % entry for entry in TRACKS])
    created, _ = ardour.phase("create")
    if failures:
        return 1
    for track, _ in TRACKS:
        for channel, samples in ((0, left), (1, right)):
            overwrite_wav_mono(created["source.%s.%d" % (track, channel)], samples)
    session_file = os.path.join(ardour.session_dir, SESSION + ".ardour")
    set_saved_tonemark(session_file)
    chunk_path = make_chunk(args, args.widefield, input_path, work)
    put_chunk_and_old_state(session_file, chunk_path)

    ardour.write_plan("bounces.txt", ["%s %s %s" % (b, t, settings_text(s)) for b, t, s in BOUNCES])
    ardour.write_plan("final.txt", ["%s %s" % (t, settings_text(s)) for t, s in FINAL.items()])
    bounced, bounce_log = ardour.phase("bounce")
    if failures:
        return 1
    loaded = [float(bounced.get("loaded.tonemark-saved.%d.value" % i, "nan")) for i in range(len(TONEMARK_DEFAULTS))]
    check(loaded == [TONEMARK_SAVED[0], TONEMARK_SAVED[1]],
          "the session's Tonemark settings reached the plug-in: %r" % loaded)
    check_bounces(args, plugins, bounced, (left, right), input_path, work, chunk_path)
    check_not_ignored(bounce_log, "load")
    check_settings(bounced, "saved", names)
    check_lane(bounced, "saved")
    check_automatable_flags(session_file)
    check_saved_chunks(session_file, chunk_path)

    ardour.write_plan("reload-bounces.txt", ["%s %s %s" % (b, t, p or "") for b, t, _, p in RELOAD_BOUNCES])
    reloaded, reload_log = ardour.phase("reload")
    if reloaded.get("done") == "1":
        check_settings(reloaded, "reloaded", names)
        check_lane(reloaded, "reloaded")
        check_not_ignored(reload_log, "reload")
        check_reload_bounces(reloaded, work, ardour.env["XDG_CONFIG_HOME"], chunk_path)

    seconds = time.monotonic() - started
    print("%d checks failed" % len(failures) if failures else "all passed", "in %.1f s" % seconds)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
