#include "protocol/network_rows.h"

#include "protocol/number_text.h"

namespace {
// Text pasted into an edit is not held to ES_NUMBER: only a text of decimal
// digits alone is a number here, so that "0x10" or "1.5" never reaches the
// unit as 0 or 1.
bool digitsOnly(const wchar_t* text) {
  for (; *text != 0; ++text)
    if (*text < L'0' || *text > L'9') return false;
  return true;
}
}  // namespace

bool readEditNumber(const wchar_t* text, int* value) {
  if (text == nullptr || text[0] == 0 || !digitsOnly(text)) return false;
  *value = parseDecimal(text);
  return true;
}

bool validateAddressRow(const wchar_t* const texts[4], int values[4]) {
  bool valid = true;
  for (int i = 0; i < 4; ++i) {
    values[i] = 0;
    if (!readEditNumber(texts[i], &values[i]) || values[i] < 0 || values[i] > 255) valid = false;
  }
  return valid;
}

bool validatePortRow(const wchar_t* text, int* value) {
  *value = 0;
  return readEditNumber(text, value) && *value >= 0 && *value <= 65535;
}
