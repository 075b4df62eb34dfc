// The protocol reference against the program and the simulated unit: each
// command row's example is exactly the text its operation hands the link, the
// unit takes the bytes of either link as that one command and zero padding,
// and answers it without ERR; every name the reference quotes is one the
// program's windows show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "command_rows.h"
#include "command_splitter.h"
#include "protocol_reference.h"
#include "sim_core.h"

namespace {
TEST(ProtocolReference, EachExampleIsWhatItsOperationSendsAndTheUnitAnswersIt) {
  for (int index = 0; index < kCommandRowCount; ++index) {
    const CommandRow& row = kCommandRows[index];
    SCOPED_TRACE(row.operation);
    EXPECT_EQ(static_cast<int>(row.id), index);   // one row per command text, in table order
    const std::vector<WireCommand> sent = captureCommands(row.send);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].text, row.example);
    EXPECT_EQ(sent[0].transmitCount, commandTable[index].transmitCount);
    EXPECT_EQ(sent[0].tcpBytes, sent[0].serialBytes + '\0');
    for (const std::string& bytes : {sent[0].serialBytes, sent[0].tcpBytes}) {
      CommandSplitter splitter;
      std::vector<SplitEvent> events;
      splitter.feed(bytes.data(), bytes.size(), events);
      ASSERT_EQ(events.size(), 1u);
      EXPECT_EQ(events[0].text, row.example);
      EXPECT_EQ(events[0].raw, bytes);   // the rest is zero padding
      SimState unit = factorySimState();
      const std::vector<std::string> replies = handleCommand(unit, events[0].text);
      EXPECT_FALSE(replies.empty());
      for (const std::string& reply : replies) EXPECT_EQ(reply.find("ERR"), std::string::npos) << reply;
    }
  }
}

// A text of the program's sources as a window shows it: a line break is a
// blank, an "&" only marks the access key, a trailing blank does not show.
std::string asShown(const std::string& literal) {
  std::string shown;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == '\\' && i + 1 < literal.size() && literal[i + 1] == 'n') {
      shown += ' ';
      ++i;
    } else if (literal[i] != '&') {
      shown += literal[i];
    }
  }
  while (!shown.empty() && shown.back() == ' ') shown.pop_back();
  return shown;
}

// The string literals of a file that start with opener (L" in C++, " in the
// menu resource), as they stand.
void addLiterals(const std::filesystem::path& file, const std::string& opener, std::set<std::string>& out) {
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (std::size_t at = text.find(opener); at != std::string::npos; at = text.find(opener, at)) {
    std::size_t end = at + opener.size();
    while (end < text.size() && text[end] != '"') end += text[end] == '\\' ? 2 : 1;
    out.insert(asShown(text.substr(at + opener.size(), end - at - opener.size())));
    at = end + 1;
  }
}

std::set<std::string> textsTheWindowsShow() {
  namespace fs = std::filesystem;
  const fs::path root = VRX_SOURCE_DIR;
  std::set<std::string> shown;
  for (const char* folder : {"ui", "protocol"})
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / folder))
      if (entry.path().extension() == ".cpp") addLiterals(entry.path(), "L\"", shown);
  addLiterals(root / "resources" / "vrx2600.rc", "\"", shown);
  return shown;
}

// In the reference, double quotes outside code spans hold only names of
// controls, menus and windows.
TEST(ProtocolReference, EveryNameItQuotesIsShownByTheProgram) {
  const std::set<std::string> shown = textsTheWindowsShow();
  const std::string reference = protocolReference();
  int quoted = 0;
  bool inCode = false;
  for (std::size_t at = 0; at < reference.size(); ++at) {
    if (reference[at] == '`') inCode = !inCode;
    if (inCode || reference[at] != '"') continue;
    const std::size_t end = reference.find('"', at + 1);
    ASSERT_NE(end, std::string::npos);
    const std::string name = reference.substr(at + 1, end - at - 1);
    EXPECT_EQ(shown.count(name), 1u) << name;
    ++quoted;
    at = end;
  }
  EXPECT_GT(quoted, 30);
}
}  // namespace
