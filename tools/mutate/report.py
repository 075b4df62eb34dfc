"""The printed summary of a part: killed / (total - equivalent), the gaps
(survivors), the equivalents apart, and what changed against the baseline."""

import results


def _figure(rows):
    killed, counted = results.tally(rows)
    equivalent = sum(1 for r in rows if r["status"] == results.EQUIVALENT)
    line = "%d/%d killed" % (killed, counted)
    if counted:
        line += " (%.1f %%)" % (100.0 * killed / counted)
    if equivalent:
        line += " of %d mutants less %d equivalent" % (counted + equivalent, equivalent)
    return line


def summarize(part, rows, baseline_rows, key_columns, covered, describe, baseline_path, seconds, wrong_marks=()):
    """Prints the part's figures; returns the number of losses."""
    uncounted = sum(1 for r in rows if r["status"] in results.NOT_COUNTED)
    line = "%s: %s" % (part, _figure(rows))
    if uncounted:
        line += ", %d not counted (stillborn or broken)" % uncounted
    line += ", %.0f s" % seconds
    print(line)
    survivors = [r for r in rows if r["status"] == results.SURVIVED]
    if survivors:
        print("  gaps (%d): survivors not marked equivalent in the baseline:" % len(survivors))
        for r in survivors:
            print("    " + describe(r))
    reasons = {}
    for r in rows:
        if r["status"] == results.EQUIVALENT:
            reasons[r["detail"]] = reasons.get(r["detail"], 0) + 1
    if reasons:
        print("  equivalent (%d), apart from the figure, by reason:" % sum(reasons.values()))
        for reason in sorted(reasons, key=lambda k: (-reasons[k], k)):
            print("    %4d  %s" % (reasons[reason], reason))
    for r in wrong_marks:
        print("  marked equivalent in the baseline but killed now (the mark goes): " + describe(r))
    if not baseline_rows:
        print("  no baseline at %s to compare with" % baseline_path)
        return 0
    losses, gains, new, gone = results.compare(baseline_rows, rows, key_columns, covered)
    print("  baseline %s: %s in this run's scope"
          % (baseline_path, _figure([r for r in baseline_rows if covered(r)])))
    if losses:
        print("  LOSSES (%d): killed in the baseline, survived now:" % len(losses))
        for r in losses:
            print("    " + describe(r))
    else:
        print("  no losses against the baseline")
    if gains:
        print("  newly killed (%d)" % len(gains))
    if new or gone:
        print("  %d mutants not in the baseline, %d baseline mutants not made now "
              "(the code changed; re-record the baseline)" % (len(new), len(gone)))
    return len(losses)
