"""Private copies of the sources and their build trees.

The developer's files are only ever read. Each copy is brought up to date by
rewriting just the files whose bytes differ, so a build tree configured on the
copy rebuilds only what really changed since the last run; a copy left with a
mutant in it (a killed run) is repaired by the next sync.
"""

import json
import os
import shutil
import subprocess


def source_files(root):
    """Paths (relative) of the files that make up the sources: tracked and
    untracked-but-not-ignored files when root is a git work tree."""
    try:
        out = subprocess.run(
            ["git", "-C", root, "ls-files", "-z", "--cached", "--others", "--exclude-standard"],
            check=True, capture_output=True).stdout
        names = [n for n in out.decode().split("\0") if n]
        return sorted(n for n in set(names) if os.path.isfile(os.path.join(root, n)))
    except (subprocess.CalledProcessError, FileNotFoundError):
        found = []
        for folder, dirs, files in os.walk(root):
            rel = os.path.relpath(folder, root)
            dirs[:] = [d for d in dirs if not (rel == "." and d in ("build", ".git"))]
            found += [os.path.normpath(os.path.join(rel, f)) for f in files]
        return sorted(found)


def write_if_changed(path, data):
    """Writes data unless the file already holds it; returns whether it wrote."""
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return False
    except FileNotFoundError:
        os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    return True


def sync_copy(root, copy, names=None):
    """Makes copy hold exactly the source files of root. Returns the count of
    files written or removed."""
    names = source_files(root) if names is None else names
    changed = 0
    for name in names:
        with open(os.path.join(root, name), "rb") as f:
            data = f.read()
        if write_if_changed(os.path.join(copy, name), data):
            shutil.copymode(os.path.join(root, name), os.path.join(copy, name))
            changed += 1
    wanted = set(names)
    for folder, _dirs, files in os.walk(copy):
        for f in files:
            rel = os.path.relpath(os.path.join(folder, f), copy)
            if rel not in wanted:
                os.remove(os.path.join(copy, rel))
                changed += 1
    return changed


def run(cmd, log=None, **kwargs):
    """Runs cmd; its output goes to log (a path) when given."""
    if log is None:
        return subprocess.run(cmd, **kwargs)
    with open(log, "ab") as f:
        return subprocess.run(cmd, stdout=f, stderr=subprocess.STDOUT, **kwargs)


def configure_native(src, build, log):
    """The native tree (as `make build` makes it: Debug, ASan and UBSan) on
    the copy, with compile_commands.json; configured once."""
    if os.path.exists(os.path.join(build, "build.ninja")):
        return True
    os.makedirs(build, exist_ok=True)
    r = run(["cmake", "-S", src, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Debug",
             "-DCMAKE_CXX_COMPILER=g++", "-DCMAKE_C_COMPILER=gcc",
             "-DCMAKE_EXPORT_COMPILE_COMMANDS=ON"], log)
    return r.returncode == 0


def compiled_sources(build, src):
    """Relative paths of the files the tree compiles, from compile_commands.json."""
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    out = set()
    for entry in entries:
        path = os.path.normpath(os.path.join(entry.get("directory", build), entry["file"]))
        rel = os.path.relpath(path, src)
        if not rel.startswith(".."):
            out.add(rel)
    return sorted(out)


def included_headers(build, src):
    """Relative paths of the project headers the built objects depend on
    (ninja's record of the compiler's dependency output)."""
    out = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True).stdout
    headers = set()
    for line in out.splitlines():
        if not line.startswith("    "):
            continue
        path = os.path.normpath(os.path.join(build, line.strip()))
        rel = os.path.relpath(path, src)
        if not rel.startswith("..") and rel.endswith((".h", ".hpp", ".inl")):
            headers.add(rel)
    return sorted(headers)
