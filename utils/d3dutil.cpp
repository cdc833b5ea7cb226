// d3dutil.cpp -- material and light records, textures and vertex shaders from media files, colour
// keys, cube-map views, the trackball rotation and quaternions between directions.
#include "utils/d3dutil.h"

#include <cmath>
#include <cstring>

#include "utils/dxutil.h"

namespace {

// Where a media file is: what LocateMediaFile finds, or the name itself. A name too long for the
// MAX_PATH buffer is refused, as the path could not hold it.
bool ResolveMediaPath(const char* name, char (&path)[MAX_PATH]) {
    if (!name || std::strlen(name) >= MAX_PATH) return false;
    if (FAILED(LocateMediaFile(path, name))) std::strcpy(path, name);
    return true;
}

// Texels of level 0 equal to `key` become 0.
template <class Texel>
void ClearKeyedTexels(const D3DLOCKED_RECT& locked, UINT width, UINT height, Texel key) {
    for (UINT y = 0; y < height; ++y) {
        Texel* row = reinterpret_cast<Texel*>(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch);
        for (UINT x = 0; x < width; ++x)
            if (row[x] == key) row[x] = 0;
    }
}

}  // namespace

void InitMaterial(D3DMATERIAL8& material, FLOAT r, FLOAT g, FLOAT b, FLOAT a) {
    std::memset(&material, 0, sizeof material);
    material.Diffuse.r = material.Ambient.r = r;
    material.Diffuse.g = material.Ambient.g = g;
    material.Diffuse.b = material.Ambient.b = b;
    material.Diffuse.a = material.Ambient.a = a;
}

void InitLight(D3DLIGHT8& light, D3DLIGHTTYPE type, FLOAT x, FLOAT y, FLOAT z) {
    std::memset(&light, 0, sizeof light);
    light.Type = type;
    light.Diffuse.r = light.Diffuse.g = light.Diffuse.b = 1.0f;
    D3DXVECTOR3 direction(x, y, z);
    D3DXVec3Normalize(&direction, &direction);
    light.Direction.x = direction.x;
    light.Direction.y = direction.y;
    light.Direction.z = direction.z;
    light.Position.x = x;
    light.Position.y = y;
    light.Position.z = z;
    light.Range = 1000.0f;
}

HRESULT CreateTextureFromMedia(LPDIRECT3DDEVICE8 pd3dDevice, const char* strTexture, LPDIRECT3DTEXTURE8* ppTexture,
                               D3DFORMAT d3dFormat) {
    char path[MAX_PATH];
    if (!ResolveMediaPath(strTexture, path)) return E_FAIL;
    return D3DXCreateTextureFromFileEx(pd3dDevice, path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, d3dFormat,
                                       D3DPOOL_MANAGED, D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR,
                                       D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR, 0, nullptr, nullptr, ppTexture);
}

HRESULT CreateVertexShaderFromFile(LPDIRECT3DDEVICE8 pd3dDevice, const char* strFilename, const DWORD* pdwDeclaration,
                                   DWORD* pdwShader) {
    char path[MAX_PATH];
    if (!ResolveMediaPath(strFilename, path)) return E_FAIL;
    LPD3DXBUFFER code = nullptr;
    HRESULT hr = D3DXAssembleShaderFromFile(path, 0, nullptr, &code, nullptr);
    if (FAILED(hr)) return hr;
    hr = pd3dDevice->CreateVertexShader(pdwDeclaration, static_cast<const DWORD*>(code->GetBufferPointer()), pdwShader,
                                        0);
    code->Release();
    return hr;
}

HRESULT SetTextureColorKey(LPDIRECT3DTEXTURE8 pTexture, DWORD dwColorKey) {
    const DWORD r = (dwColorKey >> 16) & 0xFF, g = (dwColorKey >> 8) & 0xFF, b = dwColorKey & 0xFF;
    D3DSURFACE_DESC desc;
    if (FAILED(pTexture->GetLevelDesc(0, &desc))) return E_FAIL;
    DWORD key;
    switch (desc.Format) {
        case D3DFMT_A4R4G4B4: key = 0xF000 + ((r >> 4) << 8) + ((g >> 4) << 4) + (b >> 4); break;
        case D3DFMT_A1R5G5B5: key = 0x8000 + ((r >> 3) << 10) + ((g >> 3) << 5) + (b >> 3); break;
        case D3DFMT_A8R8G8B8: key = dwColorKey; break;
        default: return E_FAIL;
    }
    D3DLOCKED_RECT locked;
    if (FAILED(pTexture->LockRect(0, &locked, nullptr, 0))) return E_FAIL;
    if (desc.Format == D3DFMT_A8R8G8B8)
        ClearKeyedTexels<DWORD>(locked, desc.Width, desc.Height, key);
    else
        ClearKeyedTexels<WORD>(locked, desc.Width, desc.Height, (WORD)key);
    pTexture->UnlockRect(0);
    return S_OK;
}

D3DXMATRIX CubeFaceViewMatrix(DWORD dwFace) {
    struct Face {
        D3DXVECTOR3 lookAt, up;
    };
    static const Face kFaces[6] = {
        {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(0, 1, 0)},  {D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(0, 1, 0)},
        {D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0, -1)}, {D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(0, 0, 1)},
        {D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0)},  {D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 1, 0)},
    };
    D3DXMATRIX view;
    if (dwFace > D3DCUBEMAP_FACE_NEGATIVE_Z) return *D3DXMatrixIdentity(&view);
    const D3DXVECTOR3 eye(0, 0, 0);
    D3DXMatrixLookAtLH(&view, &eye, &kFaces[dwFace].lookAt, &kFaces[dwFace].up);
    return view;
}

D3DXQUATERNION TrackballRotationFromCursor(HWND hWnd, FLOAT fTrackBallRadius) {
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(hWnd, &cursor);
    RECT client = {};
    GetClientRect(hWnd, &client);
    const D3DXQUATERNION identity(0.0f, 0.0f, 0.0f, 1.0f);
    // No client area gives no ball to turn.
    if (client.right == client.left || client.bottom == client.top) return identity;

    const FLOAT sx = 2.0f * cursor.x / (FLOAT)(client.right - client.left) - 1.0f;
    const FLOAT sy = 2.0f * cursor.y / (FLOAT)(client.bottom - client.top) - 1.0f;
    if (sx == 0.0f && sy == 0.0f) return identity;

    const FLOAT d = std::sqrt(sx * sx + sy * sy);
    FLOAT sz;
    if (d < fTrackBallRadius * 0.70710678f)
        sz = std::sqrt(fTrackBallRadius * fTrackBallRadius - d * d);  // on the sphere
    else
        sz = fTrackBallRadius * fTrackBallRadius / (2.0f * d);  // on the hyperbolic sheet beyond it

    const D3DXVECTOR3 p1(sx, sy, sz), p2(0.0f, 0.0f, fTrackBallRadius);
    D3DXVECTOR3 axis, between;
    D3DXVec3Cross(&axis, &p1, &p2);
    D3DXVec3Subtract(&between, &p2, &p1);
    FLOAT t = D3DXVec3Length(&between) / (2.0f * fTrackBallRadius);
    t = t > 1.0f ? 1.0f : (t < -1.0f ? -1.0f : t);
    D3DXQUATERNION rotation;
    D3DXQuaternionRotationAxis(&rotation, &axis, 2.0f * std::asin(t));
    return rotation;
}

D3DXQUATERNION* QuaternionFromCrossDot(D3DXQUATERNION* pOut, const D3DXVECTOR3* pvFrom, const D3DXVECTOR3* pvTo) {
    D3DXVECTOR3 cross;
    D3DXVec3Cross(&cross, pvFrom, pvTo);
    pOut->x = cross.x;
    pOut->y = cross.y;
    pOut->z = cross.z;
    pOut->w = D3DXVec3Dot(pvFrom, pvTo);
    return pOut;
}

D3DXQUATERNION* QuaternionBetweenDirections(D3DXQUATERNION* pOut, const D3DXVECTOR3* pvFrom, const D3DXVECTOR3* pvTo) {
    D3DXVECTOR3 from, to, half;
    D3DXVec3Normalize(&from, pvFrom);
    D3DXVec3Normalize(&to, pvTo);
    const D3DXVECTOR3 sum = from + to;
    D3DXVec3Normalize(&half, &sum);
    return QuaternionFromCrossDot(pOut, &from, &half);
}
