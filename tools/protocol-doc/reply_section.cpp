// The replies: how the panel cuts and reads a line, and every key it reads,
// in the order it tries them, from the reply grammar's own tables.
#include "protocol/reply_grammar.h"
#include "reference_parts.h"

namespace {
template <std::size_t N>
void writeKeys(std::ostream& out, const ReplyKey (&keys)[N]) {
  out << "| Key | Example | What the panel does |\n|---|---|---|\n";
  for (const ReplyKey& key : keys)
    out << "| " << code(narrow(key.key)) << " | " << code(">" + narrow(key.example)) << " | " << narrow(key.effect)
        << " |\n";
}
}  // namespace

void writeReplySection(std::ostream& out) {
  out << "\n## Replies\n\n"
         "The panel reads replies on the serial link only. It cuts what it receives into lines at CR LF (a line "
         "that arrives in pieces is put together first; empty lines are skipped), drops the `>` prompts in front "
         "of a line and then reads it by its key. Bytes in front of a prompt are noise and are skipped: a unit "
         "that powers up or an adapter that is plugged in may put a byte or two on the line, and a delivery may "
         "end in noise or a cut line that then stands in front of the next reply. No reply holds a `>` after its "
         "prompt, so a line is read from its last run of `>` on (`\\xFF>Video Input: VGA2` and "
         "`>SPORT: 12>Video Input: VGA2` are both read as `Video Input: VGA2`); a line without any `>` is read "
         "as it stands. A line with a colon is a keyed line: its key is the text in "
         "front of the first colon, its value what follows. Any other line is a word line: its key is its first "
         "word, its value the rest after the blank. Keys and values are compared exactly and with case, over the "
         "whole text: a trailing blank spoils a match. The rows are tried in the order below and the first whose "
         "key equals the line's handles it; a line whose key is in neither table (such as the simulated unit's `OK` "
         "and `ERR` lines) changes nothing. Every received text is also shown in the output pane after `Rx>`.\n\n"
         "The examples are lines as the unit sends them, each followed by CR LF.\n\n"
         "### Word lines\n\n";
  writeKeys(out, kWordLineKeys);
  out << "\n### Keyed lines\n\n";
  writeKeys(out, kKeyedLineKeys);
}
