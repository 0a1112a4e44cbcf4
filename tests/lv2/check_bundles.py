#!/usr/bin/env python3
"""The LV2 bundles as LV2 tools see them, and their audio against the VST 2 build.

  check_bundles.py --lv2-path DIR --plughost P --tonemark T.so --widefield W.so --work DIR

1. lv2_validate finds no error and no warning in either bundle.
2. Each UI takes ui:resize, the options feature and urid:map as optional
   features and names ui:scaleFactor as an option it supports (the zoom).
3. lv2info (and sordi, for the units lv2info leaves out) shows every port with
   the name, range, default, unit and properties a host's generic controls use.
4. lv2apply, with port values in their own units, gives the same bytes as
   plughost process on the VST 2 .so with the effect's values for them.

Exit 77 (skipped) when lilv-utils, lv2-dev or sordi is missing.
"""
import argparse
import math
import os
import random
import re
import shutil
import struct
import subprocess
import sys

UNITS = "http://lv2plug.in/ns/extensions/units#"
LV2 = "http://lv2plug.in/ns/lv2core#"
UI_URIS = {"Tonemark": "urn:brisora:tonemark:x11-panel", "Widefield": "urn:brisora:widefield:x11-panel"}

# symbol: (name, minimum, maximum, default, unit, properties)
TONEMARK_PORTS = {
    "reference": ("Ref. A3", 425, 453, 440, "hz", {"integer"}),
    "accuracy": ("Accuracy", 0, 2, 1, None, {"integer", "enumeration"}),
}
TONEMARK_CHOICES = {"accuracy": {0.0: "Economy", 1.0: "Normal", 2.0: "Super"}}
GAIN_TOP = 20 * math.log10(2)
WIDEFIELD_PORTS = {
    "invert_left": ("L +/-", 0, 1, 0, None, {"toggled"}),
    "invert_right": ("R +/-", 0, 1, 0, None, {"toggled"}),
    "mono": ("MONO", 0, 1, 0, None, {"toggled"}),
    "output_width": ("OutWidth", 0, 200, 100, "pc", set()),
    "input_rotation": ("In Rot.", -90, 90, 0, "degree", set()),
    "output_rotation": ("Out Rot.", -90, 90, 0, "degree", set()),
    "centre": ("Centre", -100, 100, 0, "pc", set()),
    "bypass": ("Bypass", 0, 1, 0, None, {"toggled"}),
    "delay": ("Delay", -120, 120, 0, "frame", {"integer"}),
    "gain_left": ("Fader L", -120, GAIN_TOP, 0, "db", set()),
    "gain_right": ("Fader R", -120, GAIN_TOP, 0, "db", set()),
    "meters_off": ("MeterByp", 0, 1, 0, None, {"toggled"}),
    "swap": ("R<->L", 0, 1, 0, None, {"toggled"}),
    "dc_filter": ("DCfilter", 0, 1, 0, None, {"toggled"}),
    "balance_left": ("Left", -100, 100, 0, "pc", set()),
    # The panel-only settings, appended; the bass ports read as the panel's labels do.
    "input_width": ("InWidth", 0, 200, 100, "pc", set()),
    "bass_on": ("Bass On", 0, 1, 0, None, {"toggled"}),
    "bass_frequency": ("Bass Freq", 0, 1000, 100, "hz", set()),
    "bass_boost": ("Bass Boost", 0, 100, 0, "pc", set()),
    "bass_width": ("Bass Width", -100, 100, 0, "pc", set()),
    "pseudo_stereo": ("Pseudo St.", 0, 1, 0, None, {"toggled"}),
    "fluorescence": ("Fluorescence", 0, 1, 1, None, {"toggled"}),
}
# The effect's setParameter index of each port: the host parameters in order,
# then the panel's settings (16 is unused; the fluorescence switch is 40).
WIDEFIELD_INDEX = dict({symbol: i for i, symbol in enumerate(list(WIDEFIELD_PORTS)[:15])},
                       input_width=15, bass_on=17, bass_frequency=18, bass_boost=19, bass_width=20,
                       pseudo_stereo=21, fluorescence=40)


def f32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


# A port's value in its own unit → the value a VST 2 host sends the effect.
def effect_value(symbol, value):
    kind = WIDEFIELD_PORTS[symbol][4], WIDEFIELD_PORTS[symbol][5]
    if "toggled" in kind[1]:
        return 1.0 if value > 0 else 0.0
    if symbol in ("output_width", "input_width"):
        return f32(value / 200.0)
    if symbol == "bass_frequency":
        return f32(value / 1000.0)
    if symbol == "bass_boost":
        return f32(value / 100.0)
    if symbol == "bass_width":
        return f32((value + 100.0) / 200.0)
    if symbol.endswith("rotation"):
        return f32((value + 90.0) / 180.0)
    if symbol in ("centre", "balance_left"):
        return f32((100.0 - value) / 200.0)
    if symbol == "delay":
        return f32((value + 120.0) / 240.0)
    if symbol.startswith("gain"):
        return 0.0 if value <= -120 else f32(min(1.0, 10 ** (value / 20.0) / 2.0))
    raise ValueError(symbol)


WIDEFIELD_CASES = [
    {},
    {"output_width": 150, "input_rotation": 45, "delay": -12, "gain_left": -6},
    {"invert_left": 1, "swap": 1, "dc_filter": 1, "centre": 50, "balance_left": -40, "output_rotation": -30},
    {"bypass": 1, "gain_left": 3},
    {"gain_right": -120, "gain_left": GAIN_TOP, "delay": 120, "mono": 1},
    {"meters_off": 1, "invert_right": 1, "output_width": 0, "delay": 7, "centre": -100},
    {"input_width": 150, "bass_on": 1, "pseudo_stereo": 1, "delay": 30},
    {"bass_on": 1, "bass_frequency": 300, "bass_boost": 60, "bass_width": -40, "input_width": 50, "fluorescence": 0},
]
TONEMARK_CASES = [{}, {"reference": 432, "accuracy": 2}]


def write_input(path, rate=44100, seconds=0.5):
    """A stereo float WAV: two sines, noise, and DC on the left for the DC filter."""
    rng = random.Random(7)
    frames = bytearray()
    for i in range(int(rate * seconds)):
        left = 0.5 * math.sin(2 * math.pi * 440 * i / rate) + 0.1 * (rng.random() - 0.5) + 0.05
        right = 0.4 * math.sin(2 * math.pi * 97 * i / rate + 1) + 0.1 * (rng.random() - 0.5)
        frames += struct.pack("<ff", left, right)
    fmt = struct.pack("<HHIIHH", 3, 2, rate, rate * 8, 8, 32)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(frames)) + frames
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def samples_of(path):
    data = open(path, "rb").read()
    fmt = data.index(b"fmt ")
    tag, channels = struct.unpack("<HH", data[fmt + 8:fmt + 12])
    at = data.index(b"data")
    size = struct.unpack("<I", data[at + 4:at + 8])[0]
    return (tag, channels), data[at + 8:at + 8 + size]


def run(command, env=None):
    return subprocess.run(command, capture_output=True, text=True, env=env, timeout=120)


def check_validate(bundles, failures):
    files = [os.path.join(b, f) for b in bundles for f in sorted(os.listdir(b)) if f.endswith(".ttl")]
    result = run(["lv2_validate"] + files)
    output = result.stdout + result.stderr
    complaints = [line for line in output.splitlines()
                  if re.search(r"error|warning", line, re.I) and "Found 0 errors" not in line]
    if result.returncode != 0 or "Found 0 errors" not in output or complaints:
        failures.append("lv2_validate: " + (" | ".join(complaints) or output.strip()))
    else:
        print("ok: lv2_validate, no errors or warnings:", next(l for l in output.splitlines() if "Found 0" in l))


def lv2info_ports(uri, env):
    result = run(["lv2info", uri], env)
    ports, current, in_points, last_key = {}, None, False, None
    for line in result.stdout.splitlines():
        text = line.strip()
        if text.startswith("Port "):
            current = {"properties": set(), "points": {}}
            in_points = False
            continue
        if current is None:
            continue
        if text.startswith("Scale Points:"):
            in_points = True
            continue
        match = re.match(r'^(-?[\d.]+) = "(.*)"$', text)
        if in_points and match:
            current["points"][float(match.group(1))] = match.group(2)
            continue
        in_points = False
        if text.startswith("http"):  # a further value of the key above
            if last_key == "Properties":
                current["properties"].add(text.rsplit("#", 1)[-1])
            continue
        key, _, value = text.partition(":")
        value = value.strip()
        last_key = key
        if key == "Symbol":
            ports[value] = current
        elif key in ("Name", "Minimum", "Maximum", "Default"):
            current[key] = value
        elif key == "Properties":
            current["properties"].add(value.rsplit("#", 1)[-1])
    return ports


def units_of(ttl):
    """symbol → unit, from sordi's N-Triples of the plug-in's description."""
    triples = run(["sordi", ttl]).stdout.splitlines()
    symbol_of, unit_of = {}, {}
    for line in triples:
        match = re.match(r'^(\S+) <' + re.escape(LV2) + r'symbol> "(.*)" \.$', line)
        if match:
            symbol_of[match.group(1)] = match.group(2)
        match = re.match(r'^(\S+) <' + re.escape(UNITS) + r'unit> <' + re.escape(UNITS) + r'(\w+)> \.$', line)
        if match:
            unit_of[match.group(1)] = match.group(2)
    return {symbol: unit_of.get(node) for node, symbol in symbol_of.items()}


def check_ui_features(ui, ttl, failures):
    """The zoom's features: optional, so that hosts without them still load the UI."""
    triples = set(run(["sordi", ttl]).stdout.splitlines())
    extensions = "http://lv2plug.in/ns/ext/"
    ui_ns = "http://lv2plug.in/ns/extensions/ui#"
    wanted = [(LV2 + "optionalFeature", ui_ns + "resize"), (LV2 + "optionalFeature", extensions + "options#options"),
              (LV2 + "optionalFeature", extensions + "urid#map"),
              (extensions + "options#supportedOption", ui_ns + "scaleFactor")]
    missing = [f"{p.rsplit('#', 1)[-1]} {o}" for p, o in wanted if f"<{ui}> <{p}> <{o}> ." not in triples]
    required = [line for line in triples if line.startswith(f"<{ui}> <{LV2}requiredFeature>") and
                ("resize" in line or "options" in line or "urid" in line)]
    if missing or required:
        failures.append(f"{ui}: missing {missing}, required {required}")
    else:
        print(f"ok: {ui}: ui:resize, options and urid:map optional, ui:scaleFactor supported")


def check_ports(uri, ttl, expected, choices, env, failures):
    ports = lv2info_ports(uri, env)
    units = units_of(ttl)
    for symbol, (name, low, high, default, unit, properties) in expected.items():
        port = ports.get(symbol)
        if port is None:
            failures.append(f"{uri}: no port {symbol}")
            continue
        problems = []
        if port.get("Name") != name:
            problems.append(f"name {port.get('Name')!r}, expected {name!r}")
        for key, want in (("Minimum", low), ("Maximum", high), ("Default", default)):
            if abs(float(port.get(key, "nan")) - want) > 1e-5 or port.get(key) is None:
                problems.append(f"{key.lower()} {port.get(key)}, expected {want}")
        if units.get(symbol) != unit:
            problems.append(f"unit {units.get(symbol)}, expected {unit}")
        if port["properties"] != properties:
            problems.append(f"properties {sorted(port['properties'])}, expected {sorted(properties)}")
        if port["points"] != choices.get(symbol, {}):
            problems.append(f"scale points {port['points']}")
        if problems:
            failures.append(f"{uri} {symbol}: " + "; ".join(problems))
    extra = set(ports) - set(expected) - {"in_left", "in_right", "out_left", "out_right"}
    if extra:
        failures.append(f"{uri}: unexpected ports {sorted(extra)}")
    if not any(f.startswith(uri) for f in failures):
        print(f"ok: {uri}: {len(expected)} control ports as described")


def check_audio(name, uri, vst, cases, to_vst, args, env, failures):
    source = os.path.join(args.work, "input.wav")
    for number, case in enumerate(cases):
        lv2_out = os.path.join(args.work, f"{name}-{number}-lv2.wav")
        vst_out = os.path.join(args.work, f"{name}-{number}-vst.wav")
        controls = [x for symbol, value in case.items() for x in ("-c", symbol, repr(float(value)))]
        params = [x for index, value in to_vst(case) for x in ("--param", "%d=%.9g" % (index, value))]
        lv2 = run(["lv2apply", "-i", source, "-o", lv2_out] + controls + [uri], env)
        host = run([args.plughost, "process", vst, source, vst_out] + params)
        if lv2.returncode != 0 or host.returncode != 0:
            failures.append(f"{name} {case}: lv2apply {lv2.returncode} {lv2.stderr.strip()}; "
                            f"plughost {host.returncode} {host.stderr.strip()}")
            continue
        (lv2_format, lv2_data), (vst_format, vst_data) = samples_of(lv2_out), samples_of(vst_out)
        if lv2_format != (3, 2) or vst_format != (3, 2) or lv2_data != vst_data or not lv2_data:
            failures.append(f"{name} {case}: the LV2 output differs from plughost's "
                            f"({len(lv2_data)} and {len(vst_data)} bytes, formats {lv2_format} {vst_format})")
        else:
            print(f"ok: {name} {case or 'defaults'}: {len(lv2_data) // 8} frames bit for bit")


def main():
    parser = argparse.ArgumentParser()
    for option in ("--lv2-path", "--plughost", "--tonemark", "--widefield", "--work"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    missing = [tool for tool in ("lv2_validate", "lv2info", "lv2apply", "sordi") if shutil.which(tool) is None]
    if missing:
        print("SKIPPED: missing " + ", ".join(missing) + " (apt-get install lv2-dev lilv-utils sordi)")
        return 77
    os.makedirs(args.work, exist_ok=True)
    env = dict(os.environ, LV2_PATH=args.lv2_path)
    bundles = [os.path.join(args.lv2_path, n + ".lv2") for n in ("Tonemark", "Widefield")]
    failures = []
    check_validate(bundles, failures)
    for bundle, name in zip(bundles, ("Tonemark", "Widefield")):
        check_ui_features(UI_URIS[name], os.path.join(bundle, name + ".ttl"), failures)
    check_ports("urn:brisora:tonemark", os.path.join(bundles[0], "Tonemark.ttl"), TONEMARK_PORTS,
                TONEMARK_CHOICES, env, failures)
    check_ports("urn:brisora:widefield", os.path.join(bundles[1], "Widefield.ttl"), WIDEFIELD_PORTS, {}, env,
                failures)
    write_input(os.path.join(args.work, "input.wav"))
    check_audio("tonemark", "urn:brisora:tonemark", args.tonemark, TONEMARK_CASES,
                lambda case: [(0 if s == "reference" else 1, v) for s, v in case.items()], args, env, failures)
    check_audio("widefield", "urn:brisora:widefield", args.widefield, WIDEFIELD_CASES,
                lambda case: [(WIDEFIELD_INDEX[s], effect_value(s, v)) for s, v in case.items()], args, env,
                failures)
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
