// intro.h -- the intro slide show: set-up, one frame per call, release.
#pragma once

#include "d3d8.h"
#include "game/intro_sprites.h"
#include "windows.h"

// The texture slot of each intro image type (-1: none).
extern int g_iTexIntro[INTRO_IMAGE_TYPES];
// The intro music's sound slot (-1: none).
extern int g_iSndIntro;
// Four vertices for each intro sprite.
extern IDirect3DVertexBuffer8* g_pVBintro;

// Loads the intro's pictures and music, makes its vertex buffer and empties the sprite pool;
// always 0. Needs the device, the world and the sound object.
int InitIntro();
// Draws one frame of the intro at the stopwatch's time. True while the intro goes on; false when
// it has ended (nothing is drawn then) or Esc, Enter or Space is held (after the frame is shown).
bool RenderIntroFrame();
void FreeIntro();

// The start of a frame of a screen before the game: clears to black, begins the scene, updates
// the timer, sets the matrices and reads the input.
void BeginScreenFrame();
// True when Esc, Enter or Space is held in the keys of this frame's input.
bool SkipKeyHeld();
