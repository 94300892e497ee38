#include "platform/windowlookup.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tandrel {
namespace {

constexpr const char* kFormerClass = "TMainForm";
// The English title first, then the Russian one.
constexpr const char* kFormerTitles[] = {"Corvessa", "Корвесса"};

// Windows may vanish while they are examined; such errors are expected.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

struct Atoms {
    Atom utf8String, netWmName, netActiveWindow;
    explicit Atoms(Display* d)
        : utf8String(XInternAtom(d, "UTF8_STRING", False)),
          netWmName(XInternAtom(d, "_NET_WM_NAME", False)),
          netActiveWindow(XInternAtom(d, "_NET_ACTIVE_WINDOW", False)) {}
};

// A UTF8_STRING property, or nothing.
std::optional<std::string> GetUtf8Property(Display* d, Window w, Atom name, Atom utf8String) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<std::string> value;
    if (XGetWindowProperty(d, w, name, 0, 4096, False, utf8String, &type, &format, &count, &after, &data) ==
            Success &&
        type == utf8String && format == 8 && data) {
        value.emplace(reinterpret_cast<const char*>(data), count);
    }
    if (data) XFree(data);
    return value;
}

bool HasFormerClass(Display* d, Window w, bool& hasClass) {
    XClassHint hint{};
    hasClass = XGetClassHint(d, w, &hint) != 0;
    if (!hasClass) return false;
    const bool match = (hint.res_name && std::strcmp(hint.res_name, kFormerClass) == 0) ||
                       (hint.res_class && std::strcmp(hint.res_class, kFormerClass) == 0);
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return match;
}

std::string Latin1ToUtf8(const std::string& s) {
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// _NET_WM_NAME, else WM_NAME, as UTF-8.
std::string WindowTitle(Display* d, const Atoms& atoms, Window w) {
    if (auto name = GetUtf8Property(d, w, atoms.netWmName, atoms.utf8String)) return *name;
    XTextProperty text{};
    if (!XGetWMName(d, w, &text) || !text.value) return {};
    std::string title;
    if (text.encoding == atoms.utf8String) {
        title.assign(reinterpret_cast<const char*>(text.value), text.nitems);
    } else if (text.encoding == XA_STRING) {
        title = Latin1ToUtf8(std::string(reinterpret_cast<const char*>(text.value), text.nitems));
    } else {
        char** list = nullptr;
        int count = 0;
        if (Xutf8TextPropertyToTextList(d, &text, &list, &count) >= Success && list) {
            if (count > 0 && list[0]) title = list[0];
            XFreeStringList(list);
        }
    }
    XFree(text.value);
    return title;
}

// Client windows of the former program's class with their titles. Reparenting
// window managers put clients inside frames, so the walk descends until it
// meets a window that carries WM_CLASS.
void CollectCandidates(Display* d, const Atoms& atoms, Window w,
                       std::vector<std::pair<Window, std::string>>& found, int depth) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(d, w, &root, &parent, &children, &count)) return;
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    for (Window child : list) {
        bool hasClass = false;
        if (HasFormerClass(d, child, hasClass)) {
            found.emplace_back(child, WindowTitle(d, atoms, child));
        } else if (!hasClass && depth < 8) {
            CollectCandidates(d, atoms, child, found, depth + 1);
        }
    }
}

void Activate(Display* d, const Atoms& atoms, Window w) {
    // A minimized (iconic) or hidden client is unmapped: the map request asks
    // the window manager for the normal state; a mapped one is only raised.
    XMapRaised(d, w);

    // A window manager activates (and un-hides) on this request; source 2
    // marks it as coming from a tool acting for the user.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = atoms.netActiveWindow;
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);

    // Without a window manager the map above made it viewable; give it focus.
    XSync(d, False);
    XWindowAttributes attr{};
    if (XGetWindowAttributes(d, w, &attr) && attr.map_state == IsViewable) {
        XSetInputFocus(d, w, RevertToParent, CurrentTime);
    }
}

}  // namespace

bool ActivateRunningInstance() {
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name) return false;
    Display* d = XOpenDisplay(name);
    if (!d) return false;
    XErrorHandler previous = XSetErrorHandler(IgnoreXError);

    const Atoms atoms(d);
    std::vector<std::pair<Window, std::string>> candidates;
    CollectCandidates(d, atoms, DefaultRootWindow(d), candidates, 0);

    bool activated = false;
    for (const char* title : kFormerTitles) {
        for (const auto& [window, windowTitle] : candidates) {
            if (windowTitle == title) {
                Activate(d, atoms, window);
                activated = true;
                break;
            }
        }
        if (activated) break;
    }

    XSync(d, False);
    XSetErrorHandler(previous);
    XCloseDisplay(d);
    return activated;
}

}  // namespace tandrel
