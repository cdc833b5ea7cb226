// sound_object.h -- the game's sound object: 50 segment slots played on one audio path.
#pragma once

#include "windows.h"

class CMusicManager;
class CMusicSegment;
struct IDirectMusicAudioPath8;

class CSoundManager {
public:
    explicit CSoundManager(HWND hWnd);
    ~CSoundManager();

    // Loads a wave file into the first free slot; the slot, or -1.
    int LoadSegment(const char* file);
    void PlaySegment(int slot, DWORD repeats, DWORD flags);
    void StopSegment(int slot);
    void FreeSegment(int slot);

    CMusicManager* pMusicManager;
    CMusicSegment* pSegments[50];
    IDirectMusicAudioPath8* p3DAudiopath;
};
