// directmusic_test.cpp -- the layer's COM, loader, performance, audio paths and listener.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "dmusici.h"
#include "layer/audio.h"
#include "layer/com.h"
#include "scratch_dir.h"
#include "sound_test_support.h"

using namespace layer;

namespace {

template <typename T>
HRESULT Create(REFCLSID clsid, REFIID iid, T** out, IUnknown* outer = nullptr) {
    return CoCreateInstance(clsid, outer, CLSCTX_INPROC, iid, reinterpret_cast<void**>(out));
}

HRESULT Load(IDirectMusicLoader8* loader, const char16_t* name, IDirectMusicSegment8** out) {
    return loader->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8,
                                      const_cast<WCHAR*>(name), reinterpret_cast<void**>(out));
}

HRESULT ListenerOf(IDirectMusicAudioPath8* path, DWORD stage, IDirectSound3DListener** out) {
    return path->GetObjectInPath(0, stage, 0, GUID_NULL, 0, IID_IDirectSound3DListener,
                                 reinterpret_cast<void**>(out));
}

// A fresh working directory, COM and a loader for each loader test.
class DirectMusicLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitialize(nullptr);
        ASSERT_EQ(Create(CLSID_DirectMusicLoader, IID_IDirectMusicLoader8, &loader), S_OK);
    }
    void TearDown() override {
        if (loader) loader->Release();
        CoUninitialize();
    }

    ScratchDir dir;
    IDirectMusicLoader8* loader = nullptr;
};

}  // namespace

TEST(Com, InitialisationIsCountedPerModelAndCreationNeedsIt) {
    IDirectMusicLoader8* loader = nullptr;
    EXPECT_EQ(Create(CLSID_DirectMusicLoader, IID_IDirectMusicLoader8, &loader), CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    EXPECT_EQ(ComInitCount(), 2);

    IUnknown* unknown = nullptr;
    EXPECT_EQ(Create(IID_IUnknown, IID_IUnknown, &unknown), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(Create(CLSID_DirectMusicLoader, IID_IDirectMusicLoader8, &loader, unknown), S_OK);
    EXPECT_EQ(Create(CLSID_DirectMusicLoader, IID_IDirectMusicLoader8, &unknown, loader),
              CLASS_E_NOAGGREGATION);
    IDirectMusicPerformance8* wrong = nullptr;
    EXPECT_EQ(Create(CLSID_DirectMusicLoader, IID_IDirectMusicPerformance8, &wrong), E_NOINTERFACE);
    EXPECT_EQ(wrong, nullptr);
    EXPECT_EQ(loader->Release(), 0u);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(ComInitCount(), 0);
}

TEST_F(DirectMusicLoaderTest, MissingDamagedAndUnsupportedFilesFailEachInTheirOwnWay) {
    std::filesystem::create_directory("Sound");
    WriteLevelWave("Sound/Shot.wav", 1000, 64);
    std::vector<uint8_t> image = MakeWave16(std::vector<int16_t>(128, 5), 2, 44100);
    const char* bytes = reinterpret_cast<const char*>(image.data());
    std::ofstream("cut.wav", std::ios::binary).write(bytes, image.size() - 10);
    image[22] = 0;  // no channels
    std::ofstream("odd.wav", std::ios::binary).write(bytes, image.size());
    std::ofstream("song.mid", std::ios::binary).write("MThd\0\0\0\6", 8);
    std::ofstream("tune.spt") << "script";

    IDirectMusicSegment8* segment = reinterpret_cast<IDirectMusicSegment8*>(&dir);
    EXPECT_EQ(Load(loader, u"sound\\none.wav", &segment), DMUS_E_LOADER_FAILEDOPEN);
    EXPECT_EQ(segment, nullptr);
    EXPECT_EQ(Load(loader, u"cut.wav", &segment), E_FAIL);
    EXPECT_EQ(Load(loader, u"odd.wav", &segment), E_FAIL);
    EXPECT_EQ(Load(loader, u"song.mid", &segment), DMUS_E_LOADER_FORMATNOTSUPPORTED);
    IDirectMusicScript8* script = nullptr;
    EXPECT_EQ(loader->LoadObjectFromFile(CLSID_DirectMusicScript, IID_IDirectMusicScript8,
                                         const_cast<WCHAR*>(u"tune.spt"), reinterpret_cast<void**>(&script)),
              DMUS_E_LOADER_FORMATNOTSUPPORTED);
    EXPECT_EQ(script, nullptr);

    // Backslashes and any case find the file; the loader hands out its cached object again.
    ASSERT_EQ(Load(loader, u"SOUND\\shot.WAV", &segment), S_OK);
    IDirectMusicSegment8* again = nullptr;
    ASSERT_EQ(Load(loader, u"sound\\shot.wav", &again), S_OK);
    EXPECT_EQ(again, segment);
    again->Release();
    EXPECT_EQ(loader->ReleaseObjectByUnknown(segment), S_OK);
    EXPECT_EQ(loader->ReleaseObjectByUnknown(segment), S_FALSE);
    ASSERT_EQ(Load(loader, u"sound\\shot.wav", &again), S_OK);
    EXPECT_NE(again, segment);
    again->Release();
    EXPECT_EQ(segment->Release(), 0u);
}

TEST_F(DirectMusicLoaderTest, SearchDirectoryAndMemoryDescriptors) {
    std::filesystem::create_directory("media");
    WriteLevelWave("media/a.wav", 1, 16);
    EXPECT_EQ(loader->SetSearchDirectory(GUID_DirectMusicAllTypes, const_cast<WCHAR*>(u"media"), FALSE), S_OK);
    IDirectMusicSegment8* segment = nullptr;
    ASSERT_EQ(Load(loader, u"a.wav", &segment), S_OK);
    segment->Release();

    std::vector<uint8_t> image = MakeWave16(std::vector<int16_t>(32, 9), 1, 22050);
    DMUS_OBJECTDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
    desc.guidClass = CLSID_DirectMusicSegment;
    desc.llMemLength = LONGLONG(image.size());
    desc.pbMemData = image.data();
    ASSERT_EQ(loader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segment)), S_OK);
    EXPECT_EQ(loader->ReleaseObjectByUnknown(segment), S_FALSE);  // memory objects are not cached
    segment->Release();
    desc.llMemLength = 20;  // cut inside the format chunk
    EXPECT_EQ(loader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segment)), E_FAIL);
    desc.dwSize = 100;
    EXPECT_EQ(loader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&segment)), E_INVALIDARG);
}

TEST(DirectMusicPerformance, OneDeviceOwnerPathsAndTheListenersRollOff) {
    auto init = [](IDirectMusicPerformance8* performance, DWORD path) {
        return performance->InitAudio(nullptr, nullptr, nullptr, path, 128, DMUS_AUDIOF_ALL, nullptr);
    };
    CoInitialize(nullptr);
    IDirectMusicPerformance8* first = nullptr;
    IDirectMusicPerformance8* second = nullptr;
    ASSERT_EQ(Create(CLSID_DirectMusicPerformance, IID_IDirectMusicPerformance8, &first), S_OK);
    ASSERT_EQ(Create(CLSID_DirectMusicPerformance, IID_IDirectMusicPerformance8, &second), S_OK);
    IDirectMusicAudioPath8* path = nullptr;
    EXPECT_EQ(first->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_3D, 128, TRUE, &path), DSERR_NODRIVER);
    ASSERT_EQ(init(first, DMUS_APATH_DYNAMIC_STEREO), S_OK);
    EXPECT_EQ(AudioFrequency(), 44100);
    EXPECT_EQ(init(second, 0), DSERR_ALLOCATED);

    EXPECT_EQ(first->CreateStandardAudioPath(99, 128, TRUE, &path), E_INVALIDARG);
    ASSERT_EQ(first->CreateStandardAudioPath(DMUS_APATH_DYNAMIC_3D, 128, TRUE, &path), S_OK);
    IDirectSound3DListener* listener = nullptr;
    EXPECT_EQ(ListenerOf(path, 1, &listener), E_NOINTERFACE);
    ASSERT_EQ(ListenerOf(path, DMUS_PATH_PRIMARY_BUFFER, &listener), S_OK);
    FLOAT rolloff = 0;
    EXPECT_EQ(listener->GetRolloffFactor(&rolloff), S_OK);
    EXPECT_EQ(rolloff, DS3D_DEFAULTROLLOFFFACTOR);
    // The range is 0 to 10, both ends taken.
    for (auto [factor, result] : {std::pair(0.0f, S_OK), {10.0f, S_OK}, {11.0f, DSERR_INVALIDPARAM},
                                  {-0.01f, DSERR_INVALIDPARAM}, {0.25f, S_OK}})
        EXPECT_EQ(listener->SetRolloffFactor(factor, DS3D_IMMEDIATE), result) << factor;
    listener->Release();

    // The roll-off belongs to the one primary buffer: the default path's listener sees it too.
    IDirectMusicAudioPath8* defaultPath = nullptr;
    ASSERT_EQ(first->GetDefaultAudioPath(&defaultPath), S_OK);
    ASSERT_EQ(ListenerOf(defaultPath, DMUS_PATH_PRIMARY_BUFFER, &listener), S_OK);
    EXPECT_EQ(listener->GetRolloffFactor(&rolloff), S_OK);
    EXPECT_EQ(rolloff, 0.25f);
    listener->Release();
    defaultPath->Release();

    // Closing down frees the device for the other performance; the old path outlives it safely.
    EXPECT_EQ(first->CloseDown(), S_OK);
    EXPECT_EQ(first->Release(), 0u);
    EXPECT_EQ(init(second, 0), S_OK);
    EXPECT_EQ(second->GetDefaultAudioPath(&defaultPath), E_FAIL);  // asked for none
    EXPECT_EQ(path->Release(), 0u);
    second->Release();
    EXPECT_EQ(AudioFrequency(), 0);
    CoUninitialize();
}
