// layer/debug_output.h -- what the program wrote to the debugger output, for tests.
#pragma once

#include <string>

namespace layer {

// Everything written since the last clear, in one string.
const std::string& DebugOutput();
void ClearDebugOutput();

}  // namespace layer
