"""The portable part: one-site mutants of the code the native tree compiles
under protocol/ and links/, each built incrementally in a private copy and
judged by the native tests, then by the protocol reference's check (the
committed docs/protocol.md is what protocol-doc writes from the tables, so a
changed reply description or command row is seen), then by each fuzz
target's kept corpus replayed once (NAME_replay over tests/fuzz/corpus/NAME:
no random fuzzing, so a verdict is the same on every run)."""

import os
import queue
import re
import threading
import time

import procs
import results
import workspace
from gtest_outcome import run_gtest
from sites import find_sites, mutant_text

MUTATED_FOLDERS = ("protocol/", "links/")
TEST_TARGET = "native_tests"
REFERENCE_WRITER = "protocol-doc"
REFERENCE = os.path.join("docs", "protocol.md")
CORPORA = os.path.join("tests", "fuzz", "corpus")
COLUMNS = ["file", "line", "op", "nth", "status", "detail", "text"]
KEY = ["file", "text", "op", "nth"]


class Worker:
    """A private copy of the sources with its own native build tree."""

    def __init__(self, root, base, index, jobs):
        self.root = root
        self.dir = os.path.join(base, "w%d" % index)
        self.src = os.path.join(self.dir, "src")
        self.build = os.path.join(self.dir, "native")
        self.log = os.path.join(self.dir, "build.log")
        self.jobs = jobs

    def prepare(self, names, origin=None):
        """Syncs the copy (from origin, by default the work tree) and builds
        the unmutated tests; False if that fails."""
        os.makedirs(self.dir, exist_ok=True)
        open(self.log, "w").close()
        workspace.sync_copy(origin or self.root, self.src, names)
        if not workspace.configure_native(self.src, self.build, self.log):
            return False
        return self._build()

    def _build(self):
        targets = [TEST_TARGET, REFERENCE_WRITER] + [name + "_replay" for name in corpora(self.src)]
        code, out, _ = procs.run(["ninja", "-C", self.build, "-j", str(self.jobs)] + targets)
        with open(self.log, "ab") as f:
            f.write(out)
        return code == 0

    def run_tests(self, timeout):
        """The native tests, the reference's check, then each corpus replay:
        (passed, detail)."""
        passed, detail, _ = run_gtest([os.path.join(self.build, TEST_TARGET)], timeout, cwd=self.build,
                                      env=dict(os.environ, GTEST_COLOR="no"))
        if passed:
            passed, detail = check_reference(os.path.join(self.build, REFERENCE_WRITER),
                                             os.path.join(self.src, REFERENCE), timeout)
        for name in corpora(self.src) if passed else []:
            passed, detail = run_replay(os.path.join(self.build, name + "_replay"),
                                        os.path.join(self.src, CORPORA, name), timeout)
            if not passed:
                return False, "corpus %s: %s" % (name, detail)
        return passed, detail

    def try_mutant(self, site, original, timeout):
        """Builds and tests one mutant; the copy holds the original again
        afterwards, whatever happens."""
        path = os.path.join(self.src, site.file)
        try:
            _write_newer(path, mutant_text(original, site).encode())
            if not self._build():
                return "stillborn", ""
            passed, detail = self.run_tests(timeout)
            return (results.SURVIVED, "") if passed else (results.KILLED, detail)
        finally:
            _write_newer(path, original.encode())


def corpora(src):
    """The kept corpora that have their fuzz target."""
    folder = os.path.join(src, CORPORA)
    names = os.listdir(folder) if os.path.isdir(folder) else []
    return sorted(n for n in names if os.path.isfile(os.path.join(src, "tests", "fuzz", n + "_fuzz.cpp")))


def check_reference(program, reference, timeout):
    """The protocol_doc.current test of `make test`: (passed, detail)."""
    code, out, timed_out = procs.run([program, "--check", reference], timeout=timeout)
    if code == 0 and not timed_out:
        return True, ""
    return False, "protocol reference: " + ("timeout" if timed_out else "differs (exit %d)" % code)


def run_replay(program, corpus, timeout):
    """Replays one corpus: (passed, detail); a crash names its input."""
    code, out, timed_out = procs.run([program, corpus], timeout=timeout)
    if code == 0 and not timed_out:
        return True, ""
    inputs = re.findall(r"^input (.*)$", out.decode(errors="replace"), re.M)
    where = " in " + os.path.basename(inputs[-1]) if inputs else ""
    return False, ("timeout" if timed_out else "crash (exit %d)" % code) + where


def _write_newer(path, data):
    """Writes data with an mtime past the old one, so ninja sees the change
    even within one clock tick."""
    before = os.stat(path).st_mtime_ns
    with open(path, "wb") as f:
        f.write(data)
    now = max(time.time_ns(), before + 1000)
    os.utime(path, ns=(now, now))


def mutated_files(worker):
    """The files under protocol/ and links/ that the native tree compiles,
    with the project headers they include."""
    compiled = workspace.compiled_sources(worker.build, worker.src)
    headers = workspace.included_headers(worker.build, worker.src)
    return sorted(f for f in set(compiled) | set(headers) if f.startswith(MUTATED_FOLDERS))


def enumerate_sites(src_root, files, families):
    """The sites of the files, and each file's text they were found in."""
    sites = []
    texts = {}
    for name in files:
        with open(os.path.join(src_root, name), encoding="utf-8", newline="") as f:
            texts[name] = f.read()
        sites += [s for s in find_sites(name, texts[name]) if not families or s.family in families]
    return sites, texts


def site_row(site, status, detail):
    return {"file": site.file, "line": site.line, "op": site.op, "nth": site.nth,
            "status": status, "detail": detail, "text": site.text}


class Run:
    """One portable run: options in, rows out."""

    def __init__(self, root, base, files_regex=None, families=None, workers=1, say=print):
        self.root = root
        self.base = base
        self.files_regex = re.compile(files_regex) if files_regex else None
        self.families = set(families or [])
        self.worker_count = workers
        self.say = say
        self.rows = []
        self.files = []
        self.seconds = 0.0

    def covered(self, row):
        """Whether a baseline row is in this run's scope."""
        in_files = row["file"] in self.files
        return in_files and (not self.families or row["op"].split(" ", 1)[0] in self.families)

    def prepare(self):
        names = workspace.source_files(self.root)
        jobs = 2 if self.worker_count == 1 else 1
        self.workers = [Worker(self.root, self.base, k, jobs) for k in range(self.worker_count)]
        first = self.workers[0]
        if not first.prepare(names):
            raise SystemExit("mutate: the unmutated native tree does not build; see " + first.log)
        self.files = [f for f in mutated_files(first) if not self.files_regex or self.files_regex.search(f)]
        # From the synced copy: the texts the mutants are made from are the
        # ones every copy holds, whatever happens in the work tree meanwhile.
        self.sites, self.texts = enumerate_sites(first.src, self.files, self.families)
        self._names = names

    def start(self):
        """Checks the unmutated suite and sets the time limit from its run."""
        first = self.workers[0]
        began = time.monotonic()
        passed, detail = first.run_tests(timeout=600)
        took = time.monotonic() - began
        if not passed:
            raise SystemExit("mutate: the native tests fail on the unmutated code: " + detail)
        self.timeout = max(10.0, 20 * took)
        for w in self.workers[1:]:
            if not w.prepare(self._names, origin=first.src):
                raise SystemExit("mutate: the unmutated native tree does not build; see " + w.log)

    def execute(self):
        began = time.monotonic()
        originals = self.texts
        todo = queue.Queue()
        for index, site in enumerate(sorted(self.sites, key=lambda s: (s.file, s.start))):
            todo.put((index, site))
        done = {}
        lock = threading.Lock()
        total = len(self.sites)

        def work(worker):
            while not procs.stopping.is_set():
                try:
                    index, site = todo.get_nowait()
                except queue.Empty:
                    return
                try:
                    status, detail = worker.try_mutant(site, originals[site.file], self.timeout)
                except procs.Stopped:
                    return
                with lock:
                    done[index] = site_row(site, status, detail)
                    self.say("[%d/%d] %-9s %s:%d %s%s" % (
                        len(done), total, status, site.file, site.line, site.op,
                        ("  " + detail) if detail else ""))

        threads = [threading.Thread(target=work, args=(w,)) for w in self.workers]
        for t in threads:
            t.start()
        try:
            while any(t.is_alive() for t in threads):
                for t in threads:
                    t.join(0.2)
        except KeyboardInterrupt:
            procs.stop_all()
            for t in threads:
                t.join()
            raise
        finally:
            self.rows = [done[k] for k in sorted(done)]
            self.seconds = time.monotonic() - began
