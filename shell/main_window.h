// main_window.h -- the program's entry, its one window and the main loop.
#pragma once

#include "windows.h"

extern HWND g_hWnd;

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
LRESULT CALLBACK WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Dispatches every waiting message and otherwise draws one frame, until WM_QUIT has been dispatched.
void RunMessageLoop(void (*frame)());
