// d3dutil.h -- Direct3D utility functions of the framework: material and light records, textures
// and vertex shaders from media files, colour keys, cube-map views, a trackball rotation from the
// cursor, a device cursor made from a Windows cursor, and quaternions between two directions.
#pragma once

#include "d3d8.h"
#include "d3dx8.h"
#include "windows.h"

// Diffuse and ambient (r, g, b, a); everything else 0.
void InitMaterial(D3DMATERIAL8& material, FLOAT r, FLOAT g, FLOAT b, FLOAT a);
// A white light of the type at (x, y, z), shining along (x, y, z) normalised, range 1000.
void InitLight(D3DLIGHT8& light, D3DLIGHTTYPE type, FLOAT x, FLOAT y, FLOAT z);

// The file is looked for as LocateMediaFile looks; a name that cannot fit a MAX_PATH path is
// refused with E_FAIL. Otherwise the results are those of D3DX and of the device.
HRESULT CreateTextureFromMedia(LPDIRECT3DDEVICE8 pd3dDevice, const char* strTexture, LPDIRECT3DTEXTURE8* ppTexture,
                               D3DFORMAT d3dFormat);
HRESULT CreateVertexShaderFromFile(LPDIRECT3DDEVICE8 pd3dDevice, const char* strFilename, const DWORD* pdwDeclaration,
                                   DWORD* pdwShader);

// Makes transparent black every texel of level 0 that equals the key in the texture's format
// (A4R4G4B4, A1R5G5B5 or A8R8G8B8; any other gives E_FAIL).
HRESULT SetTextureColorKey(LPDIRECT3DTEXTURE8 pTexture, DWORD dwColorKey);

// The view from the origin through a face of a cube map (0-5); the identity for another face.
D3DXMATRIX CubeFaceViewMatrix(DWORD dwFace);

// The turn of a trackball of the radius (a fraction of the half window) under the cursor's
// place in the window's client area; the identity when the cursor is at the centre or the
// client area is empty.
D3DXQUATERNION TrackballRotationFromCursor(HWND hWnd, FLOAT fTrackBallRadius);

// Shows the Windows cursor (black-and-white or colour) as the device's cursor, with the letters
// "D3D" in its top-left corner when asked.
HRESULT SetDeviceCursorFromHandle(LPDIRECT3DDEVICE8 pd3dDevice, HCURSOR hCursor, BOOL bAddWatermark);

// (from x to, from . to): for unit vectors the turn by twice their angle about their normal.
D3DXQUATERNION* QuaternionFromCrossDot(D3DXQUATERNION* pOut, const D3DXVECTOR3* pvFrom, const D3DXVECTOR3* pvTo);
// The unit quaternion that turns the direction of pvFrom onto that of pvTo; (0, 0, 0, 0) for
// opposite directions, whose half-way vector is zero.
D3DXQUATERNION* QuaternionBetweenDirections(D3DXQUATERNION* pOut, const D3DXVECTOR3* pvFrom, const D3DXVECTOR3* pvTo);
