// test_main.cpp -- every test runs headless: SDL's offscreen video, dummy audio, boxes that never block.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include "layer/message_boxes.h"

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

int main(int argc, char** argv) {
    PinGraphicsDriver();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
