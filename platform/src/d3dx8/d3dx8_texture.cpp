// d3dx8_texture.cpp -- D3DXCreateTextureFromFileEx and D3DXCreateTextureFromFile: a picture file
// decoded, keyed, resampled, given its mip levels and stored in a texture of the device.
// Windows paths are mapped as the file layer maps them.
#include <cstdio>

#include "d3dx8tex.h"
#include "layer/image_decode.h"
#include "layer/image_transform.h"
#include "win32/path_mapping.h"

namespace {

constexpr long kMaxPictureFileBytes = 256L << 20;

bool ReadWholeFile(const char* windowsPath, std::vector<BYTE>* bytes) {
    std::string path = pathmap::MapWindowsPath(windowsPath);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size <= kMaxPictureFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        bytes->resize((size_t)size);
        ok = size == 0 || std::fread(bytes->data(), 1, (size_t)size, f) == (size_t)size;
    }
    std::fclose(f);
    return ok;
}

// The format a file's pixels come in, as D3DX reports it.
D3DFORMAT FileFormatOf(layer::ImageSourceFormat source) {
    using F = layer::ImageSourceFormat;
    switch (source) {
    case F::Rgb24: return D3DFMT_R8G8B8;
    case F::Argb32: return D3DFMT_A8R8G8B8;
    case F::Rgb565: return D3DFMT_R5G6B5;
    case F::Xrgb1555: return D3DFMT_X1R5G5B5;
    case F::Argb1555: return D3DFMT_A1R5G5B5;
    case F::Argb4444: return D3DFMT_A4R4G4B4;
    case F::Grey8: return D3DFMT_L8;
    case F::Dxt1: return D3DFMT_DXT1;
    case F::Dxt3: return D3DFMT_DXT3;
    case F::Dxt5: return D3DFMT_DXT5;
    }
    return D3DFMT_A8R8G8B8;
}

// The texture format for "the file's format": the same layout, with alpha when keyed.
// Block-compressed pictures are stored decompressed.
D3DFORMAT TextureFormatFor(layer::ImageSourceFormat source, bool keyed) {
    using F = layer::ImageSourceFormat;
    switch (source) {
    case F::Rgb24: return keyed ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    case F::Rgb565: return keyed ? D3DFMT_A1R5G5B5 : D3DFMT_R5G6B5;
    case F::Xrgb1555: return keyed ? D3DFMT_A1R5G5B5 : D3DFMT_X1R5G5B5;
    case F::Argb1555: return D3DFMT_A1R5G5B5;
    case F::Argb4444: return D3DFMT_A4R4G4B4;
    case F::Grey8: return keyed ? D3DFMT_A8L8 : D3DFMT_L8;
    default: return D3DFMT_A8R8G8B8;
    }
}

bool IsDefault(UINT v) { return v == 0 || v == D3DX_DEFAULT; }

// Creates the texture, falling back to A8R8G8B8 when the device refuses the format.
HRESULT CreateTexture(IDirect3DDevice8* device, UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT* format,
                      D3DPOOL pool, IDirect3DTexture8** tex) {
    HRESULT hr = device->CreateTexture(w, h, levels, usage, *format, pool, tex);
    if (FAILED(hr) && *format != D3DFMT_A8R8G8B8 && (hr == D3DERR_INVALIDCALL || hr == D3DERR_NOTAVAILABLE)) {
        hr = device->CreateTexture(w, h, levels, usage, D3DFMT_A8R8G8B8, pool, tex);
        if (SUCCEEDED(hr)) *format = D3DFMT_A8R8G8B8;
    }
    return hr;
}

// Writes level after level: the first resampled from the picture, each next one filtered
// down from the one before, or taken from the file when it stores that level at that size.
HRESULT FillLevels(IDirect3DTexture8* tex, const layer::DecodedImage& img, UINT w, UINT h, UINT levels,
                   D3DFORMAT format, layer::ResampleFilter filter, layer::ResampleFilter mipFilter) {
    const bool fileSize = w == img.top.width && h == img.top.height;
    layer::ImageLevel cur = layer::Resample(img.top, w, h, filter);
    for (UINT i = 0; i < levels; ++i) {
        if (i > 0) {
            UINT lw = w >> i ? w >> i : 1, lh = h >> i ? h >> i : 1;
            if (fileSize && i - 1 < img.storedMips.size()) cur = img.storedMips[i - 1];
            else cur = layer::Resample(cur, lw, lh, mipFilter);
        }
        D3DLOCKED_RECT rect;
        HRESULT hr = tex->LockRect(i, &rect, nullptr, 0);
        if (FAILED(hr)) return hr;
        bool stored = layer::StoreTexels(cur, format, static_cast<BYTE*>(rect.pBits), rect.Pitch);
        tex->UnlockRect(i);
        if (!stored) return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

}  // namespace

HRESULT WINAPI D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                            UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            LPDIRECT3DTEXTURE8* ppTexture) {
    (void)pPalette;  // the textures made here are never palettised
    if (!pDevice || !pSrcFile || !ppTexture) return D3DERR_INVALIDCALL;
    layer::ResampleFilter filter, mipFilter;
    if (!layer::ResampleFilterFromD3DX(Filter, false, &filter) || !layer::ResampleFilterFromD3DX(MipFilter, true, &mipFilter))
        return D3DERR_INVALIDCALL;
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(pSrcFile, &bytes)) return D3DXERR_INVALIDDATA;
    layer::DecodedImage img;
    HRESULT hr = layer::DecodeImage(bytes.data(), bytes.size(), &img);
    if (FAILED(hr)) return hr;
    if (pSrcInfo) {
        pSrcInfo->Width = img.top.width;
        pSrcInfo->Height = img.top.height;
        pSrcInfo->Depth = 1;
        pSrcInfo->MipLevels = 1 + (UINT)img.storedMips.size();
        pSrcInfo->Format = FileFormatOf(img.sourceFormat);
        pSrcInfo->ResourceType = D3DRTYPE_TEXTURE;
        pSrcInfo->ImageFileFormat = (D3DXIMAGE_FILEFORMAT)img.kind;
    }

    UINT w = IsDefault(Width) ? img.top.width : Width;
    UINT h = IsDefault(Height) ? img.top.height : Height;
    D3DCAPS8 caps;
    if (SUCCEEDED(pDevice->GetDeviceCaps(&caps))) {
        if (caps.MaxTextureWidth && w > caps.MaxTextureWidth) w = caps.MaxTextureWidth;
        if (caps.MaxTextureHeight && h > caps.MaxTextureHeight) h = caps.MaxTextureHeight;
    }
    if (!layer::ImageSizeAllowed(w, h)) return D3DERR_INVALIDCALL;
    const UINT full = layer::FullMipChainLength(w, h);
    const UINT levels = IsDefault(MipLevels) || MipLevels > full ? full : MipLevels;
    D3DFORMAT format = Format == D3DFMT_UNKNOWN ? TextureFormatFor(img.sourceFormat, ColorKey != 0) : Format;
    if (!layer::TexelFormatStorable(format)) format = D3DFMT_A8R8G8B8;

    layer::ApplyColorKey(&img.top, ColorKey);
    for (layer::ImageLevel& m : img.storedMips) layer::ApplyColorKey(&m, ColorKey);

    IDirect3DTexture8* tex = nullptr;
    if (FAILED(hr = CreateTexture(pDevice, w, h, levels, Usage, &format, Pool, &tex))) return hr;
    if (FAILED(hr = FillLevels(tex, img, w, h, levels, format, filter, mipFilter))) {
        tex->Release();
        return hr;
    }
    *ppTexture = tex;
    return S_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE8* ppTexture) {
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, ppTexture);
}
