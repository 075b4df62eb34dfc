"""Results files and their comparison with a committed baseline.

A results file is tab-separated text: comment lines start with "#", the first
other line names the columns, one mutant a line. Mutants are matched between
two files by their key columns, never by line number.
"""

import os

KILLED, SURVIVED = "killed", "survived"
# A survivor that no caller or user can tell from the original, so marked by
# hand in the baseline, its reason in the detail column; counted apart.
EQUIVALENT = "equivalent"
# Not counted: a portable mutant that does not compile, a patch that no
# longer applies or builds.
NOT_COUNTED = {"stillborn", "broken"}


def write(path, columns, rows, comment):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path + ".tmp", "w") as f:
        for line in comment.splitlines():
            f.write("# %s\n" % line)
        f.write("\t".join(columns) + "\n")
        for row in rows:
            f.write("\t".join(_clean(row.get(c, "")) for c in columns) + "\n")
    os.replace(path + ".tmp", path)


def _clean(value):
    return " ".join(str(value).split())


def read(path):
    """The rows of a results file (a list of dicts); [] when it is missing."""
    if not os.path.exists(path):
        return []
    rows = []
    columns = None
    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#"):
                continue
            cells = line.split("\t")
            if columns is None:
                columns = cells
                continue
            rows.append(dict(zip(columns, cells + [""] * (len(columns) - len(cells)))))
    return rows


def keyed(rows, key_columns):
    return {tuple(str(r[c]) for c in key_columns): r for r in rows}


def tally(rows):
    killed = sum(1 for r in rows if r["status"] == KILLED)
    survived = sum(1 for r in rows if r["status"] == SURVIVED)
    return killed, killed + survived


def apply_marks(baseline_rows, rows, key_columns):
    """Gives each survivor that the baseline marks equivalent that status and
    the baseline's reason. Returns the marked mutants that were killed now:
    their mark was wrong and is dropped."""
    base = keyed([r for r in baseline_rows if r["status"] == EQUIVALENT], key_columns)
    wrong = []
    for row in rows:
        mark = base.get(tuple(str(row[c]) for c in key_columns))
        if mark is None:
            continue
        if row["status"] == SURVIVED:
            row["status"], row["detail"] = EQUIVALENT, mark["detail"]
        elif row["status"] == KILLED:
            wrong.append(row)
    return wrong


def merge(baseline_rows, new_rows, covered):
    """The baseline with every row that this run covered (covered(row) is
    true) replaced by the run's rows: a subset run re-records its subset."""
    kept = [r for r in baseline_rows if not covered(r)]
    return kept + list(new_rows)


def compare(baseline_rows, rows, key_columns, covered):
    """What a run says against the baseline, for the mutants the run covered."""
    base = keyed([r for r in baseline_rows if covered(r)], key_columns)
    now = keyed(rows, key_columns)
    losses = [now[k] for k in now if k in base and base[k]["status"] == KILLED and now[k]["status"] == SURVIVED]
    gains = [now[k] for k in now if k in base and base[k]["status"] == SURVIVED and now[k]["status"] == KILLED]
    new = [now[k] for k in now if k not in base]
    gone = [base[k] for k in base if k not in now]
    return losses, gains, new, gone
