// sound_object.h -- the game's sound object: 50 numbered slots of wave segments, all played on
// one 3D audio path.
#pragma once

#include "utils/dmutil.h"
#include "windows.h"

class CSoundManager {
public:
    explicit CSoundManager(HWND hWnd);
    ~CSoundManager();

    // Loads a wave file into the lowest free slot and returns the slot; -1 when all are taken
    // (silently) or when the file fails to load (reported; the slot stays free).
    int LoadSegment(const char* strFileName);
    // Slots outside 0..49 and free slots are ignored by these three.
    void PlaySegment(int iSlot, DWORD dwRepeats, DWORD dwFlags);
    void StopSegment(int iSlot);
    void FreeSegment(int iSlot);
    // How many slots hold a segment.
    int SlotsInUse() const;

private:
    static const int kSlotCount = 50;

    // The segment in the slot, or null for a free slot or one outside the table.
    CMusicSegment* SegmentAt(int iSlot) const;

    CMusicManager* pMusicManager;
    CMusicSegment* pSegments[kSlotCount];
    IDirectMusicAudioPath8* p3DAudiopath;
};

// The one sound object, made by the device set-up at start-up and deleted at shut-down.
extern CSoundManager* g_pSoundManager;
