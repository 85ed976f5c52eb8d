// Numbers held as text. Everything in the channel database is text exactly as
// the user sees it; wherever a number is needed it is taken from the text by
// one rule (the leading digits) and written back as plain decimal.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// Value of the leading decimal digits after optional blanks and an optional
// sign; 0 when there are none. Very long digit runs saturate instead of
// overflowing.
std::int64_t leadingValue(std::string_view text);

// The low 16 bits of leadingValue, as the receiver's file stores such fields.
std::uint16_t leadingU16(std::string_view text);

// Plain decimal text ("%d").
std::string decimalText(std::int64_t value);

// Re-reads a text by the leading-digits rule and gives it back as plain
// decimal: "01234" -> "1234", "_____" -> "0".
std::string normalisedNumber(std::string_view text);

// "Universal", "OCS" or "Single" from the two LNB local-oscillator frequencies.
std::string lnbTypeFor(std::string_view lnbFreq1, std::string_view lnbFreq2);

}  // namespace velmora
