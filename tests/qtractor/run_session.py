#!/usr/bin/env python3
"""run_session.py — Qtractor as a real host of our plug-ins, with no person at
the screen: a session with the plug-ins on one audio track is opened, runs with
the transport rolling, shows each plug-in's panel (pictures taken), is saved
and closed; the saved session and Qtractor's message log are then checked.

Usage: run_session.py [--work DIR] [--seconds S] PLUGIN...
  PLUGIN  TYPE:PATH[,INDEX=VALUE...][,state=FILE]: VST2 or CLAP, the plug-in
          file, parameter values the session starts with (VST 2: 0..1 by
          index; CLAP: the parameter's own value by its id) and a state the
          session hands it (a VST 2 chunk, a CLAP state stream), e.g.
          VST2:build/linux/bin/Widefield.so,3=0.8 VST2:build/linux/bin/Tonemark.so

Everything runs privately: an Xvfb screen, a dummy JACK server of its own
name (48000 Hz, 256 frames), a HOME with Qtractor's configuration written
here (message log to a file, no autosave). Where the machine has no ALSA
sequencer (/dev/snd/seq; a kernel without sound support) Qtractor will not
start its audio engine, so alsa_seq_stand_in.c is built and preloaded.

How each step is driven (found by trying, Qtractor 0.9.31):
  open      the session file on the command line: `qtractor FILE.qtr`
  run       JACK transport started with jack_transport (Qtractor follows it)
  panels    no command or setting opens them on load: a double click on the
            plug-in's name in the track list (xdotool) opens each at the
            <editor-pos> the session gives
  pictures  ImageMagick `import -window` on each panel's window
  save      SIGUSR1 saves a named session at once, with no dialog
  quit      SIGTERM closes it
  reopen    the saved session opened, saved and closed again: the state and
            values saved the second time must equal the first
Without the panels no X server is needed at all: with QT_QPA_PLATFORM=offscreen
Qtractor opens, runs and saves (SIGUSR1) the same session just as well.
Prints ok/FAIL lines; exits 0, 1 on a failed check, 77 when a tool is missing.

The session (.qtr, XML) keeps a plug-in as
    <plugin type="VST2|CLAP"><filename/><index/><label/><preset/>
      <direct-access-param/><activated/><configs/><params/><controllers/>
      <editor-pos/><form-pos/></plugin>
inside <track type="audio"><plugins>; Qtractor fills in what is left out
(<activated> left out means 0). <params> holds <param index="N" name="...">
VALUE</param> as read back from the plug-in at save (VST 2: clamped to 0..1).
State goes in <configs>: <config key="chunk"> for a VST 2 program chunk (given
back with effSetChunk, index 0, on load), <config key="state"> for CLAP's
state extension; both are base64 of Qt's qCompress (4-byte big-endian length,
then a zlib stream).
"""
import argparse
import base64
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import time
import xml.etree.ElementTree as ElementTree
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import scan  # noqa: E402  (the scanner's lines: the plug-ins' names and counts)

SESSION = "brisora"
TRACK = "Track 1"
SCREEN = (2600, 1800)  # room for every panel beside the main window, at 200 % too
RATE, PERIOD = 48000, 256
# The plug-in names in the track list, relative to Qtractor's main window (its
# default layout, 1024 x 768): the first name's centre, and the step between names.
TRACK_LIST_FIRST, TRACK_LIST_STEP = (185, 179), 17

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)
    return condition


def wait_for(test, seconds, step=0.2):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        result = test()
        if result:
            return result
        time.sleep(step)
    return test()


class Plugin:
    def __init__(self, argument):
        head, *settings = argument.split(",")
        self.type, path = head.split(":", 1)
        if self.type not in ("VST2", "CLAP"):
            raise ValueError("plug-in type VST2 or CLAP, not %r" % self.type)
        self.path = os.path.abspath(path)
        pairs = dict(s.split("=", 1) for s in settings)
        self.given_state = None  # state=FILE: the bytes the session hands the plug-in
        if "state" in pairs:
            with open(pairs.pop("state"), "rb") as f:
                self.given_state = f.read()
        self.values = {int(k): float(v) for k, v in pairs.items()}
        self.name, self.params, self.gui, self.state = None, None, False, False

    def describe(self, scanner):
        """Name, parameter count and editor flag as the scanner reports them."""
        lines, errors = scan.scan(scanner, "%s:%s" % ("VST" if self.type == "VST2" else "CLAP", self.path))
        if not lines:
            return errors or "the scanner lists nothing"
        fields = scan.parse(lines[0])
        self.name, self.params = fields["name"], int(fields["params"].split(":")[0])
        self.gui = "GUI" in fields["flags"].split(",")
        self.state = "EXT" in fields["flags"].split(",")  # VST 2 program chunks, CLAP state
        return None


# ---- the session file -------------------------------------------------------------

def session_xml(directory, plugins):
    """A session with one audio track on the Master bus holding the plug-ins,
    each activated, its panel to open right of the main window."""
    entries, top = [], 40
    for plugin in plugins:
        params = "".join('      <param index="%d">%r</param>\n' % (i, v) for i, v in sorted(plugin.values.items()))
        configs = ""
        if plugin.given_state is not None:
            configs = '      <config key="%s">%s</config>\n' % (state_key(plugin), encoded_config(plugin.given_state))
        entries.append('''    <plugin type="%s">
     <filename>%s</filename>
     <index>0</index>
     <label>%s</label>
     <activated>1</activated>
     <configs>
%s     </configs>
     <params>
%s     </params>
     <editor-pos>1060,%d</editor-pos>
    </plugin>
''' % (plugin.type, plugin.path, plugin.name, configs, params, top))
        top += 820  # below the largest panel (Widefield at 200 %: 772 high)
    return '''<!DOCTYPE qtractorSession>
<session version="Qtractor 0.9.31" name="%s">
 <properties>
  <directory>%s</directory>
  <sample-rate>%d</sample-rate>
 </properties>
 <tracks>
  <track type="audio" name="%s">
   <properties>
    <input-bus>Master</input-bus>
    <output-bus>Master</output-bus>
   </properties>
   <plugins>
%s   </plugins>
  </track>
 </tracks>
</session>
''' % (SESSION, directory, RATE, TRACK, "".join(entries))


def qtractor_conf(work):
    return "\n".join([
        "[AutoSave]", "Enabled=false", "",
        "[Options]", "Logging\\MessagesLog=true", "Logging\\MessagesLogPath=%s" % os.path.join(work, "messages.log"),
        "Midi\\DriftCorrect=false", "Display\\ConfirmRemove=false", "",
        "[Plugins]", "OpenEditor=true", ""])  # a double click opens the panel, not the generic form


def state_key(plugin):
    return "chunk" if plugin.type == "VST2" else "state"


def encoded_config(data):
    return base64.b64encode(struct.pack(">I", len(data)) + zlib.compress(data)).decode("ascii")


def decoded_config(text):
    """A <config> value: base64 of Qt's qCompress (length, then zlib)."""
    data = base64.b64decode(text)
    length = struct.unpack(">I", data[:4])[0]
    return zlib.decompress(data[4:]) if length else b""


# ---- the programs ------------------------------------------------------------------

class Processes:
    """The programs started here, each ended by its own id."""

    def __init__(self):
        self.started = []

    def start(self, command, log, env=None, stdin=None):
        process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT, stdin=stdin, env=env)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()


def free_display():
    n = 140
    while os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
        n += 1
    return n


def windows(env):
    """{window id: name} of the windows on the screen that are mapped."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True, text=True,
                         env=env).stdout.split()
    names = {}
    for window in out:
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True, env=env).stdout
        names[window] = name.strip()
    return names


def geometry(window, env):
    out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True,
                         env=env).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return tuple(int(values.get(k, 0)) for k in ("X", "Y", "WIDTH", "HEIGHT"))


def transport_frame(env):
    """The JACK transport's frame now, from jack_showtime's first line."""
    try:
        out = subprocess.run(["jack_showtime"], capture_output=True, text=True, env=env, timeout=1).stdout
    except subprocess.TimeoutExpired as stopped:
        out = (stopped.stdout or b"").decode("utf-8", "replace")
    match = re.search(r"frame\s*=\s*(\d+)", out)
    return int(match.group(1)) if match else None


def missing_tools():
    tools = {"qtractor": "qtractor", "jackd": "jackd2", "jack_transport": "jackd2", "jack_lsp": "jackd2",
             "Xvfb": "xvfb", "xdotool": "xdotool", "import": "imagemagick", "cc": "gcc"}
    return sorted({package for tool, package in tools.items() if shutil.which(tool) is None})


# ---- the run -------------------------------------------------------------------------

def prepare(args, plugins):
    """The work folder: configuration, session, the sequencer stand-in."""
    work = os.path.abspath(args.work)
    if os.path.isdir(work):
        shutil.rmtree(work)
    home, session_dir = os.path.join(work, "home"), os.path.join(work, "session")
    for folder in (os.path.join(home, ".config", "rncbc.org"), session_dir, os.path.join(work, "runtime")):
        os.makedirs(folder)
    os.chmod(os.path.join(work, "runtime"), 0o700)
    with open(os.path.join(home, ".config", "rncbc.org", "Qtractor.conf"), "w") as f:
        f.write(qtractor_conf(work))
    session = os.path.join(session_dir, SESSION + ".qtr")
    with open(session, "w") as f:
        f.write(session_xml(session_dir, plugins))
    preload = None
    if not os.path.exists("/dev/snd/seq"):
        preload = os.path.join(work, "alsa_seq_stand_in.so")
        built = subprocess.run(["cc", "-shared", "-fPIC", "-O1", "-o", preload,
                                os.path.join(HERE, "alsa_seq_stand_in.c")], capture_output=True, text=True)
        check(built.returncode == 0, "no ALSA sequencer here: the stand-in is built (%s)" % built.stderr.strip())
    return work, session, preload


def start_servers(work, processes):
    """A screen and a JACK server of this run's own; the environment that reaches them."""
    env = dict(os.environ)
    display = free_display()
    processes.start(["Xvfb", ":%d" % display, "-screen", "0", "%dx%dx24" % SCREEN, "-nolisten", "tcp"],
                    open(os.path.join(work, "xvfb.log"), "w"))
    env.update(DISPLAY=":%d" % display, HOME=os.path.join(work, "home"),
               XDG_CONFIG_HOME=os.path.join(work, "home", ".config"), XDG_RUNTIME_DIR=os.path.join(work, "runtime"),
               JACK_DEFAULT_SERVER="brisora-qtractor-%d" % os.getpid(), JACK_NO_START_SERVER="1")
    env.pop("LD_PRELOAD", None)
    check(wait_for(lambda: os.path.exists("/tmp/.X11-unix/X%d" % display), 10), "Xvfb screen :%d" % display)
    processes.start(["jackd", "--no-realtime", "-n", env["JACK_DEFAULT_SERVER"], "-d", "dummy", "-r", str(RATE),
                     "-p", str(PERIOD)], open(os.path.join(work, "jackd.log"), "w"), env)
    ready = wait_for(lambda: subprocess.run(["jack_lsp"], capture_output=True, env=env).returncode == 0, 15)
    check(ready, "dummy JACK server %s at %d Hz, %d frames" % (env["JACK_DEFAULT_SERVER"], RATE, PERIOD))
    return env


def open_panels(env, plugins, main_window):
    """Double clicks on the plug-ins' names in the track list; their windows."""
    x, y, _, _ = geometry(main_window, env)
    shown = {}
    for number, plugin in enumerate(plugins):
        title = "%s - %s" % (plugin.name, TRACK)
        if not plugin.gui:
            print("note  %s has no panel (no GUI flag)" % plugin.name)
            continue
        point = (x + TRACK_LIST_FIRST[0], y + TRACK_LIST_FIRST[1] + number * TRACK_LIST_STEP)
        subprocess.run(["xdotool", "mousemove", str(point[0]), str(point[1]), "click", "--repeat", "2",
                        "--delay", "80", "1"], env=env)
        window = wait_for(lambda: next((w for w, n in windows(env).items() if n.startswith(title)), None), 10)
        if check(window is not None, "%s's panel opens on a double click at %d,%d" % (plugin.name, *point)):
            shown[plugin.name] = window
    return shown


def take_pictures(env, work, shown):
    time.sleep(1.0)  # a few idle calls: the panels draw what the audio brought
    for name, window in shown.items():
        _, _, width, height = geometry(window, env)
        path = os.path.join(work, "%s-panel.png" % name)
        subprocess.run(["import", "-window", window, path], env=env, capture_output=True)
        colours = subprocess.run(["identify", "-format", "%k", path], capture_output=True, text=True,
                                 env=env).stdout.strip()
        # A covered or undrawn window reads back in one colour (black).
        check(colours.isdigit() and int(colours) > 16,
              "picture of %s's panel (%dx%d, %s colours): %s" % (name, width, height, colours or "no", path))
    subprocess.run(["import", "-window", "root", os.path.join(work, "screen.png")], env=env, capture_output=True)


def save_and_quit(qtractor, session):
    before = os.stat(session).st_mtime_ns
    qtractor.send_signal(signal.SIGUSR1)
    check(wait_for(lambda: os.stat(session).st_mtime_ns != before, 10), "SIGUSR1 saves the session")
    qtractor.send_signal(signal.SIGTERM)
    try:
        code = qtractor.wait(20)
    except subprocess.TimeoutExpired:
        code = None
    check(code == 0, "SIGTERM closes Qtractor (exit %s)" % code)


def check_saved(session, plugins):
    tree = ElementTree.parse(session)
    saved = tree.getroot().findall("./tracks/track/plugins/plugin")
    check(len(saved) == len(plugins), "the saved session holds %d plug-ins (got %d)" % (len(plugins), len(saved)))
    for plugin, element in zip(plugins, saved):
        what = plugin.name
        check(element.get("type") == plugin.type and element.findtext("filename") == plugin.path,
              "%s saved as %s %s" % (what, element.get("type"), element.findtext("filename")))
        check(element.findtext("activated") == "1", "%s is saved activated" % what)
        values = {int(p.get("index")): float(p.text) for p in element.findall("./params/param")}
        # Of a CLAP plug-in Qtractor writes only the automatable parameters
        # (none of Tonemark's); its state keeps them all.
        if plugin.type == "CLAP" and plugin.state:
            check(len(values) <= plugin.params, "%s: at most %d parameter values saved (got %d)" % (
                what, plugin.params, len(values)))
        else:
            check(len(values) == plugin.params, "%s: %d parameter values saved (got %d)" % (what, plugin.params,
                                                                                           len(values)))
        for index, value in sorted(plugin.values.items()):
            got = values.get(index)
            check(got is not None and abs(got - value) < 1e-6,
                  "%s: parameter %d keeps %r across load and save (got %r)" % (what, index, value, got))
        configs = {c.get("key"): decoded_config(c.text.strip()) for c in element.findall("./configs/config")}
        if plugin.state:
            key = state_key(plugin)
            check(len(configs.get(key, b"")) > 0, "%s: its state saved as <config key=%r> (%d bytes)" % (
                what, key, len(configs.get(key, b""))))
        if plugin.given_state is not None:
            check(configs.get(state_key(plugin)) == plugin.given_state,
                  "%s: the state the session gave it is saved back unchanged" % what)


def saved_state(session):
    """Per plug-in: its configs (decoded) and parameter values, as saved."""
    state = []
    for element in ElementTree.parse(session).getroot().findall("./tracks/track/plugins/plugin"):
        configs = {c.get("key"): decoded_config(c.text.strip()) for c in element.findall("./configs/config")}
        values = {p.get("index"): p.text for p in element.findall("./params/param")}
        state.append((element.findtext("label"), configs, values))
    return state


def check_log(work):
    path = os.path.join(work, "messages.log")
    lines = open(path, errors="replace").read().splitlines() if os.path.exists(path) else []
    check(any("Session started" in line for line in lines), "Qtractor's log says the session started")
    xruns = [line for line in lines if "XRUN" in line]
    if xruns:
        print("note  %d XRUN line(s) in the log (the dummy backend on a busy machine)" % len(xruns))
    bad = [line for line in lines if re.search(r"error|fail|could not|cannot|invalid", line, re.I) and
           "XRUN" not in line]
    check(not bad, "no error in Qtractor's log %s%s" % (path, "".join("\n        " + line for line in bad)))


def start_qtractor(env, preload, session, processes, log):
    """Qtractor on the session; its main window once it shows the session."""
    qt_env = dict(env, **({"LD_PRELOAD": preload} if preload else {}))
    qtractor = processes.start(["qtractor", session], open(log, "w"), qt_env)
    main_window = wait_for(lambda: next((w for w, n in windows(env).items()
                                         if n.startswith(session) and n.endswith("Qtractor")), None), 30)
    check(main_window is not None, "Qtractor opens %s" % session)
    return qtractor, main_window


def play(env, processes, seconds):
    """The JACK transport rolling for a while, Qtractor following it."""
    transport = processes.start(["jack_transport"], subprocess.DEVNULL, env, stdin=subprocess.PIPE)
    transport.stdin.write(b"play\n")
    transport.stdin.flush()
    start = transport_frame(env)
    time.sleep(seconds)
    end = transport_frame(env)
    check(start is not None and end is not None and end - start >= RATE * seconds // 2,
          "the transport rolled for %g s (frames %s to %s)" % (seconds, start, end))
    transport.stdin.write(b"stop\nquit\n")
    transport.stdin.close()


def run(args, plugins):
    scanner = scan.find_scanner()
    for plugin in plugins:
        problem = plugin.describe(scanner)
        if not check(problem is None, "the scanner lists %s (%s)" % (plugin.path, problem or plugin.name)):
            return
    work, session, preload = prepare(args, plugins)
    processes = Processes()
    try:
        env = start_servers(work, processes)
        if failures:
            return
        qtractor, main_window = start_qtractor(env, preload, session, processes, os.path.join(work, "qtractor.out"))
        if main_window is None:
            return
        ports = subprocess.run(["jack_lsp"], capture_output=True, text=True, env=env).stdout.split()
        check("Qtractor:Master/out_1" in ports, "Qtractor's engine runs on JACK (Master bus ports)")
        shown = open_panels(env, plugins, main_window)
        play(env, processes, args.seconds)
        take_pictures(env, work, shown)
        check(qtractor.poll() is None, "Qtractor still runs after %g s with the plug-ins" % args.seconds)
        save_and_quit(qtractor, session)
        first = saved_state(session)
        check_saved(session, plugins)
        # The saved session opened again and saved at once: every plug-in's
        # state and values came back through the plug-in itself.
        print("      the saved session, opened again")
        qtractor, main_window = start_qtractor(env, preload, session, processes,
                                               os.path.join(work, "qtractor-reopened.out"))
        if main_window is None:
            return
        save_and_quit(qtractor, session)
        check(saved_state(session) == first, "every plug-in's state and values are the same after a reopen")
    finally:
        processes.stop_all()
    check_log(work)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("plugins", nargs="+", metavar="TYPE:PATH[,INDEX=VALUE...]")
    parser.add_argument("--work", default="build/qtractor-session")
    parser.add_argument("--seconds", type=float, default=3.0)
    args = parser.parse_args()
    missing = missing_tools()
    if missing or scan.find_scanner() is None:
        print("skipped: apt-get install %s" % " ".join(missing or ["qtractor"]))
        return 77
    plugins = [Plugin(argument) for argument in args.plugins]
    started = time.monotonic()
    run(args, plugins)
    print("%d check(s) failed; %.0f s" % (len(failures), time.monotonic() - started) if failures else
          "all checks passed; %.0f s" % (time.monotonic() - started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
