#pragma once
// The commands as the protocol reference lists them: one row per text of the
// command table, with the operation that sends it, what the operator uses to
// call it and an example with real arguments; and the capture of what an
// operation hands the link.
#include <string>
#include <vector>

#include "protocol/command_texts.h"

constexpr int kMaxPlaceholders = 4;

struct CommandRow {
  CommandId id;
  const char* operation;   // the call of the example, as the program writes it
  // The controls and menu items that send it, each named in double quotes as
  // the window shows it ("\n" a blank, no "&"); null when only a fixed query
  // sequence sends it (the reference adds those from their tables).
  const char* sentBy;
  // What each conversion of the format stands for, in order; an empty one
  // stands for nothing of its own (the padding zeros of a three-digit value).
  const char* placeholders[kMaxPlaceholders];
  const char* arguments;   // the values the panel sends
  const char* example;     // the text the unit receives
  int (*send)();           // the operation with the example's arguments
};

constexpr int kCommandRowCount = static_cast<int>(CommandId::Count);
extern const CommandRow kCommandRows[kCommandRowCount];

// A command as the links put it on the wire.
struct WireCommand {
  std::string text;
  int transmitCount = 0;     // N, the size handed to the link
  std::string serialBytes;   // N - 1 bytes: the text, then zeros
  std::string tcpBytes;      // N bytes: the text, then zeros
};

WireCommand wireCommand(const wchar_t* text, int transmitCount);

// Every command that run hands the link, from the panel's start values (plus
// what run sets itself); the program's state is put back afterwards.
std::vector<WireCommand> captureCommands(int (*run)());
