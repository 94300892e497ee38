#include "text/cp1251.h"

#include <array>
#include <cstdint>

namespace tandrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Unicode of the bytes 0x80-0xBF; 0 marks the one undefined byte (0x98).
// Bytes below 0x80 are ASCII, 0xC0-0xFF are U+0410-U+044F (А..я).
constexpr char16_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

char32_t ByteToCodePoint(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return 0x0410 + (b - 0xC0);
    char16_t u = kHighHalf[b - 0x80];
    return u ? u : kReplacement;
}

// The byte for a code point, or kUnmappableChar when the page has none.
char CodePointToByte(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= 0x0410 && cp <= 0x044F) return static_cast<char>(0xC0 + (cp - 0x0410));
    for (int i = 0; i < 64; ++i) {
        if (kHighHalf[i] != 0 && kHighHalf[i] == cp) return static_cast<char>(0x80 + i);
    }
    return kUnmappableChar;
}

// Decodes one well-formed UTF-8 sequence at the start of s (no overlong forms,
// no surrogates, nothing above U+10FFFF). Returns its length, or 0 when the
// first byte does not begin a well-formed sequence.
size_t DecodeUtf8(std::string_view s, char32_t& cp) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    size_t len;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, min = 0x80, cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, min = 0x800, cp = b0 & 0x0F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, min = 0x10000, cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (s.size() < len) return 0;
    for (size_t i = 1; i < len; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

char32_t Cp1251ToCodePoint(char byte) { return ByteToCodePoint(static_cast<unsigned char>(byte)); }

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}


Cp1251Text Utf8ToCp1251(std::string_view utf8) {
    Cp1251Text result{std::string(), true};
    result.text.reserve(utf8.size());
    while (!utf8.empty()) {
        char32_t cp = 0;
        size_t len = DecodeUtf8(utf8, cp);
        char b = kUnmappableChar;
        if (len == 0) {
            len = 1;  // a malformed byte stands for itself
        } else {
            b = CodePointToByte(cp);
        }
        if (b == kUnmappableChar) result.lossless = false;
        result.text += b;
        utf8.remove_prefix(len);
    }
    return result;
}

char CodePointToCp1251(char32_t cp) { return CodePointToByte(cp); }

namespace {

// The UTF-8 form of each byte: its length and up to three bytes (the page
// lies in the Basic Multilingual Plane).
struct Utf8Form {
    unsigned char size = 0;
    char bytes[3] = {};
};

std::array<Utf8Form, 256> MakeUtf8Forms() {
    std::array<Utf8Form, 256> forms{};
    for (int b = 0; b < 256; ++b) {
        std::string utf8;
        AppendUtf8(utf8, ByteToCodePoint(static_cast<unsigned char>(b)));
        forms[b].size = static_cast<unsigned char>(utf8.size());
        for (std::size_t i = 0; i < utf8.size(); ++i) forms[b].bytes[i] = utf8[i];
    }
    return forms;
}

const std::array<Utf8Form, 256>& Utf8Forms() {
    static const std::array<Utf8Form, 256> forms = MakeUtf8Forms();
    return forms;
}

}  // namespace

void AppendCp1251AsUtf8(std::string& out, std::string_view cp1251) {
    const std::array<Utf8Form, 256>& forms = Utf8Forms();
    const std::size_t start = out.size();
    out.resize(start + 3 * cp1251.size());
    char* p = out.data() + start;
    for (char c : cp1251) {
        const Utf8Form& f = forms[static_cast<unsigned char>(c)];
        p[0] = f.bytes[0];
        p[1] = f.bytes[1];
        p[2] = f.bytes[2];
        p += f.size;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    AppendCp1251AsUtf8(out, cp1251);
    return out;
}

}  // namespace tandrel
