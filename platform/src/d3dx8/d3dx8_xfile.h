// d3dx8_xfile.h -- DirectX .x files in their text form, read into a tree of data objects.
#pragma once

#include <string>
#include <vector>

#include "wintypes.h"

namespace xfile {

// A data object: its template's name, its own name, its values in order (numbers, and strings
// kept apart), and the objects inside it in order. An object can also be a reference to another
// by name ("{ name }"), which has no type.
struct Object {
    std::string type;
    std::string name;
    bool isReference = false;
    std::vector<double> numbers;
    std::vector<std::string> strings;
    std::vector<Object> children;
};

struct File {
    std::vector<Object> objects;  // the top-level data objects; templates are left out
};

enum class Result { Ok, NotText, Invalid };

// Reads the text of a .x file. A binary or compressed file gives NotText; a file that is not a .x
// file or whose text does not parse gives Invalid. `error` says why, with the line.
Result Parse(const std::string& bytes, File* file, std::string* error);

}  // namespace xfile
