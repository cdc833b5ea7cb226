// message_queue.h -- the layer's queue of posted messages, shared by the main loop and the dialogs.
#pragma once

#include "winuser.h"

namespace msgqueue {

// Takes (or, without remove, looks at) the oldest posted message for hWnd (null: any) in the
// range; WM_QUIT comes only once nothing else waits. Does not look at SDL's events.
bool TakePosted(MSG* msg, HWND hWnd, UINT first, UINT last, bool remove);
// Takes the oldest posted message for any window, but never WM_QUIT (which stays pending).
bool TakeNextPosted(MSG* msg);
// Posts a mouse message from the window system: a move replaces a move of the same window still
// waiting at the end of the queue, and nothing is posted while the queue is full (a program that
// reads no messages for a while then finds the latest state, not an endless backlog).
void PostMouseMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Drops every posted message addressed to hWnd.
void DropMessagesFor(HWND hWnd);
// Turns SDL's window events (close requests, quit) into posted messages.
void PumpSystemEvents();
// Has the input devices' event pump hand SDL's window events to the queue as they come, so that
// a close request made while only input is read is posted then, in its turn. Called once a window
// exists; calling it again does nothing more.
void ListenToPlatformEvents();

}  // namespace msgqueue
