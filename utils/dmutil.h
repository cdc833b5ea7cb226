// dmutil.h -- the music manager: owns the DirectMusic loader and performance, and wraps loaded
// segments and scripts. Every wrapper borrows its manager's loader and performance, so every
// segment and script must be deleted before the manager.
#pragma once

#include "dmusici.h"
#include "windows.h"

class CMusicSegment;
class CMusicScript;

class CMusicManager {
public:
    CMusicManager();
    ~CMusicManager();

    // Creates the loader and the performance and opens the sound device. Without a sound card
    // the result is DSERR_NODRIVER, after a warning to the debugger output.
    HRESULT Initialize(HWND hWnd, DWORD dwPChannels, DWORD dwDefaultPathType);
    HRESULT SetSearchDirectory(const char* strMediaPath);
    // The performance's default audio path with the reference the performance gave it, which
    // the caller releases; null when there is none.
    IDirectMusicAudioPath8* GetDefaultAudioPath();
    void CollectGarbage();

    HRESULT CreateSegmentFromFile(CMusicSegment** ppSegment, const char* strFileName, BOOL bDownloadNow,
                                  BOOL bIsMidiFile);
    HRESULT CreateSegmentFromResource(CMusicSegment** ppSegment, const char* strResource, const char* strResourceType,
                                      BOOL bDownloadNow, BOOL bIsMidiFile);
    HRESULT CreateScriptFromFile(CMusicScript** ppScript, const char* strFileName);
    HRESULT CreateChordMapFromFile(IDirectMusicChordMap8** ppChordMap, const char* strFileName);
    HRESULT CreateStyleFromFile(IDirectMusicStyle8** ppStyle, const char* strFileName);
    HRESULT GetMotifFromStyle(IDirectMusicSegment8** ppMotif, const char* strStyle, const char* strMotif);

    IDirectMusicPerformance8* GetPerformance() { return pPerformance; }

protected:
    BOOL bCleanupCOM;
    IDirectMusicLoader8* pLoader;
    IDirectMusicPerformance8* pPerformance;

private:
    // Loads an object of the class from the file through the loader; E_UNEXPECTED without a
    // loader, E_INVALIDARG for a name too long for the wide buffer.
    HRESULT LoadFromFile(REFGUID rguidClass, REFIID riid, const char* strFileName, void** ppObject);
    HRESULT WrapSegment(CMusicSegment** ppSegment, IDirectMusicSegment8* pSegment, BOOL bDownloadNow,
                        BOOL bIsMidiFile);
};

class CMusicSegment {
public:
    CMusicSegment(IDirectMusicPerformance8* pPerformance, IDirectMusicLoader8* pLoader,
                  IDirectMusicSegment8* pSegment);
    virtual ~CMusicSegment();

    // Plays on the audio path given, else on the segment's own, else on the default one.
    HRESULT Play(DWORD dwFlags, IDirectMusicAudioPath8* pAudioPath);
    HRESULT Download(IDirectMusicAudioPath8* pAudioPath);
    HRESULT Unload(IDirectMusicAudioPath8* pAudioPath);
    BOOL IsPlaying();
    HRESULT Stop(DWORD dwFlags);
    HRESULT SetRepeats(DWORD dwRepeats);
    HRESULT GetStyle(IDirectMusicStyle8** ppStyle, DWORD dwStyleIndex);

protected:
    IDirectMusicSegment8* pSegment;
    IDirectMusicLoader8* pLoader;
    IDirectMusicPerformance8* pPerformance;
    IDirectMusicAudioPath8* pEmbeddedAudioPath;
    BOOL bDownloaded;

private:
    // Where Download and Unload go: the path given, else the segment's own, else the performance.
    IUnknown* DownloadTarget(IDirectMusicAudioPath8* pAudioPath);
};

class CMusicScript {
public:
    CMusicScript(IDirectMusicPerformance8* pPerformance, IDirectMusicLoader8* pLoader, IDirectMusicScript8* pScript);
    virtual ~CMusicScript();

    HRESULT CallRoutine(const char* strRoutine);
    HRESULT SetVariableNumber(const char* strVariable, LONG lValue);
    HRESULT GetVariableNumber(const char* strVariable, LONG* plValue);

protected:
    IDirectMusicScript8* pScript;
    IDirectMusicLoader8* pLoader;
    IDirectMusicPerformance8* pPerformance;
};
