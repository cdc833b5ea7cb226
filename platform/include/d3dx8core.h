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

// ---------------------------------------------------------------------------------------------
// The shader assembler: vertex shader 1.0 and 1.1 text into shader code for CreateVertexShader.
// Each def line becomes a D3DVSD_CONST token with its four values in ppConstants, for the
// program to put in its declaration; without ppConstants they are dropped. Errors come as text
// lines "name(line): error: ..." in ppCompilationErrors, and the result D3DXERR_INVALIDDATA.
// Not supported: the preprocessor (#define, #include, #if), pixel shaders (ps.1.x).
#define D3DXASM_DEBUG 1
#define D3DXASM_SKIPVALIDATION 2

HRESULT WINAPI D3DXAssembleShader(LPCVOID pSrcData, UINT SrcDataLen, DWORD Flags, LPD3DXBUFFER* ppConstants,
                                  LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors);
HRESULT WINAPI D3DXAssembleShaderFromFileA(LPCSTR pSrcFile, DWORD Flags, LPD3DXBUFFER* ppConstants,
                                           LPD3DXBUFFER* ppCompiledShader, LPD3DXBUFFER* ppCompilationErrors);
#define D3DXAssembleShaderFromFile D3DXAssembleShaderFromFileA
