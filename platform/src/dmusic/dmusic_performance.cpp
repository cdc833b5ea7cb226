// dmusic_performance.cpp -- the performance: opens the sound device, plays segments as primary,
// queued or secondary voices, and makes the audio paths with their 3D listener.
#include "dmusic/dmusic_objects.h"
#include "layer/audio.h"

namespace {

std::vector<layer::PlayedWave>& PlayLog() {
    static std::vector<layer::PlayedWave> log;
    return log;
}

// The log keeps the latest plays only, so that hours of play do not fill the memory with it.
void LogPlay(const std::string& file, DWORD flags) {
    std::vector<layer::PlayedWave>& log = PlayLog();
    if (log.size() >= 2 * layer::kPlayedWavesKept) log.erase(log.begin(), log.end() - layer::kPlayedWavesKept);
    log.push_back({file, flags});
}

// The listener of a performance's primary buffer. Every sound plays centred, so of the
// listener's settings only the roll-off factor is kept.
class Listener : public com::RefCounted<IDirectSound3DListener> {
public:
    explicit Listener(PerformanceStateRef state) : state_(std::move(state)) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        return com::QueryFor(this, riid, ppv, {&IID_IDirectSound3DListener});
    }
    HRESULT GetRolloffFactor(FLOAT* pflRolloffFactor) override {
        if (!pflRolloffFactor) return DSERR_INVALIDPARAM;
        *pflRolloffFactor = state_->rolloffFactor;
        return S_OK;
    }
    HRESULT SetRolloffFactor(FLOAT flRolloffFactor, DWORD) override {
        if (!(flRolloffFactor >= DS3D_MINROLLOFFFACTOR && flRolloffFactor <= DS3D_MAXROLLOFFFACTOR))
            return DSERR_INVALIDPARAM;
        state_->rolloffFactor = flRolloffFactor;
        return S_OK;
    }

private:
    PerformanceStateRef state_;
};

bool IsStandardPathType(DWORD type) {
    return type == DMUS_APATH_SHARED_STEREOPLUSREVERB || type == DMUS_APATH_DYNAMIC_3D ||
           type == DMUS_APATH_DYNAMIC_MONO || type == DMUS_APATH_DYNAMIC_STEREO;
}

}  // namespace

HRESULT AudioPath::QueryInterface(REFIID riid, void** ppv) {
    return com::QueryFor(this, riid, ppv, {&IID_IDirectMusicAudioPath});
}

HRESULT AudioPath::GetObjectInPath(DWORD, DWORD dwStage, DWORD, REFGUID, DWORD, REFGUID iidInterface,
                                   void** ppObject) {
    if (!ppObject) return E_POINTER;
    *ppObject = nullptr;
    if (dwStage != DMUS_PATH_PRIMARY_BUFFER || iidInterface != IID_IDirectSound3DListener) return E_NOINTERFACE;
    *ppObject = static_cast<IDirectSound3DListener*>(new Listener(state_));
    return S_OK;
}

Performance::~Performance() { CloseDown(); }

HRESULT Performance::QueryInterface(REFIID riid, void** ppv) {
    return com::QueryFor(this, riid, ppv, {&IID_IDirectMusicPerformance, &IID_IDirectMusicPerformance8});
}

HRESULT Performance::InitAudio(IDirectMusic** ppDirectMusic, IDirectSound** ppDirectSound, HWND,
                               DWORD dwDefaultPathType, DWORD, DWORD, DMUS_AUDIOPARAMS*) {
    // The layer has no DirectMusic or DirectSound objects of its own to hand out.
    if (ppDirectMusic) *ppDirectMusic = nullptr;
    if (ppDirectSound) *ppDirectSound = nullptr;
    if (state_->audioOpen) return E_UNEXPECTED;
    if (audio::IsDeviceOpen()) return DSERR_ALLOCATED;
    if (!audio::OpenDevice()) return DSERR_NODRIVER;
    state_->audioOpen = true;
    if (dwDefaultPathType != 0) {
        HRESULT hr = CreateStandardAudioPath(dwDefaultPathType, 0, TRUE, &defaultPath_);
        if (FAILED(hr)) {
            CloseDown();
            return hr;
        }
    }
    return S_OK;
}

HRESULT Performance::PlaySegmentEx(IUnknown* pSource, WCHAR*, IUnknown*, DWORD dwFlags, LONGLONG,
                                   IDirectMusicSegmentState** ppSegmentState, IUnknown*, IUnknown* pAudioPath) {
    if (ppSegmentState) *ppSegmentState = nullptr;
    if (!pSource) return E_POINTER;
    auto* segment = dynamic_cast<WaveSegment*>(pSource);
    if (!segment) return E_INVALIDARG;
    if (pAudioPath && PerformanceStateOf(pAudioPath) != state_) return E_INVALIDARG;
    if (!state_->audioOpen) return DSERR_NODRIVER;
    audio::WaveRef wave = segment->DownloadedWave();
    if (!wave) return E_FAIL;

    LogPlay(segment->Name(), dwFlags);
    if (dwFlags & DMUS_SEGF_SECONDARY)
        audio::PlaySecondary(segment->Id(), wave, segment->Repeats());
    else if (dwFlags & DMUS_SEGF_QUEUE)
        audio::QueuePrimary(segment->Id(), wave, segment->Repeats());
    else
        audio::PlayPrimary(segment->Id(), wave, segment->Repeats());
    return S_OK;
}

HRESULT Performance::Stop(IDirectMusicSegment* pSegment, IDirectMusicSegmentState*, MUSIC_TIME, DWORD) {
    if (!state_->audioOpen) return S_OK;
    if (!pSegment) {
        audio::Stop(0);
        return S_OK;
    }
    auto* segment = dynamic_cast<WaveSegment*>(pSegment);
    if (!segment) return E_INVALIDARG;
    audio::Stop(segment->Id());
    return S_OK;
}

HRESULT Performance::IsPlaying(IDirectMusicSegment* pSegment, IDirectMusicSegmentState*) {
    if (!pSegment) return E_POINTER;
    auto* segment = dynamic_cast<WaveSegment*>(pSegment);
    if (!segment) return E_INVALIDARG;
    return state_->audioOpen && audio::IsSounding(segment->Id()) ? S_OK : S_FALSE;
}

HRESULT Performance::CloseDown() {
    SAFE_RELEASE(defaultPath_);
    if (state_->audioOpen) {
        audio::CloseDevice();
        state_->audioOpen = false;
    }
    return S_OK;
}

// Audio-path configurations come only from segments, and wave segments carry none.
HRESULT Performance::CreateAudioPath(IUnknown* pSourceConfig, BOOL, IDirectMusicAudioPath** ppNewPath) {
    if (!ppNewPath || !pSourceConfig) return E_POINTER;
    *ppNewPath = nullptr;
    return E_INVALIDARG;
}

HRESULT Performance::CreateStandardAudioPath(DWORD dwType, DWORD, BOOL, IDirectMusicAudioPath** ppNewPath) {
    if (!ppNewPath) return E_POINTER;
    *ppNewPath = nullptr;
    if (!state_->audioOpen) return DSERR_NODRIVER;
    if (!IsStandardPathType(dwType)) return E_INVALIDARG;
    *ppNewPath = new AudioPath(state_);
    return S_OK;
}

HRESULT Performance::GetDefaultAudioPath(IDirectMusicAudioPath** ppAudioPath) {
    if (!ppAudioPath) return E_POINTER;
    *ppAudioPath = defaultPath_;
    if (!defaultPath_) return state_->audioOpen ? E_FAIL : DSERR_NODRIVER;
    defaultPath_->AddRef();
    return S_OK;
}

namespace layer {

const std::vector<PlayedWave>& PlayedWaves() { return PlayLog(); }
void ClearPlayedWaves() { PlayLog().clear(); }

}  // namespace layer
