// x11_lost_windows.h -- windows that another X client destroyed under us.
//
// When another program destroys one of our windows (xdotool windowclose, a window manager's kill
// of one window), every later request on it fails, and Xlib's default answer to a failed request
// is to end the process. The layer's X error handler takes an error about one of its windows (the
// core BadWindow and BadDrawable, and the GLX extension's drawable errors) as the news that the
// window is gone: it marks the window lost and lets that error and every later one about the
// window pass. The message pump then destroys the window as the program would (PumpSystemEvents);
// a dialog's modal loop ends the dialog (RunView).
//
// SDL waits, without a time limit, for the server to report a window mapped when it shows one and
// unmapped when it hides one; for a window that is gone that report never comes. A watcher thread
// with an X connection of its own therefore follows each watched window's destruction and, when it
// is lost, sends SDL's connection the two reports it might be waiting for.
//
// Errors about anything else still go to the handler that was there before (SDL's, then Xlib's).
// Where SDL's video driver is not x11 nothing is installed, and only MarkLost marks a window.
// (A client killed whole, as xkill does, loses its connection: Xlib ends the process then, and no
// handler can take that back.)
#pragma once

struct SDL_Window;

namespace x11lost {

// Watches the X window of an SDL window (nothing for other video drivers).
void Watch(SDL_Window* window);
// Marks the window lost, as the error handler does when its X window is gone.
void MarkLost(SDL_Window* window);
bool IsLost(SDL_Window* window);
// IsLost, having first taken in, without waiting, the server's news that the X window was
// destroyed: called before each picture is shown, whose requests on a destroyed window the
// graphics driver may wait on for ever.
bool IsGone(SDL_Window* window);
// SDL_ShowWindow, unless the window is gone. True when it was shown.
bool Show(SDL_Window* window);
// SDL_DestroyWindow, then forgets the SDL window. The errors that a window's last requests still
// bring are taken in here, while the handler still knows the window; later ones about its id
// pass too, until the server gives the id to a new window of ours.
void Destroy(SDL_Window* window);

}  // namespace x11lost
