// The commands: one row per text the panel can send, with its bytes on each
// link as the operation hands them over; the free text of the Send row; and
// the values the arguments stand for.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "command_rows.h"
#include "protocol/command_set.h"
#include "protocol/control_state.h"
#include "reference_parts.h"

namespace {
std::string hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char byte : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
  }
  return out;
}

// The text's bytes, then the zero padding as a group of its own.
std::string bytesCell(const std::string& bytes, std::size_t textLength) {
  std::string cell = code(hex(bytes.substr(0, textLength)));
  if (bytes.size() > textLength) cell += " " + code(hex(bytes.substr(textLength)));
  return cell + " (" + std::to_string(bytes.size()) + ")";
}

[[noreturn]] void refuse(const std::string& why) {
  std::fprintf(stderr, "protocol-doc: %s\n", why.c_str());
  std::exit(1);
}

// The format with each conversion replaced by its placeholder in braces. A row
// whose placeholders do not fit its format is refused, not written.
std::string formatCell(const CommandRow& row) {
  const wchar_t* format = commandTable[static_cast<int>(row.id)].format;
  std::string out;
  int next = 0;
  for (const wchar_t* at = format; *at != 0; ++at) {
    if (*at != L'%') {
      out += static_cast<char>(*at);
      continue;
    }
    ++at;
    if (*at == L'%') {
      out += '%';
      continue;
    }
    while (*at == L'l') ++at;   // the length of a wide character or string
    if (next >= kMaxPlaceholders || row.placeholders[next] == nullptr)
      refuse(std::string("no placeholder for a conversion of ") + row.operation);
    const std::string name = row.placeholders[next++];
    if (!name.empty()) out += "{" + name + "}";
  }
  if (next < kMaxPlaceholders && row.placeholders[next] != nullptr)
    refuse(std::string("more placeholders than conversions for ") + row.operation);
  return out;
}

bool sequenceSends(const QuerySequence& steps, const std::string& text) {
  for (const QueryStep& step : steps)
    for (const WireCommand& command : captureCommands(step.send))
      if (command.text == text) return true;
  return false;
}

std::string sentByCell(const CommandRow& row, const std::string& text) {
  std::string cell = row.sentBy != nullptr ? row.sentBy : "";
  auto add = [&cell](const char* part) { cell += (cell.empty() ? "" : "; ") + std::string(part); };
  if (sequenceSends(kUnitStateQueries, text)) add("the queries on connecting and after \"Restore Default Settings\"");
  if (sequenceSends(kNetworkQueries, text)) add("opening \"Network Settings\"");
  return cell;
}

std::string operationName(const char* call) {
  std::string name(call);
  return name.substr(0, name.find('('));
}

void writeCommandTable(std::ostream& out) {
  std::set<std::string> operations;
  for (const CommandRow& row : kCommandRows) operations.insert(operationName(row.operation));
  out << "One row for each text the panel can send: " << kCommandRowCount << " texts from " << operations.size()
      << " operations (`setBuzzer` and `toggleOutputMute` choose between texts). In the format, `{x}` stands for "
         "an argument (see the last column). The bytes are in hex: first the text, then, as a group of its own, "
         "the zero padding; the count of all bytes in parentheses.\n\n"
         "| Operation (example) | Sent by | Format | Example | N | Serial link | TCP link | Arguments the panel "
         "sends |\n|---|---|---|---|---|---|---|---|\n";
  for (const CommandRow& row : kCommandRows) {
    const WireCommand wire = captureCommands(row.send).at(0);
    out << "| " << code(row.operation) << " | " << sentByCell(row, wire.text) << " | " << code(formatCell(row))
        << " | " << code(row.example) << " | " << wire.transmitCount << " | "
        << bytesCell(wire.serialBytes, wire.text.size()) << " | " << bytesCell(wire.tcpBytes, wire.text.size())
        << " | " << row.arguments << " |\n";
  }
}

// Zero bytes on the serial link too: the commands whose N exceeds their
// example's length plus one. And the characters that end a command.
void writeSerialPadding(std::ostream& out) {
  std::string list;
  std::string endings;
  for (const CommandRow& row : kCommandRows) {
    const WireCommand wire = captureCommands(row.send).at(0);
    if (wire.serialBytes.size() > wire.text.size()) list += (list.empty() ? "" : ", ") + code(wire.text);
    const std::string last = wire.text.substr(wire.text.size() - 1);
    if (endings.find(code(last)) == std::string::npos) endings += (endings.empty() ? "" : ", ") + code(last);
  }
  out << "\nEvery text ends in one of " << endings << " (those ending in `>` start with `<`).\n"
      << "\nOn the serial link zero bytes follow the text of these examples: " << list
      << ". The texts of the other rows go out alone. N stays as it is for every argument, so a shorter octet or "
         "port number leaves more zeros.\n";
}

void writeFreeText(std::ostream& out) {
  // The Send row's transmit count: the text, CR LF and a terminator.
  const wchar_t kExample[] = L"R SOURCE.";
  const int length = static_cast<int>(sizeof kExample / sizeof kExample[0]) - 1;
  const std::wstring line = std::wstring(kExample) + L"\r\n";
  const WireCommand wire = wireCommand(line.c_str(), length + 3);
  out << "\n### Free text\n\n"
         "The main window's \"Send\" button (in the output pane that \"Show Output\" opens) sends the text of the "
         "edit beside it followed by CR LF, while a serial port is open. Its transmit count is the text's length "
         "plus 3: the serial link writes the text and CR LF, the TCP link one zero byte more. A text goes out "
         "whole or not at all: a text with a character beyond one byte, or longer than "
      << kFreeTextMaxUnits
      << " characters, is not sent, and the output pane says why.\n\n"
         "| Sent by | Example text | Serial link | TCP link |\n|---|---|---|---|\n"
      << "| \"Send\" | " << code(narrow(kExample)) << " | " << bytesCell(wire.serialBytes, line.size()) << " | "
      << bytesCell(wire.tcpBytes, line.size()) << " |\n";
}

// The resolution whose command is captured: an operation without arguments
// of its own is what a capture runs.
int resolutionAsked = 0;

void writeArgumentTables(std::ostream& out) {
  out << "\n### Video inputs\n\n`{n}` of `S SOURCE {n}.`, and the name the unit gives the input in its replies.\n\n"
         "| n | Name |\n|---|---|\n";
  for (int n = 0; n < kVideoInputCount; ++n)
    for (int entry = 0; entry < kVideoInputCount; ++entry)
      if (videoInputIndexOfName(entry) == n) out << "| " << n << " | " << code(narrow(videoInputNames[entry])) << " |\n";
  out << "\n### Audio inputs\n\n`{n}` of `S AUDIO {n}.` and `A {n} INPUT {l}%`, and the name the unit gives the "
         "input in its `AUDIO` replies; 9 is the combined HDMI/HDBaseT input.\n\n| n | Name |\n|---|---|\n";
  for (int n = 0; n < kAudioInputCount; ++n) out << "| " << n << " | " << code(narrow(audioInputNames[n])) << " |\n";
  out << "\n### Resolutions\n\nThe command `S OUTPUT {m}!` for each resolution, whose name the unit also uses in "
         "its replies.\n\n| Resolution | Command |\n|---|---|\n";
  for (int r = 0; r < kResolutionCount; ++r) {
    resolutionAsked = r;
    const WireCommand wire = captureCommands([] { return selectOutputResolution(resolutionAsked); }).at(0);
    out << "| " << code(narrow(resolutionTable[r])) << " | " << code(wire.text) << " |\n";
  }
}
}  // namespace

void writeCommandSection(std::ostream& out) {
  out << "\n## Commands\n\n";
  writeCommandTable(out);
  writeSerialPadding(out);
  writeFreeText(out);
  writeArgumentTables(out);
}
