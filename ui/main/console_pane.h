#pragma once
// The output pane: every command sent, every text received and every
// connection event as one prefixed line at the end of consoleEdit.

enum class ConsoleLineKind : int { Rx = 0, Tx = 1, System = 2 };

namespace ConsolePane {
constexpr int kPrefixUnits = 16;
constexpr int kLineUnits = 2048;   // prefix and text; longer lines are cut, keeping their CR LF

// Appends prefix + text; the text brings its own line end. Any kind other
// than Rx and Tx takes the System prefix.
void appendLine(const wchar_t* text, ConsoleLineKind kind);
void clear();
}  // namespace ConsolePane
