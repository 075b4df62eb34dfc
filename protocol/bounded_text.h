#pragma once
// Bounded formatting for the portable core: the result is cut to size - 1
// units and always terminated. Wide string arguments take %ls.
#include <cstdarg>
#include <cstddef>

// Returns false when the result was cut.
bool formatBounded(wchar_t* out, std::size_t size, const wchar_t* format, ...);
bool vformatBounded(wchar_t* out, std::size_t size, const wchar_t* format, va_list args);

// Copies at most size - 1 units of text and terminates; false when cut.
bool copyBounded(wchar_t* out, std::size_t size, const wchar_t* text);

// Length of text, reading at most limit units.
std::size_t boundedLength(const wchar_t* text, std::size_t limit);
