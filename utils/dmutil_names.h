// dmutil_names.h -- names handed to DirectMusic, converted to wide text in a fixed buffer.
#pragma once

#include <cstring>

#include "utils/dxutil.h"

struct MusicName {
    WCHAR text[MAX_PATH];

    // Converts the name; false (and nothing converted) for a null name or one of MAX_PATH
    // characters or more, which would not fit.
    bool Set(const char* name) {
        if (!name || std::strlen(name) >= MAX_PATH) return false;
        GenericToWide(text, name, -1);
        return true;
    }
};
