#include "support/cli_run.h"
#include "cli/text_command.h"

#include "support/tempdir.h"

namespace tandrel {
namespace {

using test::CliRun;

CliRun Text(const std::vector<std::string>& args) { return test::RunCommand(RunTextCommand, args); }

TEST(TextCommand, PrintsEachKindOfResultInUtf8) {
    struct Case { std::vector<std::string> args; const char* out; };
    const Case cases[] = {
        {{"ToTranslit", "Щука и Ёж"}, "Shuka i Ezh\n"},
        {{"SwitchKeyLayout", "ghbdtn"}, "привет\n"},
        {{"UpFirstLettersOfArtistAndTitle", "j.s. bach - air.mp3", "2"}, "J.S. Bach - Air.mp3\n"},
        {{"ReplaceChar", "ё", "е", "ёлка ёж"}, "елка еж\n"},
        {{"DeleteSubStr", "--", "a--b"}, "ab\n"},
        {{"SplitByChar", "a  b", " "}, "a\n\nb\n"},
        {{"SplitByChar", "abc", " "}, ""},
        {{"ExtInMaskList", "*.mp3;*.wav", "wav"}, "true\n"},
        {{"IsInteger", "$1F"}, "true\n"},
        {{"CountChar", "/", "/a/b"}, "2\n"},
        {{"IntToStrZero", "-7", "3"}, "-07\n"},
        {{"JoinPathSep", "/music/", "a.mp3", "0"}, "/music/a.mp3\n"},
        {{"CopyAfterLastChar", "", "/"}, "\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = Text(c.args);
        EXPECT_EQ(r.code, 0) << c.args[0] << ": " << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
    }
}

TEST(TextCommand, ReadsTheSynonymsFileNamedInUtf8) {
    test::TempDir dir;
    const std::string path = dir.Write("Синонимы.ini", "1=\xE5\xEB\xEA\xE0,tree\r\n");  // "елка" in code page 1251
    const CliRun r = Text({"FindSynonyms", "ЁЛКА", path});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "елка,tree\n");
}

TEST(TextCommand, RejectsBadCallsWithAMessage) {
    const std::vector<std::string> bad[] = {
        {},
        {"NoSuchFunction", "x"},
        {"totranslit", "x"},                      // names are exact
        {"ToTranslit"},                           // too few
        {"ToTranslit", "a", "b"},                 // too many
        {"CopyBeforeChar", "a-b", "--"},          // not one character
        {"CopyBeforeChar", "a-b", ""},
        {"IntToStrZero", "seven", "3"},           // not a number
        {"IntToStrZero", "7", "3x"},
        {"IntToStrZero", "7", "99999999999"},     // width out of range
        {"ToTranslit", "日本"},                   // not in code page 1251
        {"ToTranslit", "a\xFF"},                  // not UTF-8
    };
    for (const auto& args : bad) {
        const CliRun r = Text(args);
        EXPECT_EQ(r.code, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
}  // namespace tandrel
