#include "tags/tagtext.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "text/cp1251.h"
#include "text/numbers.h"

namespace tandrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

unsigned Byte(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

std::u32string DecodeUtf8(std::string_view bytes, std::size_t& used) {
    std::u32string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned b = Byte(bytes, i);
        if (b == 0) {
            used = i + 1;
            return out;
        }
        int follow = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        if (follow < 0 || i + static_cast<std::size_t>(follow) >= bytes.size()) {
            out += kReplacement;
            ++i;
            continue;
        }
        char32_t cp = follow == 0 ? b : b & (0x3F >> follow);
        bool valid = true;
        for (int k = 1; k <= follow; ++k) {
            const unsigned c = Byte(bytes, i + static_cast<std::size_t>(k));
            if ((c & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += kReplacement;
            ++i;
            continue;
        }
        out += cp;
        i += static_cast<std::size_t>(follow) + 1;
    }
    used = bytes.size();
    return out;
}

std::u32string DecodeUtf16(std::string_view bytes, bool bigEndian, bool acceptBom, std::size_t& used) {
    std::u32string out;
    std::size_t i = 0;
    auto unit = [&](std::size_t at) -> unsigned {
        return bigEndian ? (Byte(bytes, at) << 8) | Byte(bytes, at + 1) : (Byte(bytes, at + 1) << 8) | Byte(bytes, at);
    };
    if (acceptBom && bytes.size() >= 2) {
        if (Byte(bytes, 0) == 0xFF && Byte(bytes, 1) == 0xFE) {
            bigEndian = false;
            i = 2;
        } else if (Byte(bytes, 0) == 0xFE && Byte(bytes, 1) == 0xFF) {
            bigEndian = true;
            i = 2;
        }
    }
    while (i + 1 < bytes.size()) {
        const unsigned u = unit(i);
        i += 2;
        if (u == 0) {
            used = i;
            return out;
        }
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < bytes.size()) {
            const unsigned low = unit(i);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                out += static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        out += (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : static_cast<char32_t>(u);
    }
    used = bytes.size();  // an odd last byte is part of no character
    return out;
}

void AppendUnit(std::string& out, unsigned u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
}

bool Blank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

bool IsUnicodeEncoding(unsigned char encoding) { return encoding >= 1 && encoding <= 3; }

std::u32string DecodeTagString(unsigned char encoding, std::string_view bytes, std::size_t* consumed) {
    std::size_t used = 0;
    std::u32string text;
    switch (encoding) {
        case kEncodingUtf16Bom: text = DecodeUtf16(bytes, false, true, used); break;
        case kEncodingUtf16BE: text = DecodeUtf16(bytes, true, false, used); break;
        case kEncodingUtf8: text = DecodeUtf8(bytes, used); break;
        default: {
            // Single bytes: each byte is one character.
            std::size_t end = bytes.find('\0');
            used = end == std::string_view::npos ? bytes.size() : end + 1;
            for (std::size_t i = 0; i < bytes.size() && i < end; ++i) text += static_cast<char32_t>(Byte(bytes, i));
        }
    }
    if (consumed) *consumed = used;
    return text;
}

std::string CodePointsToCp1251(const std::u32string& text, std::u32string* lost) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) {
        const char c = CodePointToCp1251(cp);
        if (c == kUnmappableChar && lost) AddLostCharacters(*lost, std::u32string(1, cp));
        out += c == kUnmappableChar ? '?' : c;
    }
    return out;
}

std::u32string Cp1251ToCodePoints(std::string_view cp1251) {
    static const std::array<char32_t, 256> table = [] {
        std::array<char32_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            std::size_t used = 0;
            const std::string utf8 = Cp1251ToUtf8(std::string_view(&c, 1));
            const std::u32string cp = DecodeUtf8(utf8, used);
            t[static_cast<std::size_t>(b)] = b == 0 ? 0 : cp.empty() ? kReplacement : cp[0];
        }
        return t;
    }();
    std::u32string out;
    out.reserve(cp1251.size());
    for (char c : cp1251) out += table[static_cast<unsigned char>(c)];
    return out;
}

void AddLostCharacters(std::u32string& lost, const std::u32string& text) {
    for (char32_t cp : text)
        if (lost.find(cp) == std::u32string::npos) lost += cp;
}

std::string NameCharacters(const std::u32string& chars) {
    std::string out;
    for (char32_t cp : chars) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
        if (!out.empty()) out += ", ";
        out += name;
    }
    return out;
}

std::string EncodeUtf16WithBom(const std::u32string& text, bool terminated) {
    std::string out = "\xFF\xFE";
    for (char32_t cp : text) {
        if (cp >= 0x10000 && cp <= 0x10FFFF) {
            const unsigned v = static_cast<unsigned>(cp - 0x10000);
            AppendUnit(out, 0xD800 + (v >> 10));
            AppendUnit(out, 0xDC00 + (v & 0x3FF));
        } else {
            AppendUnit(out, cp > 0x10FFFF ? 0xFFFD : static_cast<unsigned>(cp));
        }
    }
    if (terminated) out.append(2, '\0');
    return out;
}

namespace {

// Where s ends once its trailing blanks go, not before begin. Eight bytes at a
// time over the long runs of zero bytes that pad tag fields: a byte above 32
// sets its high bit, 33 to 127 through the addition, 128 and above by itself.
std::size_t TextEnd(std::string_view s, std::size_t begin) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL, kAdd = 0x5F5F5F5F5F5F5F5FULL;
    constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
    std::size_t end = s.size();
    while (end >= begin + 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + end - 8, sizeof word);
        if ((((word & kLow7) + kAdd) | word) & kHigh) break;
        end -= 8;
    }
    while (end > begin && Blank(s[end - 1])) --end;
    return end;
}

}  // namespace

std::string TrimTagText(std::string_view s) {
    std::size_t begin = 0;
    while (begin < s.size() && Blank(s[begin])) ++begin;
    return std::string(s.substr(begin, TextEnd(s, begin) - begin));
}

std::string TrimTrailingTagText(std::string_view s) { return std::string(s.substr(0, TextEnd(s, 0))); }

std::uint8_t TrackFromText(const std::string& s) {
    const std::optional<std::int32_t> n = IntegerValue(s);
    return n && *n >= 1 && *n <= 255 ? static_cast<std::uint8_t>(*n) : 0;
}

long long LeadingNumber(const std::string& s) {
    const int length = LeadingNumberLength(s);
    return length > 0 ? std::stoll(s.substr(0, static_cast<std::size_t>(length))) : 0;
}

}  // namespace tandrel
