// protocol-doc: writes the protocol reference, or checks a written one.
//
//   protocol-doc              to standard output
//   protocol-doc FILE         into FILE
//   protocol-doc --check FILE exit status 1 when FILE differs from it
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "protocol_reference.h"

namespace {
int check(const std::string& path, const std::string& reference) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream written;
  written << file.rdbuf();
  const std::string text = written.str();
  if (file && text == reference) return 0;
  std::size_t at = 0;
  while (at < text.size() && at < reference.size() && text[at] == reference[at]) ++at;
  std::size_t line = 1;
  for (std::size_t i = 0; i < at; ++i) line += reference[i] == '\n' ? 1 : 0;
  std::cerr << path << " differs from what the program writes, from line " << line
            << " on; write it again with: make protocol-doc\n";
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string reference = protocolReference();
  if (argc == 1) {
    std::cout << reference;
    return 0;
  }
  const std::string first = argv[1];
  if (argc == 3 && first == "--check") return check(argv[2], reference);
  if (argc == 2 && first[0] != '-') {
    std::ofstream file(first, std::ios::binary);
    file << reference;
    if (file) return 0;
    std::cerr << "protocol-doc: cannot write " << first << "\n";
    return 1;
  }
  std::cerr << "usage: protocol-doc [FILE | --check FILE]\n";
  return 2;
}
