#include "command_splitter.h"

namespace {

bool isPlainTerminator(char byte) {
  return byte == '.' || byte == '!' || byte == '%' || byte == '*';
}

std::string printablePrefix(const std::string& text, size_t length) {
  std::string out;
  for (size_t i = 0; i < text.size() && i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  return out;
}

}  // namespace

void CommandSplitter::feed(const char* data, size_t size, std::vector<SplitEvent>& out) {
  // Padding is attached to a command only within one feed: the caller has
  // already acted on the events of earlier feeds.
  padAfterCommand_ = false;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\0' && pending_.empty() && !discarding_)
      takeZero(out);
    else
      take(data[i], out);
  }
}

void CommandSplitter::reset() {
  pending_.clear();
  discarding_ = false;
  discarded_ = 0;
  padAfterCommand_ = false;
}

void CommandSplitter::takeZero(std::vector<SplitEvent>& out) {
  if (padAfterCommand_ && !out.empty() && out.back().kind == SplitEvent::Command) {
    out.back().raw += '\0';
    return;
  }
  if (out.empty() || out.back().kind != SplitEvent::Padding)
    out.push_back({SplitEvent::Padding, "", ""});
  out.back().raw += '\0';
  padAfterCommand_ = false;
}

bool CommandSplitter::endsCommand(char byte) const {
  if (pending_.empty()) return false;
  if (pending_[0] == '<') return byte == '>';
  if (isPlainTerminator(byte)) return true;
  return byte == '\n' && pending_.size() >= 2 && pending_[pending_.size() - 2] == '\r';
}

void CommandSplitter::take(char byte, std::vector<SplitEvent>& out) {
  padAfterCommand_ = false;
  if (discarding_) {
    ++discarded_;
    bool ends = discardAngle_ ? byte == '>' : (isPlainTerminator(byte) || byte == '\n');
    if (ends) finishDiscard(out);
    return;
  }
  pending_ += byte;
  if (endsCommand(byte)) {
    std::string text = pending_;
    if (pending_[0] != '<' && byte == '\n') text.resize(text.size() - 2);  // free text
    out.push_back({SplitEvent::Command, text, pending_});
    pending_.clear();
    padAfterCommand_ = true;
    return;
  }
  // A command, terminator included, is at most cap_ bytes long.
  if (pending_.size() >= cap_) overflow(out);
}

// Reported at once, so that a stream that never ends its command still shows
// up in the log; the rest of the command is then dropped up to its terminator.
void CommandSplitter::overflow(std::vector<SplitEvent>& out) {
  out.push_back({SplitEvent::Rejected,
                 "command of more than " + std::to_string(cap_) +
                     " bytes without terminator (starts \"" + printablePrefix(pending_, 24) +
                     "\"), dropping it up to its terminator",
                 ""});
  discarding_ = true;
  discardAngle_ = pending_[0] == '<';
  discarded_ = pending_.size();
  pending_.clear();
}

void CommandSplitter::finishDiscard(std::vector<SplitEvent>& out) {
  out.push_back({SplitEvent::Rejected,
                 "dropped " + std::to_string(discarded_) + " bytes of an over-long command", ""});
  discarding_ = false;
  discarded_ = 0;
}
