// intro_sprites.cpp -- the intro sprite pool: adding with once-only keys, ageing, expiry, the
// sprites' vertices and the VUGA pictures that fly in from the screen's edges.
#include "game/intro_sprites.h"

#include <cmath>
#include <cstring>

#include "shell/helpers.h"
#include "shell/settings.h"
#include "shell/timer.h"

SIntroSprite g_IntroSprites[MAX_INTRO_SPRITES];
BYTE g_bIntroFired[INTRO_EVENT_KEYS];
int g_iLastEdgePoint = -1;

namespace {

// Half width and half height of each intro image type, in pixels.
const float kHalfSizes[INTRO_IMAGE_TYPES][2] = {
    {64, 64},   {64, 64},   {64, 64},       {64, 64},   {64, 64},   {64, 64},   // VUGA pictures 1..6
    {95, 135},  {88, 113},  {130.5, 100.5}, {116, 175}, {210, 139}, {149, 175},  // photos 1..6
    {175, 131}, {143, 175}, {175, 124},     {126, 175}, {175, 125},              // photos 7..11
    {200, 200},                                                                  // closing picture
};

const float kVugaSeconds = 2.0f;

bool IsKey(int key) { return key >= -1 && key < INTRO_EVENT_KEYS; }

// Marks a key fired; false when it had fired already. Key -1 always passes.
bool FireOnce(int key) {
    if (key == -1) return true;
    if (g_bIntroFired[key]) return false;
    g_bIntroFired[key] = 1;
    return true;
}

// Removes the sprite in the slot: every later one moves down a place and the last slot is free.
void RemoveSprite(int slot) {
    std::memmove(&g_IntroSprites[slot], &g_IntroSprites[slot + 1],
                 sizeof(SIntroSprite) * (size_t)(MAX_INTRO_SPRITES - 1 - slot));
    g_IntroSprites[MAX_INTRO_SPRITES - 1].bActive = 0;
}

void AgeSprites(float seconds) {
    int slot = 0;
    while (slot < MAX_INTRO_SPRITES) {
        SIntroSprite& sprite = g_IntroSprites[slot];
        if (!sprite.bActive) {
            ++slot;
            continue;
        }
        sprite.fAge += seconds;
        // The sprite that moves into this slot has not been aged yet: it is handled next.
        if (sprite.fAge > sprite.fDuration)
            RemoveSprite(slot);
        else
            ++slot;
    }
}

float SpriteScale(const DWORD* flags, float t) {
    float scale = t + 1.0f;
    if (HasFlags(flags, ISF_SHRINK)) scale = 1.0f / scale;
    if (HasFlags(flags, ISF_FIXEDSIZE)) scale = 1.0f;
    return scale;
}

int SpriteLevel(const DWORD* flags, float t) {
    int level = 128;
    if (HasFlags(flags, ISF_PULSE)) level = (int)(std::sin((double)(t * 3.1415927f)) * 255.0);
    if (HasFlags(flags, ISF_OPAQUE)) level = 255;
    if (HasFlags(flags, ISF_FADE)) level = (int)(255.0f - t * 210.0f);
    return level;
}

void WriteVertices(const SIntroSprite& sprite, SVertex2D* out) {
    const DWORD* flags = &sprite.dwFlags;
    const float t = sprite.fAge / sprite.fDuration;
    float dx = t * (IntroScreenWidth() * 0.5f);
    float dy = t * (IntroScreenHeight() * 0.5f);
    const float scale = SpriteScale(flags, t);

    bool moveX = false, moveY = false;
    if (HasFlags(flags, ISF_MOVELEFT)) {
        dx = -dx;
        moveX = true;
    }
    if (HasFlags(flags, ISF_MOVERIGHT)) moveX = true;
    if (HasFlags(flags, ISF_MOVEUP)) {
        dy = -dy;
        moveY = true;
    }
    if (HasFlags(flags, ISF_MOVEDOWN)) moveY = true;
    if (!moveX) dx = 0.0f;
    if (!moveY) dy = 0.0f;

    const DWORD level = (DWORD)(BYTE)SpriteLevel(flags, t);
    const DWORD colour = level << 24 | level << 16 | level << 8 | level;
    const float cx = (sprite.fLeft + sprite.fRight) / 2.0f;
    const float cy = (sprite.fTop + sprite.fBottom) / 2.0f;
    struct Corner {
        float x, y, u, v;
    };
    // The order of a two-triangle strip.
    const Corner corners[4] = {{sprite.fRight, sprite.fTop, 1, 0},
                               {sprite.fLeft, sprite.fTop, 0, 0},
                               {sprite.fRight, sprite.fBottom, 1, 1},
                               {sprite.fLeft, sprite.fBottom, 0, 1}};
    for (int k = 0; k < 4; ++k) {
        SVertex2D& v = out[k];
        v.x = (corners[k].x - cx) * scale + cx + dx;
        v.y = (corners[k].y - cy) * scale + cy + dy;
        // One depth for every quad: with the less-or-equal depth test each draws over the last.
        v.z = 0.0f;
        v.rhw = 1.0f;
        v.colour = colour;
        v.u = corners[k].u;
        v.v = corners[k].v;
    }
}

}  // namespace

float IntroScreenWidth() { return (float)(LONG)g_Config.dwWidth; }
float IntroScreenHeight() { return (float)(LONG)g_Config.dwHeight; }

void AddIntroSprite(int image, float x, float y, float duration, DWORD flags, int key) {
    if (image < 0 || image >= INTRO_IMAGE_TYPES || !IsKey(key)) return;
    if (!FireOnce(key)) return;
    int slot = 0;
    while (slot < MAX_INTRO_SPRITES && g_IntroSprites[slot].bActive) ++slot;
    if (slot == MAX_INTRO_SPRITES) return;

    SIntroSprite& sprite = g_IntroSprites[slot];
    sprite.bActive = 1;
    sprite.dwFlags = flags;
    sprite.fDuration = duration;
    sprite.fAge = 0.0f;
    sprite.iImage = image;
    const float hw = kHalfSizes[image][0], hh = kHalfSizes[image][1];
    sprite.fLeft = x - hw;
    sprite.fRight = x + hw;
    sprite.fTop = y - hh;
    sprite.fBottom = y + hh;
}

void AddIntroSpriteArgs(int image, float x, float y, float duration, DWORD flags, int key) {
    AddIntroSprite(image, x, y, duration, flags, key);
}

void FillIntroSprites(SVertex2D* vertices, DWORD* count) {
    AgeSprites(g_Timer.fFrameTime / 1000.0f);
    for (int slot = 0; slot < MAX_INTRO_SPRITES; ++slot) {
        if (!g_IntroSprites[slot].bActive) continue;
        WriteVertices(g_IntroSprites[slot], vertices + *count);
        *count += 4;
    }
}

void SpawnRandomVugaSprite(int key) {
    if (!IsKey(key) || !FireOnce(key)) return;
    int point;
    do {
        point = RandomInt(8);
    } while (point == g_iLastEdgePoint);
    g_iLastEdgePoint = point;
    const int image = RandomInt(6);

    const float W = IntroScreenWidth(), H = IntroScreenHeight();
    const struct {
        float x, y;
        DWORD flags;
    } start[8] = {
        {200, 100, ISF_FADE | ISF_MOVERIGHT | ISF_FIXEDSIZE},
        {100, 200, ISF_FADE | ISF_MOVEDOWN | ISF_FIXEDSIZE},
        {200, H - 100, ISF_FADE | ISF_MOVERIGHT | ISF_FIXEDSIZE},
        {100, H - 200, ISF_FADE | ISF_MOVEUP | ISF_FIXEDSIZE},
        {W - 200, H - 100, ISF_FADE | ISF_MOVELEFT | ISF_FIXEDSIZE},
        {W - 100, H - 200, ISF_FADE | ISF_MOVEUP | ISF_FIXEDSIZE},
        {W - 200, 100, ISF_FADE | ISF_MOVELEFT | ISF_FIXEDSIZE},
        {W - 100, 200, ISF_FADE | ISF_MOVEDOWN | ISF_FIXEDSIZE},
    };
    AddIntroSpriteArgs(image, start[point].x, start[point].y, kVugaSeconds, start[point].flags, -1);
}
