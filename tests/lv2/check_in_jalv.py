#!/usr/bin/env python3
"""Both panels open in jalv, a real LV2 host, through ui:parent and instance-access.

  check_in_jalv.py --lv2-path DIR --work DIR

For each plug-in: jalv.gtk3 on a JACK server with the dummy driver, on an Xvfb
screen of its own (no other test's window can be taken for a panel), must embed a window of the panel's
size made by the plug-in's own X connection, and the window must show a
picture (many colours, not an empty rectangle); it is saved as a PNG.
Exit 77 (skipped) when jalv, jackd, Xvfb or xwininfo is missing.
"""
import argparse
import ctypes
import ctypes.util
import os
import re
import shutil
import struct
import subprocess
import sys
import time
import zlib

PANELS = {"urn:brisora:tonemark": (444, 141), "urn:brisora:widefield": (723, 386)}


def free_display():
    n = 140
    while os.path.exists(f"/tmp/.X{n}-lock") or os.path.exists(f"/tmp/.X11-unix/X{n}"):
        n += 1
    return f":{n}"


def panel_window(size, jalv_windows):
    """The id of a window of the panel's size that is not one of jalv's own."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        match = re.match(r"\s*(0x[0-9a-f]+) .*\)\s+(\d+)x(\d+)\+", line)
        if match and (int(match.group(2)), int(match.group(3))) == size and "jalv" not in line:
            window = int(match.group(1), 16)
            if window >> 21 != jalv_windows:
                return window
    return None


def jalv_client_base():
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    match = re.search(r"(0x[0-9a-f]+) \"[^\"]*\": \(\"jalv", tree)
    return int(match.group(1), 16) >> 21 if match else None


def grab(window, width, height):
    """The window's pixels as RGB rows, through Xlib's XGetImage."""
    x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XGetImage.restype = ctypes.c_void_p
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XGetPixel.restype = ctypes.c_ulong
    x11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
    display = x11.XOpenDisplay(None)
    image = x11.XGetImage(display, window, 0, 0, width, height, 0xFFFFFFFF, 2)  # ZPixmap
    if not image:
        return None
    rows = []
    for y in range(height):
        row = bytearray()
        for x in range(width):
            pixel = x11.XGetPixel(image, x, y)
            row += bytes(((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255))
        rows.append(bytes(row))
    return rows


def write_png(path, rows, width, height):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def check(uri, size, env, work):
    log = open(os.path.join(work, uri.rsplit(":", 1)[-1] + "-jalv.log"), "w")
    jalv = subprocess.Popen(["jalv.gtk3", uri], env=env, stdout=log, stderr=subprocess.STDOUT)
    try:
        window = None
        for _ in range(100):
            time.sleep(0.1)
            base = jalv_client_base()
            window = panel_window(size, base) if base is not None else None
            if window or jalv.poll() is not None:
                break
        if window is None:
            return f"{uri}: no panel window of {size[0]}x{size[1]} in jalv (see {log.name})"
        time.sleep(1.0)  # a few idle calls: the panel paints
        rows = grab(window, *size)
        if rows is None:
            return f"{uri}: the panel window could not be read"
        png = os.path.join(work, uri.rsplit(":", 1)[-1] + "-jalv.png")
        write_png(png, rows, *size)
        colours = {row[i:i + 3] for row in rows[::4] for i in range(0, len(row), 12)}
        if len(colours) < 8:
            return f"{uri}: the panel shows {len(colours)} colours only ({png})"
        print(f"ok: {uri}: panel 0x{window:x}, {size[0]}x{size[1]}, {len(colours)} colours, {png}")
        return None
    finally:
        jalv.terminate()
        try:
            jalv.wait(timeout=10)
        except subprocess.TimeoutExpired:
            jalv.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lv2-path", required=True)
    parser.add_argument("--work", required=True)
    args = parser.parse_args()
    missing = [t for t in ("jalv.gtk3", "jackd", "Xvfb", "xwininfo") if shutil.which(t) is None]
    if missing or not ctypes.util.find_library("X11"):
        print("SKIPPED: missing " + ", ".join(missing or ["libX11"]) + " (apt-get install jalv jackd2 xvfb x11-utils)")
        return 77
    os.makedirs(args.work, exist_ok=True)
    started = []
    env = dict(os.environ, LV2_PATH=args.lv2_path, XDG_CONFIG_HOME=os.path.join(args.work, "config"),
               JACK_NO_AUDIO_RESERVATION="1")
    try:
        env["DISPLAY"] = free_display()
        started.append(subprocess.Popen(["Xvfb", env["DISPLAY"], "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        time.sleep(1.0)
        os.environ["DISPLAY"] = env["DISPLAY"]
        env["JACK_DEFAULT_SERVER"] = f"brisora-lv2-{os.getpid()}"
        started.append(subprocess.Popen(["jackd", "-n", env["JACK_DEFAULT_SERVER"], "-d", "dummy", "-r", "44100",
                                         "-p", "256"], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL))
        time.sleep(1.5)
        failures = [f for f in (check(uri, size, env, args.work) for uri, size in PANELS.items()) if f]
    finally:
        for process in reversed(started):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
