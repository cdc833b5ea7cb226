// geometry.h -- the shared drawing resources made once at start-up: the overlay quads, the
// world and the three fonts.
#pragma once

#include "d3d8.h"

#include "utils/texture_font.h"
#include "windows.h"

// Sixteen screen quads of four vertices each (vertices 0 to 63 of 96), named by their first
// vertex and drawn as two-triangle strips: 0 crosshair, 4 sniper scope, 8 weapon at the lower
// right, 12 muzzle flash, 24 menu cursor, 28 to 44 HUD icons, 52 shop picture, 56 enemy
// portrait, 60 weapon at the lower middle; 16, 20 and 48 are never drawn.
extern IDirect3DVertexBuffer8* g_pVB2D;
extern CTextureFont* g_pFont8;
extern CTextureFont* g_pFont10;
extern CTextureFont* g_pFont14;

// Creates the overlay buffer, the world (g_pWorld) and the fonts; E_FAIL when the overlay
// buffer could not be filled.
HRESULT InitGeometry();
