"""Child processes that an interrupted run must end: each is registered while
it runs, so Ctrl-C (or a TERM) ends exactly the processes this tool started."""

import os
import signal
import subprocess
import threading

_active = set()
_lock = threading.Lock()
stopping = threading.Event()


class Stopped(Exception):
    """The run is being interrupted; no new process starts."""


def run(cmd, timeout=None, **kwargs):
    """Like subprocess.run with captured output (bytes). Returns
    (returncode, output, timed_out); the process group is ended on a time-out."""
    if stopping.is_set():
        raise Stopped()
    proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            start_new_session=True, **kwargs)
    with _lock:
        _active.add(proc)
    try:
        try:
            out, _ = proc.communicate(timeout=timeout)
            timed_out = False
        except subprocess.TimeoutExpired:
            _end(proc)
            out, _ = proc.communicate()
            timed_out = True
    finally:
        with _lock:
            _active.discard(proc)
    if stopping.is_set():
        raise Stopped()
    return proc.returncode, out, timed_out


def _end(proc, grace=10.0):
    """TERM first, so a script's own clean-up (the test session's) runs;
    KILL for what is left after the grace period."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            return
        try:
            proc.wait(timeout=grace)
            return
        except subprocess.TimeoutExpired:
            continue


def stop_all():
    """Ends every registered process group; later run() calls raise Stopped."""
    stopping.set()
    with _lock:
        active = list(_active)
    for proc in active:
        _end(proc)
