#include "transcript.h"

#include "byte_escape.h"

bool openTranscript(Transcript& transcript, const std::string& path) {
  transcript.file = std::fopen(path.c_str(), "w");
  return transcript.file != nullptr;
}

void closeTranscript(Transcript& transcript) {
  if (transcript.file) std::fclose(transcript.file);
  transcript.file = nullptr;
}

void writeTranscriptNote(Transcript& transcript, const char* kind, const std::string& text) {
  if (!transcript.file) return;
  auto elapsed = std::chrono::steady_clock::now() - transcript.start;
  long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
  std::fprintf(transcript.file, "%lld.%03lld %s %s\n", ms / 1000, ms % 1000, kind, text.c_str());
  // Flushed per line: tests read the file while the unit keeps running.
  std::fflush(transcript.file);
}

void writeTranscriptBytes(Transcript& transcript, const char* kind, const std::string& bytes) {
  writeTranscriptNote(transcript, kind, escapeBytes(bytes));
}
