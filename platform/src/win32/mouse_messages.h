// mouse_messages.h -- how the window layer starts turning the window system's mouse events into
// mouse messages.
#pragma once

namespace winmouse {

// Watches SDL's mouse events as they arrive, whoever later takes them off SDL's queue, and posts
// them to the window under the mouse. Called whenever a window is made; it watches once.
void WatchMouseEvents();

}  // namespace winmouse
