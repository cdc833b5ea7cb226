// fuzz_support.h -- what the fuzz targets of the game's files share: the headless drivers of the
// tests and the file the game reads, written whole into the working directory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "layer/message_boxes.h"

namespace fuzz {

// SDL's offscreen video and dummy audio, and boxes that never block. The game's files are
// written into the working directory, which scripts/fuzz.sh makes for each target.
inline void RunHeadless() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    layer::SetMessageBoxesInteractive(false);
}

inline void WriteWholeFile(const char* name, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(name, "wb");
    if (!f || (size && std::fwrite(data, 1, size, f) != size)) std::abort();
    std::fclose(f);
}

}  // namespace fuzz
