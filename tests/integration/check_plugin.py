#!/usr/bin/env python3
"""check_plugin.py — loads one real plug-in binary through plughost and checks
what a host sees.

  record    `plughost info --json`: identify answer, magic, record size,
            channels, flags, unique ID, counts, default parameter values,
            names, units, value texts and automatability, program name,
            editor rectangle, effClose answer
  refused   a host that answers 0 to the version query gets no instance
  exports   the library exports only main and needs only system libraries
  audio     process (replacing and accumulating) and bench run on a sine;
            a 16-bit WAV in, a float WAV out; a file that is no WAV refused;
            Widefield's state chunk: one taken after settings across the range
            holds them (read by the chunk's documented layout) and restores
            them; under Wine the chunk is the native build's byte for byte, the
            native .so restored from it sounds as this build with the settings,
            and this build restored from the native chunk likewise
  editor    plughost editor opens a window, idles, clicks, saves a PNG
  zoom      the same at 200 % (plughost editor --zoom 200; --zoom-level
            another): a window of the zoomed size showing the headless render
            at that zoom

A .clap file gets the same checks as a CLAP host sees them: record is its
descriptor, ports, parameters (names as the VST 2 build's, texts that read
back), latency, state and gui; exports is clap_entry alone; audio runs the
defaults and a set of settings through CLAP process and compares both, bit
for bit, with the VST 2 .so given by --compare-plugin.

Usage: check_plugin.py --check NAME --plughost EXE --plugin LIB
                       --expect tonemark|widefield --bits 32|64
                       [--wine] [--objdump TOOL] [--work DIR] [--batch FILE]
       check_plugin.py --run-batch FILE --invocations LIST

Where starting a process is slow (Wine; a 32-bit build on an emulated CPU takes
about a minute a start), every plughost command of every check runs in one
plughost process: --run-batch reads LIST (one check's arguments a line, tab
separated), runs all their commands through `plughost batch` and keeps each
command's exit code and output in FILE; each check then runs with --batch FILE
and judges the kept results instead of starting plughost itself.

A 32-bit check exits 77 (skipped), printing the reason, when the environment
names one in BRISORA_SKIP_X86_32; every Wine check likewise for BRISORA_SKIP_WINE.
"""
import argparse
import json
import math
import os
import re
import shutil
import struct
import subprocess
import sys

EXPECTED = {
    "tonemark": {
        "uniqueID": "0x75464654", "uniqueIDText": "uFFT", "flags": 29,
        "numPrograms": 1, "numParams": 2, "numInputs": 2, "numOutputs": 2,
        "programName": "Normal", "params": [440.0, 1.0],
        "names": ["Ref. A3", "Accuracy"], "labels": ["Hz", ""], "displays": ["440", "Normal"],
        "automatable": [0, 0],
        "editor": (141, 444),
        "clapId": "brisora.tonemark", "clapDefaults": [440.0, 1.0],
        "clapFeatures": "audio-effect analyzer utility stereo",
        # The same settings as CLAP values and as the VST 2 values (README's table).
        "settings": ([(0, "432"), (1, "2")], [(0, "432"), (1, "2")]),
    },
    "widefield": {
        "uniqueID": "0x57644664", "uniqueIDText": "WdFd", "flags": 53,
        "numPrograms": 1, "numParams": 15, "numInputs": 2, "numOutputs": 2,
        "programName": "Normal",
        "params": [0.0, 0.0, 0.0, 0.5, 0.5, 0.5, 0.5, 0.0, 0.5, 0.5, 0.5, 0.0, 0.0, 0.0, 0.5],
        "names": ["L +/-", "R +/-", "MONO", "OutWidth", "In Rot.", "Out Rot.", "Centre", "Bypass", "Delay",
                  "Fader L", "Fader R", "MeterByp", "R<->L", "DCfilter", "Left"],
        "labels": ["", "", "", "%", "deg", "deg", "%", "", "samples", "dB", "dB", "", "", "", "%"],
        "displays": ["Off", "Off", "Off", "100", "0", "0", "0", "Off", "0", "0.00", "0.00", "Off", "Off", "Off", "0"],
        "automatable": [1] * 15,
        "editor": (386, 723),
        # The panel-only settings follow the 15 host parameters, named by their ports.
        "clapId": "brisora.widefield", "clapDefaults": [0.0, 0.0, 0.0, 100.0] + [0.0] * 11 + [100.0, 0.0, 100.0, 0.0,
                                                                                               0.0, 0.0, 1.0],
        "clapNames": ["InWidth", "Bass On", "Bass Freq", "Bass Boost", "Bass Width", "Pseudo St.", "Fluorescence"],
        "clapFeatures": "audio-effect utility stereo",
        # MONO on, OutWidth 150 %, In Rot. 45 deg, Delay -12 samples; the bass
        # stage on at 200 Hz, boost 50 %, width 100 % (VST 2 indices 17 to 20).
        "settings": ([(2, "1"), (3, "150"), (4, "45"), (8, "-12"), (16, "1"), (17, "200"), (18, "50"), (19, "100")],
                     [(2, "1"), (3, "0.75"), (4, "0.75"), (8, "0.45"), (17, "1"), (18, "0.2"), (19, "0.5"),
                      (20, "1")]),
    },
}

# Libraries every Linux program may need; libstdc++ and libgcc_s are linked in.
LINUX_SYSTEM = re.compile(r"^(libc|libm|libdl|libpthread|librt|ld-linux[-\w]*|libX11|libXext|libxcb[-\w]*|libXau|libXdmcp)\.so(\.\d+)*$")
# DLLs that ship with Windows (and Wine).
WINDOWS_SYSTEM = re.compile(r"^(kernel32|user32|gdi32|advapi32|msvcrt|shell32|ole32|oleaut32|comctl32|comdlg32|winmm|"
                            r"msimg32|imm32|uxtheme|version|shlwapi|ntdll|ucrtbase|api-ms-win-[-\w]+)\.dll$", re.I)

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def run(command, env=None, timeout=120):
    def text(data):
        return (data or b"").decode("utf-8", "replace").replace("\r\n", "\n")
    try:
        result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env, timeout=timeout)
    except subprocess.TimeoutExpired as expired:
        return -1, text(expired.stdout), text(expired.stderr) + "\n(stopped after %d s)" % timeout
    return result.returncode, text(result.stdout), text(result.stderr)


batch_results = None  # command (tab-joined) -> (code, out, err), from --batch


def command_key(extra):
    return "\t".join(extra)


# Debian's `wine` starts every program through the 32-bit loader, which on a
# machine that emulates 32-bit code costs a minute even for a 64-bit program;
# the 64-bit loader starts those at once.
WINE64 = "/usr/lib/wine/wine64"


def wine_loader(bits):
    return [WINE64] if bits == 64 and os.path.exists(WINE64) else ["wine"]


def plughost(args, extra, display=False, timeout=120, screen=None):
    if batch_results is not None:
        if command_key(extra) not in batch_results:
            return 1, "", "the batch ran no case for: plughost %s" % " ".join(extra)
        return tuple(batch_results[command_key(extra)])
    command = [args.plughost] + extra
    if args.wine:
        command = wine_loader(args.bits) + command
    env = dict(os.environ)
    if args.wine:
        env.setdefault("WINEDEBUG", "-all")
        env.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=")
    if display and screen and not args.wine:
        # A window larger than the run's screen: a private screen of that size
        # (the part of a window off the screen cannot be read back).
        command = ["xvfb-run", "-a", "-s", "-screen 0 %s" % screen] + command
    elif display and not os.environ.get("DISPLAY"):
        # No screen given: a private one (./run test gives the whole run one,
        # so that Wine's server and every Wine program see the same display).
        command = ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24"] + command
    return run(command, env, timeout)


# The plughost command lines of each check, in the order it runs them; the
# checks below and the batch take them from here.
def is_clap(path):
    return path.lower().endswith(".clap")


def record_commands(args):
    return [["info", "--json", args.plugin]]


def refused_commands(args):
    return [["info", "--host-version", "0", args.plugin],
            ["info", "--log-host-calls", "--host-version", "2", args.plugin]]


AUDIO_MODES = (("processReplacing", []), ("process", ["--accumulate"]))


def audio_output(args, mode):
    return os.path.join(args.work, "out-%s.raw" % mode)


def audio_input(args):
    return os.path.join(args.work, "in.raw")


def wav_input(args):
    return os.path.join(args.work, "in-16bit.wav")


def wav_output(args, reference=False):
    return os.path.join(args.work, "out-reference.wav" if reference else "out.wav")


# The 16-bit WAV input: a tenth of a second of the same pair, as whole numbers
# over 32768, full scale included on the left.
WAV_FRAMES = 4410


def wav_input_pairs():
    pairs = []
    for n in range(WAV_FRAMES):
        t = 2.0 * math.pi * 440.0 * n / 44100.0
        pairs.append((-32768 if n == 1000 else round(16384 * math.sin(t)), round(8192 * math.sin(2.0 * t))))
    return pairs


def write_audio_input(args):
    """Half a second of a 440 Hz sine at 0.5 and its octave at 0.25 on the right,
    computed here: each build's own sine generator rounds differently, so
    bit-for-bit comparisons between builds need one input file. Beside it the
    16-bit WAV, its header written field by field."""
    frames = []
    for n in range(22050):
        t = 2.0 * math.pi * 440.0 * n / 44100.0
        frames.append(struct.pack("<ff", 0.5 * math.sin(t), 0.25 * math.sin(2.0 * t)))
    with open(audio_input(args), "wb") as f:
        f.write(b"".join(frames))
    data = b"".join(struct.pack("<hh", left, right) for left, right in wav_input_pairs())
    fmt = struct.pack("<HHIIHH", 1, 2, 44100, 44100 * 4, 4, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    with open(wav_input(args), "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def wav_chunks(path):
    """{chunk id: bytes} of a RIFF/WAVE file, or {} when it is none."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return {}
    chunks, at = {}, 12
    while at + 8 <= len(data):
        size = struct.unpack("<I", data[at + 4:at + 8])[0]
        chunks.setdefault(data[at:at + 4].decode("latin-1"), data[at + 8:at + 8 + size])
        at += 8 + size + (size & 1)
    return chunks


# Widefield's settings for the chunk checks: every one a chunk keeps (the 15
# host parameters, the panel-only 15 and 17 to 21, fluorescence 40), at ends
# and between, in values a float holds exactly or as the host gives them.
WIDEFIELD_CHUNK = {0: 1.0, 1: 0.0, 2: 0.0, 3: 0.85, 4: 0.3, 5: 0.65, 6: 0.25, 7: 0.0, 8: 0.5, 9: 0.4, 10: 0.6,
                   11: 1.0, 12: 1.0, 13: 1.0, 14: 0.75, 15: 0.625, 17: 1.0, 18: 0.35, 19: 0.8, 20: 0.15, 21: 1.0,
                   40: 0.0}


def chunk_file(args, which):
    return os.path.join(args.work, which + ".chunk")


def chunk_params():
    return [word for index, value in sorted(WIDEFIELD_CHUNK.items()) for word in ("--param", "%d=%r" % (index, value))]


def chunk_commands(args, plugin):
    """The settings given as --param with the chunk taken; a fresh instance
    given a chunk (the native build's under Wine, else the first command's) as
    its program and taken back."""
    given = "native" if args.compare_plughost else "params"
    return [["process", "--raw", "--block", "441"] + chunk_params() +
            ["--chunk-out", chunk_file(args, "params"), plugin, audio_input(args), audio_output(args, "chunk-params")],
            ["process", "--raw", "--block", "441", "--program-chunk", "--chunk-in", chunk_file(args, given),
             "--chunk-out", chunk_file(args, "restored"), plugin, audio_input(args),
             audio_output(args, "chunk-restored")]]


def native_chunk(args):
    """The native build's chunk and audio with the same settings (before the Wine run)."""
    command = ["process", "--raw", "--block", "441"] + chunk_params() + [
        "--chunk-out", chunk_file(args, "native"), args.compare_plugin, audio_input(args),
        audio_output(args, "reference-chunk-params")]
    code, out, err = run([args.compare_plughost] + command)
    check(code == 0, "the native build writes its chunk (stderr: %s)" % err.strip())


CLAP_MODES = ("processReplacing", "settings")


def clap_audio_commands(args, plugin=None):
    """The defaults and the settings (CLAP values on the .clap file, VST 2
    values on the .so it is compared with); for the .clap file then Widefield's
    state: the VST 2 build's chunk loaded and saved again."""
    target = plugin or args.plugin
    commands = [["process", "--json", "--raw", "--block", "441"] + (settings_options(args, target) if mode == "settings"
                                                                    else []) +
                [target, audio_input(args), audio_output(args, mode if plugin is None else "reference-" + mode)]
                for mode in CLAP_MODES]
    if plugin is None and args.expect == "widefield":
        commands.append(["process", "--raw", "--block", "441", "--chunk-in", chunk_file(args, "native"),
                         "--chunk-out", chunk_file(args, "restored"), args.plugin, audio_input(args),
                         audio_output(args, "chunk-restored")])
    return commands


def check_clap_audio(args):
    commands = clap_audio_commands(args)
    for mode, command in zip(CLAP_MODES, commands):
        code, out, err = plughost(args, command)
        check(code == 0, "%s runs a sine pair (stderr: %s)" % (mode, err.strip()))
        if code != 0:
            continue
        report = json.loads(out)
        check(report["call"] == "clap.process" and report["frames"] == 22050 and not report["processError"],
              "%s ran 22050 frames through process" % mode)
        check(report["out"]["finite"], "%s output is finite" % mode)
        if args.expect == "tonemark":
            check(report["outputEqualsInput"], "%s passes the input through unchanged" % mode)
    if not args.compare_plughost:
        return
    for mode, command in zip(CLAP_MODES, clap_audio_commands(args, plugin=args.compare_plugin)):
        code, out, err = run([args.compare_plughost] + command)
        check(code == 0, "the VST 2 build runs %s (stderr: %s)" % (mode, err.strip()))
        ours = read_bytes(audio_output(args, mode))
        check(ours is not None and ours == read_bytes(audio_output(args, "reference-" + mode)),
              "%s output equals %s's bit for bit" % (mode, args.compare_plugin))
    if args.expect == "widefield":
        code, out, err = plughost(args, commands[2])
        check(code == 0, "the VST 2 build's chunk loads as the CLAP state (stderr: %s)" % err.strip())
        check(read_bytes(chunk_file(args, "restored")) == read_bytes(chunk_file(args, "native")),
              "the CLAP state saved again is the VST 2 chunk byte for byte")
        check(read_bytes(audio_output(args, "chunk-restored")) == read_bytes(audio_output(args, "reference-chunk-params")),
              "restored from the chunk it sounds as the VST 2 build with the settings, bit for bit")


def settings_options(args, plugin):
    clap_values, vst_values = EXPECTED[args.expect]["settings"]
    options = []
    for index, value in (clap_values if is_clap(plugin) else vst_values):
        options += ["--param", "%d=%s" % (index, value)]
    return options


def audio_commands(args, plugin=None):
    if is_clap(args.plugin):
        return clap_audio_commands(args, plugin)
    """Both process modes on the raw pair, the 16-bit WAV to a float WAV; then
    (for the build under test) a raw file given as WAV, Widefield's chunk
    commands, and bench."""
    commands = [["process", "--json", "--raw", "--block", "441"] + extra +
                [plugin or args.plugin, audio_input(args),
                 audio_output(args, mode if plugin is None else "reference-" + mode)]
                for mode, extra in AUDIO_MODES]
    commands.append(["process", "--json", "--block", "441", plugin or args.plugin, wav_input(args),
                     wav_output(args, reference=plugin is not None)])
    if plugin is None:
        commands.append(["process", "--json", args.plugin, audio_input(args), os.path.join(args.work, "raw.wav")])
        if args.expect == "widefield":
            commands += chunk_commands(args, args.plugin)
        commands.append(["bench", "--json", "--block", "256", "--blocks", "200", args.plugin])
    return commands


def read_record(args):
    """plughost info's answer, or None (a failure) when it did not exit 0."""
    code, out, err = plughost(args, record_commands(args)[0])
    check(code == 0, "info exits 0 (stderr: %s)" % err.strip())
    return json.loads(out) if code == 0 else None


def check_clap_record(args):
    expected = EXPECTED[args.expect]
    info = read_record(args)
    if info is None:
        return
    check(info["host"]["bits"] == args.bits, "plughost is a %d-bit program" % args.bits)
    check(info["clapVersion"].startswith("1."), "the descriptor is CLAP 1.x (got %s)" % info["clapVersion"])
    for key, value in (("id", expected["clapId"]), ("name", args.expect.capitalize()), ("vendor", "Brisora"),
                       ("features", expected["clapFeatures"]), ("latency", 0)):
        check(info.get(key) == value, "%s is %r (got %r)" % (key, value, info.get(key)))
    for side in ("in", "out"):
        ports = info["audioPorts"][side]
        port = ports.get("port", [{}])[0]
        check(ports["count"] == 1 and port.get("channels") == 2 and port.get("main") and port.get("type") == "stereo",
              "one main stereo %sput port (got %r)" % (side, ports))
    params = info.get("param", [])
    names = [p["name"] for p in params]
    wanted = expected["names"] + expected.get("clapNames", [])
    check(names == wanted, "parameter names are the VST 2 build's, then the ports' %r (got %r)" % (wanted, names))
    defaults = [p["default"] for p in params]
    check(defaults == expected["clapDefaults"], "defaults %r (got %r)" % (expected["clapDefaults"], defaults))
    check([p["id"] for p in params] == list(range(len(params))), "parameter ids are the ports' positions")
    check(all(p["value"] == p["default"] for p in params), "a fresh instance holds the defaults")
    check(all(p["textReadsBack"] for p in params), "every default's text reads back as its value")
    check(info["state"]["saved"] and info["state"]["size"] > 0, "the state saves (%r)" % info.get("state"))
    check(not info["offers"]["clap"]["note-ports"] and not info["offers"]["clap"]["render"],
          "note-ports and render are not offered")
    gui = info.get("gui", {})
    bottom, right = expected["editor"]
    check(gui.get("api") == ("win32" if args.wine else "x11") and gui.get("floating") is False,
          "the gui embeds in a %s window (got %r)" % ("win32" if args.wine else "x11", gui))
    check((gui.get("width"), gui.get("height")) == (right, bottom) and gui.get("canResize") is False,
          "the gui is %d x %d and not resizable (got %r)" % (right, bottom, gui))


def read_bytes(path):
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


def chunk_values(data):
    """{index: value} of a chunk by the layout the README gives, or None when
    the bytes are not one whole Widefield chunk of version 1."""
    if data is None or len(data) < 20 or data[0:12] != b"BrStWdFd" + struct.pack("<I", 1):
        return None
    count = struct.unpack("<I", data[12:16])[0]
    if len(data) < 20 + 8 * count:
        return None
    pairs = struct.unpack("<" + "if" * count, data[16:16 + 8 * count])
    if len(data) != 20 + 8 * count + struct.unpack("<I", data[16 + 8 * count:20 + 8 * count])[0]:
        return None
    return dict(zip(pairs[0::2], pairs[1::2]))


def check_chunks(args):
    params, restored = chunk_commands(args, args.plugin)
    for command, what in ((params, "with the settings writes its chunk"), (restored, "takes a chunk")):
        code, out, err = plughost(args, command)
        check(code == 0, "process %s (stderr: %s)" % (what, err.strip()))
    own = read_bytes(chunk_file(args, "params"))
    expected = {index: struct.unpack("<f", struct.pack("<f", value))[0] for index, value in WIDEFIELD_CHUNK.items()}
    check(chunk_values(own) == expected,
          "the chunk holds every setting as set, bit for bit (got %s)" % chunk_values(own))
    given = chunk_file(args, "native" if args.compare_plughost else "params")
    check(own is not None and read_bytes(chunk_file(args, "restored")) == read_bytes(given),
          "a fresh instance given %s chunk as its program reads every setting back" %
          ("the native build's" if args.compare_plughost else "its own"))
    ours = read_bytes(audio_output(args, "chunk-params"))
    check(ours is not None and read_bytes(audio_output(args, "chunk-restored")) == ours,
          "restored from the chunk it sounds as with the settings, bit for bit")
    if not args.compare_plughost:
        return
    check(own == read_bytes(chunk_file(args, "native")), "the chunk is the native build's byte for byte")
    check(ours == read_bytes(audio_output(args, "reference-chunk-params")),
          "with the settings it sounds as the native build, bit for bit")
    # This build's chunk into the native .so.
    code, out, err = run([args.compare_plughost, "process", "--raw", "--block", "441", "--chunk-in",
                          chunk_file(args, "params"), "--chunk-out", chunk_file(args, "native-restored"),
                          args.compare_plugin, audio_input(args), audio_output(args, "reference-chunk-restored")])
    check(code == 0, "the native build takes this build's chunk (stderr: %s)" % err.strip())
    check(read_bytes(chunk_file(args, "native-restored")) == own,
          "the native build restored from this build's chunk reads every setting back")
    check(ours is not None and read_bytes(audio_output(args, "reference-chunk-restored")) == ours,
          "the native build restored from this build's chunk sounds as this build with the settings, bit for bit")


def check_record(args):
    if is_clap(args.plugin):
        return check_clap_record(args)
    expected = EXPECTED[args.expect]
    info = read_record(args)
    if info is None:
        return
    check(info["identify"] == "0x4E764566", "effIdentify answers 0x4E764566 (got %s)" % info["identify"])
    check(info["magic"] == "0x56737450", "magic is 'VstP' (got %s)" % info["magic"])
    size = 144 if args.bits == 32 else 192
    check(info["record"]["size"] == size, "record is %d bytes on %d-bit" % (size, args.bits))
    check(info["host"]["bits"] == args.bits, "plughost is a %d-bit program" % args.bits)
    for key in ("numPrograms", "numParams", "numInputs", "numOutputs", "flags", "uniqueID", "uniqueIDText",
                "programName"):
        check(info[key] == expected[key], "%s is %r (got %r)" % (key, expected[key], info[key]))
    for key, value in (("version", 1), ("initialDelay", 0), ("realQualities", 0), ("offQualities", 0),
                       ("ioRatio", 1), ("program", 0), ("vu", 0)):
        check(info[key] == value, "%s is %r (got %r)" % (key, value, info[key]))
    check(info["objectSet"] and info["entriesSet"], "object and the five entries are set")
    params = info.get("param", [])
    values = [p["value"] for p in params]
    check(values == expected["params"], "default parameter values %r (got %r)" % (expected["params"], values))
    for p in params:
        texts = (p["name"], p["label"], p["display"])
        check(all(len(t) <= 8 for t in texts), "parameter %d texts fit 8 characters" % p["index"])
    for key, field in (("names", "name"), ("labels", "label"), ("displays", "display"), ("automatable", "automatable")):
        got = [p.get(field) for p in params]
        check(got == expected[key], "parameter %s %r (got %r)" % (key, expected[key], got))
    editor = info["editor"]
    check(editor.get("getRect") == 1, "effEditGetRect answers 1")
    bottom, right = expected["editor"]
    check((editor.get("top"), editor.get("left"), editor.get("bottom"), editor.get("right")) == (0, 0, bottom, right),
          "editor rectangle is 0,0,%d,%d (got %s)" % (bottom, right, editor))
    check(info["close"] == 1, "effClose answers 1")
    check(info["hostCalls"] >= 1, "main asked the host's version")


def check_refused(args):
    refused, accepted = refused_commands(args)
    code, out, err = plughost(args, refused)
    check(code == 4, "a host answering 0 to the version query gets no instance (exit %d)" % code)
    check("refused" in err, "the refusal is reported (stderr: %s)" % err.strip())
    check(out.strip() == "", "nothing is printed as info for a refused instance")
    code, out, err = plughost(args, accepted)
    check(code == 0, "a host answering 2 gets an instance")
    check("audioMasterVersion (1) effect=null" in err, "main asks the version with a null effect")


def exported_name(args):
    return "clap_entry" if is_clap(args.plugin) else "main"


def linux_exports(args):
    code, out, err = run(["nm", "-D", "--defined-only", args.plugin])
    check(code == 0, "nm reads the library")
    names = sorted({line.split()[-1] for line in out.splitlines() if line.strip() and line.split()[-2:-1] != ["A"]})
    check(names == [exported_name(args)], "only %s is exported (got %s)" % (exported_name(args), names))
    code, out, err = run(["readelf", "-d", args.plugin])
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[([^\]]+)\]", out)
    check(needed != [], "readelf lists the needed libraries")
    foreign = [n for n in needed if not LINUX_SYSTEM.match(n)]
    check(foreign == [], "only system libraries are needed (got %s)" % needed)


def windows_exports(args):
    code, out, err = run([args.objdump, "-p", args.plugin])
    check(code == 0, "objdump reads the DLL (%s)" % err.strip())
    table = re.search(r"\[Ordinal/Name Pointer\] Table\n((?:\s+\[\s*\d+\].*\n)+)", out)
    names = sorted(re.findall(r"\]\s+(\S+)", table.group(1))) if table else []
    check(names == [exported_name(args)], "only %s is exported (got %s)" % (exported_name(args), names))
    imports = sorted(set(re.findall(r"DLL Name: (\S+)", out)))
    check(imports != [], "objdump lists the imported DLLs")
    foreign = [n for n in imports if not WINDOWS_SYSTEM.match(n)]
    check(foreign == [], "only system DLLs are imported (got %s)" % imports)


def check_audio(args):
    if is_clap(args.plugin):
        if batch_results is None:
            write_audio_input(args)
            if args.expect == "widefield" and args.compare_plughost:
                native_chunk(args)
        return check_clap_audio(args)
    if batch_results is None:
        write_audio_input(args)
        if args.expect == "widefield" and args.compare_plughost:
            native_chunk(args)
    commands = audio_commands(args)
    for (mode, _), command in zip(AUDIO_MODES, commands):
        out_path = audio_output(args, mode)
        code, out, err = plughost(args, command)
        check(code == 0, "%s runs a sine pair (stderr: %s)" % (mode, err.strip()))
        if code != 0:
            continue
        report = json.loads(out)
        check(report["call"] == mode and report["frames"] == 22050, "%s ran 22050 frames" % mode)
        check(report["out"]["finite"], "%s output is finite" % mode)
        check(os.path.exists(out_path) and os.path.getsize(out_path) == 22050 * 2 * 4,
              "%s wrote 22050 stereo float frames" % mode)
        if args.expect == "tonemark":
            check(report["outputEqualsInput"], "%s passes the input through unchanged" % mode)
    check_wav(args, commands[2], commands[3])
    code, out, err = plughost(args, commands[-1])
    check(code == 0, "bench runs")
    if code == 0:
        check(json.loads(out)["nsPerFrame"] > 0, "bench reports a time per frame")
    if args.expect == "widefield":
        check_chunks(args)
    if args.compare_plughost:
        compare_with_native(args)


def check_wav(args, command, refused_command):
    """The 16-bit samples arrive as value / 32768 (peaks from the whole numbers
    written), the output is a stereo float WAV of every frame; a headerless
    file given as WAV is refused, not read as samples."""
    code, out, err = plughost(args, command)
    check(code == 0, "process reads a 16-bit WAV (stderr: %s)" % err.strip())
    if code == 0:
        report = json.loads(out)
        pairs = wav_input_pairs()
        check(report["format"] == "WAV PCM 16-bit in, WAV float32 out", "the format line names both (got %r)"
              % report["format"])
        check(report["frames"] == WAV_FRAMES and report["rate"] == 44100, "%d frames at 44100 Hz" % WAV_FRAMES)
        for channel in (0, 1):
            peak = max(abs(pair[channel]) for pair in pairs) / 32768.0
            got = report["in"]["channel"][channel]["peak"]
            check(abs(got - peak) < 1e-9, "input channel %d peaks at %.9g (got %r)" % (channel, peak, got))
        check(report["in"]["finite"] and report["out"]["finite"], "input and output are finite")
        chunks = wav_chunks(wav_output(args)) if os.path.exists(wav_output(args)) else {}
        fmt = struct.unpack("<HHI", chunks["fmt "][:8]) if "fmt " in chunks else None
        check(fmt == (3, 2, 44100), "the output is a stereo float WAV at 44100 Hz (fmt %r)" % (fmt,))
        check(len(chunks.get("data", b"")) == WAV_FRAMES * 8, "its data hold %d frames" % WAV_FRAMES)
        if args.expect == "tonemark":
            expected = b"".join(struct.pack("<ff", left / 32768.0, right / 32768.0) for left, right in pairs)
            check(chunks.get("data") == expected, "Tonemark's output is the 16-bit input over 32768")
    code, out, err = plughost(args, refused_command)
    check(code == 1 and "not a RIFF/WAVE file" in err and out.strip() == "",
          "a raw file given as WAV is refused with the reason (exit %d, stderr: %s)" % (code, err.strip()))


def compare_with_native(args):
    """Every build computes the same numbers: the output equals the native
    64-bit build's, bit for bit (and writes the same WAV file)."""
    modes = [mode for mode, _ in AUDIO_MODES] + ["wav"]
    for mode, command in zip(modes, audio_commands(args, plugin=args.compare_plugin)):
        code, out, err = run([args.compare_plughost] + command)
        check(code == 0, "the native build runs %s (stderr: %s)" % (mode, err.strip()))
        ours, theirs = audio_output(args, mode), audio_output(args, "reference-" + mode)
        if mode == "wav":
            ours, theirs = wav_output(args), wav_output(args, reference=True)
        if code == 0 and os.path.exists(ours):
            with open(ours, "rb") as a, open(theirs, "rb") as b:
                check(a.read() == b.read(), "%s output equals %s's bit for bit" % (mode, args.compare_plugin))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    if head[:8] != b"\x89PNG\r\n\x1a\n":
        return None
    return struct.unpack(">II", head[16:24])


def png_rows(path):
    """The decompressed image data of a PNG (both sides come from one encoder)."""
    import zlib
    with open(path, "rb") as f:
        data = f.read()
    position, chunks = 8, []
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        if kind == b"IDAT":
            chunks.append(data[position + 8:position + 8 + length])
        position += 12 + length
    return zlib.decompress(b"".join(chunks))


# Widefield's editor plays a 90 degree pair whose period (64 samples) divides the
# meters' analysis window of two 512-frame blocks, so that every reading settles
# to the same value as in the headless render; 3 s of it, past the display latency.
WIDEFIELD_AUDIO = ["--signal", "quadrature", "--sine", "689.0625,0.7", "--audio-seconds", "3"]


def editor_shot(args, which):
    return os.path.join(args.work, which + ".png")


def editor_commands(args):
    """The first editor run, then the click's and the gestures' where asked."""
    # Long enough for the first half second of tone to fill the analysis window.
    seconds = "1.5" if args.reference else "0.5"
    audio = ["--sine", "440"]
    if args.expect == "widefield" and args.reference:
        audio = WIDEFIELD_AUDIO
    commands = [["editor", "--seconds", seconds] + audio + ["--click", "5,5", "--screenshot",
                                                            editor_shot(args, "editor"), args.plugin]]
    if args.reference_clicked:
        # A real click on the "i" button opens the control strip over the reading.
        audio = WIDEFIELD_AUDIO if args.expect == "widefield" else ["--sine", "440"]
        commands.append(["editor", "--seconds", "1.5"] + audio + ["--click", args.click, "--screenshot",
                                                                  editor_shot(args, "editor-clicked"), args.plugin])
    if args.reference_clicked and args.reference_gestures:
        # Silence plays; Widefield's scope without afterglow, as in the headless render.
        quiet = ["--param", "40=0"] if args.expect == "widefield" else []
        commands.append(["editor", "--seconds", "2.5"] + quiet + args.gestures.split() +
                        ["--screenshot", editor_shot(args, "editor-gestures"), args.plugin])
    if is_clap(args.plugin) and args.expect == "widefield":
        # "Send" (357,30) lit, then OutWidth's thumb dragged: the host hears a gesture.
        commands.append(["editor", "--seconds", "1.5", "--click", "357,30", "--drag", "129,360,160,360", args.plugin])
    return commands


def check_editor(args):
    commands = editor_commands(args)
    shot = editor_shot(args, "editor")
    if batch_results is None:
        for which in ("editor", "editor-clicked", "editor-gestures"):
            if os.path.exists(editor_shot(args, which)):
                os.remove(editor_shot(args, which))
    code, out, err = plughost(args, commands[0], display=True)
    check(code == 0, "editor runs (stderr: %s)" % err.strip())
    if code != 0:
        return
    report = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
    bottom, right = EXPECTED[args.expect]["editor"]
    check(report.get("editor.rect") == "0,0,%d,%d" % (right, bottom), "the window takes the editor's size")
    check(int(report.get("idleCalls", "0")) >= 5, "effEditIdle is sent repeatedly")
    check(int(report.get("audioBlocks", "0")) >= 1, "audio flows while the editor is open")
    if is_clap(args.plugin):
        check(report.get("editor.open") == "true" and report.get("timers") == "1",
              "set_parent embeds the panel, with a host timer for its idle calls")
        if args.expect == "widefield":
            code, out, err = plughost(args, commands[-1], display=True)
            sent = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
            begins, ends, values = (int(sent.get("sent." + k, "0")) for k in ("gestureBegins", "gestureEnds", "values"))
            check(code == 0 and begins >= 1 and begins == ends and values >= 1,
                  "with Send lit a drag reaches the host as gesture begin, values, gesture end (got %d, %d, %d)"
                  % (begins, values, ends))
    else:
        check(report.get("close") == "1", "effClose answers 1 after the editor closed")
    check(os.path.exists(shot) and png_size(shot) == (right, bottom), "the screenshot is a %dx%d PNG" % (right, bottom))
    if args.reference and os.path.exists(shot):
        # The window shows what the headless render of the same audio shows.
        compare_with_render(shot, args.reference, "A 440" if args.expect == "tonemark" else "a 90 degree pair")
    if args.reference_clicked:
        code, out, err = plughost(args, commands[1], display=True)
        check(code == 0, "editor with a click runs (stderr: %s)" % err.strip())
        if code == 0 and args.reference_gestures:
            # Drags, a double click and a Control drag through the real window
            # system do what the same events do on the headless backend.
            gestures_code, _, gestures_err = plughost(args, commands[2], display=True)
            check(gestures_code == 0, "editor with gestures runs (stderr: %s)" % gestures_err.strip())
            if gestures_code == 0:
                compare_with_render(editor_shot(args, "editor-gestures"), args.reference_gestures,
                                    "the panel after real drags and double clicks")
        if code == 0:
            compare_with_render(editor_shot(args, "editor-clicked"), args.reference_clicked,
                                "A 440 with the strip opened by a click" if args.expect == "tonemark"
                                else "the options opened by a click on i over the live scope")


def zoom_commands(args):
    """The editor at the zoom, playing what the first editor run plays."""
    audio = WIDEFIELD_AUDIO if args.expect == "widefield" else ["--sine", "440"]
    return [["editor", "--zoom", str(args.zoom_level), "--seconds", "1.5"] + audio +
            ["--screenshot", editor_shot(args, "editor-zoom"), args.plugin]]


def check_zoom(args):
    shot = editor_shot(args, "editor-zoom")
    if batch_results is None and os.path.exists(shot):
        os.remove(shot)
    # Widefield at 200 % is 1446 pixels wide: wider than the run's screen.
    code, out, err = plughost(args, zoom_commands(args)[0], display=True, screen="1600x1200x24")
    zoom = args.zoom_level
    check(code == 0, "editor at %d %% runs (stderr: %s)" % (zoom, err.strip()))
    if code != 0:
        return
    report = dict(line.split(": ", 1) for line in out.splitlines() if ": " in line)
    bottom, right = (side * zoom // 100 for side in EXPECTED[args.expect]["editor"])
    check(report.get("editor.rect") == "0,0,%d,%d" % (right, bottom),
          "the window takes the zoomed editor's size %dx%d (got %s)" % (right, bottom, report.get("editor.rect")))
    check(os.path.exists(shot) and png_size(shot) == (right, bottom), "the screenshot is a %dx%d PNG" % (right, bottom))
    if args.reference and os.path.exists(shot):
        compare_with_render(shot, args.reference, "the panel at %d %%" % zoom)


def compare_with_render(shot, reference, what):
    check(os.path.exists(reference), "the headless render %s exists" % reference)
    if os.path.exists(reference):
        check(png_rows(shot) == png_rows(reference),
              "the window's pixels equal the headless render of %s (%s)" % (what, reference))


COMMANDS = {"record": record_commands, "refused": refused_commands, "exports": lambda args: [],
            "audio": audio_commands, "editor": editor_commands, "zoom": zoom_commands}


def parse_check(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--check", required=True, choices=sorted(COMMANDS))
    parser.add_argument("--plughost", required=True)
    parser.add_argument("--plugin", required=True)
    parser.add_argument("--expect", required=True, choices=sorted(EXPECTED))
    parser.add_argument("--bits", type=int, required=True, choices=[32, 64])
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--objdump")
    parser.add_argument("--work", default=".")
    parser.add_argument("--batch", help="judge the results kept by --run-batch instead of starting plughost")
    parser.add_argument("--compare-plughost", help="audio: the native plughost whose output must be equal")
    parser.add_argument("--compare-plugin", help="audio: the native plug-in for --compare-plughost")
    parser.add_argument("--reference", help="editor: a PNG the screenshot must equal")
    parser.add_argument("--reference-clicked", help="editor: a PNG the screenshot after --click must equal")
    parser.add_argument("--reference-gestures", help="editor: a PNG the screenshot after --gestures must equal")
    parser.add_argument("--gestures", default="", help="editor: plughost gesture options, e.g. --drag=X1,Y1,X2,Y2")
    parser.add_argument("--zoom-level", type=int, default=200, help="zoom: the panel's zoom in percent")
    parser.add_argument("--click", default="420,112", help="editor: the point clicked for --reference-clicked")
    return parser.parse_args(argv)


def skip_reason(args):
    if getattr(args, "check", None) == "exports":
        return None  # objdump reads the file: nothing of it runs
    if args.wine and os.environ.get("BRISORA_SKIP_WINE"):
        return os.environ["BRISORA_SKIP_WINE"]
    if args.bits == 32 and os.environ.get("BRISORA_SKIP_X86_32"):
        return os.environ["BRISORA_SKIP_X86_32"]
    return None


def split_batch_output(text, with_exit):
    """{case name: (exit code, text)} from the framed output of plughost batch."""
    cases, name, lines = {}, None, []
    for line in text.split("\n"):
        if line.startswith("@@case "):
            name, lines = line[7:], []
            cases[name] = (None, "")
        elif line.startswith("@@exit ") and with_exit:
            finished, code = line[7:].rsplit(" ", 1)
            if lines and lines[-1] == "":
                lines.pop()  # the line break the frame adds
            cases[finished] = (int(code), "\n".join(lines) + "\n" if lines else "")
            name = None
        elif name is not None:
            lines.append(line)
            if not with_exit:
                cases[name] = (None, "\n".join(lines))
    return cases


def run_batch(cache, invocations):
    """Every command of every check in LIST through one plughost process."""
    with open(invocations) as f:
        checks = [parse_check(line.rstrip("\n").split("\t")) for line in f if line.strip()]
    if not checks:
        print("FAIL  no checks in %s" % invocations)
        return 1
    first = checks[0]
    reason = skip_reason(first)
    if reason:
        print("skipped: %s" % reason)
        return 77
    cases, names = [], {}
    for args in checks:
        os.makedirs(args.work, exist_ok=True)
        for command in COMMANDS[args.check](args):
            for path in command:
                if path.startswith(args.work) and path.endswith((".png", ".raw", ".wav", ".chunk")) and \
                        os.path.exists(path):
                    os.remove(path)  # no result of an earlier run may pass for this one's
            name = "%s.%s.%d" % (args.expect, args.check, len(cases))
            names[command_key(command)] = name
            cases.append((name, command))
        if args.check == "audio":
            write_audio_input(args)
            if args.expect == "widefield" and args.compare_plughost:
                native_chunk(args)
    case_file = cache + ".cases"
    with open(case_file, "w") as f:
        for name, command in cases:
            f.write("case %s\n%s\n" % (name, "\n".join(command)))
    print("%d plughost commands of %d checks in one %s process" % (len(cases), len(checks),
                                                                   "Wine" if first.wine else "plughost"))
    code, out, err = plughost(first, ["batch", case_file], display=True, timeout=1500)
    outputs, errors = split_batch_output(out, True), split_batch_output(err, False)
    results = {}
    for key, name in names.items():
        exit_code, text = outputs.get(name, (None, ""))
        if exit_code is None:
            exit_code, text = 1, text  # the process ended inside this case
        results[key] = (exit_code, text, errors.get(name, (None, ""))[1])
        print("%-6s %s: exit %d" % ("ran" if name in outputs and outputs[name][0] is not None else "LOST", name,
                                    exit_code))
    with open(cache, "w") as f:
        json.dump(results, f)
    check(code == 0, "plughost batch exits 0 (stderr: %s)" % err.strip()[-2000:])
    check(all(outputs.get(name, (None,))[0] is not None for name in names.values()), "every case ran to its end")
    return 1 if failures else 0


def main():
    global batch_results
    if len(sys.argv) > 1 and sys.argv[1] == "--run-batch":
        if len(sys.argv) != 5 or sys.argv[3] != "--invocations":
            print("usage: check_plugin.py --run-batch FILE --invocations LIST")
            return 2
        return run_batch(sys.argv[2], sys.argv[4])
    args = parse_check(sys.argv[1:])
    reason = skip_reason(args)
    if reason:
        print("skipped: %s" % reason)
        return 77
    for path in (args.plughost, args.plugin):
        if not os.path.exists(path):
            print("FAIL  %s does not exist" % path)
            return 1
    os.makedirs(args.work, exist_ok=True)
    if args.batch:
        if not os.path.exists(args.batch):
            print("FAIL  the batch's results %s do not exist (did the batch run?)" % args.batch)
            return 1
        with open(args.batch) as f:
            batch_results = json.load(f)
    elif args.wine and shutil.which("wine") is None:
        print("FAIL  wine is not installed")
        return 1
    if args.check == "exports":
        windows_exports(args) if args.objdump else linux_exports(args)
    else:
        {"record": check_record, "refused": check_refused, "audio": check_audio, "editor": check_editor,
         "zoom": check_zoom}[args.check](args)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
