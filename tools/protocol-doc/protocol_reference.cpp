#include "protocol_reference.h"

#include <sstream>

#include "command_rows.h"
#include "reference_parts.h"

std::string narrow(const wchar_t* text) {
  std::string out;
  for (; *text != 0; ++text) out += static_cast<char>(*text);
  return out;
}

std::string code(const std::string& text) { return "`" + text + "`"; }

std::string commandText(CommandId id) {
  for (const CommandRow& row : kCommandRows)
    if (row.id == id) return captureCommands(row.send).at(0).text;
  return "";
}

void writeQuerySteps(std::ostream& out, const QuerySequence& steps, int firstNumber) {
  int number = firstNumber;
  for (const QueryStep& step : steps) {
    out << number++ << ". ";
    if (step.pauseBeforeMs != 0) out << "after " << step.pauseBeforeMs << " ms: ";
    out << code(captureCommands(step.send).at(0).text) << "\n";
  }
}

std::string protocolReference() {
  std::ostringstream out;
  out << "# VRX-2600 command language, as the control panel speaks it\n\n"
         "For integrators who drive the unit from a control system of their own: every command the panel sends, "
         "its exact bytes on the serial and the TCP link, and every reply line the panel reads. Written by "
         "`tools/protocol-doc` from the program's own tables (the command table and operations, the query "
         "sequences, the reply keys); do not edit it by hand. `make protocol-doc` writes it again, and `make test` "
         "fails while it differs from what the program writes.\n";
  writeLineSection(out);
  writeCommandSection(out);
  writeReplySection(out);
  writeBehaviourSection(out);
  return out.str();
}
