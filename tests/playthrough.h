// playthrough.h -- the whole program played from WinMain, the dialog answered and the intro skipped,
// by a script of steps run before each frame (the idle hook); and what a player sees of a frame.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dinput.h"
#include "layer/clock.h"
#include "layer/device_stats.h"
#include "layer/dialogs.h"
#include "layer/input.h"
#include "layer/window_hooks.h"
#include "shell/devices.h"
#include "shell/main_window.h"
#include "shell/resource.h"
#include "utils/texture_font.h"

namespace playthrough {

// The last picture the program presented.
struct Picture {
    std::vector<uint32_t> pixels;
    UINT width = 0, height = 0;

    static Picture Shown() {
        Picture p;
        layer::LastPresentedPicture(&p.pixels, &p.width, &p.height);
        return p;
    }
    uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || UINT(x) >= width || UINT(y) >= height) return 0;
        return pixels[size_t(y) * width + size_t(x)];
    }
    // Whether the pixel could be the ARGB colour drawn with its alpha over whatever was behind.
    static bool Covered(uint32_t pixel, uint32_t argb) {
        const float a = float(argb >> 24) / 255.0f;
        for (int shift = 0; shift <= 16; shift += 8) {
            const float c = float((argb >> shift) & 0xFF), v = float((pixel >> shift) & 0xFF);
            if (v < a * c - 3.0f || v > a * c + (1.0f - a) * 255.0f + 3.0f) return false;
        }
        return true;
    }
    // Pixels of the box that differ from the other picture's.
    int Changed(const Picture& other, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) n += At(x, y) != other.At(x, y);
        return n;
    }
};

// Whether the last picture shows the text at (x, y) in the colour wherever the font covers fully.
inline bool Shows(CTextureFont* font, int x, int y, uint32_t colour, const std::string& text) {
    const Picture shown = Picture::Shown();
    g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    g_pd3dDevice->BeginScene();
    font->DrawText(float(x), float(y), 0xFFFFFFFF, text.c_str(), 0);
    g_pd3dDevice->EndScene();
    std::vector<uint32_t> alone;
    UINT w = 0, h = 0;
    if (!layer::ReadBackBuffer(&alone, &w, &h) || w != shown.width || h != shown.height) return false;
    int covered = 0, shownThere = 0;
    for (size_t i = 0; i < alone.size(); ++i) {
        if ((alone[i] & 0xFFFFFF) != 0xFFFFFF) continue;
        ++covered;
        shownThere += Picture::Covered(shown.pixels[i], colour);
    }
    return covered > 0 && shownThere == covered;
}
// The same for a text centred on the screen's width, in whole pixels as the game centres.
inline bool ShowsCentred(CTextureFont* font, int y, uint32_t colour, const std::string& text) {
    SIZE size = {0, 0};
    font->GetTextExtent(text.c_str(), &size);
    return Shows(font, int(Picture::Shown().width) / 2 - int(size.cx) / 2, y, colour, text);
}

// Answers the settings dialog: a resolution item, full screen or not, and a button.
inline void AnswerDialog(int resolution, bool fullscreen, int button) {
    layer::SetDialogScript([=](HWND hDlg) {
        layer::ChooseDialogComboItem(hDlg, IDC_RESOLUTION, resolution);
        if ((IsDlgButtonChecked(hDlg, IDC_FULLSCREEN) == BST_CHECKED) != fullscreen)
            layer::ClickDialogControl(hDlg, IDC_FULLSCREEN);
        layer::ClickDialogControl(hDlg, button);
    });
}

// Steps run before each frame until done; one not done within its frames fails and closes the window.
class Script {
public:
    using Step = std::function<bool()>;

    // A step run before each frame until it returns true, at most `frames` frames.
    void Until(std::string name, int frames, Step step) { steps_.push_back({std::move(name), frames, std::move(step)}); }
    // Runs before each frame ahead of the steps; when it returns true no step runs before it.
    void Watch(Step watcher) { watchers_.push_back(std::move(watcher)); }
    // A step done at once, before the next frame.
    void Do(std::string name, std::function<void()> action) {
        Until(std::move(name), 0, [action] {
            action();
            return true;
        });
    }
    // `n` frames, each `ms` milliseconds of the manual clock.
    void Frames(int n, uint32_t ms) {
        auto left = std::make_shared<int>(n);
        Until("frames", n, [this, left, ms] {
            frameMs = ms;
            return (*left)-- <= 0;
        });
    }
    // A key held for one frame and released for the next.
    void Tap(BYTE key) {
        Do("press", [key] { layer::InjectKey(key, true); });
        Frames(1, frameMs);
        Do("release", [key] { layer::InjectKey(key, false); });
        Frames(1, frameMs);
    }

    // Runs the program windowed at a resolution item, the intro skipped with Esc held.
    int Run(int resolution) {
        AnswerDialog(resolution, false, IDC_START);
        layer::SetWindowCreatedHook([](HWND) { layer::InjectKey(DIK_ESCAPE, true); });
        layer::SetIdleHook([this] { BeforeFrame(); });
        const int status = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(""), SW_SHOWDEFAULT);
        lastPicture = Picture::Shown();
        layer::KeepPresentedPictures(false);
        layer::SetIdleHook(nullptr);
        layer::SetWindowCreatedHook(nullptr);
        layer::SetDialogScript(nullptr);
        layer::ClearInjectedInput();
        EXPECT_EQ(next_, steps_.size()) << "the program ended before the script";
        return status;
    }

    int framesRun = 0;
    Picture lastPicture;  // after Run
    uint32_t frameMs = 20;  // milliseconds of the clock before the coming frame
    // Whether the coming frame's picture is kept (a copy) for the steps.
    bool keepPicture = true;

private:
    struct Entry {
        std::string name;
        int frames;
        Step step;
        int tried = 0;
    };

    void BeforeFrame() {
        // Once a frame: a message taken from the queue is followed by another idle pass.
        const uint32_t presented = layer::PresentedFrames();
        if (framesRun > 0 && presented == presented_) return;
        presented_ = presented;
        if (framesRun++ == 0) layer::InjectKey(DIK_ESCAPE, false);  // the intro is over
        keepPicture = true;
        for (Step& watcher : watchers_)
            if (watcher()) return Ahead();
        while (next_ < steps_.size()) {
            Entry& e = steps_[next_];
            if (e.tried++ > e.frames) {
                ADD_FAILURE() << "\"" << e.name << "\" not done within " << e.frames << " frames";
                Abandon();
                return;
            }
            if (!e.step()) break;
            ++next_;
        }
        if (next_ == steps_.size() && ++framesAfterEnd_ > 1) {  // it ends with the last step's frame
            ADD_FAILURE() << "the program still runs after the script";
            Abandon();
            return;
        }
        Ahead();
    }
    // The clock, and the picture kept or not, for the coming frame.
    void Ahead() {
        layer::KeepPresentedPictures(keepPicture);
        layer::AdvanceClock(frameMs);
    }
    void Abandon() {
        next_ = steps_.size();
        framesAfterEnd_ = -1000000;
        PostMessageA(g_hWnd, WM_CLOSE, 0, 0);
    }

    std::vector<Step> watchers_;
    std::vector<Entry> steps_;
    size_t next_ = 0;
    uint32_t presented_ = 0;
    int framesAfterEnd_ = 0;
};

}  // namespace playthrough
