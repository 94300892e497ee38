// The search reads the home directory and mask of "Use Home Dir and Mask"
// from the settings store the window was given, again at each search.
#include <QCheckBox>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "window_fixture.h"

namespace tandrel {
namespace {

using Lines = std::vector<std::string>;

class SearchStoreTest : public test::WindowTest {
protected:
    // A settings file away from the default path, as a caller may hand the window.
    std::string StorePath() const { return tmp / "elsewhere/settings.reg"; }
    void WriteStore(const std::string& homeDir) {
        tmp.Write("elsewhere/settings.reg",
                  test::SettingsFileText("\"RecursiveSearch\"=dword:00000000\r\n"
                                         "\"HomeDirFindFileName\"=\"" + homeDir + "\"\r\n"
                                         "\"MaskFindFileName\"=\"*.mp3\"\r\n"));
    }
    void FindByName(const QString& query) {
        auto* edFind = Control<QLineEdit>("edFind");
        edFind->setText(query);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edFind, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edFind, &release);
    }
};

TEST_F(SearchStoreTest, HomeSearchReadsTheStoreTheWindowWasGivenAtEachSearch) {
    tmp.Write("music/first/song.mp3", "x");
    tmp.Write("music/second/song.mp3", "x");
    WriteStore(music + "/first");
    registry = std::make_unique<RegistryStore>(StorePath());
    windows = CreateAppWindows(prompter, *registry);
    Control<QCheckBox>("cbScanDir")->click();
    Control<TRadioGroup>("rgFindMode")->button(0)->click();  // by name
    Control<QCheckBox>("cbUseHomeDirMask")->click();

    FindByName("song");
    EXPECT_EQ(form().outputLines(), Lines{music + "/first/song.mp3"}) << form().statusText();
    // The settings dialog writes these values to the file; the next search reads them anew.
    WriteStore(music + "/second");
    FindByName("song");
    EXPECT_EQ(form().outputLines(), Lines{music + "/second/song.mp3"}) << form().statusText();
}

}  // namespace
}  // namespace tandrel
