#include "text/encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace tandrel {

namespace {

#if defined(__SSE2__)
// Copies the ASCII bytes at p + i to o, sixteen at a time (the caller leaves
// room for sixteen at both), and moves i and o past them; true when all
// sixteen were ASCII, false when a byte past the copied ones is not.
inline bool CopyAsciiRun(const unsigned char* p, std::size_t& i, char*& o) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), v);
    const std::size_t ascii = high ? static_cast<std::size_t>(__builtin_ctz(high)) : 16;
    o += ascii;
    i += ascii;
    return high == 0;
}
#endif

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

// The length of the UTF-8 sequence a lead byte begins (0 for no lead byte),
// with the range its second byte must fall in.
std::size_t SequenceLength(unsigned char c, unsigned char& min2, unsigned char& max2) {
    min2 = 0x80;
    max2 = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) return 2;
    if (c >= 0xE0 && c <= 0xEF) {
        if (c == 0xE0) min2 = 0xA0;  // no overlong form
        if (c == 0xED) max2 = 0x9F;  // no surrogate
        return 3;
    }
    if (c >= 0xF0 && c <= 0xF4) {
        if (c == 0xF0) min2 = 0x90;
        if (c == 0xF4) max2 = 0x8F;  // nothing above U+10FFFF
        return 4;
    }
    return 0;
}

// The position of the first byte of 0x80 or above, npos when there is none.
std::size_t FirstHighByte(std::string_view s) {
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if (word & 0x8080808080808080ULL) break;
    }
    for (; i < s.size(); ++i)
        if (static_cast<unsigned char>(s[i]) >= 0x80) return i;
    return std::string_view::npos;
}

// Decodes the well-formed UTF-8 sequence at p (avail bytes there); its
// length, or 0 when p begins none.
std::size_t DecodeSequence(const unsigned char* p, std::size_t avail, char32_t& cp) {
    unsigned char min2, max2;
    const std::size_t length = SequenceLength(p[0], min2, max2);
    if (length == 0 || length > avail || p[1] < min2 || p[1] > max2) return 0;
    cp = p[0] & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    return length;
}

// Utf8ToCp1251 appending to out, with quick paths for runs of ASCII and for
// the Cyrillic letters А..я: the search converts whole files with it. False
// when a byte began no well-formed sequence.
bool AppendUtf8AsCp1251(std::string_view utf8, std::string& out) {
    const std::size_t start = out.size();
    out.resize(start + utf8.size());  // the text never grows
    char* o = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    bool wellFormed = true;
    while (i < n) {
#if defined(__SSE2__)
        // Sixteen bytes at a time while they are ASCII: the output never runs
        // ahead of the input, so a whole vector always fits.
        if (i + 16 <= n && CopyAsciiRun(p, i, o)) continue;
#endif
        const unsigned char c = p[i];
        if (c < 0x80) {
            *o++ = static_cast<char>(c);
            ++i;
            continue;
        }
        if (i + 1 < n) {
            const unsigned char next = p[i + 1];
            if ((c == 0xD0 && next >= 0x90 && next <= 0xBF) || (c == 0xD1 && next >= 0x80 && next <= 0x8F)) {
                *o++ = static_cast<char>(c == 0xD0 ? next + 0x30 : next + 0x70);  // U+0410..U+044F
                i += 2;
                continue;
            }
        }
        char32_t cp = 0;
        const std::size_t length = DecodeSequence(p + i, n - i, cp);
        *o++ = length ? CodePointToCp1251(cp) : kUnmappableChar;
        i += length ? length : 1;
        wellFormed = wellFormed && length != 0;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return wellFormed;
}

// Appends the code-page-1251 text of the whole UTF-16 units of bytes (an odd
// last byte is left to the caller); an unpaired surrogate becomes
// kUnmappableChar. Runs of ASCII and of the letters А..я go eight units at a time.
void AppendUtf16AsCp1251(std::string_view bytes, bool bigEndian, std::string& out) {
    const std::size_t units = bytes.size() / 2;
    const std::size_t start = out.size();
    out.resize(start + units);  // one byte per unit at most
    char* o = out.data() + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto unit = [p, bigEndian](std::size_t i) -> char32_t {
        return bigEndian ? static_cast<char32_t>(p[2 * i] << 8 | p[2 * i + 1])
                         : static_cast<char32_t>(p[2 * i + 1] << 8 | p[2 * i]);
    };
    std::size_t i = 0;
    while (i < units) {
#if defined(__SSE2__)
        if (i + 8 <= units) {
            __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i));
            if (bigEndian) v = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
            const __m128i zero = _mm_setzero_si128();
            const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xFF80))), zero);
            const __m128i letter = _mm_cmpeq_epi16(
                _mm_and_si128(_mm_sub_epi16(v, _mm_set1_epi16(0x0410)), _mm_set1_epi16(static_cast<short>(0xFFC0))),
                zero);
            if (_mm_movemask_epi8(_mm_or_si128(ascii, letter)) == 0xFFFF) {
                const __m128i bytes8 = _mm_sub_epi16(v, _mm_and_si128(letter, _mm_set1_epi16(0x0410 - 0xC0)));
                _mm_storel_epi64(reinterpret_cast<__m128i*>(o), _mm_packus_epi16(bytes8, bytes8));
                o += 8;
                i += 8;
                continue;
            }
        }
#endif
        const char32_t u = unit(i++);
        if (u < 0x80) {
            *o++ = static_cast<char>(u);
        } else if (u >= 0x0410 && u <= 0x044F) {
            *o++ = static_cast<char>(u - 0x0410 + 0xC0);
        } else if (u < 0xD800 || u > 0xDFFF) {
            *o++ = CodePointToCp1251(u);
        } else if (u <= 0xDBFF && i < units && unit(i) >= 0xDC00 && unit(i) <= 0xDFFF) {
            *o++ = CodePointToCp1251(0x10000 + ((u - 0xD800) << 10) + (unit(i) - 0xDC00));
            ++i;
        } else {
            *o++ = kUnmappableChar;
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

DetectedEncoding ByMark(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return {TextEncoding::Utf8, kUtf8Mark.size()};
    if (bytes.starts_with(kUtf16LEMark)) return {TextEncoding::Utf16LE, kUtf16LEMark.size()};
    if (bytes.starts_with(kUtf16BEMark)) return {TextEncoding::Utf16BE, kUtf16BEMark.size()};
    return {};
}

char32_t Utf16Unit(std::string_view bytes, std::size_t i, bool bigEndian) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return bigEndian ? static_cast<char32_t>((a << 8) | b) : static_cast<char32_t>((b << 8) | a);
}

// Calls each(code point) for the UTF-16 text; each(kReplacement, false) for an
// unpaired surrogate or an odd last byte.
template <class Each>
void ForEachUtf16(std::string_view bytes, bool bigEndian, Each&& each) {
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t cp = Utf16Unit(bytes, i, bigEndian);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = Utf16Unit(bytes, i + 2, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (cp >= 0xD800 && cp <= 0xDFFF) each(kReplacement, false);
        else each(cp, true);
    }
    if (i < bytes.size()) each(kReplacement, false);
}

void AppendUtf16(std::string& out, char32_t unit, bool bigEndian) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

// Lines ending at CR, LF or CR LF; an ending at the very end adds no empty line.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

// The first line break of the text, CR LF when it has none.
std::string FirstLineBreak(std::string_view text) {
    const std::size_t at = text.find_first_of("\r\n");
    if (at == std::string_view::npos) return "\r\n";
    if (text[at] == '\n') return "\n";
    return at + 1 < text.size() && text[at + 1] == '\n' ? "\r\n" : "\r";
}

// The line of text that begins at pos, ending at CR, LF or CR LF; pos moves
// past its end.
std::string_view NextLine(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    std::size_t end = start;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
    pos = end + 1;
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++pos;
    return text.substr(start, end - start);
}

// NextLine for UTF-16 bytes: lines end at the units CR and LF.
std::string_view NextUtf16Line(std::string_view bytes, std::size_t& pos, bool bigEndian) {
    const auto breakAt = [&](std::size_t i, char32_t c) {
        return i + 1 < bytes.size() && Utf16Unit(bytes, i, bigEndian) == c;
    };
    const std::size_t start = pos;
    std::size_t end = start;
    while (end < bytes.size() && !breakAt(end, '\r') && !breakAt(end, '\n')) end += 2;
    end = std::min(end, bytes.size());
    pos = end + 2;
    if (breakAt(end, '\r') && breakAt(end + 2, '\n')) pos += 2;
    return bytes.substr(start, end - start);
}

// Walks the lines of a Unicode document as EncodeTextDocument writes them:
// each(index, kept line or nullptr). Kept lines are used once each, in order.
template <class Lines, class Each>
void MatchKeptLines(const Lines& lines, const TextOrigin& origin, Each&& each) {
    std::unordered_map<std::string, std::size_t> used;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string* kept = nullptr;
        if (std::string_view(lines[i]).find(kUnmappableChar) != std::string_view::npos) {
            const std::string line(lines[i]);
            if (auto it = origin.keptLines.find(line); it != origin.keptLines.end()) {
                std::size_t& n = used[line];
                if (n < it->second.size()) kept = &it->second[n++];
            }
        }
        each(i, kept);
    }
}

}  // namespace

bool IsValidUtf8(std::string_view s, bool& nonAscii, bool cutAtEnd) {
    nonAscii = false;
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t size = s.size();
    std::size_t i = FirstHighByte(s);
    if (i == std::string_view::npos) return true;
    nonAscii = true;
    while (i < size) {
        if (p[i] < 0x80) {
#if defined(__SSE2__)
            if (i + 16 <= size) {  // a run of ASCII, sixteen bytes at a time
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
                const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v));
                i += high ? static_cast<std::size_t>(__builtin_ctz(high)) : 16;
                continue;
            }
#endif
            ++i;
            continue;
        }
        if (p[i] >= 0xC2 && p[i] <= 0xDF) {  // the two-byte sequences of Cyrillic text
            if (i + 1 == size) return cutAtEnd;
            if ((p[i + 1] & 0xC0) != 0x80) return false;
            i += 2;
            continue;
        }
        unsigned char min2, max2;
        const std::size_t length = SequenceLength(p[i], min2, max2);
        if (length == 0) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k == size) return cutAtEnd;
            const unsigned char lo = k == 1 ? min2 : 0x80, hi = k == 1 ? max2 : 0xBF;
            if (p[i + k] < lo || p[i + k] > hi) return false;
        }
        i += length;
    }
    return true;
}

DetectedEncoding DetectTextEncoding(std::string_view bytes, bool utf8ByName, bool cutAtEnd) {
    if (DetectedEncoding marked = ByMark(bytes); marked.markSize) return marked;
    if (utf8ByName) return {TextEncoding::Utf8, 0};
    bool nonAscii = false;
    if (IsValidUtf8(bytes, nonAscii, cutAtEnd) && nonAscii) return {TextEncoding::Utf8, 0};
    return {};
}

std::string TextToCp1251(std::string_view bytes, bool utf8ByName) {
    const DetectedEncoding detected = DetectTextEncoding(bytes, utf8ByName);
    bytes.remove_prefix(detected.markSize);
    switch (detected.encoding) {
        case TextEncoding::Utf8: {
            std::string out;
            AppendUtf8AsCp1251(bytes, out);
            return out;
        }
        case TextEncoding::Utf16LE: return Utf16ToCp1251(bytes, false).text;
        case TextEncoding::Utf16BE: return Utf16ToCp1251(bytes, true).text;
        case TextEncoding::Cp1251: break;
    }
    return std::string(bytes);
}

bool NameMeansUtf8(std::string_view path) {
    if (path.size() < 5) return false;
    std::string ext(path.substr(path.size() - 5));
    for (char& c : ext)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return ext == ".m3u8";
}

Cp1251Text Utf16ToCp1251(std::string_view bytes, bool bigEndian) {
    Cp1251Text result{std::string(), true};
    result.text.reserve(bytes.size() / 2 + 1);
    AppendUtf16AsCp1251(bytes, bigEndian, result.text);
    if (bytes.size() % 2) result.text += kUnmappableChar;
    result.lossless = result.text.find(kUnmappableChar) == std::string::npos;
    return result;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    ForEachUtf16(bytes, bigEndian, [&](char32_t cp, bool) { AppendUtf8(out, cp); });
    return out;
}

std::string Utf8ToUtf16(std::string_view utf8, bool bigEndian) {
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = p[i];
        std::size_t length = 1;
        if (p[i] >= 0x80) {
            length = DecodeSequence(p + i, utf8.size() - i, cp);
            if (length == 0) {  // a malformed byte
                cp = kReplacement;
                length = 1;
            }
        }
        if (cp >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
            AppendUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
        } else {
            AppendUtf16(out, cp, bigEndian);
        }
        i += length;
    }
    return out;
}

void TextDecoder::Decide(std::string_view bytes, std::size_t firstHigh) {
    bool nonAscii = false;
    decided_ = true;
    encoding_ = IsValidUtf8(bytes.substr(firstHigh), nonAscii, true) ? TextEncoding::Utf8 : TextEncoding::Cp1251;
}

bool TextDecoder::Decode(std::string_view bytes, std::string& out) { return Decode(bytes, out, nullptr); }

bool TextDecoder::Decode(std::string_view bytes, std::string& out, const ByteSet* wanted) {
    std::string joined;  // a sequence held back from the last block, and these bytes
    if (!decided_ && !carry_.empty()) {
        joined = carry_;
        joined.append(bytes);
        carry_.clear();
        bytes = joined;
    }
    const bool held = !joined.empty();
    if (!started_) {
        started_ = true;
        if (const DetectedEncoding marked = ByMark(bytes); marked.markSize) {
            decided_ = true;
            encoding_ = marked.encoding;
            bytes.remove_prefix(marked.markSize);
        } else if (utf8ByName_) {
            decided_ = true;
            encoding_ = TextEncoding::Utf8;
        }
    }
    if (!decided_) {
        const std::size_t high = FirstHighByte(bytes);
        unsigned char min2, max2;
        if (high != std::string_view::npos &&
            high + SequenceLength(static_cast<unsigned char>(bytes[high]), min2, max2) > bytes.size()) {
            // The first non-ASCII character is cut by the end of the block: decided with the next one.
            out.append(bytes.substr(0, high));
            carry_.assign(bytes.substr(high));
            return true;
        }
        if (high == std::string_view::npos) {  // ASCII reads the same either way
            if (!held) return false;
            out.append(bytes);
            return true;
        }
        Decide(bytes, high);
    }
    switch (encoding_) {
        case TextEncoding::Cp1251:
            if (!held) return false;
            out.append(bytes);
            return true;
        case TextEncoding::Utf8:
            if (wanted)
                DecodeUtf8Lines(bytes, out, *wanted);
            else
                DecodeUtf8(bytes, out);
            return true;
        case TextEncoding::Utf16LE:
        case TextEncoding::Utf16BE:
            DecodeUtf16(bytes, out);
            return true;
    }
    return false;
}

void TextDecoder::DecodeUtf8(std::string_view bytes, std::string& out) {
    if (!carry_.empty()) {
        unsigned char min2, max2;
        const std::size_t length = SequenceLength(static_cast<unsigned char>(carry_[0]), min2, max2);
        const std::size_t take = std::min(length - carry_.size(), bytes.size());
        carry_.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (carry_.size() < length) return;
        if (!AppendUtf8AsCp1251(carry_, out)) malformed_ = true;
        carry_.clear();
    }
    // A sequence begun in the last three bytes and not ended there waits for the next block.
    std::size_t cut = bytes.size();
    for (std::size_t k = 1; k <= 3 && k <= bytes.size(); ++k) {
        const auto c = static_cast<unsigned char>(bytes[bytes.size() - k]);
        if (c < 0x80) break;
        if (c < 0xC0) continue;
        unsigned char min2, max2;
        if (SequenceLength(c, min2, max2) > k) cut = bytes.size() - k;
        break;
    }
    if (!AppendUtf8AsCp1251(bytes.substr(0, cut), out)) malformed_ = true;
    carry_.assign(bytes.substr(cut));
}

// A line break never belongs to a UTF-8 sequence, so nothing is held back
// after one: the lines between the first line break and the last can be
// converted one by one, or left out, without changing the text around them.
void TextDecoder::DecodeUtf8Lines(std::string_view bytes, std::string& out, const ByteSet& wanted) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    const auto isBreak = [](char c) { return c == '\r' || c == '\n'; };
    const char* first = p;
    while (first < end && !isBreak(*first)) ++first;
    const char* last = first == end ? end : end - 1;  // the last line break
    while (last > first && !isBreak(*last)) --last;
    if (first == end || last == first) {
        DecodeUtf8(bytes, out);
        return;
    }
    const auto convert = [&](const char* from, const char* to) {
        DecodeUtf8(std::string_view(from, static_cast<std::size_t>(to - from)), out);
    };
    convert(p, first + 1);
    const char* from = first + 1;  // a line start; what lies before it is done
    for (;;) {
        const char* hit = wanted.Find(from, last);
        if (hit == last) break;
        const char* start = hit;
        while (start > from && !isBreak(start[-1])) --start;
        const char* stop = hit;
        while (!isBreak(*stop)) ++stop;  // last is a line break
        convert(start, stop + 1);
        from = stop + 1;
    }
    convert(from <= last ? last : from, end);
}

void TextDecoder::DecodeUtf16(std::string_view bytes, std::string& out) {
    const bool bigEndian = encoding_ == TextEncoding::Utf16BE;
    std::string joined;
    if (!carry_.empty()) {
        joined = carry_;
        joined.append(bytes);
        bytes = joined;
        carry_.clear();
    }
    // An odd byte, or a high surrogate whose pair may follow, waits for the next block.
    std::size_t whole = bytes.size() & ~std::size_t{1};
    if (whole >= 2) {
        const char32_t last = Utf16Unit(bytes, whole - 2, bigEndian);
        if (last >= 0xD800 && last <= 0xDBFF) whole -= 2;
    }
    AppendUtf16AsCp1251(bytes.substr(0, whole), bigEndian, out);
    carry_.assign(bytes.substr(whole));
}

void TextDecoder::Finish(std::string& out) {
    if (carry_.empty()) return;
    if (!decided_)
        out += carry_;
    else if (encoding_ == TextEncoding::Utf8)
        malformed_ = !AppendUtf8AsCp1251(carry_, out) || malformed_;  // a sequence cut by the end
    else
        out += Utf16ToCp1251(carry_, encoding_ == TextEncoding::Utf16BE).text;
    carry_.clear();
}

std::vector<std::string> DecodeTextDocument(std::string_view bytes, bool utf8ByName, TextOrigin& origin) {
    origin = TextOrigin{};
    const DetectedEncoding detected = DetectTextEncoding(bytes, utf8ByName);
    bytes.remove_prefix(detected.markSize);
    origin.encoding = detected.encoding;
    origin.byteOrderMark = detected.markSize > 0;
    if (!origin.Unicode()) return SplitLines(bytes);

    std::string decoded;
    if (origin.encoding != TextEncoding::Utf8) decoded = Utf16ToUtf8(bytes, origin.encoding == TextEncoding::Utf16BE);
    const std::string_view text = origin.encoding == TextEncoding::Utf8 ? bytes : std::string_view(decoded);
    origin.lineBreak = FirstLineBreak(text);
    origin.finalBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    std::vector<std::string> lines = SplitLines(text);
    for (std::string& line : lines) {
        Cp1251Text converted = Utf8ToCp1251(line);
        if (!converted.lossless) origin.keptLines[converted.text].push_back(std::move(line));
        line = std::move(converted.text);
    }
    return lines;
}

std::string EncodeTextDocument(const std::vector<std::string>& lines, const TextOrigin& origin) {
    std::string out;
    if (!origin.Unicode()) {
        std::size_t total = 0;
        for (const std::string& line : lines) total += line.size() + 2;
        out.reserve(total);
        for (const std::string& line : lines) {
            out += line;
            out += "\r\n";
        }
        // Code-page-1251 bytes that would read back as Unicode (every high byte
        // happens to form UTF-8, as "\xD0\xB8" does, or the text begins like a
        // byte-order mark) are written as UTF-8, so the file reads back as written.
        if (DetectTextEncoding(out).encoding != TextEncoding::Cp1251) return Cp1251ToUtf8(out);
        return out;
    }
    MatchKeptLines(lines, origin, [&](std::size_t i, const std::string* kept) {
        if (i) out += origin.lineBreak;
        out += kept ? *kept : Cp1251ToUtf8(lines[i]);
    });
    if (!lines.empty() && origin.finalBreak) out += origin.lineBreak;
    switch (origin.encoding) {
        case TextEncoding::Utf8:
            return origin.byteOrderMark ? std::string(kUtf8Mark) + out : out;
        case TextEncoding::Utf16LE:
            return std::string(origin.byteOrderMark ? kUtf16LEMark : "") + Utf8ToUtf16(out, false);
        case TextEncoding::Utf16BE:
            return std::string(origin.byteOrderMark ? kUtf16BEMark : "") + Utf8ToUtf16(out, true);
        case TextEncoding::Cp1251:
            break;
    }
    return out;
}

TextLines DecodeTextDocumentLines(std::string bytes, bool utf8ByName, TextOrigin& origin) {
    origin = TextOrigin{};
    // Without a mark or a name saying UTF-8, a file holding non-ASCII bytes is
    // UTF-8 when all of it is valid: it is converted as UTF-8 and taken as
    // code page 1251 at the first malformed sequence, so that a UTF-8 file is
    // read once, not checked first.
    DetectedEncoding detected = ByMark(bytes);
    const bool byValidity = detected.markSize == 0 && !utf8ByName;
    if (byValidity && FirstHighByte(bytes) == std::string_view::npos) return TextLines::Split(std::move(bytes));
    if (detected.markSize == 0) detected.encoding = TextEncoding::Utf8;
    const bool utf16 = detected.encoding != TextEncoding::Utf8;
    const bool bigEndian = detected.encoding == TextEncoding::Utf16BE;

    // The whole file converted a block at a time into the one buffer the lines
    // are split in; the decoder carries a character cut by a block's end.
    std::string text;
    text.reserve(utf16 ? bytes.size() / 2 + 1 : bytes.size());
    TextDecoder decoder(detected.encoding == TextEncoding::Utf8);
    for (std::size_t at = 0; at < bytes.size(); at += kDecodeBlockSize) {
        decoder.Decode(std::string_view(bytes).substr(at, kDecodeBlockSize), text);
        if (byValidity && decoder.Malformed()) return TextLines::Split(std::move(bytes));
    }
    decoder.Finish(text);
    if (byValidity && decoder.Malformed()) return TextLines::Split(std::move(bytes));
    origin.encoding = detected.encoding;
    origin.byteOrderMark = detected.markSize > 0;

    // Line breaks convert one to one, so the text shows those of the file.
    origin.lineBreak = FirstLineBreak(text);
    origin.finalBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    std::size_t lost = 0;  // characters lost in the whole text
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); at < end; ++at, ++lost) {
        at = static_cast<const char*>(std::memchr(at, kUnmappableChar, static_cast<std::size_t>(end - at)));
        if (!at) break;
    }
    TextLines lines = TextLines::Split(std::move(text));

    // The lines that lost characters keep their UTF-8 text: the file's lines
    // are walked beside the converted ones up to the last such line.
    const std::string_view body = std::string_view(bytes).substr(detected.markSize);
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size() && lost > 0; ++i) {
        const std::string_view source = utf16 ? NextUtf16Line(body, at, bigEndian) : NextLine(body, at);
        const auto inLine = static_cast<std::size_t>(std::count(lines[i].begin(), lines[i].end(), kUnmappableChar));
        if (inLine == 0) continue;
        lost -= inLine;
        origin.keptLines[std::string(lines[i])].push_back(utf16 ? Utf16ToUtf8(source, bigEndian)
                                                                : std::string(source));
    }
    return lines;
}

namespace {

// Output gathered a block at a time for a writer: room is asked for before
// each piece is written, and each full block goes to the writer.
class BlockOutput {
public:
    BlockOutput(std::size_t blockSize, const std::function<bool(std::string_view)>& write)
        : capacity_(std::max<std::size_t>(blockSize, 64)), buffer_(new char[capacity_]), write_(write) {}

    // Room for n more bytes; Advance(end) then marks where they end.
    char* Room(std::size_t n) {
        if (size_ + n > capacity_) {
            Flush();
            if (n > capacity_) {
                capacity_ = n;
                buffer_.reset(new char[capacity_]);
            }
        }
        return buffer_.get() + size_;
    }
    void Advance(const char* end) { size_ = static_cast<std::size_t>(end - buffer_.get()); }
    void Append(std::string_view s) {
        char* o = Room(s.size());
        std::memcpy(o, s.data(), s.size());
        Advance(o + s.size());
    }
    // Hands over what is gathered; false once the writer has refused.
    bool Flush() {
        if (ok_ && size_ > 0) ok_ = write_(std::string_view(buffer_.get(), size_));
        size_ = 0;
        return ok_;
    }
    bool ok() const { return ok_; }

private:
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    const std::function<bool(std::string_view)>& write_;
    std::size_t size_ = 0;
    bool ok_ = true;
};

// The UTF-8 bytes of each code-page-1251 byte, packed low byte first, and
// their count in the top byte.
const std::array<std::uint32_t, 256>& Utf8OfBytes() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            std::string utf8;
            AppendUtf8(utf8, Cp1251ToCodePoint(static_cast<char>(b)));
            std::uint32_t packed = static_cast<std::uint32_t>(utf8.size()) << 24;
            for (std::size_t k = 0; k < utf8.size(); ++k)
                packed |= static_cast<std::uint32_t>(static_cast<unsigned char>(utf8[k])) << (8 * k);
            t[b] = packed;
        }
        return t;
    }();
    return table;
}

// Writes the UTF-8 form of code-page-1251 text at o (room for three bytes a
// character); returns the end. Bytes past the end may be written over.
char* PutUtf8(std::string_view cp1251, char* o) {
    const std::array<std::uint32_t, 256>& table = Utf8OfBytes();
    const auto* p = reinterpret_cast<const unsigned char*>(cp1251.data());
    const std::size_t n = cp1251.size();
    for (std::size_t i = 0; i < n;) {
#if defined(__SSE2__)
        if (i + 16 <= n && CopyAsciiRun(p, i, o)) continue;  // a run of ASCII, sixteen bytes at a time
#endif
        const std::uint32_t packed = table[p[i++]];
        o[0] = static_cast<char>(packed);  // three bytes always; the ones past the length are written over next
        o[1] = static_cast<char>(packed >> 8);
        o[2] = static_cast<char>(packed >> 16);
        o += packed >> 24;
    }
    return o;
}

// Writes the UTF-16 form of code-page-1251 text at o (two bytes a character);
// returns the end. Every character of the page is one unit; runs of ASCII
// and of the letters А..я go sixteen at a time.
char* PutUtf16(std::string_view cp1251, bool bigEndian, char* o) {
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) t[b] = static_cast<char16_t>(Cp1251ToCodePoint(static_cast<char>(b)));
        return t;
    }();
    const auto* p = reinterpret_cast<const unsigned char*>(cp1251.data());
    const std::size_t n = cp1251.size();
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i letterBits = _mm_set1_epi8(static_cast<char>(0xC0));
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i letter = _mm_cmpeq_epi8(_mm_and_si128(v, letterBits), letterBits);  // 0xC0..0xFF
        if ((_mm_movemask_epi8(v) & ~_mm_movemask_epi8(letter)) != 0) break;  // a byte of 0x80..0xBF
        const __m128i offset = _mm_set1_epi16(0x0410 - 0xC0);  // А..я from 0xC0..0xFF
        __m128i lo = _mm_add_epi16(_mm_unpacklo_epi8(v, zero), _mm_and_si128(_mm_unpacklo_epi8(letter, letter), offset));
        __m128i hi = _mm_add_epi16(_mm_unpackhi_epi8(v, zero), _mm_and_si128(_mm_unpackhi_epi8(letter, letter), offset));
        if (bigEndian) {
            lo = _mm_or_si128(_mm_slli_epi16(lo, 8), _mm_srli_epi16(lo, 8));
            hi = _mm_or_si128(_mm_slli_epi16(hi, 8), _mm_srli_epi16(hi, 8));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 16), hi);
        o += 32;
    }
#endif
    for (; i < n; ++i) {
        const char16_t unit = units[p[i]];
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        *o++ = bigEndian ? high : low;
        *o++ = bigEndian ? low : high;
    }
    return o;
}

// Whether code-page-1251 lines written with CR LF would read back as Unicode:
// they begin with a byte-order mark, or all of them are valid UTF-8 and some
// hold non-ASCII bytes. A line break ends every line and belongs to no
// sequence, so each line is valid or not on its own.
bool LinesReadAsUnicode(const LineList& lines) {
    if (lines.empty()) return false;
    if (ByMark(lines[0]).markSize) return true;
    bool anyHigh = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bool nonAscii = false;
        if (!IsValidUtf8(lines[i], nonAscii)) return false;
        anyHigh = anyHigh || nonAscii;
    }
    return anyHigh;
}

}  // namespace

bool EncodeTextDocument(const LineList& lines, const TextOrigin& origin, std::size_t blockSize,
                        const std::function<bool(std::string_view)>& write) {
    BlockOutput out(blockSize, write);
    if (!origin.Unicode()) {
        const bool asUtf8 = LinesReadAsUnicode(lines);
        for (std::size_t i = 0; i < lines.size() && out.ok(); ++i) {
            const std::string_view line = lines[i];
            char* o = out.Room(line.size() * (asUtf8 ? 3 : 1) + 2);
            if (asUtf8) {
                o = PutUtf8(line, o);
            } else {
                std::memcpy(o, line.data(), line.size());
                o += line.size();
            }
            *o++ = '\r';
            *o++ = '\n';
            out.Advance(o);
        }
        return out.Flush();
    }
    const bool utf16 = origin.encoding != TextEncoding::Utf8;
    const bool bigEndian = origin.encoding == TextEncoding::Utf16BE;
    if (origin.byteOrderMark) {
        out.Append(origin.encoding == TextEncoding::Utf8 ? kUtf8Mark
                   : bigEndian                          ? kUtf16BEMark
                                                        : kUtf16LEMark);
    }
    const std::string lineBreak = utf16 ? Utf8ToUtf16(origin.lineBreak, bigEndian) : origin.lineBreak;
    MatchKeptLines(lines, origin, [&](std::size_t i, const std::string* kept) {
        if (!out.ok()) return;
        if (i) out.Append(lineBreak);
        if (kept) {
            out.Append(utf16 ? Utf8ToUtf16(*kept, bigEndian) : *kept);
            return;
        }
        const std::string_view line = lines[i];
        char* o = out.Room(line.size() * (utf16 ? 2 : 3));
        out.Advance(utf16 ? PutUtf16(line, bigEndian, o) : PutUtf8(line, o));
    });
    if (!lines.empty() && origin.finalBreak) out.Append(lineBreak);
    return out.Flush();
}

std::string EncodeTextDocument(const LineList& lines, const TextOrigin& origin) {
    std::string out;
    EncodeTextDocument(lines, origin, kEncodeBlockSize, [&out](std::string_view block) {
        out.append(block);
        return true;
    });
    return out;
}

std::vector<std::size_t> LinesLosingCharacters(const std::vector<std::string>& lines, const TextOrigin& origin) {
    std::vector<std::size_t> losing;
    if (!origin.Unicode()) return losing;
    MatchKeptLines(lines, origin, [&](std::size_t i, const std::string* kept) {
        if (!kept && lines[i].find(kUnmappableChar) != std::string::npos) losing.push_back(i);
    });
    return losing;
}

}  // namespace tandrel
