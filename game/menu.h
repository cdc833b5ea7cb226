// menu.h -- the main menu and the weapon shop, drawn over the paused world, and what they share with
// the reward list: the cursor, the row under it, its colours and the click.
#pragma once

#include "windows.h"

// Row colours: under the cursor and not.
const DWORD ROW_HOVERED = 0xDCFD97D9;
const DWORD ROW_NORMAL = 0xDCFB0DA8;
// The row index outside a screen's column of rows.
const int NO_ROW = 99;

// Moves the cursor square (overlay quad 24) to g_ptCursor; a buffer that is missing or cannot be
// locked keeps the square where it was, and the failure is reported once.
void UpdateCursorQuad();
// The row under the cursor in rows of 20 pixels from `top`, truncated toward zero, so the 19 lines
// just above row 0 give row 0 too; NO_ROW when the cursor is not in the column.
int RowUnderCursor(bool inColumn, int top);
// The column of the shop's and the reward list's rows: 26 <= x <= 179.
bool CursorInListColumn();
inline DWORD RowColour(int row, int hovered) { return row == hovered ? ROW_HOVERED : ROW_NORMAL; }
// The left button's press edge.
bool Clicked();

// The main menu, once per frame in GS_MAINMENU.
void RenderMainMenu();
// The shop, once per frame in GS_SHOP.
void RenderShop();
