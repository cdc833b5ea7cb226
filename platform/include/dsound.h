// dsound.h -- the DirectSound pieces reached through DirectMusic: the 3D listener of the primary
// buffer and the DirectSound result codes.
#pragma once

#include "unknwn.h"

#define DSERR_ALLOCATED ((HRESULT)0x8878000Au)
#define DSERR_NODRIVER ((HRESULT)0x88780078u)
#define DSERR_INVALIDPARAM E_INVALIDARG

#define DS3D_IMMEDIATE 0x00000000
#define DS3D_DEFERRED 0x00000001

#define DS3D_MINROLLOFFFACTOR 0.0f
#define DS3D_MAXROLLOFFFACTOR 10.0f
#define DS3D_DEFAULTROLLOFFFACTOR 1.0f

DEFINE_GUID(IID_IDirectSound3DListener, 0xE157C4FE, 0x2B63, 0x4D9C, 0x8D, 0x68, 0xE7, 0x1C, 0x3A, 0x8B, 0x07, 0x4A);

// Passed to DirectMusic only as a null "give me the DirectSound object" pointer.
struct IDirectSound : public IUnknown {};
typedef IDirectSound* LPDIRECTSOUND;

// The listener: the layer plays every sound centred, so only the roll-off is kept.
struct IDirectSound3DListener : public IUnknown {
    virtual HRESULT GetRolloffFactor(FLOAT* pflRolloffFactor) = 0;
    // Outside DS3D_MINROLLOFFFACTOR..DS3D_MAXROLLOFFFACTOR: DSERR_INVALIDPARAM.
    virtual HRESULT SetRolloffFactor(FLOAT flRolloffFactor, DWORD dwApply) = 0;
};
typedef IDirectSound3DListener IDirectSound3DListener8;
typedef IDirectSound3DListener* LPDIRECTSOUND3DLISTENER;
