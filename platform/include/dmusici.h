// dmusici.h -- DirectMusic as the layer has it: a loader of wave files, a performance that plays
// them through the machine's sound device, segments and audio paths. Scripts, styles, chord maps
// and standard MIDI files are not supported: loading one fails with
// DMUS_E_LOADER_FORMATNOTSUPPORTED.
#pragma once

#include "dsound.h"
#include "objbase.h"

typedef LONG MUSIC_TIME;
typedef LONGLONG REFERENCE_TIME;

// Result codes.
#define DMUS_E_LOADER_FAILEDOPEN ((HRESULT)0x88781182u)
#define DMUS_E_LOADER_FORMATNOTSUPPORTED ((HRESULT)0x88781183u)

// InitAudio.
#define DMUS_AUDIOF_3D 0x1
#define DMUS_AUDIOF_ENVIRON 0x2
#define DMUS_AUDIOF_EAX 0x4
#define DMUS_AUDIOF_DMOS 0x8
#define DMUS_AUDIOF_STREAMING 0x10
#define DMUS_AUDIOF_BUFFERS 0x20
#define DMUS_AUDIOF_ALL 0x3F

// Standard audio paths.
#define DMUS_APATH_SHARED_STEREOPLUSREVERB 1
#define DMUS_APATH_DYNAMIC_3D 6
#define DMUS_APATH_DYNAMIC_MONO 7
#define DMUS_APATH_DYNAMIC_STEREO 8

// Stages of an audio path.
#define DMUS_PATH_PRIMARY_BUFFER 0x8000

// Segment play flags. SECONDARY plays at once over everything, also over itself; without it a
// segment is the primary one: it replaces the primary playing and everything queued, or with
// QUEUE waits until they have ended. DEFAULT (the segment's default boundary) means at once.
#define DMUS_SEGF_SECONDARY 0x80
#define DMUS_SEGF_QUEUE 0x100
#define DMUS_SEGF_DEFAULT 0x4000

#define DMUS_SEG_REPEAT_INFINITE 0xFFFFFFFF

// Object descriptors.
#define DMUS_OBJ_OBJECT 0x1
#define DMUS_OBJ_CLASS 0x2
#define DMUS_OBJ_NAME 0x4
#define DMUS_OBJ_CATEGORY 0x8
#define DMUS_OBJ_FILENAME 0x10
#define DMUS_OBJ_FULLPATH 0x20
#define DMUS_OBJ_URL 0x40
#define DMUS_OBJ_VERSION 0x80
#define DMUS_OBJ_DATE 0x100
#define DMUS_OBJ_LOADED 0x200
#define DMUS_OBJ_MEMORY 0x400

#define DMUS_MAX_NAME 64
#define DMUS_MAX_CATEGORY 64
#define DMUS_MAX_FILENAME MAX_PATH

DEFINE_GUID(CLSID_DirectMusicLoader, 0x689B00F8, 0x6A7F, 0x4A05, 0xBE, 0x84, 0xFF, 0xDD, 0x94, 0xC2, 0x5E, 0x30);
DEFINE_GUID(CLSID_DirectMusicPerformance, 0xF074C7E4, 0x06B8, 0x4131, 0x8E, 0xFD, 0x17, 0x8B, 0xF1, 0xD9, 0x28, 0xE3);
DEFINE_GUID(CLSID_DirectMusicSegment, 0x1AE3F546, 0x279F, 0x4E77, 0x81, 0xF7, 0x78, 0xF3, 0xE7, 0xA8, 0x14, 0xFA);
DEFINE_GUID(CLSID_DirectMusicScript, 0x8E194187, 0xFA05, 0x411F, 0xA2, 0x81, 0x68, 0x7D, 0xF9, 0x07, 0xBE, 0x8C);
DEFINE_GUID(CLSID_DirectMusicChordMap, 0xBA869B22, 0xEE45, 0x473E, 0x92, 0x27, 0x25, 0x21, 0x23, 0x8B, 0x37, 0x2E);
DEFINE_GUID(CLSID_DirectMusicStyle, 0xC9D5ED48, 0xE0D9, 0x4264, 0xA6, 0x0B, 0x0D, 0x07, 0xFC, 0x61, 0xAA, 0x00);
DEFINE_GUID(IID_IDirectMusicLoader8, 0x91448600, 0x3050, 0x46FD, 0xB8, 0x10, 0x55, 0x5F, 0x13, 0x96, 0x3B, 0x29);
DEFINE_GUID(IID_IDirectMusicPerformance, 0x1638C104, 0x3249, 0x41A4, 0x9E, 0x36, 0x2A, 0x92, 0x3D, 0x91, 0xCB, 0x96);
DEFINE_GUID(IID_IDirectMusicPerformance8, 0x3BF1BF3E, 0xBAD0, 0x4CFA, 0xBE, 0xE2, 0xB2, 0x56, 0x6B, 0x46, 0xD0, 0xAC);
DEFINE_GUID(IID_IDirectMusicSegment, 0x4C3D416C, 0x2817, 0x4500, 0x81, 0x72, 0x87, 0xF3, 0x9E, 0x70, 0xB3, 0x63);
DEFINE_GUID(IID_IDirectMusicSegment8, 0x96D54B54, 0xCBDE, 0x47C8, 0x96, 0x7A, 0xC9, 0x0B, 0x17, 0x69, 0xC5, 0x69);
DEFINE_GUID(IID_IDirectMusicAudioPath, 0xBC8BCF7E, 0x1111, 0x454B, 0x9E, 0x26, 0x77, 0xEC, 0xFA, 0x92, 0x55, 0xD1);
DEFINE_GUID(IID_IDirectMusicScript8, 0xA2B4BE4C, 0xBBDD, 0x4B55, 0xAC, 0xE5, 0xA6, 0x8F, 0x98, 0xA6, 0x37, 0x84);
DEFINE_GUID(IID_IDirectMusicChordMap8, 0xF040553D, 0xBEFF, 0x4494, 0x99, 0x6F, 0xC3, 0x36, 0x4F, 0xAC, 0xDE, 0xA1);
DEFINE_GUID(IID_IDirectMusicStyle8, 0x2FFDDB65, 0xC73F, 0x4F64, 0xAD, 0x73, 0x4D, 0x2F, 0x3A, 0x36, 0xE1, 0x23);
DEFINE_GUID(GUID_DirectMusicAllTypes, 0x3202F6F8, 0x89F3, 0x4029, 0xA4, 0xDE, 0x83, 0x2D, 0xAF, 0x4A, 0x17, 0x2D);
DEFINE_GUID(GUID_StandardMIDIFile, 0x0C5A7FE9, 0x15AD, 0x4FEF, 0xAE, 0x36, 0x55, 0x20, 0x17, 0xF8, 0xB7, 0xD5);
DEFINE_GUID(GUID_IDirectMusicStyle, 0x0A4E9841, 0x33F7, 0x4190, 0x82, 0xFE, 0x9B, 0x00, 0x4D, 0x02, 0x2A, 0x4F);

#define IID_IDirectMusicAudioPath8 IID_IDirectMusicAudioPath

struct IStream;
struct DMUS_AUDIOPARAMS;
struct DMUS_SCRIPT_ERRORINFO;

typedef struct _DMUS_VERSION {
    DWORD dwVersionMS;
    DWORD dwVersionLS;
} DMUS_VERSION;

// The date field keeps the FILETIME layout: two 32-bit halves.
typedef struct _DMUS_OBJECTDATE {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} DMUS_OBJECTDATE;

typedef struct _DMUS_OBJECTDESC {
    DWORD dwSize;
    DWORD dwValidData;
    GUID guidObject;
    GUID guidClass;
    DMUS_OBJECTDATE ftDate;
    DMUS_VERSION vVersion;
    WCHAR wszName[DMUS_MAX_NAME];
    WCHAR wszCategory[DMUS_MAX_CATEGORY];
    WCHAR wszFileName[DMUS_MAX_FILENAME];
    LONGLONG llMemLength;
    LPBYTE pbMemData;
    IStream* pStream;
} DMUS_OBJECTDESC, *LPDMUS_OBJECTDESC;

struct IDirectMusic : public IUnknown {};
struct IDirectMusicSegmentState : public IUnknown {};

struct IDirectMusicSegment : public IUnknown {
    virtual HRESULT SetRepeats(DWORD dwRepeats) = 0;
    virtual HRESULT GetParam(REFGUID rguidType, DWORD dwGroupBits, DWORD dwIndex, MUSIC_TIME mtTime,
                             MUSIC_TIME* pmtNext, void* pParam) = 0;
    virtual HRESULT SetParam(REFGUID rguidType, DWORD dwGroupBits, DWORD dwIndex, MUSIC_TIME mtTime,
                             void* pParam) = 0;
};

struct IDirectMusicSegment8 : public IDirectMusicSegment {
    // Wave segments carry no audio-path configuration: E_NOTIMPL.
    virtual HRESULT GetAudioPathConfig(IUnknown** ppAudioPathConfig) = 0;
    // Prepares the wave for the performance (or the performance of the audio path) given.
    virtual HRESULT Download(IUnknown* pAudioPath) = 0;
    virtual HRESULT Unload(IUnknown* pAudioPath) = 0;
};

struct IDirectMusicAudioPath : public IUnknown {
    virtual HRESULT GetObjectInPath(DWORD dwPChannel, DWORD dwStage, DWORD dwBuffer, REFGUID guidObject,
                                    DWORD dwIndex, REFGUID iidInterface, void** ppObject) = 0;
};
typedef IDirectMusicAudioPath IDirectMusicAudioPath8;

struct IDirectMusicPerformance : public IUnknown {
    // Stops the segment (every segment when null) now.
    virtual HRESULT Stop(IDirectMusicSegment* pSegment, IDirectMusicSegmentState* pSegmentState,
                         MUSIC_TIME mtTime, DWORD dwFlags) = 0;
    // S_OK while the segment sounds, S_FALSE when not (a queued segment has not started yet).
    virtual HRESULT IsPlaying(IDirectMusicSegment* pSegment, IDirectMusicSegmentState* pSegState) = 0;
    virtual HRESULT CloseDown() = 0;
};

struct IDirectMusicPerformance8 : public IDirectMusicPerformance {
    // Opens the sound device; DSERR_NODRIVER when there is none. The layer hands out no
    // DirectMusic or DirectSound object: asked for, both come back null.
    virtual HRESULT InitAudio(IDirectMusic** ppDirectMusic, IDirectSound** ppDirectSound, HWND hWnd,
                              DWORD dwDefaultPathType, DWORD dwPChannelCount, DWORD dwFlags,
                              DMUS_AUDIOPARAMS* pParams) = 0;
    virtual HRESULT PlaySegmentEx(IUnknown* pSource, WCHAR* pwzSegmentName, IUnknown* pTransition, DWORD dwFlags,
                                  LONGLONG i64StartTime, IDirectMusicSegmentState** ppSegmentState,
                                  IUnknown* pFrom, IUnknown* pAudioPath) = 0;
    virtual HRESULT CreateAudioPath(IUnknown* pSourceConfig, BOOL fActivate,
                                    IDirectMusicAudioPath** ppNewPath) = 0;
    virtual HRESULT CreateStandardAudioPath(DWORD dwType, DWORD dwPChannelCount, BOOL fActivate,
                                            IDirectMusicAudioPath** ppNewPath) = 0;
    virtual HRESULT GetDefaultAudioPath(IDirectMusicAudioPath** ppAudioPath) = 0;
};

struct IDirectMusicLoader8 : public IUnknown {
    virtual HRESULT GetObject(LPDMUS_OBJECTDESC pDesc, REFIID riid, LPVOID* ppv) = 0;
    // Relative file names are looked up in this directory; fClear also empties the cache.
    virtual HRESULT SetSearchDirectory(REFGUID rguidClass, WCHAR* pwzPath, BOOL fClear) = 0;
    virtual void CollectGarbage() = 0;
    // Drops the object from the loader's cache.
    virtual HRESULT ReleaseObjectByUnknown(IUnknown* pObject) = 0;
    virtual HRESULT LoadObjectFromFile(REFGUID rguidClassID, REFIID iidInterfaceID, WCHAR* pwzFilePath,
                                       void** ppObject) = 0;
};

// Scripts, styles and chord maps: declared for their callers; the loader never makes one.
struct IDirectMusicScript8 : public IUnknown {
    virtual HRESULT Init(IDirectMusicPerformance* pPerformance, DMUS_SCRIPT_ERRORINFO* pErrorInfo) = 0;
    virtual HRESULT CallRoutine(WCHAR* pwszRoutineName, DMUS_SCRIPT_ERRORINFO* pErrorInfo) = 0;
    virtual HRESULT SetVariableNumber(WCHAR* pwszVariableName, LONG lValue, DMUS_SCRIPT_ERRORINFO* pErrorInfo) = 0;
    virtual HRESULT GetVariableNumber(WCHAR* pwszVariableName, LONG* plValue,
                                      DMUS_SCRIPT_ERRORINFO* pErrorInfo) = 0;
};

struct IDirectMusicStyle8 : public IUnknown {
    virtual HRESULT GetMotif(WCHAR* pwszName, IDirectMusicSegment** ppSegment) = 0;
};

struct IDirectMusicChordMap8 : public IUnknown {};
