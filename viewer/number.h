// Reading and writing the numbers of the book file, the options profile and the dialogs' text boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace viewer {

// The number at the start of a text: an optional sign, decimal digits, an optional fraction.
// Blanks anywhere in the number are ignored; a text that starts with no number gives 0.
double ReadNumber(std::string_view text);

// Nearest integer with halves going to the even neighbour; empty when outside the 16-bit range.
std::optional<std::int16_t> RoundToInt16(double value);

// ReadNumber then RoundToInt16.
std::optional<std::int16_t> ReadInt16(std::string_view text);

// Like ReadInt16, but a value beyond the 16-bit range is pinned to its nearest end.
std::int16_t ReadInt16Saturated(std::string_view text);

// The file form of a number: a sign position (blank or "-"), the digits, one trailing blank.
std::string FormatNumberField(std::int32_t value);
// The same for a single-precision value: whole values have no decimal point.
std::string FormatSingleField(float value);

// The text that a text box shows for a number (no blanks): "12", "-5".
std::string DecimalText(std::int32_t value);

// The text after the first `count` characters of a line, counting a double-byte character
// (a lead byte and its trail byte) as one character.
std::string_view SkipCharacters(std::string_view line, std::size_t count);

}  // namespace viewer
