#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/windowlookup.h"

namespace tandrel {
namespace {

// Sets DISPLAY for the scope of a test and restores the previous value.
class DisplayVariable {
public:
    explicit DisplayVariable(const std::optional<std::string>& value) {
        if (const char* old = std::getenv("DISPLAY")) old_ = old;
        Set(value);
    }
    ~DisplayVariable() { Set(old_); }

private:
    static void Set(const std::optional<std::string>& v) { v ? setenv("DISPLAY", v->c_str(), 1) : unsetenv("DISPLAY"); }
    std::optional<std::string> old_;
};

// A virtual X server on a free display, for the whole suite.
class WindowLookup : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        const std::string fd = std::to_string(fds[1]);
        server_ = fork();
        if (server_ == 0) {
            close(fds[0]);
            int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, STDERR_FILENO);
            dup2(devnull, STDOUT_FILENO);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen", "0",
                   "640x480x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes the display number it chose once it accepts connections.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c;
        while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (!number.empty()) display_ = ":" + number;
    }

    static void TearDownTestSuite() {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
            server_ = -1;
        }
    }

    void SetUp() override {
        if (!display_) GTEST_SKIP() << "Xvfb is not available";
        dpy_ = XOpenDisplay(display_->c_str());
        ASSERT_NE(dpy_, nullptr);
    }

    void TearDown() override {
        if (dpy_) XCloseDisplay(dpy_);  // destroys the windows of this test
    }

    enum class TitleIn { WmName, NetWmName };

    // An unmapped top-level window of the class with the title, below parent
    // (the root unless a frame is given).
    Window MakeWindow(const char* cls, const std::string& title, TitleIn where, Window parent = 0) {
        Window w = XCreateSimpleWindow(dpy_, parent ? parent : DefaultRootWindow(dpy_), 0, 0, 100, 100, 0, 0, 0);
        XClassHint hint{const_cast<char*>(cls), const_cast<char*>(cls)};
        XSetClassHint(dpy_, w, &hint);
        if (where == TitleIn::WmName) {
            XStoreName(dpy_, w, title.c_str());
        } else {
            XChangeProperty(dpy_, w, XInternAtom(dpy_, "_NET_WM_NAME", False), XInternAtom(dpy_, "UTF8_STRING", False),
                            8, PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                            static_cast<int>(title.size()));
        }
        XSync(dpy_, False);
        return w;
    }

    // Marks a window as minimized the way a window manager does.
    void MarkIconic(Window w) {
        Atom wmState = XInternAtom(dpy_, "WM_STATE", False);
        long state[2] = {IconicState, 0};
        XChangeProperty(dpy_, w, wmState, wmState, 32, PropModeReplace, reinterpret_cast<unsigned char*>(state), 2);
        XSync(dpy_, False);
    }

    bool Viewable(Window w) {
        XSync(dpy_, False);
        XWindowAttributes attr{};
        return XGetWindowAttributes(dpy_, w, &attr) && attr.map_state == IsViewable;
    }

    bool Activate() {
        DisplayVariable env(display_);
        return ActivateRunningInstance();
    }

    static inline pid_t server_ = -1;
    static inline std::optional<std::string> display_;
    Display* dpy_ = nullptr;
};

TEST_F(WindowLookup, FindsTheFormerWindowByClassAndEitherTitleAndShowsIt) {
    struct Case {
        const char* cls;
        const char* title;
        TitleIn where;
        bool found;
    } cases[] = {
        {"TMainForm", "Corvessa", TitleIn::WmName, true},
        {"TMainForm", "Корвесса", TitleIn::NetWmName, true},
        {"TMainForm", "Tandrel", TitleIn::WmName, false},   // this system's own window
        {"TMainForm", "Corvessa 2", TitleIn::WmName, false},
        {"TOtherForm", "Corvessa", TitleIn::WmName, false},
    };
    for (const Case& c : cases) {
        Window w = MakeWindow(c.cls, c.title, c.where);
        EXPECT_EQ(Activate(), c.found) << c.cls << " " << c.title;
        EXPECT_EQ(Viewable(w), c.found) << c.cls << " " << c.title;
        XDestroyWindow(dpy_, w);
        XSync(dpy_, False);
    }
}

TEST_F(WindowLookup, RestoresAMinimizedWindowInsideAWindowManagerFrame) {
    Window frame = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 120, 120, 0, 0, 0);
    XMapWindow(dpy_, frame);
    Window client = MakeWindow("TMainForm", "Корвесса", TitleIn::NetWmName, frame);
    MarkIconic(client);
    ASSERT_FALSE(Viewable(client));
    EXPECT_TRUE(Activate());
    EXPECT_TRUE(Viewable(client));
}

TEST_F(WindowLookup, PrefersTheEnglishTitle) {
    Window russian = MakeWindow("TMainForm", "Корвесса", TitleIn::NetWmName);
    Window english = MakeWindow("TMainForm", "Corvessa", TitleIn::WmName);
    EXPECT_TRUE(Activate());
    EXPECT_TRUE(Viewable(english));
    EXPECT_FALSE(Viewable(russian));
}

TEST_F(WindowLookup, WithoutADisplayNothingIsFound) {
    MakeWindow("TMainForm", "Corvessa", TitleIn::WmName);
    {
        DisplayVariable env(std::nullopt);
        EXPECT_FALSE(ActivateRunningInstance());
    }
    {
        DisplayVariable env(std::string(":4095"));  // no server there
        EXPECT_FALSE(ActivateRunningInstance());
    }
}

}  // namespace
}  // namespace tandrel
