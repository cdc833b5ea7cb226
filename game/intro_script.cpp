// intro_script.cpp -- the intro's slides and VUGA moments, and the tests that fire them by time.
#include "game/intro_script.h"

#include "game/intro_sprites.h"

namespace {

const DWORD kSwell = ISF_GROW | ISF_PULSE;   // grows while it pulses
const DWORD kFade = ISF_GROW | ISF_FADE;     // grows while it fades
const DWORD kClose = ISF_SHRINK | ISF_PULSE; // shrinks while it pulses

float SlideX(EIntroColumn column) {
    switch (column) {
        case INTRO_LEFT: return 0.3f * IntroScreenWidth();
        case INTRO_RIGHT: return 0.7f * IntroScreenWidth();
        default: return IntroScreenWidth() / 2;
    }
}

}  // namespace

const SIntroSlide g_IntroSlides[INTRO_SLIDES] = {
    {200, 6, INTRO_CENTRE, 3.0f, kSwell},     {3379, 7, INTRO_LEFT, 2.1f, kFade},
    {4262, 8, INTRO_RIGHT, 1.3f, kFade},      {5000, 6, INTRO_CENTRE, 2.0f, kSwell},
    {7535, 10, INTRO_CENTRE, 2.0f, kFade},    {13051, 9, INTRO_CENTRE, 3.0f, kSwell},
    {15134, 11, INTRO_CENTRE, 2.0f, kSwell},  {16793, 12, INTRO_CENTRE, 3.5f, kFade},
    {20000, 13, INTRO_CENTRE, 3.0f, kSwell},  {23200, 10, INTRO_CENTRE, 2.0f, kFade},
    {24409, 14, INTRO_CENTRE, 4.0f, kSwell},  {27689, 9, INTRO_RIGHT, 2.0f, kSwell},
    {29156, 6, INTRO_LEFT, 1.0f, kFade},      {29838, 9, INTRO_RIGHT, 1.0f, kFade},
    {30495, 9, INTRO_RIGHT, 1.0f, kFade},     {31183, 9, INTRO_RIGHT, 1.0f, kFade},
    {31878, 9, INTRO_RIGHT, 1.0f, kFade},     {32576, 6, INTRO_LEFT, 1.0f, kFade},
    {33147, 6, INTRO_CENTRE, 2.0f, kSwell},   {35169, 15, INTRO_CENTRE, 4.0f, kSwell},
    {38729, 7, INTRO_LEFT, 2.1f, kFade},      {39144, 8, INTRO_RIGHT, 1.3f, kFade},
    {40100, 9, INTRO_CENTRE, 4.0f, kSwell},   {44812, 15, INTRO_CENTRE, 3.0f, kFade},
    {47189, 14, INTRO_CENTRE, 3.5f, kFade},   {50640, 10, INTRO_CENTRE, 4.5f, kFade},
    {53000, 16, INTRO_CENTRE, 5.0f, kSwell},  {58170, 7, INTRO_LEFT, 4.1f, kFade},
    {58716, 8, INTRO_RIGHT, 3.3f, kFade},     {59465, 15, INTRO_CENTRE, 2.0f, kFade},
    {61426, 10, INTRO_CENTRE, 2.0f, kFade},   {63176, 16, INTRO_CENTRE, 4.5f, kSwell},
    {67907, 9, INTRO_CENTRE, 2.0f, kFade},    {69771, 10, INTRO_CENTRE, 2.0f, kFade},
    {71633, 15, INTRO_CENTRE, 3.0f, kFade},   {74000, 14, INTRO_CENTRE, 4.0f, kSwell},
    {77710, 7, INTRO_LEFT, 1.7f, kFade},      {78226, 8, INTRO_RIGHT, 1.3f, kFade},
    {79115, 9, INTRO_CENTRE, 2.0f, kFade},    {80739, 1, INTRO_CENTRE, 10.0f, kSwell},
    {84739, 17, INTRO_CENTRE, 6.0f, kClose},
};

const float g_IntroRandomTimes[INTRO_RANDOM_TIMES] = {
    2.053f,  2.715f,  3.296f,  6.141f,  6.829f,  7.385f,  9.929f,  10.263f, 10.960f, 11.617f,  // 0
    12.335f, 12.972f, 13.500f, 14.016f, 14.926f, 15.649f, 16.023f, 16.983f, 17.725f, 18.345f,  // 10
    19.020f, 19.707f, 20.691f, 21.055f, 21.718f, 22.393f, 22.732f, 23.074f, 23.742f, 24.410f,  // 20
    25.087f, 25.739f, 26.108f, 26.779f, 27.102f, 27.676f, 28.470f, 29.112f, 29.820f, 30.429f,  // 30
    31.201f, 31.827f, 32.515f, 33.185f, 33.933f, 34.526f, 35.204f, 35.881f, 36.571f, 37.234f,  // 40
    38.535f, 38.933f, 39.351f, 39.923f, 40.595f, 41.249f, 41.957f, 42.674f, 43.309f, 43.966f,  // 50
    44.310f, 45.022f, 47.408f, 44.310f, 45.022f, 46.716f, 47.386f, 48.074f, 48.730f, 49.777f,  // 60
    50.760f, 51.422f, 52.120f, 52.748f, 53.426f, 54.129f, 55.166f, 55.501f, 56.171f, 56.844f,  // 70
    57.516f, 58.185f, 58.848f, 59.525f, 60.572f, 60.888f, 61.561f, 61.571f, 62.213f, 62.881f,  // 80
    63.579f, 64.256f, 64.932f, 65.306f, 65.938f, 66.266f, 66.954f, 67.611f, 67.954f, 68.323f,  // 90
    68.965f, 69.655f, 70.308f, 71.356f, 71.677f, 72.355f, 72.997f, 73.705f, 74.351f, 75.054f,  // 100
    75.711f, 76.801f, 77.732f, 79.082f, 79.759f,                                               // 110
};

void FireIntroSlides(float elapsed) {
    const float y = IntroScreenHeight() / 2;
    for (int key = 0; key < INTRO_SLIDES; ++key) {
        const SIntroSlide& slide = g_IntroSlides[key];
        if (elapsed > (float)slide.iTime)
            AddIntroSprite(slide.iImage, SlideX(slide.column), y, slide.fDuration, slide.dwFlags, key);
    }
}

void FireIntroVugaSprites(float elapsed) {
    for (int i = 0; i < INTRO_RANDOM_TIMES; ++i)
        if (g_IntroRandomTimes[i] * 1000.0f < elapsed) SpawnRandomVugaSprite(INTRO_RANDOM_FIRST_KEY + i);
}
