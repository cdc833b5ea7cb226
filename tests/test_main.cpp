// test_main.cpp -- every test runs headless: SDL's offscreen video, dummy audio, boxes that never
// block; and every test starts from the layer's defaults, whatever ran before it in the process.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include "layer/audio.h"
#include "layer/clock.h"
#include "layer/debug_output.h"
#include "layer/device_control.h"
#include "layer/dialogs.h"
#include "layer/input.h"
#include "layer/message_boxes.h"
#include "layer/perf_counter.h"
#include "layer/window_hooks.h"
#include "winuser.h"

// Keeps the graphics driver's libraries mapped until the process ends. SDL unloads them when the
// last window goes; what they keep for the process's life would then be reported as leaks from
// unknown code, which no suppression can name.
static void PinGraphicsDriver() {
    const char* libraries[] = {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0",
                               "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"};
    for (const char* library : libraries) dlopen(library, RTLD_LAZY | RTLD_NODELETE);
}

#if defined(__SANITIZE_ADDRESS__)
// The leak checker reads the blocks of dynamic thread-local storage it saw handed out; depending
// on where the process's memory happens to lie, it takes a record of the C library's for such a
// block and crashes reading it when the process ends. Not following those hand-outs keeps the
// check working; the graphics libraries' thread-local data is suppressed as theirs anyway.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
#endif

// Puts back, before each test, every switch and record of the layer that a test may have left
// changed: the clock, the counter, the device's failures, scripts and hooks, injected input,
// the answers of boxes, what was logged, and messages (a quit above all) still waiting.
class LayerDefaults : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        MSG waiting;
        while (PeekMessageA(&waiting, nullptr, 0, 0, PM_REMOVE)) {
        }
        layer::UseRealClock();
        layer::SetPerformanceCounterPresent(true);
        layer::ResetDeviceControl();
        layer::SetDialogScript({});
        layer::SetWindowCreatedHook({});
        layer::ClearInjectedInput();
        layer::InjectCursorPosition(nullptr);
        layer::SetManualAudioMixing(false);
        layer::SetMessageBoxesInteractive(false);
        layer::SetMessageBoxAnswer(IDOK);
        layer::ClearShownMessageBoxes();
        layer::ClearDebugOutput();
        layer::ClearPlayedWaves();
    }
};

int main(int argc, char** argv) {
    PinGraphicsDriver();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new LayerDefaults);
    return RUN_ALL_TESTS();
}
