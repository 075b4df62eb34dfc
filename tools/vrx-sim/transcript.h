#pragma once
// The transcript: one line per command received, reply sent, rejection or
// line event, with the time since start, so a test can see exactly what
// crossed the line and when.
#include <chrono>
#include <cstdio>
#include <string>

struct Transcript {
  std::FILE* file = nullptr;
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

bool openTranscript(Transcript& transcript, const std::string& path);
void closeTranscript(Transcript& transcript);

// "<seconds> <kind> <bytes>", the bytes escaped as escapeBytes does.
void writeTranscriptBytes(Transcript& transcript, const char* kind, const std::string& bytes);
// "<seconds> <kind> <text>", the text written as it is.
void writeTranscriptNote(Transcript& transcript, const char* kind, const std::string& text);
