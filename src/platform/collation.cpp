#include "platform/collation.h"

#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <numeric>
#include <system_error>
#include <thread>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>

#include "text/cp1251.h"

namespace tandrel {

namespace {

// The collation every comparison uses, with a fixed locale so that the order
// does not depend on the machine: Latin before Cyrillic, ё beside е, case ignored.
constexpr const char* kLocale = "en_US";

const QCollator& Collator() {
    static const QCollator* const collator = [] {
        auto* c = new QCollator(QLocale(QLocale::English, QLocale::UnitedStates));
        c->setCaseSensitivity(Qt::CaseInsensitive);
        c->setNumericMode(false);
        c->setIgnorePunctuation(false);
        (void)c->compare(QStringLiteral("a"), QStringLiteral("b"));  // finish the lazy set-up now
        return c;
    }();
    return *collator;
}

QString ToQString(std::string_view cp1251) {
    std::string utf8 = Cp1251ToUtf8(cp1251);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The collation weights of each byte of the code page, as the collator above
// weighs it (the same locale and strength: letters and accents, not case).
// Text is ordered by its primary weights, then by its secondary ones, weights
// of 0 skipped. A byte stands alone but where it begins a contraction, a run
// of bytes weighed as one (as "L·"). The weights are replaced by their ranks,
// one byte each, so that eight of them pack into one number.
struct UnitWeights {
    static constexpr int kMax = 4;  // weights of one unit (an expansion as "…" has three)
    std::array<std::uint8_t, kMax> primary{};
    std::uint8_t primaryCount = 0;
    std::array<std::uint8_t, kMax> secondary{};
    std::uint8_t secondaryCount = 0;
    std::size_t length = 1;  // bytes weighed together
};

struct ByteWeights {
    std::array<UnitWeights, 256> byte;
    // The one primary rank of a byte that is a unit of its own with one
    // weight (most are); 0 for the others.
    std::array<std::uint8_t, 256> single{};
    std::array<bool, 256> beginsContraction{};
    std::vector<std::string> contractions;  // longest first
    std::vector<UnitWeights> contractionWeights;

    // The unit of text at offset at.
    const UnitWeights& Unit(std::string_view s, std::size_t at) const {
        const auto b = static_cast<unsigned char>(s[at]);
        if (beginsContraction[b])
            for (std::size_t i = 0; i < contractions.size(); ++i)
                if (s.substr(at, contractions[i].size()) == contractions[i]) return contractionWeights[i];
        return byte[b];
    }
};

// Null when the collation library cannot give the weights; sorting then
// prepares each text through the collator instead.
const ByteWeights* Weights() {
    static const std::unique_ptr<const ByteWeights> weights = []() -> std::unique_ptr<const ByteWeights> {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* collator = ucol_open(kLocale, &status);
        if (U_FAILURE(status)) return nullptr;
        struct Close {
            UCollator* c;
            ~Close() { ucol_close(c); }
        } close{collator};
        ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        if (U_FAILURE(status)) return nullptr;

        struct Element {
            std::uint32_t primary;
            std::uint16_t secondary;
        };
        // The collation elements of a code-page-1251 text.
        auto elementsOf = [collator, &status](const std::string& text) {
            std::vector<Element> elements;
            std::u16string utf16;
            for (char c : text) utf16 += static_cast<char16_t>(Cp1251ToCodePoint(c));
            UCollationElements* it = ucol_openElements(collator, reinterpret_cast<const UChar*>(utf16.data()),
                                                       static_cast<int32_t>(utf16.size()), &status);
            if (U_FAILURE(status)) return elements;
            // The library hands out each element in one or two 32-bit halves:
            // primary, secondary and tertiary bits high to low, a second half
            // (marked 0xC0 in its low byte) holding the lower bits.
            for (std::int32_t order; (order = ucol_next(it, &status)) != UCOL_NULLORDER && U_SUCCESS(status);) {
                const auto half = static_cast<std::uint32_t>(order);
                const std::uint32_t high16 = half >> 16, mid8 = (half >> 8) & 0xFF;
                if ((half & 0xC0) == 0xC0 && !elements.empty()) {
                    elements.back().primary |= high16;
                    elements.back().secondary = static_cast<std::uint16_t>(elements.back().secondary | mid8);
                } else {
                    elements.push_back({high16 << 16, static_cast<std::uint16_t>(mid8 << 8)});
                }
            }
            ucol_closeElements(it);
            return elements;
        };

        auto weights = std::make_unique<ByteWeights>();
        std::vector<std::string> units;
        for (int b = 0; b < 256; ++b) units.emplace_back(1, static_cast<char>(b));
        // The contractions made of code-page-1251 characters only.
        USet* set = uset_openEmpty();
        ucol_getContractionsAndExpansions(collator, set, nullptr, true, &status);  // with prefixes, as "·" after "L"
        for (int32_t i = 0, n = uset_getItemCount(set); U_SUCCESS(status) && i < n; ++i) {
            UChar32 start = 0, end = 0;
            UChar buffer[16];
            const int32_t length = uset_getItem(set, i, &start, &end, buffer, 16, &status);
            if (length < 2) continue;  // a range of single characters
            std::string bytes;
            for (int32_t k = 0; k < length; ++k) {
                const char b = CodePointToCp1251(buffer[k]);
                if (b == kUnmappableChar) break;
                bytes += b;
            }
            if (bytes.size() == static_cast<std::size_t>(length)) weights->contractions.push_back(bytes);
        }
        uset_close(set);
        if (U_FAILURE(status)) return nullptr;
        std::sort(weights->contractions.begin(), weights->contractions.end(),
                  [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
        units.insert(units.end(), weights->contractions.begin(), weights->contractions.end());

        std::vector<std::vector<Element>> elements;
        std::vector<std::uint32_t> primaries;
        std::vector<std::uint16_t> secondaries;
        for (const std::string& unit : units) {
            elements.push_back(elementsOf(unit));
            for (const Element& e : elements.back()) {
                if (e.primary) primaries.push_back(e.primary);
                if (e.secondary) secondaries.push_back(e.secondary);
            }
        }
        if (U_FAILURE(status)) return nullptr;
        auto unique = [](auto& v) {
            std::sort(v.begin(), v.end());
            v.erase(std::unique(v.begin(), v.end()), v.end());
        };
        unique(primaries);
        unique(secondaries);
        if (primaries.size() > 255 || secondaries.size() > 255) return nullptr;
        for (std::size_t u = 0; u < units.size(); ++u) {
            UnitWeights w;
            w.length = units[u].size();
            for (const Element& e : elements[u]) {
                if (e.primary) {
                    if (w.primaryCount == UnitWeights::kMax) return nullptr;
                    const auto rank = std::lower_bound(primaries.begin(), primaries.end(), e.primary) - primaries.begin();
                    w.primary[w.primaryCount++] = static_cast<std::uint8_t>(rank + 1);
                }
                if (e.secondary) {
                    if (w.secondaryCount == UnitWeights::kMax) return nullptr;
                    const auto rank =
                        std::lower_bound(secondaries.begin(), secondaries.end(), e.secondary) - secondaries.begin();
                    w.secondary[w.secondaryCount++] = static_cast<std::uint8_t>(rank + 1);
                }
            }
            if (u < 256) {
                weights->byte[u] = w;
                if (w.primaryCount == 1) weights->single[u] = w.primary[0];
            } else {
                weights->contractionWeights.push_back(w);
                weights->beginsContraction[static_cast<unsigned char>(units[u][0])] = true;
            }
        }
        for (int b = 0; b < 256; ++b)
            if (weights->beginsContraction[b]) weights->single[b] = 0;
        return weights;
    }();
    return weights.get();
}

// A text being sorted: its next primary ranks, eight to a word, packed high
// to low (0 after its end), and where reading them goes on. Most lines differ
// within the first 48 weights, all read while the texts are still in their
// order in memory: the first 24 here, the next 24 in a Key of their own.
struct Entry {
    static constexpr int kWords = 3;
    using Key = std::array<std::uint64_t, kWords>;
    Key key;
    std::uint32_t index;
    std::uint32_t pos;  // byte offset * 4 + the unit's next weight

    // True when the text ended within this key.
    bool Ended() const { return (key[kWords - 1] & 0xFF) == 0; }
};

bool KeyLess(const Entry& a, const Entry& b) {
    if (a.key[0] != b.key[0]) return a.key[0] < b.key[0];
    if (a.key[1] != b.key[1]) return a.key[1] < b.key[1];
    return a.key[2] < b.key[2];
}

void FillKey(const ByteWeights& w, Entry& e, std::string_view s) {
    std::size_t off = e.pos >> 2;
    unsigned sub = e.pos & 3;
    for (std::uint64_t& word : e.key) {
        std::uint64_t key = 0;
        int n = 0;
        while (n < 8 && off < s.size()) {
            if (sub == 0) {
                if (const std::uint8_t rank = w.single[static_cast<unsigned char>(s[off])]) {
                    key = key << 8 | rank;
                    ++n;
                    ++off;
                    continue;
                }
            }
            const UnitWeights& unit = w.Unit(s, off);
            while (sub < unit.primaryCount && n < 8) {
                key = key << 8 | unit.primary[sub++];
                ++n;
            }
            if (sub >= unit.primaryCount) {
                off += unit.length;
                sub = 0;
            }
        }
        word = n == 0 ? 0 : key << (8 * (8 - n));
    }
    e.pos = static_cast<std::uint32_t>(off << 2 | sub);
}

// Compares the secondary ranks of two texts whose primary ones are equal.
int CompareSecondary(const ByteWeights& w, std::string_view a, std::string_view b) {
    if (a == b) return 0;
    std::size_t i = 0, j = 0;
    unsigned si = 0, sj = 0;
    auto next = [&w](std::string_view s, std::size_t& at, unsigned& sub) -> int {
        while (at < s.size()) {
            const UnitWeights& unit = w.Unit(s, at);
            if (sub < unit.secondaryCount) return unit.secondary[sub++];
            at += unit.length;
            sub = 0;
        }
        return 0;
    };
    for (;;) {
        const int x = next(a, i, si), y = next(b, j, sj);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

// What a sort works on: the texts, their entries, and the second keys by
// text (entries are positioned after them).
struct SortData {
    const ByteWeights& w;
    const std::vector<std::string_view>& texts;
    Entry* entries;
    const Entry::Key* second;
};

// Fills the keys of the entries [from, to) for the texts of the same numbers.
void FillEntries(const SortData& d, Entry::Key* second, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        Entry& e = d.entries[i];
        e.index = static_cast<std::uint32_t>(i);
        e.pos = 0;
        FillKey(d.w, e, d.texts[i]);
        Entry next = e;
        FillKey(d.w, next, d.texts[i]);
        second[i] = next.key;
        e.pos = next.pos;
    }
}

// Sorts entries [begin, end), whose first keys are filled, to their final order.
void SortRange(const SortData& d, std::size_t begin, std::size_t end) {
    // Ranges of entries equal in every key so far; each is sorted by its key,
    // and its runs of equal keys go on with their next keys: the second key
    // kept from the first reading, then keys read from the texts again.
    struct Range {
        std::size_t begin, end;
        int round;
    };
    std::vector<Range> ranges{{begin, end, 0}};
    constexpr std::size_t kAhead = 8;  // entries whose text is asked for ahead
    while (!ranges.empty()) {
        const Range range = ranges.back();
        ranges.pop_back();
        Entry* const from = d.entries + range.begin;
        Entry* const to = d.entries + range.end;
        if (range.round == 1) {
            for (Entry* e = from; e != to; ++e) {
                if (static_cast<std::size_t>(to - e) > kAhead) __builtin_prefetch(&d.second[(e + kAhead)->index]);
                e->key = d.second[e->index];
            }
        } else if (range.round > 1) {
            // The texts are read out of their order: ask for them ahead.
            for (Entry* e = from; e != to; ++e) {
                if (static_cast<std::size_t>(to - e) > 2 * kAhead) {
                    __builtin_prefetch(&d.texts[(e + 2 * kAhead)->index]);
                    const std::string_view ahead = d.texts[(e + kAhead)->index];
                    __builtin_prefetch(ahead.data() + ((e + kAhead)->pos >> 2));
                }
                FillKey(d.w, *e, d.texts[e->index]);
            }
        }
        std::sort(from, to, KeyLess);
        for (Entry* run = from; run != to;) {
            Entry* runEnd = run + 1;
            while (runEnd != to && runEnd->key == run->key) ++runEnd;
            if (runEnd - run > 1) {
                if (!run->Ended()) {
                    ranges.push_back({static_cast<std::size_t>(run - d.entries),
                                      static_cast<std::size_t>(runEnd - d.entries), range.round + 1});
                } else {
                    // Every primary weight is equal: accents decide, then the original order.
                    std::sort(run, runEnd, [&d](const Entry& a, const Entry& b) {
                        const int c = CompareSecondary(d.w, d.texts[a.index], d.texts[b.index]);
                        return c != 0 ? c < 0 : a.index < b.index;
                    });
                }
            }
            run = runEnd;
        }
    }
}

// Runs work on a second thread while the caller does its own part; alone
// when no thread can be started.
template <class Work, class Own>
void InParallel(Work&& work, Own&& own) {
    std::thread helper;
    try {
        helper = std::thread(work);
    } catch (const std::system_error&) {
        work();
    }
    own();
    if (helper.joinable()) helper.join();
}

// A key near the middle of the first keys of all texts, from a sample of them.
Entry::Key MiddleKey(const SortData& d, std::size_t count) {
    constexpr std::size_t kSample = 1024;
    std::vector<Entry> sample(std::min(count, kSample));
    for (std::size_t k = 0; k < sample.size(); ++k) {
        sample[k].pos = 0;
        FillKey(d.w, sample[k], d.texts[k * count / sample.size()]);
    }
    const auto middle = sample.begin() + static_cast<std::ptrdiff_t>(sample.size() / 2);
    std::nth_element(sample.begin(), middle, sample.end(), KeyLess);
    return middle->key;
}

std::vector<std::uint32_t> SortOrderByWeights(const ByteWeights& w, const std::vector<std::string_view>& texts) {
    const std::size_t count = texts.size();
    // Left uninitialised: every entry and key is filled before it is read.
    const std::unique_ptr<Entry[]> entries(new Entry[count]);
    const std::unique_ptr<Entry::Key[]> second(new Entry::Key[count]);
    const SortData d{w, texts, entries.get(), second.get()};
    // Below this many texts one thread does it all.
    constexpr std::size_t kTwoThreads = 4096;
    if (count < kTwoThreads) {
        FillEntries(d, second.get(), 0, count);
        SortRange(d, 0, count);
    } else {
        // Each half is filled and split at a middle key at the same time; the
        // keys below it then go before those at or above it, and the two parts
        // sort apart, at the same time.
        const Entry::Key pivot = MiddleKey(d, count);
        const auto below = [&pivot](const Entry& e) { return e.key < pivot; };
        Entry* const first = entries.get();
        Entry* const middle = first + count / 2;
        Entry* const last = first + count;
        Entry* lowEnd = nullptr;   // the end of the first half's keys below the pivot
        Entry* highEnd = nullptr;  // the end of the second half's
        InParallel(
            [&] {
                FillEntries(d, second.get(), count / 2, count);
                highEnd = std::partition(middle, last, below);
            },
            [&] {
                FillEntries(d, second.get(), 0, count / 2);
                lowEnd = std::partition(first, middle, below);
            });
        Entry* const split = std::rotate(lowEnd, middle, highEnd);
        const auto at = [first](const Entry* e) { return static_cast<std::size_t>(e - first); };
        InParallel([&] { SortRange(d, at(split), count); }, [&] { SortRange(d, 0, at(split)); });
    }
    std::vector<std::uint32_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = entries[i].index;
    return order;
}

std::vector<std::uint32_t> SortOrderByKeys(std::size_t count, const std::function<std::string_view(std::size_t)>& text) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    for (std::size_t i = 0; i < count; ++i) keys.push_back(Collator().sortKey(ToQString(text(i))));
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&keys](std::uint32_t a, std::uint32_t b) { return keys[a].compare(keys[b]) < 0; });
    return order;
}

}  // namespace

int CompareTextLocale(const std::string& a, const std::string& b) {
    return Collator().compare(ToQString(a), ToQString(b));
}

std::vector<std::uint32_t> SortOrderLocale(std::size_t count, const std::function<std::string_view(std::size_t)>& text) {
    const ByteWeights* w = Weights();
    std::vector<std::string_view> texts;
    if (w) {
        texts.reserve(count);
        for (std::size_t i = 0; i < count && w; ++i) {
            texts.push_back(text(i));
            if (texts.back().size() >= (std::size_t{1} << 30)) w = nullptr;  // offsets are kept in 30 bits
        }
    }
    if (w) return SortOrderByWeights(*w, texts);
    return SortOrderByKeys(count, text);
}

void SortTextLocale(std::vector<std::string>& texts) {
    const std::vector<std::uint32_t> order =
        SortOrderLocale(texts.size(), [&texts](std::size_t i) { return std::string_view(texts[i]); });
    std::vector<std::string> sorted;
    sorted.reserve(texts.size());
    for (std::uint32_t i : order) sorted.push_back(std::move(texts[i]));
    texts = std::move(sorted);
}

}  // namespace tandrel
