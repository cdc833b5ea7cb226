// platform_events.h -- the one SDL event pump of the layer, shared by the input devices and the
// window layer.
//
// The input devices see every keyboard and mouse event through an SDL event watch, whoever takes
// events off the queue. PumpPlatformEvents (called by every input read, since the intro loop pumps
// no window messages) then drops those input events from the queue, so that it cannot fill up, and
// hands every other event to the handler the window layer registered; without a handler they stay
// queued for whoever reads the queue next.
#pragma once

union SDL_Event;

typedef void (*PlatformEventHandler)(const SDL_Event& event);

// The window layer registers one handler (null removes it).
void SetPlatformEventHandler(PlatformEventHandler handler);
void PumpPlatformEvents();
