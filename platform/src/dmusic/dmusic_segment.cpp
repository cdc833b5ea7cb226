// dmusic_segment.cpp -- wave segments: repeats, download for the device, and the parameters a
// wave has none of.
#include "dmusic/dmusic_objects.h"
#include "layer/audio.h"

namespace {

uint64_t g_nextSegmentId = 1;
int g_downloads = 0;

}  // namespace

PerformanceStateRef PerformanceStateOf(IUnknown* target) {
    if (auto* performance = dynamic_cast<Performance*>(target)) return performance->State();
    if (auto* path = dynamic_cast<AudioPath*>(target)) return path->State();
    return nullptr;
}

WaveSegment::WaveSegment(std::vector<uint8_t> file, std::string name)
    : file_(std::move(file)), name_(std::move(name)), id_(g_nextSegmentId++) {}

WaveSegment::~WaveSegment() { g_downloads -= downloads_; }

HRESULT WaveSegment::QueryInterface(REFIID riid, void** ppv) {
    return com::QueryFor(this, riid, ppv, {&IID_IDirectMusicSegment, &IID_IDirectMusicSegment8});
}

HRESULT WaveSegment::SetRepeats(DWORD dwRepeats) {
    repeats_ = dwRepeats;
    return S_OK;
}

// A wave has no tracks, so there is no parameter to read.
HRESULT WaveSegment::GetParam(REFGUID, DWORD, DWORD, MUSIC_TIME, MUSIC_TIME*, void*) { return E_NOTIMPL; }

// The standard-MIDI-file flag says how to read MIDI data; a wave has none, so it is accepted
// and changes nothing. No other parameter is supported.
HRESULT WaveSegment::SetParam(REFGUID rguidType, DWORD, DWORD, MUSIC_TIME, void*) {
    return rguidType == GUID_StandardMIDIFile ? S_OK : E_NOTIMPL;
}

HRESULT WaveSegment::GetAudioPathConfig(IUnknown** ppAudioPathConfig) {
    if (ppAudioPathConfig) *ppAudioPathConfig = nullptr;
    return E_NOTIMPL;
}

// Without a sound device the download succeeds with nothing decoded: the segment stays silent.
HRESULT WaveSegment::Download(IUnknown* pAudioPath) {
    if (!pAudioPath) return E_POINTER;
    PerformanceStateRef state = PerformanceStateOf(pAudioPath);
    if (!state) return E_INVALIDARG;
    if (state->audioOpen && !wave_) {
        wave_ = audio::ConvertWave(file_, name_);
        if (!wave_) return E_FAIL;
    }
    ++downloads_;
    ++g_downloads;
    return S_OK;
}

HRESULT WaveSegment::Unload(IUnknown* pAudioPath) {
    if (!pAudioPath) return E_POINTER;
    if (!PerformanceStateOf(pAudioPath)) return E_INVALIDARG;
    if (downloads_ == 0) return S_FALSE;
    --downloads_;
    --g_downloads;
    if (downloads_ == 0) wave_ = nullptr;
    return S_OK;
}

namespace layer {

int WaveDownloads() { return g_downloads; }

}  // namespace layer
