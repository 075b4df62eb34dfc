#include "links/single_byte_text.h"

bool hasSingleByteForm(const wchar_t* text) {
  for (; text != nullptr && *text != 0; ++text)
    if (static_cast<unsigned>(*text) > 0xFF) return false;
  return true;
}

bool toSingleByte(const wchar_t* text, int size, char* bytes) {
  for (int i = 0; i < size; ++i) bytes[i] = 0;
  if (text == nullptr) return true;
  for (int i = 0; i < size && text[i] != 0; ++i) {
    if (static_cast<unsigned>(text[i]) > 0xFF) {
      for (int j = 0; j < size; ++j) bytes[j] = 0;
      return false;
    }
    bytes[i] = static_cast<char>(static_cast<unsigned char>(text[i]));
  }
  return true;
}
