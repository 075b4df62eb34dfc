#pragma once
// The output pane: every command sent, every text received and every
// connection event as one prefixed line at the end of consoleEdit.
//
// An edit's every insertion costs far more than its text (under Wine about
// 10 ms, growing with the text it holds), so the pane takes received text in
// gathered steps and keeps a bounded scroll-back, as a terminal does: a
// stream of replies then costs a few insertions a second into a pane of
// bounded size, however long the session.

enum class ConsoleLineKind : int { Rx = 0, Tx = 1, System = 2 };

namespace ConsolePane {
constexpr int kPrefixUnits = 16;
constexpr int kLineUnits = 2048;        // prefix and text; longer lines are cut, keeping their CR LF
constexpr int kKeepUnits = 100000;      // the newest text the pane always keeps, in whole lines
constexpr int kMostUnits = 150000;      // past this the oldest lines go, in one step
constexpr int kGatherUnits = 16384;     // received text gathered before it goes in
constexpr unsigned kGatherMs = 200;     // the longest received text waits to be shown

// Appends prefix + text; the text brings its own line end. Any kind other
// than Rx and Tx takes the System prefix. An Rx line is gathered and shown
// within kGatherMs; any other line goes in at once, after the received text
// gathered before it.
void appendLine(const wchar_t* text, ConsoleLineKind kind);
// Puts the gathered received text into the pane now.
void showGathered();
// Empties the pane; gathered text is dropped too.
void clear();
}  // namespace ConsolePane
