// sound_object.cpp -- the game's sound object over the music manager.
#include "game/sound_object.h"

#include <cstdio>

#include "commctrl.h"
#include "shell/error_box.h"

CSoundManager::CSoundManager(HWND hWnd) : pMusicManager(nullptr), pSegments(), p3DAudiopath(nullptr) {
    InitCommonControls();
    pMusicManager = new CMusicManager();

    HRESULT hr = pMusicManager->Initialize(hWnd, 128, DMUS_APATH_DYNAMIC_STEREO);
    ErrorBox(hr, "pMusicManager->Initialize");

    // Without a performance (its creation failed) there is nothing to make the path on.
    IDirectMusicPerformance8* pPerformance = pMusicManager->GetPerformance();
    hr = pPerformance ? pPerformance->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_3D, 128, TRUE, &p3DAudiopath)
                      : E_FAIL;
    ErrorBox(hr, "pPerformance->CreateStandardAudioPath");

    hr = pMusicManager->SetSearchDirectory("");
    ErrorBox(hr, "pMusicManager->SetSearchDirectory");
}

CSoundManager::~CSoundManager() {
    SAFE_RELEASE(p3DAudiopath);
    for (CMusicSegment*& pSegment : pSegments) {
        delete pSegment;
        pSegment = nullptr;
    }
    delete pMusicManager;
    pMusicManager = nullptr;
}

int CSoundManager::LoadSegment(const char* strFileName) {
    char strError[256];
    std::snprintf(strError, sizeof strError, "pMusicManager->CreateSegmentFromFile : %s", strFileName);

    int iSlot = 0;
    while (iSlot < kSlotCount && pSegments[iSlot]) ++iSlot;
    if (iSlot == kSlotCount) return -1;

    HRESULT hr = pMusicManager->CreateSegmentFromFile(&pSegments[iSlot], strFileName, TRUE, FALSE);
    ErrorBox(hr, strError);
    // A sound that failed to load gets no slot: the slot stays free for the next load, and the
    // caller's -1 plays, stops and frees nothing (rather than whatever is loaded there next).
    // A wrapper handed back with a failed download would play nothing, so it goes too.
    bool loaded = SUCCEEDED(hr);
    if (!loaded) {
        delete pSegments[iSlot];
        pSegments[iSlot] = nullptr;
    }

    // The roll-off is set again on every load; without an audio path there is no listener.
    if (p3DAudiopath) {
        IDirectSound3DListener* pDSListener = nullptr;
        hr = p3DAudiopath->GetObjectInPath(0, DMUS_PATH_PRIMARY_BUFFER, 0, GUID_NULL, 0, IID_IDirectSound3DListener,
                                           reinterpret_cast<void**>(&pDSListener));
        ErrorBox(hr, "p3DAudiopath->GetObjectInPath");
        if (pDSListener) {
            hr = pDSListener->SetRolloffFactor(0.25f, DS3D_IMMEDIATE);
            ErrorBox(hr, "pDSListener->SetRolloffFactor");
            pDSListener->Release();
        }
    }
    return loaded ? iSlot : -1;
}

CMusicSegment* CSoundManager::SegmentAt(int iSlot) const {
    return iSlot >= 0 && iSlot < kSlotCount ? pSegments[iSlot] : nullptr;
}

void CSoundManager::PlaySegment(int iSlot, DWORD dwRepeats, DWORD dwFlags) {
    CMusicSegment* pSegment = SegmentAt(iSlot);
    if (!pSegment) return;
    pSegment->SetRepeats(dwRepeats);
    pSegment->Play(dwFlags, p3DAudiopath);
}

void CSoundManager::StopSegment(int iSlot) {
    if (CMusicSegment* pSegment = SegmentAt(iSlot)) pSegment->Stop(0);
}

void CSoundManager::FreeSegment(int iSlot) {
    CMusicSegment* pSegment = SegmentAt(iSlot);
    if (!pSegment) return;
    delete pSegment;
    pSegments[iSlot] = nullptr;
}

int CSoundManager::SlotsInUse() const {
    int n = 0;
    for (const CMusicSegment* pSegment : pSegments) n += pSegment != nullptr;
    return n;
}
