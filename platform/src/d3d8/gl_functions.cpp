// gl_functions.cpp -- loads the OpenGL entry points of gl_functions.h through SDL.
#include "windows.h"

#include "d3d8/gl_functions.h"

#include <SDL2/SDL.h>

#include <cstdio>

namespace gl {

#define TREVOK_GL_DEFINE(type, name) type name = nullptr;
TREVOK_GL_FUNCTIONS(TREVOK_GL_DEFINE)
#undef TREVOK_GL_DEFINE

bool LoadFunctions() {
#define TREVOK_GL_LOAD(type, name)                                                     \
    name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));                 \
    if (!name) {                                                                      \
        std::fprintf(stderr, "Direct3D layer: OpenGL function gl%s is missing\n", #name); \
        return false;                                                                 \
    }
    TREVOK_GL_FUNCTIONS(TREVOK_GL_LOAD)
#undef TREVOK_GL_LOAD
    return true;
}

}  // namespace gl
