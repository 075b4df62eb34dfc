#!/usr/bin/env python3
"""make mutate: shows what the test suite catches.

  mutate.py portable [--files REGEX] [--family F ...] [--workers N] [--list] [--record]
  mutate.py win [--patches REGEX] [--list] [--record]
  mutate.py all          # both parts, as `make mutate` runs them

Portable part: one-site mutants of the code the native tree compiles under
protocol/ and links/, judged by the native tests and a replay of the kept
fuzz corpora; survivors the baseline marks equivalent are counted apart.
Win32 part: the seeded faults tests/mutation/win/*.patch, each judged by the
one case it names. Each part prints killed/(total - equivalent), its
survivors, and its losses against the committed baseline
(tests/mutation/baseline-*.tsv); the exit status is 1 when there is a loss,
or when a seeded fault no longer applies, builds or runs.
Everything is built under build/mutate/; the developer's files are only read.
"""

import argparse
import os
import signal
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import portable  # noqa: E402
import report  # noqa: E402
import results  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(HERE))
BASE = os.path.join(ROOT, "build", "mutate")
PORTABLE_BASELINE = os.path.join(ROOT, "tests", "mutation", "baseline-portable.tsv")
PORTABLE_RESULTS = os.path.join(BASE, "portable-results.tsv")
WIN_BASELINE = os.path.join(ROOT, "tests", "mutation", "baseline-win.tsv")
WIN_RESULTS = os.path.join(BASE, "win-results.tsv")
FAMILIES = ["cmp", "logic", "bool", "int", "drop", "table"]


def _relative(path):
    return os.path.relpath(path, ROOT)


def describe_site(row):
    text = row["text"] if len(row["text"]) <= 90 else row["text"][:87] + "..."
    return "%s:%s  %s  (#%s)  %s" % (row["file"], row["line"], row["op"], row["nth"], text)


def run_portable(args):
    run = portable.Run(ROOT, os.path.join(BASE, "portable"), args.files, args.family, args.workers)
    run.prepare()
    if args.list:
        counts = {}
        for s in run.sites:
            print("%s:%d\t%s\t#%d\t%s" % (s.file, s.line, s.op, s.nth, s.text))
            counts.setdefault(s.file, {}).setdefault(s.family, 0)
            counts[s.file][s.family] += 1
        print("\n%d sites in %d files" % (len(run.sites), len(run.files)))
        for name in run.files:
            per = counts.get(name, {})
            print("  %-32s %4d  %s" % (name, sum(per.values()),
                                         " ".join("%s %d" % (f, per[f]) for f in FAMILIES if f in per)))
        return 0
    run.start()
    print("portable: %d mutants in %d files, %d worker(s), time limit %.0f s a test run"
          % (len(run.sites), len(run.files), len(run.workers), run.timeout))
    interrupted = False
    try:
        run.execute()
    except KeyboardInterrupt:
        interrupted = True
    comment = ("Portable mutants: file, line (informational), op, nth, status, detail, line text.\n"
               "Sites are matched by file, text, op and nth. A survivor that no caller or user can\n"
               "tell from the original is marked by hand in the baseline: status equivalent, its\n"
               "reason in detail; the mark holds while the mutant survives, through --record too.\n"
               "Written %s, %d mutants in %.0f s%s."
               % (time.strftime("%Y-%m-%d %H:%M"), len(run.rows), run.seconds,
                  " (interrupted)" if interrupted else ""))
    baseline = results.read(PORTABLE_BASELINE)
    wrong_marks = results.apply_marks(baseline, run.rows, portable.KEY)
    results.write(PORTABLE_RESULTS, portable.COLUMNS, run.rows, comment)
    if interrupted:
        print("interrupted after %d mutants; the private copies hold no mutant" % len(run.rows))
        return 130
    print()
    losses = report.summarize("portable", run.rows, baseline, portable.KEY, run.covered, describe_site,
                              _relative(PORTABLE_BASELINE), run.seconds, wrong_marks)
    print("  results: %s" % _relative(PORTABLE_RESULTS))
    if args.record:
        merged = results.merge(baseline, run.rows, run.covered)
        merged.sort(key=lambda r: (r["file"], int(r["line"]), r["op"], int(r["nth"])))
        results.write(PORTABLE_BASELINE, portable.COLUMNS, merged, comment.replace("Written", "Recorded"))
        print("  baseline recorded: %s (%d mutants)" % (_relative(PORTABLE_BASELINE), len(merged)))
        return 0
    return 1 if losses else 0


def run_win(args):
    import win_patches

    run = win_patches.Run(ROOT, BASE, args.patches)
    if args.list:
        for p in run.patches:
            program = p.program or (win_patches.find_program(ROOT, p.case) if p.case else None)
            print("%s\tcatches %s\tin %s" % (p.name, p.case, program or "? (no program defines it)"))
        return 0
    interrupted = False
    try:
        run.execute()
    except KeyboardInterrupt:
        interrupted = True
    comment = ("Win32 seeded faults: patch, case, status, detail. Written %s, %d patches in %.0f s%s."
               % (time.strftime("%Y-%m-%d %H:%M"), len(run.rows), run.seconds,
                  " (interrupted)" if interrupted else ""))
    results.write(WIN_RESULTS, win_patches.COLUMNS, run.rows, comment)
    if interrupted:
        print("interrupted after %d patches" % len(run.rows))
        return 130
    baseline = results.read(WIN_BASELINE)
    print()
    losses = report.summarize("win32", run.rows, baseline, win_patches.KEY, run.covered,
                              win_patches.describe, _relative(WIN_BASELINE), run.seconds)
    # A seeded fault that no longer applies, builds or runs judges nothing:
    # whatever its case caught before is lost with it.
    broken = [r for r in run.rows if r["status"] == "broken"]
    for r in broken:
        print("  broken: %s  %s" % (r["patch"], r["detail"]))
    print("  results: %s" % _relative(WIN_RESULTS))
    if args.record:
        merged = results.merge(baseline, run.rows, run.covered)
        merged.sort(key=lambda r: r["patch"])
        results.write(WIN_BASELINE, win_patches.COLUMNS, merged, comment.replace("Written", "Recorded"))
        print("  baseline recorded: %s (%d patches)" % (_relative(WIN_BASELINE), len(merged)))
        return 0
    return 1 if losses or broken else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="part", required=True)
    p = sub.add_parser("portable", help="mutants of the portable core")
    p.add_argument("--files", metavar="REGEX", help="only files whose path matches")
    p.add_argument("--family", action="append", choices=FAMILIES, help="only this family (repeatable)")
    p.add_argument("--workers", type=int, default=1, help="mutants built and run at once (default 1)")
    p.add_argument("--list", action="store_true", help="list the sites and counts; run nothing")
    p.add_argument("--record", action="store_true", help="write the results into the baseline")
    w = sub.add_parser("win", help="the seeded faults of the Win32 layer")
    w.add_argument("--patches", metavar="REGEX", help="only patches whose file name matches")
    w.add_argument("--list", action="store_true", help="list the patches; run nothing")
    w.add_argument("--record", action="store_true", help="write the results into the baseline")
    a = sub.add_parser("all", help="both parts")
    a.add_argument("--workers", type=int, default=1)
    args = parser.parse_args()
    # A TERM ends the run like Ctrl-C: children ended, copies restored.
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    if args.part == "portable":
        return run_portable(args)
    if args.part == "win":
        return run_win(args)
    common = dict(list=False, record=False)
    status = run_portable(argparse.Namespace(files=None, family=None, workers=args.workers, **common))
    if status == 130:
        return status
    print()
    win_status = run_win(argparse.Namespace(patches=None, **common))
    return max(status, win_status)


if __name__ == "__main__":
    sys.exit(main())
