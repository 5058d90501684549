// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Numbers live as text everywhere in the calculator; these functions are the only places
// where text becomes a double or a double becomes text. None of them depends on the
// process locale.
namespace engine {

// 1-based position of the first "." in text, 0 when there is none.
int findPoint(std::string_view text);

// The decimal value read from the start of the text; anything unreadable counts as 0.
double textToNumber(std::string_view text);

// The raw text of a result: 15 significant digits, plain notation for decimal exponents
// -4..14 and "1.5E+15" style otherwise, a leading blank for non-negative values and no
// "0" in front of the point (".5").
std::string rawNumberText(double value);

// Writes a raw text with a negative exponent out as plain decimals (" 1.5E-05" gives
// "0.000015"). Reads the whole exponent, however many digits it has.
std::string expandSmallExponent(std::string_view text);

// Trims blanks and puts the missing "0" in front of a leading point (".5", "-.5").
std::string normaliseResult(std::string_view text);

// Keeps at most four characters after the point. For exponent forms only the mantissa is
// cut, so "1.23456789012346E+17" stays a number of the same size: "1.2345E+17".
std::string cutDecimals(std::string_view text);

// Trims blanks and wraps a negative number in brackets for the record line.
std::string bracketNegative(std::string_view text);

// Removes leading and trailing blanks.
std::string trimBlanks(std::string_view text);

// Position of the exponent marker of a number in exponent form ("E+" or "E-"), or npos.
std::size_t exponentPosition(std::string_view text);

} // namespace engine
