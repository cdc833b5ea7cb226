// fuzz_wave_file.cpp -- libFuzzer entry for wave files, made into segments by the loader and
// played through SDL2_mixer on its dummy driver: a wave the loader accepts must be one the
// mixer can convert, and playing it mixes safely.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "dmusici.h"
#include "fuzz_support.h"
#include "layer/audio.h"

namespace {

IDirectMusicLoader8* g_loader = nullptr;
IDirectMusicPerformance8* g_performance = nullptr;

template <typename T>
void Create(REFCLSID clsid, REFIID iid, T** out) {
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC, iid, reinterpret_cast<void**>(out)))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::RunHeadless();
    CoInitialize(nullptr);
    Create(CLSID_DirectMusicLoader, IID_IDirectMusicLoader8, &g_loader);
    Create(CLSID_DirectMusicPerformance, IID_IDirectMusicPerformance8, &g_performance);
    if (FAILED(g_performance->InitAudio(nullptr, nullptr, nullptr, DMUS_APATH_DYNAMIC_STEREO, 128, DMUS_AUDIOF_ALL,
                                        nullptr)))
        std::abort();
    layer::SetManualAudioMixing(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<uint8_t> copy(data, data + size);
    DMUS_OBJECTDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
    desc.guidClass = CLSID_DirectMusicSegment;
    desc.llMemLength = static_cast<LONGLONG>(copy.size());
    desc.pbMemData = copy.data();
    IDirectMusicSegment8* segment = nullptr;
    if (FAILED(g_loader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segment)))) return 0;
    if (FAILED(segment->Download(g_performance))) std::abort();  // accepted, yet the mixer cannot take it
    g_performance->PlaySegmentEx(segment, nullptr, nullptr, DMUS_SEGF_SECONDARY, 0, nullptr, nullptr, nullptr);
    int16_t mixed[2 * 256];
    layer::MixAudio(mixed, 256);
    g_performance->Stop(nullptr, nullptr, 0, 0);
    segment->Unload(g_performance);
    segment->Release();
    return 0;
}
