// d3dx8core.h -- the D3DX result codes and the generic data buffer.
#pragma once

#include "unknwn.h"

// D3DX failures live in the Direct3D facility (0x876), from code 2900 on.
#define D3DXERR_CANNOTMODIFYINDEXBUFFER ((HRESULT)0x88760B54u)
#define D3DXERR_INVALIDMESH ((HRESULT)0x88760B55u)
#define D3DXERR_CANNOTATTRSORT ((HRESULT)0x88760B56u)
#define D3DXERR_SKINNINGNOTSUPPORTED ((HRESULT)0x88760B57u)
#define D3DXERR_TOOMANYINFLUENCES ((HRESULT)0x88760B58u)
#define D3DXERR_INVALIDDATA ((HRESULT)0x88760B59u)
#define D3DXERR_LOADEDMESHHASNODATA ((HRESULT)0x88760B5Au)

// A block of bytes handed out by D3DX (adjacency, for one).
struct ID3DXBuffer : public IUnknown {
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;
