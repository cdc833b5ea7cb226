// lost_windows_test.cpp -- the game, as a program of its own
// on an X server of the test's (Xvfb), has its box, dialog
// and window destroyed by another client: the test's.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "scratch_dir.h"

namespace {

int Ignore(Display*, XErrorEvent*) { return 0; }

struct X {
    // Ends with the last client: the test's connection.
    X() {
        int number = -1;
        std::fscanf(server, "%d", &number);
        name = ":" + std::to_string(number);
        d = XOpenDisplay(name.c_str());
    }
    ~X() {
        if (d) XCloseDisplay(d);
        pclose(server);
    }

    // The game, on a fresh copy of the data; its status comes
    // with Ended.
    FILE* Start() {
        return popen(("cp -r " TREVOK_DATA_DIR "/. . &&"
                      " rm -f trevok.cfg; DISPLAY=" + name +
                      " SDL_VIDEODRIVER=x11"
                      " ASAN_OPTIONS=detect_leaks=0"
                      " timeout 60 " TREVOK_GAME
                      " 2>err.txt; echo $?").c_str(), "r");
    }
    static int Ended(FILE* game) {
        int status = -1;
        std::fscanf(game, "%d", &status);
        pclose(game);
        return status;
    }
    // The top window of the title once shown.
    Window Shown(const char* title) {
        for (int tries = 0; tries < 3000; ++tries) {
            Window root, up, *top = nullptr;
            unsigned n = 0;
            XQueryTree(d, DefaultRootWindow(d), &root,
                       &up, &top, &n);
            Window w = 0;
            for (unsigned i = 0; i < n; ++i) {
                char* got = nullptr;
                XWindowAttributes a = {};
                XFetchName(d, top[i], &got);
                XGetWindowAttributes(d, top[i], &a);
                if (got && std::string(got) == title &&
                    a.map_state == IsViewable)
                    w = top[i];
                XFree(got);
            }
            XFree(top);
            if (w) return w;
            std::this_thread::sleep_for(
                std::chrono::milliseconds(10));
        }
        ADD_FAILURE() << "never shown: " << title;
        return 0;
    }
    void Destroy(const char* title) {
        XDestroyWindow(d, Shown(title));
        XSync(d, False);
    }
    FILE* server = popen("exec Xvfb -displayfd 1 -terminate"
                         " -nolisten tcp 2>/dev/null", "r");
    std::string name;
    Display* d = nullptr;

    // A key held for half a second.
    void Key(const char* title, KeySym key) {
        XEvent e = {};
        e.xkey.window = Shown(title);
        e.xkey.root = DefaultRootWindow(d);
        e.xkey.same_screen = True;
        e.xkey.keycode = XKeysymToKeycode(d, key);
        for (int type : {KeyPress, KeyRelease}) {
            e.type = type;
            XSendEvent(d, e.xkey.window, True,
                       KeyPressMask | KeyReleaseMask, &e);
            XSync(d, False);
            std::this_thread::sleep_for(
                std::chrono::milliseconds(500));
        }
    }
};

std::string Read(const char* path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The first start's box answers as closed, the dialog ends
// as closed (nothing written), the game's window ends the
// game as a close does; all with status 0 and no X error.
TEST(LostWindows, TheBoxTheDialogAndTheGameEndAsClosed) {
    ScratchDir dir;
    X x;
    ASSERT_TRUE(x.d) << "Xvfb: scripts/install-deps.sh";
    XErrorHandler before = XSetErrorHandler(Ignore);
    const std::string box = "[Error] Nelze otevrit soubor\n";
    FILE* game = x.Start();
    x.Destroy("Error");
    x.Destroy("Rudurev VUGU!");
    EXPECT_EQ(X::Ended(game), 0);
    EXPECT_EQ(Read("err.txt"), box);
    EXPECT_FALSE(std::filesystem::exists("trevok.cfg"));

    game = x.Start();
    x.Key("Error", XK_Return);
    x.Key("Rudurev VUGU!", XK_Return);  // "Spustit"
    x.Key("Vizuvor VUGU !", XK_Escape);  // the intro ends
    x.Destroy("Vizuvor VUGU !");
    EXPECT_EQ(X::Ended(game), 0);
    EXPECT_EQ(Read("err.txt"), box);
    EXPECT_TRUE(std::filesystem::exists("trevok.cfg"));
    XSetErrorHandler(before);
}

}  // namespace
