// test_main.cpp -- every test runs headless: SDL's offscreen video, dummy audio, boxes that never block.
#include <gtest/gtest.h>

#include <cstdlib>

#include "layer/message_boxes.h"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
