#include "sim_options.h"

#include "byte_escape.h"

namespace {

bool parseCount(const std::string& text, long low, long high, long& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value >= low && value <= high;
}

bool isNumber(const std::string& text) {
  long ignored;
  return parseCount(text, 0, 999999999, ignored);
}

struct NumberOption {
  const char* name;
  long low;
  long high;
  void (*store)(SimOptions&, long);
};

const NumberOption kNumberOptions[] = {
    {"--delay", 0, 600000, [](SimOptions& o, long v) { o.replyDelayMs = int(v); }},
    {"--chunk", 1, 1 << 20, [](SimOptions& o, long v) { o.chunkBytes = size_t(v); }},
    {"--chunk-pause", 0, 600000, [](SimOptions& o, long v) { o.chunkPauseMs = int(v); }},
    {"--garbage-rate", 1, 10000000, [](SimOptions& o, long v) { o.garbageRate = int(v); }},
    {"--seed", 0, 999999999, [](SimOptions& o, long v) { o.seed = unsigned(v); }},
    {"--hangup-after", 1, 999999999, [](SimOptions& o, long v) { o.hangupAfter = int(v); }},
    {"--comeback-after", 0, 600000, [](SimOptions& o, long v) { o.comebackAfterMs = int(v); }},
    {"--on-after", 0, 600000, [](SimOptions& o, long v) { o.onAfterMs = int(v); }},
    {"--max-command", 16, 1 << 20, [](SimOptions& o, long v) { o.commandCap = size_t(v); }},
};

struct FlagOption {
  const char* name;
  bool SimOptions::*field;
};

const FlagOption kFlagOptions[] = {
    {"--silent", &SimOptions::silent},
    {"--garbage", &SimOptions::garbage},
    {"--verbose", &SimOptions::verbose},
    {"-v", &SimOptions::verbose},
    {"--help", &SimOptions::help},
    {"-h", &SimOptions::help},
};

// Returns 0 if args[i] is no option of this kind, else how many args it used
// (-1 on error).
int takeNumberOption(const std::vector<std::string>& args, size_t i, SimOptions& options,
                     std::string& error) {
  for (const NumberOption& option : kNumberOptions) {
    if (args[i] != option.name) continue;
    long value;
    if (i + 1 >= args.size() || !parseCount(args[i + 1], option.low, option.high, value)) {
      error = std::string(option.name) + " needs a number from " + std::to_string(option.low) +
              " to " + std::to_string(option.high);
      return -1;
    }
    option.store(options, value);
    return 2;
  }
  return 0;
}

int takeFlagOption(const std::string& arg, SimOptions& options) {
  for (const FlagOption& option : kFlagOptions) {
    if (arg != option.name) continue;
    options.*option.field = true;
    return 1;
  }
  return 0;
}

// "--tcp" takes an optional port number.
int takeTcpOption(const std::vector<std::string>& args, size_t i, SimOptions& options,
                  std::string& error) {
  if (args[i] != "--tcp") return 0;
  options.tcp = true;
  if (i + 1 >= args.size() || !isNumber(args[i + 1])) return 1;
  long port;
  if (!parseCount(args[i + 1], 1, 65535, port)) {
    error = "--tcp port must be 1 to 65535";
    return -1;
  }
  options.tcpPort = int(port);
  return 2;
}

// "--leftover TEXT": the bytes, escapes read as the transcript writes them.
int takeLeftoverOption(const std::vector<std::string>& args, size_t i, SimOptions& options,
                       std::string& error) {
  if (args[i] != "--leftover" || i + 1 >= args.size()) return 0;
  if (!unescapeBytes(args[i + 1], options.leftover, error)) {
    error = "--leftover: " + error;
    return -1;
  }
  if (options.leftover.size() > kMaxLeftoverBytes) {
    error = "--leftover takes at most " + std::to_string(kMaxLeftoverBytes) + " bytes";
    return -1;
  }
  return 2;
}

int takeOption(const std::vector<std::string>& args, size_t i, SimOptions& options,
               std::string& error) {
  const std::string& arg = args[i];
  if ((arg == "--transcript" || arg == "--link") && i + 1 < args.size()) {
    (arg == "--link" ? options.linkPath : options.transcriptPath) = args[i + 1];
    return 2;
  }
  if (int used = takeNumberOption(args, i, options, error)) return used;
  if (int used = takeTcpOption(args, i, options, error)) return used;
  if (int used = takeLeftoverOption(args, i, options, error)) return used;
  if (int used = takeFlagOption(arg, options)) return used;
  if (!arg.empty() && arg[0] == '-') {
    error = "unknown option or missing value: " + arg;
    return -1;
  }
  if (!options.linkPath.empty()) {
    error = "more than one link path: " + arg;
    return -1;
  }
  options.linkPath = arg;
  return 1;
}

}  // namespace

bool parseSimOptions(const std::vector<std::string>& args, SimOptions& options,
                     std::string& error) {
  for (size_t i = 0; i < args.size();) {
    int used = takeOption(args, i, options, error);
    if (used < 0) return false;
    i += size_t(used);
  }
  if (options.help) return true;
  if (options.linkPath.empty()) {
    error = "no link path given";
    return false;
  }
  if (options.comebackAfterMs >= 0 && options.hangupAfter == 0) {
    error = "--comeback-after needs --hangup-after";
    return false;
  }
  return true;
}

std::string simUsage() {
  return
      "usage: vrx-sim LINK [options]\n"
      "Plays a VRX-2600 unit on a pseudo-terminal; LINK becomes a symlink to it.\n"
      "\n"
      "  --link PATH            the symlink (instead of the LINK argument)\n"
      "  --delay MS             wait MS ms before each reply (every reply: a unit\n"
      "                         that answers late)\n"
      "  --chunk BYTES          send replies in pieces of BYTES bytes\n"
      "  --chunk-pause MS       pause MS ms between pieces (default 0)\n"
      "  --transcript FILE      write every command received and reply sent to FILE\n"
      "                         (\"rx\", \"tx\", \"tcp\", \"noise\", \"leftover\", \"unsent\",\n"
      "                         \"ignored\", \"rejected\", \"event\" lines;\n"
      "                         bytes escaped: \\0 zero byte, \\r, \\n, \\\\, \\xHH)\n"
      "  --silent               apply commands but never answer\n"
      "  --on-after MS          switched on MS ms after start: until then take nothing\n"
      "                         from the line (\"ignored\") and send nothing\n"
      "  --leftover TEXT        write TEXT to the line once, before LINK appears, as\n"
      "                         bytes a unit sent while no program had the port open;\n"
      "                         they wait for the first program that opens LINK\n"
      "                         (escapes \\\\ \\0 \\r \\n \\xHH; at most 4096 bytes)\n"
      "  --garbage              send line noise continuously (random bytes, lone \">\"\n"
      "                         lines, CR without LF, huge numbers), besides the replies\n"
      "  --garbage-rate BPS     bytes per second of line noise (default 200)\n"
      "  --seed N               seed of the line noise (default 1)\n"
      "  --hangup-after N       close the pty 0.2 s after the reply to the Nth command\n"
      "                         (counted afresh after each come-back)\n"
      "  --comeback-after MS    re-create the pty MS ms after a hang-up and re-point LINK\n"
      "  --tcp [PORT]           also take commands on 127.0.0.1:PORT (default 1024);\n"
      "                         nothing is sent back there\n"
      "  --max-command BYTES    longest command taken, terminator included (default 256)\n"
      "  -v, --verbose          log every command and reply to stderr\n"
      "  -h, --help             this text\n"
      "\n"
      "Rejected input is reported on stderr. SIGTERM or SIGINT ends the program and\n"
      "removes LINK.\n";
}
