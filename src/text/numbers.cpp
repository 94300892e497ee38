#include "text/numbers.h"

#include <cstdint>

namespace tandrel {

namespace {

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> IntegerValue(const std::string& s) {
    const size_t n = s.size();
    size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos) return std::nullopt;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-') {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && s[i] == '$') {
        hex = true;
        i += 1;
    } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n) return std::nullopt;
    // Hexadecimal text is a 32-bit pattern; decimal text a signed value.
    const uint64_t limit = hex ? 0xFFFFFFFFu : (negative ? 2147483648u : 2147483647u);
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int d = DigitValue(s[i], hex);
        if (d < 0) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? 0 - value : value));
}

bool IsInteger(const std::string& s) { return IntegerValue(s).has_value(); }

int LeadingNumberLength(const std::string& s) {
    // Every prefix up to the result must convert on its own. A blank, a sign or
    // "$" alone does not, and a digit followed by anything but a digit does
    // not either, so this is the run of leading decimal digits, cut where its
    // value leaves the signed 32-bit range.
    int64_t value = 0;
    int length = 0;
    for (char c : s) {
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > INT32_MAX) break;
        ++length;
    }
    return length;
}

std::string IntToStrZero(long long n, int width) {
    std::string text = std::to_string(n);
    const size_t signLength = n < 0 ? 1 : 0;
    if (width > 0 && text.size() < static_cast<size_t>(width)) {
        text.insert(signLength, static_cast<size_t>(width) - text.size(), '0');
    }
    return text;
}

}  // namespace tandrel
