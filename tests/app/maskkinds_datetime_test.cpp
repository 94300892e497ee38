#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "app/datetime.h"
#include "app/maskkinds.h"

namespace tandrel {
namespace {

TEST(MaskKinds, MediaAndAudioMasksAreFoundWithoutRegardToCase) {
    struct Case { const char* mask; bool media; bool audio; };
    const Case cases[] = {
        {"*.txt", false, false}, {"*.mp3", true, true},  {"*.MP3", true, true},
        {"*.avi", true, false},  {"*.mpg;*.mpe", true, false}, {"*.txt;*.wav", true, true},
        {"*.*", false, false},   {"*.mp4", true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsMediaMask(c.mask), c.media) << c.mask;
        EXPECT_EQ(IsAudioMask(c.mask), c.audio) << c.mask;
    }
}

TEST(MaskKinds, FileListMatchesAnyPatternOfTheMask) {
    struct Case { const char* name; const char* masks; bool matches; };
    const Case cases[] = {
        {"a.mp3", "*.mp3;*.wav", true},  {"a.WAV", "*.mp3;*.wav", true}, {"a.txt", "*.mp3;*.wav", false},
        {"README", "*.*", true},         {"README", "*", true},          {"a.mp3x", "*.mp3", false},
        {"song1.mp3", "song?.mp3", true}, {"song12.mp3", "song?.mp3", false},
        {"\xC7\xE8\xEC\xE0.TXT", "*.txt", true},
    };
    for (const Case& c : cases) EXPECT_EQ(MatchesMaskList(c.name, c.masks), c.matches) << c.name << " " << c.masks;
}

TEST(DateTime, DatesAndTimesUseTheProgramsForms) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(FormatDate(1709967900), "2024.03.09");  // 2024-03-09 07:05:00 UTC
    EXPECT_EQ(FormatTime(1709967900), "07:05:00");
}

}  // namespace
}  // namespace tandrel
