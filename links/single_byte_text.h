#pragma once
// The unit's texts are single-byte: one byte per UTF-16 unit of the same value.

// Fills bytes[0..size) with the text's units up to its terminator (at most
// size of them), then zeros. False when a unit above U+00FF has no byte form;
// bytes is then all zero.
bool toSingleByte(const wchar_t* text, int size, char* bytes);

// True when every unit of the terminated text is at most U+00FF.
bool hasSingleByteForm(const wchar_t* text);
