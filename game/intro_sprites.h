// intro_sprites.h -- the intro's pool of 32 screen sprites: events that fire once, growing,
// shrinking, sliding and fading by age, and the vertices of every live sprite.
#pragma once

#include "utils/texture_font.h"
#include "windows.h"

// How a sprite changes over its life, by t = age / duration (0 at birth, 1 at the end).
#define ISF_SHRINK 0x001     // scale 1 / (1 + t)
#define ISF_FIXEDSIZE 0x002  // scale 1; wins over ISF_SHRINK
#define ISF_GROW 0x004       // scale 1 + t, as without a size flag
#define ISF_MOVELEFT 0x008   // slides left by t x half the screen width; wins over ISF_MOVERIGHT
#define ISF_MOVERIGHT 0x010
#define ISF_MOVEUP 0x020     // slides up by t x half the screen height; wins over ISF_MOVEDOWN
#define ISF_MOVEDOWN 0x040
#define ISF_PULSE 0x080      // level from 0 up to 255 at half life and back to 0
#define ISF_OPAQUE 0x100     // level 255; wins over ISF_PULSE
#define ISF_FADE 0x200       // level from 255 down to 45; wins over both

enum {
    MAX_INTRO_SPRITES = 32,
    INTRO_EVENT_KEYS = 256,
    INTRO_IMAGE_TYPES = 18,  // 0..5 VUGA pictures, 6..16 photos 1..11, 17 the closing picture
};

struct SIntroSprite {
    BYTE bActive;      // 0 = free
    INT iImage;        // intro image type: the texture and the half size
    DWORD dwFlags;     // ISF_ flags
    float fDuration;   // seconds
    float fTop;        // the unscaled rectangle, screen pixels, y down
    float fLeft;
    float fBottom;
    float fRight;
    float fAge;        // seconds since it was added
};

// The live sprites fill slots 0 to n-1 in the order they were added, which is the draw order.
extern SIntroSprite g_IntroSprites[MAX_INTRO_SPRITES];
// One flag per event key, set when the event has fired.
extern BYTE g_bIntroFired[INTRO_EVENT_KEYS];
// The edge point (0..7) of the last random VUGA picture, -1 before the first.
extern int g_iLastEdgePoint;

// The configured screen size as the intro places its sprites: signed, then float, so that an odd
// size keeps its half pixel.
float IntroScreenWidth();
float IntroScreenHeight();

// Adds a sprite of the image type centred on (x, y) for duration seconds, unless its key (0..255,
// or -1 for none) has fired already. A full pool drops the sprite, and the key counts as fired.
void AddIntroSprite(int image, float x, float y, float duration, DWORD flags, int key);
void AddIntroSpriteArgs(int image, float x, float y, float duration, DWORD flags, int key);
// Ages the sprites by the frame time, removes those past their duration and writes four vertices
// for each live sprite, in slot order, from vertices[*count] on; *count grows by 4 a sprite. The
// buffer holds 4 x MAX_INTRO_SPRITES vertices.
void FillIntroSprites(SVertex2D* vertices, DWORD* count);
// Adds one VUGA picture flying in from a random edge point, at most once for a key (-1: no rule).
void SpawnRandomVugaSprite(int key);
