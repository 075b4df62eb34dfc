"""The Win32 part: seeded faults kept as patches under tests/mutation/win/.

Each patch (git diff format) starts with header lines:
  # catches: Suite.Case        the one case that must fail with the fault in
  # program: name_test         optional; found from the case when missing
  # any other "#" line is a comment
It is applied to a clean copy of the sources (build/mutate/win-src, reset
after every patch), only the test program holding the case is rebuilt in the
copy's own MinGW tree (configured once), and the case runs alone in its own
test session. Before the patches, every named case runs once on the clean
copy: a case that fails there cannot judge a fault, and its patches count as
broken.
"""

import glob
import os
import re
import time

import procs
import results
import workspace
from gtest_outcome import passed_count, run_gtest

PATCH_FOLDER = os.path.join("tests", "mutation", "win")
COLUMNS = ["patch", "case", "status", "detail"]
KEY = ["patch"]
CASE_SECONDS = 240   # a hung case counts as killed after this
_TEST_MACRO = r"\bTEST(?:_F|_P)?\(\s*%s\s*,\s*%s\s*\)"


class Patch:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)
        self.case = None
        self.program = None
        body = []
        header = True
        with open(path) as f:
            for line in f:
                if header and line.startswith("#"):
                    m = re.match(r"#\s*(catches|program):\s*(\S+)", line)
                    if m and m.group(1) == "catches":
                        self.case = m.group(2)
                    elif m:
                        self.program = m.group(2)
                    continue
                header = False
                body.append(line)
        self.body = "".join(body)


# The test programs that tests/win/CMakeLists.txt runs through a script of
# their own rather than straight under Wine.
RUNNERS = {"window_stacking_test": "with-window-manager.sh"}


def find_program(src, case):
    """The test program (source file stem) that defines the case."""
    bare = case.split("/")[1] if case.count("/") >= 1 and "." not in case.split("/")[0] else case
    suite, _, name = bare.partition(".")
    name = name.split("/")[0]
    pattern = re.compile(_TEST_MACRO % (re.escape(suite), re.escape(name)))
    for path in sorted(glob.glob(os.path.join(src, "tests", "win", "*_test.cpp"))):
        with open(path, encoding="utf-8", errors="replace") as f:
            if pattern.search(f.read()):
                return os.path.splitext(os.path.basename(path))[0]
    return None


def describe(row):
    return "%s  (%s)%s" % (row["patch"], row["case"], "  " + row["detail"] if row["detail"] else "")


class Run:
    def __init__(self, root, base, patches_regex=None, say=print):
        self.root = root
        self.src = os.path.join(base, "win-src")
        self.session = os.path.join(base, "win-session")
        self.log = os.path.join(base, "win-build.log")
        self.say = say
        wanted = re.compile(patches_regex) if patches_regex else None
        paths = sorted(glob.glob(os.path.join(root, PATCH_FOLDER, "*.patch")))
        self.patches = [Patch(p) for p in paths if not wanted or wanted.search(os.path.basename(p))]
        self.scope = {p.name for p in self.patches}
        self.rows = []
        self.seconds = 0.0

    def covered(self, row):
        return row["patch"] in self.scope

    # ---- the copy and its trees ------------------------------------------
    def _reset(self):
        workspace.sync_copy(self.root, self.src, self._names)

    def _configure(self):
        win = os.path.join(self.session, "win")
        native = os.path.join(self.session, "native")
        if not os.path.exists(os.path.join(win, "build.ninja")):
            code, out, _ = procs.run(["cmake", "-S", self.src, "-B", win, "-G", "Ninja",
                                      "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                                      "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(self.src, "cmake", "mingw-w64-x86_64.cmake")])
            self._keep_log(out)
            if code != 0:
                raise SystemExit("mutate: configuring the MinGW tree failed; see " + self.log)
        if not workspace.configure_native(self.src, native, self.log):
            raise SystemExit("mutate: configuring the native tree failed; see " + self.log)
        # The simulated unit that the session maps as COM2.
        if not self._ninja(native, "vrx-sim"):
            raise SystemExit("mutate: building vrx-sim failed; see " + self.log)

    def _keep_log(self, out):
        with open(self.log, "ab") as f:
            f.write(out)

    def _ninja(self, tree, target):
        code, out, _ = procs.run(["ninja", "-C", tree, target])
        self._keep_log(out)
        return code == 0

    def _build(self, program):
        return self._ninja(os.path.join(self.session, "win"), program)

    def _run_case(self, program, case):
        """Runs the case alone in a test session of its own, the way CTest runs its program."""
        exe = os.path.join(self.session, "win", program + ".exe")
        runner = RUNNERS.get(program, "wine-exec.sh")
        cmd = [os.path.join(self.src, "scripts", "test-session.sh"), self.session,
               os.path.join(self.src, "scripts", runner), exe, "--gtest_filter=" + case]
        return run_gtest(cmd, CASE_SECONDS, cwd=self.src,
                         env=dict(os.environ, GTEST_COLOR="no"))

    def _apply(self, patch):
        """Applies the patch to the copy; None when done, else why not."""
        path = os.path.join(self.session, "patch.diff")
        with open(path, "w") as f:
            f.write(patch.body)
        # The copy lies inside the developer's work tree: keep git from
        # treating it as a subfolder of that repository.
        env = dict(os.environ, GIT_CEILING_DIRECTORIES=os.path.dirname(self.src))
        code, out, _ = procs.run(["git", "apply", "--whitespace=nowarn", path], cwd=self.src, env=env)
        if code != 0:
            first = out.decode(errors="replace").strip().splitlines()
            return "does not apply: " + (first[0] if first else "git apply failed")
        return None

    # ---- the run -----------------------------------------------------------
    def execute(self):
        began = time.monotonic()
        os.makedirs(self.session, exist_ok=True)
        open(self.log, "w").close()
        self._names = workspace.source_files(self.root)
        try:
            self._reset()
            self._configure()
            self._judge_all()
        finally:
            self._reset()
            self.seconds = time.monotonic() - began

    def _judge_all(self):
        programs = {}
        pending = []
        for p in self.patches:
            program = p.program or (find_program(self.src, p.case) if p.case else None)
            p.program = program
            if not p.case:
                self._record(p, "broken", "no '# catches:' line")
            elif not program:
                self._record(p, "broken", "no test program defines " + p.case)
            else:
                programs.setdefault(program, []).append(p)
                pending.append(p)
        clean_failures = self._control_runs(programs)
        for p in pending:
            if p.case in clean_failures:
                self._record(p, "broken", "the case fails without the patch: " + clean_failures[p.case])
                continue
            began = time.monotonic()
            try:
                why = self._apply(p)
                if why:
                    self._record(p, "broken", why)
                    continue
                if not self._build(p.program):
                    self._record(p, "broken", "does not build (see %s)" % os.path.relpath(self.log, self.root))
                    continue
                passed, detail, output = self._run_case(p.program, p.case)
                took = time.monotonic() - began   # applying, building and running
                if passed and passed_count(output) == 0:
                    self._record(p, "broken", "the case did not run")
                elif passed:
                    self._record(p, results.SURVIVED, "", took)
                else:
                    self._record(p, results.KILLED, detail, took)
            finally:
                self._reset()

    def _control_runs(self, programs):
        """Runs every named case alone on the clean copy, as the patches will
        run it (cases that share a process can disturb each other). Returns
        {case: why} for the cases that do not pass there."""
        failures = {}
        for program, patches in sorted(programs.items()):
            cases = sorted({p.case for p in patches})
            if not self._build(program):
                for c in cases:
                    failures[c] = "%s does not build clean" % program
                continue
            for case in cases:
                passed, detail, _ = self._run_case(program, case)
                self.say("clean run of %s: %s" % (case, "passed" if passed else detail))
                if not passed:
                    failures[case] = detail
        return failures

    def _record(self, patch, status, detail, seconds=None):
        self.rows.append({"patch": patch.name, "case": patch.case or "", "status": status, "detail": detail})
        self.say("%-9s %s (%s)%s%s" % (status, patch.name, patch.case,
                                        "  " + detail if detail else "",
                                        "  %.0f s" % seconds if seconds is not None else ""))
