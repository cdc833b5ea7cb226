// crt_rand.cpp -- the runtime's 15-bit generator, replacing the C library's rand and srand,
// so that every run (and every machine) draws the same sequence the game was tuned with.
#include <cstdlib>

namespace {
unsigned int g_randState = 1;
}

extern "C" int rand(void) noexcept {
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7FFF);
}

extern "C" void srand(unsigned int seed) noexcept { g_randState = seed; }
