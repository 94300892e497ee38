// A test fixture that starts the program's windows in temporary folders:
// settings, program files and the current directory, with scripted dialogs.
#pragma once

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/cp1251_text.h"
#include "support/settings_file.h"
#include "platform/registry.h"
#include "support/scripted_prompter.h"
#include "support/tempdir.h"
#include "text/cp1251.h"
#include "ui/application.h"

namespace tandrel::test {

// Code page 1251 text from a UTF-8 literal.

inline std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// A whole key stroke (press and release) sent to target; Type sends one per character.
inline void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}
inline void Type(QWidget* target, const QString& text) {
    for (QChar c : text) Key(target, 0, Qt::NoModifier, QString(c));
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (tmp / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (tmp / "data").c_str(), 1);
        music = tmp / "music";
        std::filesystem::create_directories(music);
        oldCwd = std::filesystem::current_path();
        std::filesystem::current_path(music);
    }
    void TearDown() override {
        windows.reset();
        std::filesystem::current_path(oldCwd);
    }

    void Start() {
        registry = std::make_unique<RegistryStore>(DefaultRegistryPath());
        windows = CreateAppWindows(prompter, *registry);
    }
    // Closes the windows as at program exit and returns the registry file.
    std::string Exit() {
        windows.reset();
        return ReadAll(DefaultRegistryPath());
    }
    // Writes the settings key with the given value lines (REGEDIT4 syntax).
    void WriteRegistry(const std::string& values) {
        tmp.Write("config/Tandrel/registry.reg", test::SettingsFileText(values));
    }
    std::string RegistryText() const { return ReadAll(DefaultRegistryPath()); }

    TMainForm& form() { return *windows->mainForm; }
    template <class W>
    W* Control(const char* name) {
        W* w = form().findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QAction* Action(const char* name) { return form().menus()[name]; }

    TempDir tmp;
    std::string music;
    std::filesystem::path oldCwd;
    ScriptedPrompter prompter;
    std::unique_ptr<RegistryStore> registry;
    std::unique_ptr<AppWindows> windows;
};

// Runs the steps on the dialog of type D once owner has opened it modally; a
// dialog still open afterwards is cancelled, so a failed test cannot hang.
// A dialog whose construction lets events through is waited for until shown.
template <class D>
void WhenOpen(QWidget* owner, std::function<void(D*)> steps, int tries = 100) {
    QTimer::singleShot(0, owner, [owner, steps, tries] {
        D* dialog = owner->findChild<D*>();
        if ((!dialog || !dialog->isVisible()) && tries > 0) return WhenOpen<D>(owner, steps, tries - 1);
        ASSERT_NE(dialog, nullptr);
        steps(dialog);
        if (dialog->isVisible()) dialog->reject();
    });
}

}  // namespace tandrel::test
