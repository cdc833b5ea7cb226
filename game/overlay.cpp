// overlay.cpp -- the overlay quads locked and drawn, and texts drawn inside the screen.
#include "game/overlay.h"

#include <algorithm>

#include "shell/devices.h"
#include "shell/error_box.h"
#include "shell/geometry.h"
#include "shell/settings.h"
#include "world/texture_manager.h"
#include "world/world.h"

SVertex2D* LockOverlayQuads() {
    BYTE* data = nullptr;
    const HRESULT hr = g_pVB2D ? g_pVB2D->Lock(0, 0, &data, 0) : D3DERR_INVALIDCALL;
    if (SUCCEEDED(hr) && data) return reinterpret_cast<SVertex2D*>(data);
    // Every frame would fail alike: one box in the run, then nothing is written.
    ErrorBoxOnce(FAILED(hr) ? hr : D3DERR_INVALIDCALL, "g_pVB2D->Lock");
    if (SUCCEEDED(hr)) g_pVB2D->Unlock();
    return nullptr;
}

void UnlockOverlayQuads() {
    if (g_pVB2D) g_pVB2D->Unlock();
}

void DrawOverlayQuad(UINT firstVertex, int textureSlot) {
    if (!g_pVB2D) return;
    g_pd3dDevice->SetStreamSource(0, g_pVB2D, sizeof(SVertex2D));
    g_pd3dDevice->SetVertexShader(D3DFVF_SVERTEX2D);
    g_pWorld->pTextureManager->SetTexture(textureSlot);
    g_pd3dDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, firstVertex, 2);
}

CTextureFont* FontThatFits(CTextureFont* font, const char* text) {
    const LONG width = LONG(g_Config.dwWidth);
    CTextureFont* const smaller[] = {g_pFont10, g_pFont8};
    CTextureFont* chosen = font;
    SIZE size = {0, 0};
    font->GetTextExtent(text, &size);
    for (CTextureFont* f : smaller) {
        if (size.cx <= width) break;
        if (!f || f->height >= chosen->height) continue;
        chosen = f;
        chosen->GetTextExtent(text, &size);
    }
    return chosen;
}

SIZE TextSize(CTextureFont* font, const char* text) {
    SIZE size = {0, 0};
    FontThatFits(font, text)->GetTextExtent(text, &size);
    return size;
}

int CentredX(CTextureFont* font, const char* text) {
    return int(g_Config.dwWidth) / 2 - int(TextSize(font, text).cx) / 2;
}

void DrawTextInside(CTextureFont* font, int x, int y, DWORD colour, const char* text) {
    CTextureFont* f = FontThatFits(font, text);
    SIZE size = {0, 0};
    f->GetTextExtent(text, &size);
    x = std::max(std::min(x, int(g_Config.dwWidth) - int(size.cx)), 0);
    y = std::max(std::min(y, int(g_Config.dwHeight) - int(size.cy)), 0);
    f->DrawText(float(x), float(y), colour, text, 0);
}
