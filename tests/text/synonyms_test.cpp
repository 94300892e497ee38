#include "text/synonyms.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/tempdir.h"
#include "text/cp1251.h"

namespace tandrel {
namespace {

TEST(FindSynonyms, ScansEveryLineWhateverItsEnding) {
    test::TempDir dir;
    const std::string w = Utf8ToCp1251("ёлка").text;
    // CR, LF and CR LF line ends; the matching line is the last, with no line end.
    const std::string path = dir.Write("Synonyms.ini",
        "[Synonyms]\r\n1=car,auto\rnoequals ELKA\n\n2=beatles=" + Utf8ToCp1251("битлз").text +
        "\r\n3=" + Utf8ToCp1251("ЕЛКА,ель").text + ",tree");
    EXPECT_EQ(FindSynonyms(w, path), Utf8ToCp1251("ЕЛКА,ель").text + ",tree");
    EXPECT_EQ(FindSynonyms("TREE", path), Utf8ToCp1251("ЕЛКА,ель").text + ",tree");
    EXPECT_EQ(FindSynonyms("AUTO", path), "car,auto");
    EXPECT_EQ(FindSynonyms("beatles=", path), "beatles=" + Utf8ToCp1251("битлз").text);
    EXPECT_EQ(FindSynonyms("elka", path), "");   // a line without "=" has no value
    EXPECT_EQ(FindSynonyms("", path), "");
    EXPECT_EQ(FindSynonyms("car", dir / "missing.ini"), "");
}

TEST(FindSynonyms, ReadsAUtf8FileInCodePage1251) {
    test::TempDir dir;
    const std::string path = dir.Write("Synonyms.ini", "1=ЁЛКА,ель,tree\n");
    EXPECT_EQ(FindSynonyms(Utf8ToCp1251("ель").text, path), Utf8ToCp1251("ЁЛКА,ель,tree").text);
}

TEST(FindSynonyms, APipeOrADirectoryNamedAsTheFileFindsNothingAtOnce) {
    test::TempDir dir;
    const std::string fifo = dir / "Synonyms.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FindSynonyms("car", fifo), "");  // a blocking read would never return
    EXPECT_EQ(FindSynonyms("car", dir.str()), "");
}

TEST(FindSynonyms, OpensAFileWithACyrillicName) {
    test::TempDir dir;
    dir.Write("Синонимы.ini", "a=one,two");
    EXPECT_EQ(FindSynonyms("two", Utf8ToCp1251(dir / "Синонимы.ini").text), "one,two");
}

}  // namespace
}  // namespace tandrel
