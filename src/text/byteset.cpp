#include "text/byteset.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace tandrel {

namespace {

#if defined(__SSE2__)
// The first position in [p, end) whose byte is one of the N in set.
template <int N>
const unsigned char* FindAnyOf(const unsigned char* p, const unsigned char* end, const unsigned char* set) {
    __m128i wanted[N];
    for (int i = 0; i < N; ++i) wanted[i] = _mm_set1_epi8(static_cast<char>(set[i]));
    const auto matches = [&](const unsigned char* at) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        __m128i hit = _mm_cmpeq_epi8(v, wanted[0]);
        for (int i = 1; i < N; ++i) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, wanted[i]));
        return hit;
    };
    const auto bits = [](__m128i hit, int shift) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(hit))) << shift;
    };
    while (end - p >= 64) {
        const __m128i a = matches(p), b = matches(p + 16), c = matches(p + 32), d = matches(p + 48);
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))))
            return p + __builtin_ctzll(bits(a, 0) | bits(b, 16) | bits(c, 32) | bits(d, 48));
        p += 64;
    }
    while (end - p >= 16) {
        if (const int mask = _mm_movemask_epi8(matches(p))) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
    for (; p < end; ++p)
        for (int i = 0; i < N; ++i)
            if (*p == set[i]) return p;
    return end;
}
#endif

}  // namespace

void ByteSet::Add(unsigned char c) {
    if (in_[c]) return;
    in_[c] = true;
    members_[size_++] = c;
}

const char* ByteSet::Find(const char* from, const char* end) const {
    if (from >= end || size_ == 0) return end;
    const auto* p = reinterpret_cast<const unsigned char*>(from);
    const auto* e = reinterpret_cast<const unsigned char*>(end);
    if (size_ == 1) {
        const void* at = std::memchr(p, members_[0], static_cast<std::size_t>(e - p));
        return at ? static_cast<const char*>(at) : end;
    }
#if defined(__SSE2__)
    switch (size_) {
        case 2: return reinterpret_cast<const char*>(FindAnyOf<2>(p, e, members_));
        case 3: return reinterpret_cast<const char*>(FindAnyOf<3>(p, e, members_));
        case 4: return reinterpret_cast<const char*>(FindAnyOf<4>(p, e, members_));
        case 5: return reinterpret_cast<const char*>(FindAnyOf<5>(p, e, members_));
        case 6: return reinterpret_cast<const char*>(FindAnyOf<6>(p, e, members_));
        case 7: return reinterpret_cast<const char*>(FindAnyOf<7>(p, e, members_));
        case 8: return reinterpret_cast<const char*>(FindAnyOf<8>(p, e, members_));
        default: break;
    }
#endif
    while (p < e && !in_[*p]) ++p;
    return reinterpret_cast<const char*>(p);
}

}  // namespace tandrel
