// layer/com.h -- the state of COM on the calling thread, for tests.
#pragma once

namespace layer {

// How many CoInitialize(Ex) calls of this thread are not yet balanced by CoUninitialize.
int ComInitCount();

}  // namespace layer
