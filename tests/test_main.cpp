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

// Under AddressSanitizer: the dynamic thread-local blocks of the libraries loaded at run time (the
// graphics driver's compiler among them) are not tracked. With this C library the sanitizer
// misreads the size of some of them and its leak check at exit then crashes, depending on where
// memory happens to lie; what those blocks hold belongs to libraries whose leaks are suppressed.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }

int main(int argc, char** argv) {
    PinGraphicsDriver();
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
