// dmusic_objects.h -- the DirectMusic objects of the layer, as the back end's files see each other.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "audio/audio_engine.h"
#include "dmusici.h"
#include "com/ref_counted.h"

// What a performance shares with its audio paths and listeners, which may outlive it.
struct PerformanceState {
    bool audioOpen = false;
    FLOAT rolloffFactor = DS3D_DEFAULTROLLOFFFACTOR;
};
using PerformanceStateRef = std::shared_ptr<PerformanceState>;

// A segment made from a wave file. Download decodes it for the device; the voices that play it
// keep the decoded wave, so releasing a segment does not cut its sound.
class WaveSegment : public com::RefCounted<IDirectMusicSegment8> {
public:
    WaveSegment(std::vector<uint8_t> file, std::string name);
    ~WaveSegment() override;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    HRESULT SetRepeats(DWORD dwRepeats) override;
    HRESULT GetParam(REFGUID, DWORD, DWORD, MUSIC_TIME, MUSIC_TIME*, void*) override;
    HRESULT SetParam(REFGUID rguidType, DWORD, DWORD, MUSIC_TIME, void*) override;
    HRESULT GetAudioPathConfig(IUnknown** ppAudioPathConfig) override;
    HRESULT Download(IUnknown* pAudioPath) override;
    HRESULT Unload(IUnknown* pAudioPath) override;

    uint64_t Id() const { return id_; }
    DWORD Repeats() const { return repeats_; }
    const std::string& Name() const { return name_; }
    // The decoded wave while downloaded; null otherwise.
    audio::WaveRef DownloadedWave() const { return downloads_ > 0 ? wave_ : nullptr; }

private:
    std::vector<uint8_t> file_;
    std::string name_;
    uint64_t id_;
    DWORD repeats_ = 0;
    int downloads_ = 0;
    audio::WaveRef wave_;
};

class AudioPath : public com::RefCounted<IDirectMusicAudioPath> {
public:
    explicit AudioPath(PerformanceStateRef state) : state_(std::move(state)) {}
    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    HRESULT GetObjectInPath(DWORD dwPChannel, DWORD dwStage, DWORD dwBuffer, REFGUID guidObject, DWORD dwIndex,
                            REFGUID iidInterface, void** ppObject) override;
    const PerformanceStateRef& State() const { return state_; }

private:
    PerformanceStateRef state_;
};

class Performance : public com::RefCounted<IDirectMusicPerformance8> {
public:
    Performance() : state_(std::make_shared<PerformanceState>()) {}
    ~Performance() override;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    HRESULT Stop(IDirectMusicSegment* pSegment, IDirectMusicSegmentState*, MUSIC_TIME, DWORD) override;
    HRESULT IsPlaying(IDirectMusicSegment* pSegment, IDirectMusicSegmentState*) override;
    HRESULT CloseDown() override;
    HRESULT InitAudio(IDirectMusic** ppDirectMusic, IDirectSound** ppDirectSound, HWND, DWORD dwDefaultPathType,
                      DWORD dwPChannelCount, DWORD dwFlags, DMUS_AUDIOPARAMS*) override;
    HRESULT PlaySegmentEx(IUnknown* pSource, WCHAR*, IUnknown*, DWORD dwFlags, LONGLONG,
                          IDirectMusicSegmentState** ppSegmentState, IUnknown*, IUnknown* pAudioPath) override;
    HRESULT CreateAudioPath(IUnknown* pSourceConfig, BOOL, IDirectMusicAudioPath** ppNewPath) override;
    HRESULT CreateStandardAudioPath(DWORD dwType, DWORD dwPChannelCount, BOOL,
                                    IDirectMusicAudioPath** ppNewPath) override;
    HRESULT GetDefaultAudioPath(IDirectMusicAudioPath** ppAudioPath) override;

    const PerformanceStateRef& State() const { return state_; }

private:
    PerformanceStateRef state_;
    IDirectMusicAudioPath* defaultPath_ = nullptr;
};

// The performance state behind a performance or one of its audio paths; null for anything else.
PerformanceStateRef PerformanceStateOf(IUnknown* target);

IDirectMusicLoader8* NewLoader();
