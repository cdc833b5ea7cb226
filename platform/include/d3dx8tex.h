// d3dx8tex.h -- textures created from picture files (BMP, DIB, TGA, PPM, DDS, JPEG, PNG).
//
// D3DXCreateTextureFromFileEx decodes the file, keys out the colour key (an exact match on
// 8-bit ARGB becomes transparent black, before any resampling), resamples the picture to the
// asked size, builds the mip chain and stores every level in the asked texel format.
// Partial: the colour palette is not returned (the formats made are never palettised); DXT
// pictures are stored decompressed; the triangle filter is done as the box (area) filter, and
// D3DX_FILTER_DITHER is accepted without dithering.
#pragma once

#include "d3d8.h"
#include "d3dx8core.h"
#include "wingdi.h"

// "Take it from the file" for sizes and levels; the default filters for filter arguments.
#define D3DX_DEFAULT ((UINT)-1)

#define D3DX_FILTER_NONE (1 << 0)
#define D3DX_FILTER_POINT (2 << 0)
#define D3DX_FILTER_LINEAR (3 << 0)
#define D3DX_FILTER_TRIANGLE (4 << 0)
#define D3DX_FILTER_BOX (5 << 0)
#define D3DX_FILTER_MIRROR_U (1 << 16)
#define D3DX_FILTER_MIRROR_V (2 << 16)
#define D3DX_FILTER_MIRROR_W (4 << 16)
#define D3DX_FILTER_MIRROR (7 << 16)
#define D3DX_FILTER_DITHER (8 << 16)

typedef enum _D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
    D3DXIFF_FORCE_DWORD = 0x7fffffff
} D3DXIMAGE_FILEFORMAT;

// What the file held, as D3DX reports it.
typedef struct _D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
} D3DXIMAGE_INFO;

// Width, Height: 0 or D3DX_DEFAULT for the file's own size (limited to the device's largest
// texture). MipLevels: 0 or D3DX_DEFAULT for the full chain. Format: D3DFMT_UNKNOWN for the
// file's format, which gains alpha when a colour key is given. ColorKey: 0 for none.
HRESULT WINAPI D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                            UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                            LPDIRECT3DTEXTURE8* ppTexture);

// The file's size, the full chain, its format, the managed pool and the default filters.
HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE8 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE8* ppTexture);

#define D3DXCreateTextureFromFileEx D3DXCreateTextureFromFileExA
#define D3DXCreateTextureFromFile D3DXCreateTextureFromFileA
