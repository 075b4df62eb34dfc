"""The printed summary of a part: killed/total, survivors, and what changed
against the baseline."""

import results


def summarize(part, rows, baseline_rows, key_columns, covered, describe, baseline_path, seconds):
    """Prints the part's figures; returns the number of losses."""
    killed, total = results.tally(rows)
    uncounted = len(rows) - total
    line = "%s: %d/%d killed" % (part, killed, total)
    if total:
        line += " (%.1f %%)" % (100.0 * killed / total)
    if uncounted:
        line += ", %d not counted (stillborn or broken)" % uncounted
    line += ", %.0f s" % seconds
    print(line)
    survivors = [r for r in rows if r["status"] == results.SURVIVED]
    if survivors:
        print("  survivors (%d):" % len(survivors))
        for r in survivors:
            print("    " + describe(r))
    if not baseline_rows:
        print("  no baseline at %s to compare with" % baseline_path)
        return 0
    losses, gains, new, gone = results.compare(baseline_rows, rows, key_columns, covered)
    base_killed, base_total = results.tally([r for r in baseline_rows if covered(r)])
    print("  baseline %s: %d/%d killed in this run's scope" % (baseline_path, base_killed, base_total))
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
