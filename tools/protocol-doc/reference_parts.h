#pragma once
// The sections of the protocol reference and the few helpers they share.
#include <ostream>
#include <string>

#include "protocol/command_texts.h"
#include "protocol/query_sequences.h"

void writeLineSection(std::ostream& out);
void writeCommandSection(std::ostream& out);
void writeReplySection(std::ostream& out);
void writeBehaviourSection(std::ostream& out);

// The unit's texts are ASCII; a wide text narrowed unit by unit.
std::string narrow(const wchar_t* text);
std::string code(const std::string& text);   // a Markdown code span

// The text the row of id sends, as its operation formats it.
std::string commandText(CommandId id);

// A fixed query sequence (both have the same length).
using QuerySequence = decltype(kUnitStateQueries);

// The sequence as a numbered list: each query and its pause.
void writeQuerySteps(std::ostream& out, const QuerySequence& steps, int firstNumber);
