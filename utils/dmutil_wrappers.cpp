// dmutil_wrappers.cpp -- the segment and script wrappers of the music manager.
#include "utils/dmutil.h"
#include "utils/dmutil_names.h"

CMusicSegment::CMusicSegment(IDirectMusicPerformance8* pPerformance, IDirectMusicLoader8* pLoader,
                             IDirectMusicSegment8* pSegment)
    : pSegment(pSegment), pLoader(pLoader), pPerformance(pPerformance), pEmbeddedAudioPath(nullptr),
      bDownloaded(FALSE) {
    if (!pSegment || !pPerformance) return;
    // A segment that brings its own audio-path configuration plays on a path made from it.
    IUnknown* pConfig = nullptr;
    if (SUCCEEDED(pSegment->GetAudioPathConfig(&pConfig)) && pConfig) {
        pPerformance->CreateAudioPath(pConfig, TRUE, &pEmbeddedAudioPath);
        pConfig->Release();
    }
}

CMusicSegment::~CMusicSegment() {
    if (pSegment) {
        if (pLoader) pLoader->ReleaseObjectByUnknown(pSegment);
        if (bDownloaded) pSegment->Unload(DownloadTarget(nullptr));
        SAFE_RELEASE(pEmbeddedAudioPath);
        SAFE_RELEASE(pSegment);
    }
    pPerformance = nullptr;
}

IUnknown* CMusicSegment::DownloadTarget(IDirectMusicAudioPath8* pAudioPath) {
    if (pAudioPath) return pAudioPath;
    if (pEmbeddedAudioPath) return pEmbeddedAudioPath;
    return pPerformance;
}

HRESULT CMusicSegment::Play(DWORD dwFlags, IDirectMusicAudioPath8* pAudioPath) {
    if (!pSegment || !pPerformance) return CO_E_NOTINITIALIZED;
    if (!bDownloaded) return E_FAIL;
    if (!pAudioPath && pEmbeddedAudioPath) pAudioPath = pEmbeddedAudioPath;
    return pPerformance->PlaySegmentEx(pSegment, nullptr, nullptr, dwFlags, 0, nullptr, nullptr, pAudioPath);
}

HRESULT CMusicSegment::Download(IDirectMusicAudioPath8* pAudioPath) {
    if (!pSegment) return CO_E_NOTINITIALIZED;
    HRESULT hr = pSegment->Download(DownloadTarget(pAudioPath));
    if (SUCCEEDED(hr)) bDownloaded = TRUE;
    return hr;
}

HRESULT CMusicSegment::Unload(IDirectMusicAudioPath8* pAudioPath) {
    if (!pSegment) return CO_E_NOTINITIALIZED;
    HRESULT hr = pSegment->Unload(DownloadTarget(pAudioPath));
    if (SUCCEEDED(hr)) bDownloaded = FALSE;
    return hr;
}

BOOL CMusicSegment::IsPlaying() {
    if (!pSegment || !pPerformance) return FALSE;
    return pPerformance->IsPlaying(pSegment, nullptr) == S_OK;
}

HRESULT CMusicSegment::Stop(DWORD dwFlags) {
    if (!pSegment || !pPerformance) return CO_E_NOTINITIALIZED;
    return pPerformance->Stop(pSegment, nullptr, 0, dwFlags);
}

HRESULT CMusicSegment::SetRepeats(DWORD dwRepeats) {
    if (!pSegment) return CO_E_NOTINITIALIZED;
    return pSegment->SetRepeats(dwRepeats);
}

HRESULT CMusicSegment::GetStyle(IDirectMusicStyle8** ppStyle, DWORD dwStyleIndex) {
    return pSegment->GetParam(GUID_IDirectMusicStyle, 0xFFFFFFFF, dwStyleIndex, 0, nullptr, ppStyle);
}

CMusicScript::CMusicScript(IDirectMusicPerformance8* pPerformance, IDirectMusicLoader8* pLoader,
                           IDirectMusicScript8* pScript)
    : pScript(pScript), pLoader(pLoader), pPerformance(pPerformance) {}

CMusicScript::~CMusicScript() {
    if (pLoader) {
        pLoader->ReleaseObjectByUnknown(pScript);
        pLoader = nullptr;
    }
    SAFE_RELEASE(pScript);
    pPerformance = nullptr;
}

HRESULT CMusicScript::CallRoutine(const char* strRoutine) {
    MusicName wide;
    if (!wide.Set(strRoutine)) return E_INVALIDARG;
    return pScript->CallRoutine(wide.text, nullptr);
}

HRESULT CMusicScript::SetVariableNumber(const char* strVariable, LONG lValue) {
    MusicName wide;
    if (!wide.Set(strVariable)) return E_INVALIDARG;
    return pScript->SetVariableNumber(wide.text, lValue, nullptr);
}

HRESULT CMusicScript::GetVariableNumber(const char* strVariable, LONG* plValue) {
    MusicName wide;
    if (!wide.Set(strVariable)) return E_INVALIDARG;
    return pScript->GetVariableNumber(wide.text, plValue, nullptr);
}
