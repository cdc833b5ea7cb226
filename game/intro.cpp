// intro.cpp -- the intro's pictures, music and vertex buffer, and one frame of the slide show:
// the script fires its sprites by time, the sprites are aged, written and drawn in slot order.
#include "game/intro.h"

#include <cstdio>

#include "dinput.h"
#include "game/intro_script.h"
#include "game/sound_object.h"
#include "shell/devices.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "shell/timer.h"
#include "world/texture_manager.h"
#include "world/world.h"

int g_iTexIntro[INTRO_IMAGE_TYPES] = {-1, -1, -1, -1, -1, -1, -1, -1, -1,
                                      -1, -1, -1, -1, -1, -1, -1, -1, -1};
int g_iSndIntro = -1;
IDirect3DVertexBuffer8* g_pVBintro = nullptr;

namespace {

const DWORD kIntroFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;  // 0x144
const UINT kIntroVertices = 4 * MAX_INTRO_SPRITES;
const float kIntroEndMs = 91000.0f;
const D3DCOLOR kColourKey = 0xFFFF00FF;  // opaque magenta: see-through

// The pictures in load order, with the image type each serves.
const struct {
    const char* file;
    int image;
} kIntroImages[INTRO_IMAGE_TYPES] = {
    {"graph\\intro\\melidrak1.jpg", 6},  {"graph\\intro\\melidrak2.jpg", 7},  {"graph\\intro\\melidrak3.jpg", 8},
    {"graph\\intro\\melidrak4.jpg", 9},  {"graph\\intro\\melidrak5.jpg", 10}, {"graph\\intro\\melidrak6.jpg", 11},
    {"graph\\intro\\melidrak7.jpg", 12}, {"graph\\intro\\melidrak8.jpg", 13}, {"graph\\intro\\melidrak9.jpg", 14},
    {"graph\\intro\\melidrak10.jpg", 15}, {"graph\\intro\\melidrak11.jpg", 16}, {"graph\\intro\\no.bmp", 17},
    {"graph\\vugove\\vuga1.bmp", 0},     {"graph\\vugove\\vuga2.bmp", 1},     {"graph\\vugove\\vuga3.bmp", 2},
    {"graph\\vugove\\vuga4.bmp", 3},     {"graph\\vugove\\vuga5.bmp", 4},     {"graph\\vugove\\vuga6.bmp", 5},
};

// A lock that fails once would fail every frame: it is reported once per intro.
bool g_bLockFailureReported = false;

CTextureManager* Textures() { return g_pWorld ? g_pWorld->pTextureManager : nullptr; }

// The locked vertex buffer, or null when there is none or the lock failed.
SVertex2D* LockVertices() {
    if (!g_pVBintro) return nullptr;
    BYTE* data = nullptr;
    HRESULT hr = g_pVBintro->Lock(0, 0, &data, 0);
    if (FAILED(hr)) {
        if (!g_bLockFailureReported) ErrorBox(hr, "g_pVBintro->Lock");
        g_bLockFailureReported = true;
        return nullptr;
    }
    return reinterpret_cast<SVertex2D*>(data);
}

void SetIntroStates() {
    IDirect3DDevice8* d = g_pd3dDevice;
    d->SetRenderState(D3DRS_LIGHTING, FALSE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, g_Config.dwFilter);
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, g_Config.dwFilter);
    d->SetTextureStageState(0, D3DTSS_MIPFILTER, g_Config.dwMipFilter);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}

// One quad for each live sprite, in slot order, as the fill wrote them.
void DrawSprites(DWORD vertexCount) {
    g_pd3dDevice->SetStreamSource(0, g_pVBintro, sizeof(SVertex2D));
    g_pd3dDevice->SetVertexShader(kIntroFvf);
    UINT quad = 0;
    for (int slot = 0; slot < MAX_INTRO_SPRITES && 4 * quad < vertexCount; ++slot) {
        const SIntroSprite& sprite = g_IntroSprites[slot];
        if (!sprite.bActive) continue;
        if (CTextureManager* textures = Textures()) textures->SetTexture(g_iTexIntro[sprite.iImage]);
        g_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 4 * quad, 2);
        ++quad;
    }
}

void DrawFrameRate() {
    if (!g_pFont8) return;
    char text[64];
    std::snprintf(text, sizeof text, "FPS : %.02f", g_Timer.fFPS);
    g_pFont8->DrawText(3, 3, 0xFF000000, text, 0);
    g_pFont8->DrawText(2, 2, 0xFFFFFFFF, text, 0);
}

}  // namespace

void BeginScreenFrame() {
    g_pd3dDevice->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
    g_pd3dDevice->BeginScene();
    g_Timer.Update();
    SetupMatrices();
    ReadInput();
}

bool SkipKeyHeld() {
    return (g_Keys[DIK_ESCAPE] & 0x80) || (g_Keys[DIK_RETURN] & 0x80) || (g_Keys[DIK_SPACE] & 0x80);
}

int InitIntro() {
    for (const auto& picture : kIntroImages) {
        CTextureManager* textures = Textures();
        g_iTexIntro[picture.image] =
            textures ? textures->LoadTexture(picture.file, 0, 0, 1, D3DFMT_A4R4G4B4, D3DXCOLOR(kColourKey)) : -1;
    }
    g_iSndIntro = g_pSoundManager ? g_pSoundManager->LoadSegment("sound\\melidrak.wav") : -1;
    ErrorBox(g_pd3dDevice->CreateVertexBuffer(kIntroVertices * sizeof(SVertex2D), D3DUSAGE_WRITEONLY, kIntroFvf,
                                              D3DPOOL_DEFAULT, &g_pVBintro),
             "CreateVertexBuffer - g_pVBintro");
    g_bLockFailureReported = false;
    for (SIntroSprite& sprite : g_IntroSprites) sprite.bActive = 0;
    for (BYTE& fired : g_bIntroFired) fired = 0;
    g_Timer.ResetStopwatch();
    return 0;
}

bool RenderIntroFrame() {
    IDirect3DDevice8* d = g_pd3dDevice;
    BeginScreenFrame();
    SVertex2D* vertices = LockVertices();
    DWORD count = 0;
    SetIntroStates();
    const float elapsed = g_Timer.fElapsed;
    FireIntroSlides(elapsed);
    if (elapsed > kIntroEndMs) {
        if (vertices) g_pVBintro->Unlock();
        d->EndScene();
        return false;
    }
    FireIntroVugaSprites(elapsed);
    // Without a buffer to write the sprites into, the frame shows only its frame rate.
    if (vertices) {
        FillIntroSprites(vertices, &count);
        g_pVBintro->Unlock();
        DrawSprites(count);
    }
    DrawFrameRate();
    d->EndScene();
    d->Present(nullptr, nullptr, nullptr, nullptr);
    return !SkipKeyHeld();
}

void FreeIntro() {
    for (const auto& picture : kIntroImages) {
        if (CTextureManager* textures = Textures()) textures->ReleaseTexture(g_iTexIntro[picture.image]);
        g_iTexIntro[picture.image] = -1;
    }
    if (g_pVBintro) {
        g_pVBintro->Release();
        g_pVBintro = nullptr;
    }
    if (g_pSoundManager) g_pSoundManager->FreeSegment(g_iSndIntro);
    g_iSndIntro = -1;
}
