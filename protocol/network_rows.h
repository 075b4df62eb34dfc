#pragma once
// Validation of the Network Settings rows, as typed into the edits.

// An edit's number: false for an empty text, else its decimal value (clamped).
bool readEditNumber(const wchar_t* text, int* value);

// Four octet texts, left to right: valid when none is empty and each is 0..255.
// All four are read even after one has failed.
bool validateAddressRow(const wchar_t* const texts[4], int values[4]);

// The port text: valid when not empty and 0..65535.
bool validatePortRow(const wchar_t* text, int* value);
