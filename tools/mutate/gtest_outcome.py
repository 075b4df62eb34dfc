"""Reading a GoogleTest run: which cases failed, and where a crash or a hang
stopped it."""

import re

import procs

_RUN = re.compile(r"^\[ RUN      \] (\S+)")
_ENDED = re.compile(r"^\[ +(?:OK|FAILED|SKIPPED) +\] (\S+?)(?:,| \(|$)")
_FAILED = re.compile(r"^\[  FAILED  \] (\S+?)(?:,| \(|$)")
_PASSED = re.compile(r"^\[  PASSED  \] (\d+) tests?\.")

SHOWN_NAMES = 4


def failed_cases(output):
    names = []
    for line in output.splitlines():
        m = _FAILED.match(line)
        if m and "." in m.group(1) and m.group(1) not in names:
            names.append(m.group(1))
    return names


def unfinished_case(output):
    """The case that started and never ended (a crash or a hang), if any."""
    open_case = None
    for line in output.splitlines():
        m = _RUN.match(line)
        if m:
            open_case = m.group(1)
            continue
        m = _ENDED.match(line)
        if m and m.group(1) == open_case:
            open_case = None
    return open_case


def passed_count(output):
    m = None
    for line in output.splitlines():
        m = _PASSED.match(line) or m
    return int(m.group(1)) if m else 0


def describe(names):
    """A short list of case names for a results file."""
    shown = ",".join(names[:SHOWN_NAMES])
    if len(names) > SHOWN_NAMES:
        shown += ",+%d more" % (len(names) - SHOWN_NAMES)
    return shown


def run_gtest(cmd, timeout, cwd=None, env=None):
    """Runs a GoogleTest program. Returns (passed, detail, output): passed is
    true only for a clean exit with a PASSED line; detail names the failed
    cases, or says where a crash or the time limit stopped the run."""
    code, out, timed_out = procs.run(cmd, timeout=timeout, cwd=cwd, env=env)
    text = out.decode(errors="replace")
    if timed_out:
        where = unfinished_case(text)
        return False, "timeout" + (" in " + where if where else ""), text
    names = failed_cases(text)
    if code == 0 and passed_count(text) > 0 and not names:
        return True, "", text
    if names:
        return False, describe(names), text
    if code == 0 and passed_count(text) == 0:
        return False, "no case ran", text
    where = unfinished_case(text)
    return False, "crash (exit %d)%s" % (code, " in " + where if where else ""), text
