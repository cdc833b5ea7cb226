// overlay.h -- drawing over the world: the overlay quads of g_pVB2D, locked for writing and drawn,
// and texts kept inside the screen.
#pragma once

#include "d3d8.h"

#include "utils/texture_font.h"
#include "windows.h"

// The whole overlay buffer locked for writing, or null when there is no buffer or the lock failed;
// the failure is reported once in the run. Unlock with UnlockOverlayQuads.
SVertex2D* LockOverlayQuads();
void UnlockOverlayQuads();
// The quad from its first vertex with the texture slot, from stream 0 in the overlay format;
// nothing without the buffer.
void DrawOverlayQuad(UINT firstVertex, int textureSlot);

// The font a text is drawn in: the one asked for or, when the text is wider than the screen in it,
// the largest smaller font of the game in which it fits (the smallest when none does).
CTextureFont* FontThatFits(CTextureFont* font, const char* text);
// The text's size in the font that fits.
SIZE TextSize(CTextureFont* font, const char* text);
// x of the text centred on the screen's width: W/2 - w/2 in whole pixels.
int CentredX(CTextureFont* font, const char* text);
// Draws the text in the font that fits at (x, y), moved the least that keeps it within the screen:
// where the screen is large enough, exactly at (x, y).
void DrawTextInside(CTextureFont* font, int x, int y, DWORD colour, const char* text);
