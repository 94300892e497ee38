// Number operations of the rename commands on code-page-1251 text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tandrel {

// Whole text converts to a signed 32-bit integer: leading blanks, optional
// sign, decimal digits or "$" and hexadecimal digits.
bool IsInteger(const std::string& s);
// The value of a text that IsInteger accepts, hexadecimal text as the 32-bit
// pattern it spells ("$FFFFFFFF" is -1); absent for any other text.
std::optional<std::int32_t> IntegerValue(const std::string& s);
// Length of the longest leading part of s that converts to an integer.
int LeadingNumberLength(const std::string& s);
std::string IntToStrZero(long long n, int width);

}  // namespace tandrel
