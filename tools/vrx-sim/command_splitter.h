#pragma once
// Cuts the byte stream the unit receives into commands. The panel sends
// commands without line ends and pads them with zero bytes; free text comes
// with CR LF. A command that starts with "<" ends at ">"; any other ends at
// the first ".", "!", "%" or "*", or at CR LF.
#include <cstddef>
#include <string>
#include <vector>

struct SplitEvent {
  enum Kind {
    Command,   // text is the command (free text without CR LF, "" for a blank line)
    Padding,   // zero bytes between commands that no command of this feed precedes
    Rejected,  // text says what was dropped and why
  };
  Kind kind;
  std::string text;
  std::string raw;  // the bytes as received, with the zero padding that followed
};

// The longest command taken, terminator included. A longer one is reported,
// and dropped up to its terminator, so the buffer never grows past this.
constexpr size_t kDefaultCommandCap = 256;

class CommandSplitter {
 public:
  explicit CommandSplitter(size_t cap = kDefaultCommandCap) : cap_(cap) {}

  // Appends the events that these bytes complete to out.
  void feed(const char* data, size_t size, std::vector<SplitEvent>& out);

  // Forgets a partial command, as when the line drops.
  void reset();

  size_t pendingSize() const { return pending_.size(); }

 private:
  void take(char byte, std::vector<SplitEvent>& out);
  void takeZero(std::vector<SplitEvent>& out);
  void overflow(std::vector<SplitEvent>& out);
  void finishDiscard(std::vector<SplitEvent>& out);
  bool endsCommand(char byte) const;

  size_t cap_;
  std::string pending_;
  bool discarding_ = false;    // dropping the rest of an over-long command
  bool discardAngle_ = false;  // the dropped command started with "<"
  size_t discarded_ = 0;
  bool padAfterCommand_ = false;  // zeros now belong to the last Command event
};
