#!/usr/bin/env python3
"""End-to-end check of a built vrx-sim: runs it on a pty and talks to it the
way the control panel does. Usage: smoke_test.py path/to/vrx-sim"""
import os
import re
import select
import signal
import socket
import subprocess
import sys
import tempfile
import termios
import time
import tty

SIM = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else "vrx-sim"
DEADLINE = 10.0  # generous: only ever waited for, never expected
STARTED = []  # every unit started, so that a failed check still ends it


def wait_for(condition, what, deadline=DEADLINE):
    end = time.monotonic() + deadline
    while time.monotonic() < end:
        if condition():
            return
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)


class Unit:
    def __init__(self, directory, *options):
        self.link = os.path.join(directory, "ttyVRX")
        self.errors = open(os.path.join(directory, "stderr.log"), "w+")
        self.process = subprocess.Popen([SIM, self.link, *options], stderr=self.errors)
        STARTED.append(self.process)
        wait_for(lambda: os.path.islink(self.link), "the symlink")
        self.fd = None

    def open(self):
        self.fd = os.open(self.link, os.O_RDWR | os.O_NOCTTY)
        tty.setraw(self.fd)

    def close_line(self):
        os.close(self.fd)
        self.fd = None

    def send(self, data):
        os.write(self.fd, data)

    def read_until(self, expected, deadline=DEADLINE):
        data = b""
        end = time.monotonic() + deadline
        while expected not in data and time.monotonic() < end:
            if select.select([self.fd], [], [], 0.05)[0]:
                try:
                    data += os.read(self.fd, 65536)
                except OSError:
                    break
        assert expected in data, "expected %r, got %r" % (expected, data[:300])
        return data

    def read_for(self, seconds):
        data = b""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if select.select([self.fd], [], [], 0.05)[0]:
                data += os.read(self.fd, 65536)
        return data

    def stop(self, how=signal.SIGTERM):
        if self.fd is not None:
            os.close(self.fd)
        self.process.send_signal(how)
        code = self.process.wait(timeout=DEADLINE)
        self.errors.seek(0)
        errors = self.errors.read()
        assert code == 0, "exit code %d: %s" % (code, errors)
        assert "Sanitizer" not in errors and "runtime error" not in errors, errors
        assert not os.path.lexists(self.link), "symlink left behind"
        return errors


def check_replies(directory):
    unit = Unit(directory, "--transcript", os.path.join(directory, "t.log"))
    unit.open()
    unit.send(b"R SOURCE.")
    assert unit.read_until(b"\r\n") == b">Video Input: HDMI1\r\n"
    unit.send(b"<SIPR[1-2-3-4]>" + b"\0" * 9)
    assert unit.read_until(b"\r\n") == b">SIPR: 1.2.3.4\r\n"
    unit.send(b"Contrast*\0\0")
    assert unit.read_until(b"\r\n") == b">Contrast Value: 50\r\n"
    unit.send(b"X" * 100000)  # never terminated
    unit.send(b".<SW>")
    data = unit.read_until(b"FLMCU SW Versions: V3.05\r\n")
    assert data.startswith(b">LPMCU"), data
    errors = unit.stop()
    assert "rejected: command of more than 256 bytes without terminator" in errors, errors
    transcript = open(os.path.join(directory, "t.log")).read()
    assert "rx <SIPR[1-2-3-4]>" + "\\0" * 9 + "\n" in transcript, transcript
    assert "tx >SIPR: 1.2.3.4\\r\\n\n" in transcript, transcript


def check_delay_and_chunks(directory):
    transcript = os.path.join(directory, "t.log")
    unit = Unit(directory, "--delay", "300", "--chunk", "4", "--chunk-pause", "20",
                "--transcript", transcript)
    unit.open()
    sent = time.monotonic()
    unit.send(b"R OUTPUT!")
    data = unit.read_until(b"\r\n")
    # Only a lower bound: the delay is a minimum, scheduling adds to it.
    assert time.monotonic() - sent >= 0.3
    assert data == b">Output Resolution: 1920x1080@60Hz\r\n", data
    unit.stop()
    pieces = [line.rstrip("\n").split(" ", 2)[2] for line in open(transcript) if " tx " in line]
    assert "".join(pieces) == ">Output Resolution: 1920x1080@60Hz\\r\\n", pieces
    assert len(pieces) == 9, pieces  # 36 bytes in pieces of 4


def check_silent(directory):
    unit = Unit(directory, "--silent")
    unit.open()
    unit.send(b"S SOURCE 2.R SOURCE.")
    assert unit.read_for(0.5) == b""
    unit.stop()


def check_leftover(directory):
    transcript = os.path.join(directory, "t.log")
    unit = Unit(directory, "--leftover", "\\x02>HDMI AUDIO MUTE ON\\r\\n\\0>Video",
                "--transcript", transcript)
    # Opened as a program opens a COM port: line settings made without a flush.
    unit.fd = os.open(unit.link, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(unit.fd, termios.TCSANOW)
    assert unit.read_until(b">Video") == b"\x02>HDMI AUDIO MUTE ON\r\n\0>Video"
    unit.send(b"R SOURCE.")
    assert unit.read_until(b"\r\n") == b">Video Input: HDMI1\r\n"
    unit.stop()
    kinds = [line.split(" ", 2)[1:] for line in open(transcript)]
    assert kinds[0] == ["leftover", "\\x02>HDMI AUDIO MUTE ON\\r\\n\\0>Video\n"], kinds


def check_switched_on_late(directory):
    transcript = os.path.join(directory, "t.log")
    unit = Unit(directory, "--on-after", "2000", "--garbage", "--garbage-rate", "20000",
                "--transcript", transcript)
    unit.open()
    unit.send(b"S SOURCE 2.")  # to a unit still off: it goes nowhere
    seen = []
    def answered():
        unit.send(b"R SOURCE.")
        seen.append(unit.read_for(0.1))
        return re.search(rb">Video Input: (HDMI1|VGA1)\r\n", b"".join(seen))
    wait_for(answered, "the unit switched on")
    assert answered().group(1) == b"HDMI1"  # the source set while it was off is not applied
    unit.stop()
    lines = [line.rstrip("\n").split(" ", 2) for line in open(transcript)]
    on = next(i for i, line in enumerate(lines) if line[1:] == ["event", "switched on"])
    assert float(lines[on][0]) >= 2.0, lines[on]
    before = {line[1] for line in lines[:on]}
    after = {line[1] for line in lines[on:]}
    assert before == {"event", "ignored"}, before
    assert {"rx", "tx", "noise"} <= after, after
    assert "S SOURCE 2." in "".join(line[2] for line in lines[:on] if line[1] == "ignored")


def check_garbage(directory):
    unit = Unit(directory, "--garbage", "--garbage-rate", "20000", "--seed", "3")
    unit.open()
    noise = unit.read_for(1.0)
    assert len(noise) > 1000, len(noise)
    assert any(b >= 0x80 for b in noise)
    unit.send(b"<BellStatus>")
    unit.read_until(b">Bell Status: ON\r\n")  # replies still come, amid the noise
    unit.stop(signal.SIGINT)


def check_hangup_and_comeback(directory):
    unit = Unit(directory, "--hangup-after", "2", "--comeback-after", "300")
    first = os.readlink(unit.link)
    unit.open()
    unit.send(b"R SOURCE.")
    unit.read_until(b"\r\n")
    unit.send(b"R AUDIO.")
    unit.read_until(b">Audio Input: Audio 1\r\n")
    # The line drops: reads then fail or return nothing for good.
    def line_dead():
        if not select.select([unit.fd], [], [], 0.05)[0]:
            return False
        try:
            return os.read(unit.fd, 100) == b""
        except OSError:
            return True
    wait_for(line_dead, "the hang-up")
    unit.close_line()
    wait_for(lambda: os.path.islink(unit.link), "the come-back")
    unit.open()
    unit.send(b"<GAR>")
    unit.read_until(b">GAR: 192.168.1.1\r\n")
    unit.stop()
    assert first  # the old pty may be reused by number; the link is what counts


def check_reopen(directory):
    unit = Unit(directory)
    for _ in range(3):
        unit.open()
        unit.send(b"<SPORT>")
        unit.read_until(b">SPORT: 1024\r\n")
        unit.close_line()
    unit.stop()


def check_tcp(directory):
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        port = probe.getsockname()[1]
    unit = Unit(directory, "--tcp", str(port))
    unit.open()
    with socket.create_connection(("127.0.0.1", port)) as client:
        client.sendall(b"S SOURCE 8.\0")
        def switched():
            unit.send(b"R SOURCE.")
            return b"HDBaseT" in unit.read_until(b"\r\n")
        wait_for(switched, "the TCP command to apply")
    unit.stop()


def check_help():
    out = subprocess.run([SIM, "--help"], capture_output=True, text=True, timeout=DEADLINE)
    assert out.returncode == 0 and "usage: vrx-sim" in out.stdout
    bad = subprocess.run([SIM], capture_output=True, text=True, timeout=DEADLINE)
    assert bad.returncode != 0 and "no link path" in bad.stderr


def main():
    check_help()
    try:
        for check in (check_replies, check_delay_and_chunks, check_silent, check_leftover,
                      check_switched_on_late, check_garbage, check_hangup_and_comeback,
                      check_reopen, check_tcp):
            with tempfile.TemporaryDirectory() as directory:
                check(directory)
                print("ok", check.__name__)
    finally:
        for process in STARTED:
            if process.poll() is None:
                process.kill()
                process.wait()
    print("all passed")


if __name__ == "__main__":
    main()
