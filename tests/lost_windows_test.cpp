// lost_windows_test.cpp -- the game, as a program of its own
// on an X server of the test's (Xvfb), has its box, dialog
// and window destroyed by another client (xdotool).
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "scratch_dir.h"

// The first start's box answers as closed, the dialog ends
// as closed (nothing written), the game's window ends the
// game as a close does; all with status 0 and no X error.
TEST(LostWindows, TheBoxTheDialogAndTheGameEndAsClosed) {
    ScratchDir dir;
    // The server ends with its last client: `keep`.
    FILE* server = popen("exec Xvfb -displayfd 1 -terminate"
                         " -nolisten tcp 2>/dev/null", "r");
    int number = -1;
    std::fscanf(server, "%d", &number);
    const std::string x = "DISPLAY=:" + std::to_string(number);
    Display* keep = XOpenDisplay(x.c_str() + 8);
    ASSERT_TRUE(keep) << "Xvfb: scripts/install-deps.sh";
    // On the window of the title, once shown. A key that ends
    // the window leaves its release nowhere to go: a failure
    // only for a destroy.
    auto on = [&](const char* title, const std::string& act) {
        const std::string line = x + " timeout 30 xdotool"
            " search --sync --onlyvisible --name '" + title +
            "' " + act + " 2>/dev/null";
        const int status = std::system(line.c_str());
        if (act.find("windowclose") != std::string::npos) {
            EXPECT_EQ(status, 0) << line;
        }
    };
    // The game on a fresh copy of the data: its status.
    auto play = [&](const std::function<void()>& steps) {
        FILE* game = popen(("cp -r " TREVOK_DATA_DIR "/. . &&"
                            " rm -f trevok.cfg; " + x +
                            " SDL_VIDEODRIVER=x11"
                            " ASAN_OPTIONS=detect_leaks=0"
                            " timeout -s KILL 60 " TREVOK_GAME
                            " 2>err.txt; echo $?").c_str(), "r");
        steps();
        int status = -1;
        std::fscanf(game, "%d", &status);
        pclose(game);
        return status;
    };
    auto errors = [] {
        std::stringstream text;
        text << std::ifstream("err.txt").rdbuf();
        return text.str();
    };
    const std::string box = "[Error] Nelze otevrit soubor\n";
    EXPECT_EQ(play([&] {
        on("^Error$", "windowclose");
        on("^Rudurev VUGU!$", "windowclose");
    }), 0);
    EXPECT_EQ(errors(), box);
    EXPECT_FALSE(std::filesystem::exists("trevok.cfg"));
    EXPECT_EQ(play([&] {
        on("^Error$", "windowclose");
        on("^Rudurev VUGU!$", "key Return");  // "Spustit"
        // The intro ends on Esc, held over a frame or two.
        on("^Vizuvor VUGU !$",
           "keydown Escape sleep 1 keyup Escape windowclose");
    }), 0);
    EXPECT_EQ(errors(), box);
    EXPECT_TRUE(std::filesystem::exists("trevok.cfg"));
    XCloseDisplay(keep);
    pclose(server);
}
