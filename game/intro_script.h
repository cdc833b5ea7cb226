// intro_script.h -- the intro's timeline: the scripted slides and the moments of the random VUGA
// pictures, fired by the time since the intro began.
#pragma once

#include "windows.h"

enum {
    INTRO_SLIDES = 41,         // keyed 0..40
    INTRO_RANDOM_TIMES = 115,  // keyed 64..178
    INTRO_RANDOM_FIRST_KEY = 64,
};

// Where a slide stands across the screen.
enum EIntroColumn { INTRO_CENTRE, INTRO_LEFT, INTRO_RIGHT };

struct SIntroSlide {
    int iTime;          // milliseconds after the start
    int iImage;         // intro image type
    EIntroColumn column;
    float fDuration;    // seconds
    DWORD dwFlags;      // ISF_ flags
};

extern const SIntroSlide g_IntroSlides[INTRO_SLIDES];
// Seconds after the start; not sorted, and two moments appear twice.
extern const float g_IntroRandomTimes[INTRO_RANDOM_TIMES];

// Adds, in table order, every slide whose time lies before elapsed (milliseconds); each once.
void FireIntroSlides(float elapsed);
// Adds, in table order, a random VUGA picture for every moment before elapsed; each once.
void FireIntroVugaSprites(float elapsed);
