#!/usr/bin/env python3
"""tonemark-cli end to end: tones made here, as WAV files or raw floats on
standard input, run through the built program; its lines checked.

usage: check_tonemark_cli.py TONEMARK_CLI WORK_DIR
"""
import json
import math
import os
import re
import struct
import subprocess
import sys
import unittest
import wave

CLI = ""
WORK = ""

TEXT_LINE = re.compile(r"^ *(\d+\.\d{3}) s +(\S+) Hz  (\S)(#| ) +(\S+)  MIDI +(\S+) +(\S+) cents  LED (on|off)$")


def samples(frequency, rate, seconds, amplitude=0.5):
    return [amplitude * math.sin(2.0 * math.pi * frequency * i / rate) for i in range(int(rate * seconds))]


def write_wav(name, values, rate):
    path = os.path.join(WORK, name)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", round(32767 * v)) for v in values))
    return path


def raw(values):
    return struct.pack("<%df" % len(values), *values)


def run(*args, stdin=b""):
    done = subprocess.run([CLI, *args], input=stdin, capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode(), done.stderr.decode()


def json_readings(*args, stdin=b""):
    code, out, err = run("--json", *args, stdin=stdin)
    if code != 0:
        raise AssertionError("exit %d: %s" % (code, err))
    return [json.loads(line) for line in out.splitlines()]


class TonemarkCli(unittest.TestCase):
    def assert_steady(self, readings, **expected):
        # Past the first half second the ring is full of the tone: the readings hold still.
        self.assertGreater(len(readings), 10)
        for reading in readings[-4:]:
            self.assertTrue(reading["led"], reading)
            for key, value in expected.items():
                self.assertEqual(reading[key], value, reading)

    def test_a440_in_the_formats_of_each_accuracy_at_both_rates(self):
        formats = {"economy": ("440.0", "+0"), "normal": ("440.00", "+0"), "super": ("440.000", "+0.0")}
        for rate in (44100, 48000):
            path = write_wav("a440-%d.wav" % rate, samples(440.0, rate, 1.0), rate)
            for accuracy, (frequency, cents) in formats.items():
                with self.subTest(rate=rate, accuracy=accuracy):
                    readings = json_readings("--accuracy", accuracy, path)
                    # One reading per 60 ms of sound, at the end of the block that reaches it.
                    times = [r["time"] for r in readings]
                    self.assertLessEqual(times[-1], 1.0)
                    for gap in (b - a for a, b in zip(times, times[1:])):
                        self.assertTrue(0.0595 <= gap <= 0.0605 + 512 / rate, times)
                    self.assert_steady(readings, frequency=frequency, cents=cents, note="A", sharp=False,
                                       octave=3, midi=69)

    def test_a_sharp_from_standard_input_in_columns(self):
        code, out, _ = run("--rate", "48000", "-", stdin=raw(samples(466.16, 48000, 1.0)))
        self.assertEqual(code, 0)
        lines = out.splitlines()
        self.assertTrue(all(TEXT_LINE.match(line) for line in lines), out)
        self.assertEqual(TEXT_LINE.match(lines[-1]).groups()[1:], ("466.16", "A", "#", "3", "70", "+0", "on"))

    def test_reference_pitch_432(self):
        path = write_wav("a432.wav", samples(432.0, 44100, 1.0), 44100)
        self.assert_steady(json_readings("--ref", "432", path), frequency="432.00", note="A", sharp=False,
                           octave=3, midi=69, cents="+0")

    def test_silence_keeps_the_led_off_and_a_note_is_held_after_it_stops(self):
        readings = json_readings(stdin=raw([0.0] * 22050))
        self.assertGreaterEqual(len(readings), 5)
        for reading in readings:
            self.assertFalse(reading["led"])
            self.assertIsNone(reading["frequency"])
            self.assertIsNone(reading["midi"])
        readings = json_readings(stdin=raw(samples(220.0, 44100, 0.5) + [0.0] * 44100))
        self.assertFalse(readings[-1]["led"])
        self.assertEqual((readings[-1]["note"], readings[-1]["octave"]), ("A", 2))

    def test_mistakes_and_help(self):
        wav = write_wav("short.wav", samples(440.0, 44100, 0.1), 44100)
        for args in (["--accuracy", "fast"], ["--ref", "500"], ["--bogus"], ["--rate"], ["--rate", "48000", wav],
                     ["a.wav", "b.wav"], ["--json=yes"]):
            with self.subTest(args=args):
                code, out, err = run(*args)
                self.assertEqual(code, 2)
                self.assertEqual(out, "")
                self.assertIn("--help", err)
        code, out, err = run(os.path.join(WORK, "missing.wav"))
        self.assertEqual((code, out), (1, ""))
        self.assertIn("missing.wav", err)
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertTrue(out.startswith("usage: tonemark-cli"))


if __name__ == "__main__":
    CLI, WORK = sys.argv[1], sys.argv[2]
    os.makedirs(WORK, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
