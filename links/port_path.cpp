#include "links/port_path.h"

#include "protocol/bounded_text.h"

namespace {
bool holdsBackslash(const wchar_t* name) {
  for (; *name != 0; ++name)
    if (*name == L'\\') return true;
  return false;
}
}  // namespace

bool portDevicePath(const wchar_t* name, wchar_t* out, std::size_t size) {
  if (size == 0) return false;
  const wchar_t* prefix = holdsBackslash(name) ? L"" : L"\\\\.\\";
  // A cut path would name another device: nothing is opened instead.
  if (formatBounded(out, size, L"%ls%ls", prefix, name)) return true;
  out[0] = 0;
  return false;
}
