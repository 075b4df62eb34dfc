#pragma once
// Number conversions for texts that come from the unit or from an edit.

// The decimal conversion of the C library's wide _wtoi: leading white space,
// one optional sign, then digits up to the first other character; no digits
// give 0; a number beyond int's range gives that range's limit.
int parseDecimal(const wchar_t* text);
// The same over the stretch [begin, end), which need not be terminated.
int parseDecimal(const wchar_t* begin, const wchar_t* end);

// Reads "a.b.c.d" into four numbers, first octet first. For each of the first
// three: the text up to the next "." is converted and reading goes on after it;
// with no "." left the whole remaining text is converted again. The fourth is
// the conversion of what is left.
void parseDottedQuad(const wchar_t* text, int out[4]);
void parseDottedQuad(const wchar_t* begin, const wchar_t* end, int out[4]);
