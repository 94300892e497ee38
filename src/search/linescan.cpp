#include "search/linescan.h"

#include <algorithm>
#include <cstring>

#include "search/searchtext.h"
#include "text/cp1251.h"

namespace tandrel {

namespace {

constexpr std::uint16_t kDropped = 0x100;

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

// How often a character turns up in ordinary text, roughly: the character
// looked for is the needle's one whose forms are rarest together.
int Commonness(unsigned char c) {
    static const char* const kLatin = "etaoinshrdlcumwfgypbvkjxqz";
    // о е а и н т с р в л к м д п у я ы ь г з б ч й х ж ш ю ц щ э ф ъ ё
    static const unsigned char kCyrillic[] = {0xEE, 0xE5, 0xE0, 0xE8, 0xED, 0xF2, 0xF1, 0xF0, 0xE2, 0xEB, 0xEA,
                                              0xEC, 0xE4, 0xEF, 0xF3, 0xFF, 0xFB, 0xFC, 0xE3, 0xE7, 0xE1, 0xF7,
                                              0xE9, 0xF5, 0xE6, 0xF8, 0xFE, 0xF6, 0xF9, 0xFD, 0xF4, 0xFA, 0xB8};
    if (c == ' ') return 1000;
    if (c == '\r' || c == '\n') return 300;
    if (c >= '0' && c <= '9') return 60;
    const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c);
    if (const char* at = std::strchr(kLatin, lower); at && lower)
        return static_cast<int>(26 - (at - kLatin)) * (c == static_cast<unsigned char>(lower) ? 10 : 2);
    const unsigned char cyrLower = c >= 0xC0 && c <= 0xDF ? static_cast<unsigned char>(c + 32) : c == 0xA8 ? 0xB8 : c;
    for (std::size_t i = 0; i < sizeof kCyrillic; ++i)
        if (kCyrillic[i] == cyrLower) return static_cast<int>(33 - i) * (c == cyrLower ? 10 : 2);
    return c < 0x80 ? 20 : 5;
}

}  // namespace

LineScanner::LineScanner(const std::string& needle, bool overSearch) : needle_(needle) {
    const int* table = SearchNormalTable(overSearch);
    if (!table || needle_.empty()) return;
    for (int c = 0; c < 256; ++c) fold_[c] = table[c] == kSearchDrop ? kDropped : static_cast<std::uint16_t>(table[c]);
    long best = -1;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        const auto wanted = static_cast<unsigned char>(needle_[i]);
        long cost = 0;
        int forms = 0;
        for (int c = 0; c < 256; ++c)
            if (fold_[c] == wanted) {
                cost += Commonness(static_cast<unsigned char>(c)) + 15;
                ++forms;
            }
        if (forms == 0) return;  // no text normalises to the needle: nothing to look for
        if (best < 0 || cost < best) {
            best = cost;
            rare_ = i;
        }
    }
    const auto wanted = static_cast<unsigned char>(needle_[rare_]);
    bool unmappable = false;
    for (int c = 0; c < 256; ++c)
        if (fold_[c] == wanted) {
            rareForms_.Add(static_cast<unsigned char>(c));
            // In a UTF-8 file the character ends with the last byte of its sequence;
            // kUnmappableChar stands for any byte that has no character.
            const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(c)));
            unmappable = unmappable || c == static_cast<unsigned char>(kUnmappableChar);
            utf8Forms_.Add(static_cast<unsigned char>(utf8.back()));
        }
    useUtf8Forms_ = !unmappable;
    usable_ = true;
}

std::size_t LineScanner::FindRare(std::size_t from, std::size_t limit) const {
    const char* base = text_.data();
    return static_cast<std::size_t>(rareForms_.Find(base + from, base + limit) - base);
}

// The normalised text around at (whose character is the needle's rare one)
// against the needle, left-out characters skipped; Unknown when the text ends
// at limit before the needle does.
LineScanner::Check LineScanner::Verify(std::size_t at, std::size_t begin, std::size_t limit) const {
    const auto* text = reinterpret_cast<const unsigned char*>(text_.data());
    const auto* needle = reinterpret_cast<const unsigned char*>(needle_.data());
    std::size_t r = at;
    for (std::size_t i = rare_; i > 0;) {
        if (r == begin) return Check::NoMatch;
        const std::uint16_t c = fold_[text[--r]];
        if (c == kDropped) continue;
        if (c != needle[--i]) return Check::NoMatch;
    }
    r = at + 1;
    for (std::size_t i = rare_ + 1; i < needle_.size();) {
        if (r == limit) return Check::Unknown;
        const std::uint16_t c = fold_[text[r++]];
        if (c == kDropped) continue;
        if (c != needle[i++]) return Check::NoMatch;
    }
    return Check::Match;
}

void LineScanner::Emit(std::size_t start, std::size_t end) {
    line_.assign(text_, start, std::min(end - start, maxLine_));
    (*each_)(line_);
}

void LineScanner::SearchRange(std::size_t begin, std::size_t limit, bool complete) {
    std::size_t pos = begin;
    while (pos < limit) {
        const std::size_t at = FindRare(pos, limit);
        if (at == limit) break;
        const Check check = Verify(at, begin, limit);
        if (check == Check::NoMatch || (check == Check::Unknown && complete)) {
            pos = at + 1;
            continue;
        }
        if (check == Check::Unknown) return;
        std::size_t start = at;
        while (start > begin && !IsBreak(text_[start - 1])) --start;
        std::size_t end = at;
        while (end < limit && !IsBreak(text_[end])) ++end;
        if (end == limit && !complete) return;
        Emit(start, end);
        pos = end + 1;
    }
}

// The lines in [begin, end) longer than the limit, the last one counted only
// when it ends at a line break.
std::size_t LineScanner::CountLongLines(std::size_t begin, std::size_t end) const {
    std::size_t count = 0;
    std::size_t start = begin;
    for (std::size_t i = begin; i < end; ++i) {
        if (!IsBreak(text_[i])) continue;
        if (i - start > maxLine_) ++count;
        if (text_[i] == '\r' && i + 1 < end && text_[i + 1] == '\n') ++i;
        start = i + 1;
    }
    return count;
}

LineScanReport LineScanner::Scan(const std::string& path, const std::function<void(const std::string&)>& line,
                                 const std::function<void()>& pulse) {
    LineScanReport report;
    TextBlockReader reader;
    if (report.opened = reader.Open(path, blockSize_); !report.opened) return report;
    each_ = &line;
    text_.clear();
    bool checked = false;      // the first text was looked at for NUL
    bool pendingCr = false;    // the text so far ended with CR: a LF that follows belongs to it
    bool skipping = false;     // inside a line longer than the limit, past its cut
    while (!reader.AtEnd()) {
        // A UTF-8 block needs converting whole only where the character looked
        // for may be: in the block, or in the unfinished line carried over.
        const bool carried = FindRare(0, text_.size()) < text_.size();
        const bool whole = carried || !useUtf8Forms_ || std::max<std::size_t>(blockSize_, 4) > maxLine_;
        const std::size_t added = reader.Append(text_, whole ? nullptr : &utf8Forms_);
        if (reader.Failed()) {
            report.failed = true;
            break;
        }
        if (!checked && added > 0) {
            checked = true;
            if (reader.FirstTextHeldNul()) {
                report.binary = true;
                break;
            }
        }
        if (pulse) pulse();
        const bool final = reader.AtEnd();
        std::size_t begin = 0;
        const std::size_t end = text_.size();
        if (pendingCr && begin < end) {
            pendingCr = false;
            if (text_[begin] == '\n') ++begin;
        }
        if (skipping) {
            while (begin < end && !IsBreak(text_[begin])) ++begin;
            if (begin == end) {
                text_.clear();
                continue;
            }
            skipping = false;
            if (text_[begin] == '\r' && begin + 1 == end) pendingCr = true;
            begin += text_[begin] == '\r' && begin + 1 < end && text_[begin + 1] == '\n' ? 2 : 1;
        }
        // Where the last, unfinished line starts (after the last line break).
        std::size_t last = end;
        if (!final) {
            while (last > begin && !IsBreak(text_[last - 1])) --last;
            if (last > begin && last == end) pendingCr = text_[end - 1] == '\r';
        }
        if (end - begin > maxLine_) {
            report.cutLines += CountLongLines(begin, final ? end : last);
            if (final) {
                std::size_t start = end;
                while (start > begin && !IsBreak(text_[start - 1])) --start;
                if (end - start > maxLine_) ++report.cutLines;
            }
        }
        if (final) {
            SearchRange(begin, end, true);
            break;
        }
        if (end - last > maxLine_) {
            // The unfinished line is already longer than the limit: only its
            // start is searched, and the rest of it is skipped.
            ++report.cutLines;
            SearchRange(begin, last, true);
            SearchRange(last, last + maxLine_, true);
            skipping = true;
            text_.clear();
            continue;
        }
        // A needle cut by the end of the text is looked for again with the
        // next block, from the start of the unfinished line.
        SearchRange(begin, end, false);
        text_.erase(0, last);
    }
    each_ = nullptr;
    text_.clear();
    return report;
}

}  // namespace tandrel
