// system_libraries_kept.cpp -- keeps Mesa's EGL, GLX and software rasteriser loaded for the whole
// test process. SDL unloads them when a device's video subsystem closes; the allocations they
// keep for the life of the process then show under no module name, and the sanitizer run's leak
// suppressions (tests/lsan.supp, by library name) could no longer match them.
#include <dlfcn.h>

#include <initializer_list>

namespace {

const bool g_systemLibrariesKept = [] {
    for (const char* lib : {"libEGL_mesa.so.0", "libGLX_mesa.so.0", "libglapi.so.0", "swrast_dri.so",
                            "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(lib, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    return true;
}();

}  // namespace
