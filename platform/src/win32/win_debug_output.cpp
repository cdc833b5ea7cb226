// win_debug_output.cpp -- OutputDebugStringA: standard error, and a log that tests read.
#include <cstdio>
#include <string>

#include "debugapi.h"
#include "layer/debug_output.h"

namespace {

std::string& Log() {
    static std::string log;
    return log;
}

}  // namespace

void OutputDebugStringA(LPCSTR lpOutputString) {
    if (!lpOutputString) return;
    Log() += lpOutputString;
    std::fputs(lpOutputString, stderr);
}

namespace layer {

const std::string& DebugOutput() { return Log(); }
void ClearDebugOutput() { Log().clear(); }

}  // namespace layer
