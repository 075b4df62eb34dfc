#pragma once
// Validation of the Network Settings rows, as typed into the edits.

// An edit's number: false unless the text is decimal digits alone (leading
// zeros allowed), else its value (clamped to int's range).
bool readEditNumber(const wchar_t* text, int* value);

// Four octet texts, left to right: valid when each is a number 0..255.
// All four are read even after one has failed: values get each text's
// number, or 0 for a text that is no number.
bool validateAddressRow(const wchar_t* const texts[4], int values[4]);

// The port text: valid when a number 0..65535; value gets its number, or 0
// when it is no number.
bool validatePortRow(const wchar_t* text, int* value);
