#include "protocol/network_rows.h"

#include "protocol/number_text.h"

bool readEditNumber(const wchar_t* text, int* value) {
  if (text == nullptr || text[0] == 0) return false;
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
