// sdl_video.cpp -- SDL video start-up shared by the window manager and the dialog view.
#include "sdl/sdl_video.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace sdlvideo {

bool EnsureVideo() {
    static int state = 0;  // 0 not tried, 1 running, -1 failed
    if (SDL_WasInit(SDL_INIT_VIDEO)) state = 1;
    if (state == 0) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            state = 1;
            // Keep the OpenGL library loaded for the whole run, so that releasing the last
            // OpenGL window does not unload the driver (and load it again for the next one).
            SDL_GL_LoadLibrary(nullptr);
        } else {
            std::fprintf(stderr, "trevok: no display to open a window on (%s)\n", SDL_GetError());
            state = -1;
        }
    }
    return state == 1;
}

bool IsHeadless() {
    const char* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : SDL_getenv("SDL_VIDEODRIVER");
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

}  // namespace sdlvideo
