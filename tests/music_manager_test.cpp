// music_manager_test.cpp -- the music manager, its segments and scripts over the layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "fresh_process.h"
#include "layer/audio.h"
#include "layer/com.h"
#include "layer/debug_output.h"
#include "layer/message_boxes.h"
#include "scoped_env.h"
#include "scratch_dir.h"
#include "sound_test_support.h"
#include "utils/dmutil.h"

namespace {

class MusicManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteLevelWave("a.wav", 1000, 200);
        // A wave whose data chunk runs past the end of the file.
        std::vector<uint8_t> image = layer::MakeWave16(std::vector<int16_t>(64, 1), 1, 44100);
        std::ofstream("broken.wav", std::ios::binary).write(reinterpret_cast<const char*>(image.data()), 60);
        layer::SetManualAudioMixing(true);
    }
    // Later tests in the same process open the dummy sound card again.
    void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
    // Set up as the sound object sets it up.
    static HRESULT Start(CMusicManager& manager) {
        return manager.Initialize(nullptr, 128, DMUS_APATH_DYNAMIC_STEREO);
    }

    ScratchDir dir;
};

// A manager started before each test.
class StartedMusicManagerTest : public MusicManagerTest {
protected:
    void SetUp() override {
        MusicManagerTest::SetUp();
        ASSERT_EQ(Start(manager), S_OK);
    }
    CMusicManager manager;
    CMusicSegment* segment = nullptr;  // what the test makes of a file
};

}  // namespace

TEST_F(MusicManagerTest, SetSearchDirectoryBeforeInitializeIsUnexpected) {
    CMusicManager manager;
    EXPECT_EQ(manager.SetSearchDirectory(""), E_UNEXPECTED);
    EXPECT_EQ(manager.GetDefaultAudioPath(), nullptr);
    EXPECT_EQ(manager.GetPerformance(), nullptr);
}

TEST_F(StartedMusicManagerTest, MissingFileIsPassedBackQuietlyAndADamagedOneIsReported) {
    EXPECT_EQ(manager.SetSearchDirectory(""), S_OK);

    CMusicSegment* sentinel = reinterpret_cast<CMusicSegment*>(&manager);
    segment = sentinel;
    EXPECT_EQ(manager.CreateSegmentFromFile(&segment, "sound\\missing.wav", TRUE, FALSE), DMUS_E_LOADER_FAILEDOPEN);
    EXPECT_EQ(segment, sentinel);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    EXPECT_EQ(layer::DebugOutput(), "");

    EXPECT_EQ(manager.CreateSegmentFromFile(&segment, "broken.wav", TRUE, FALSE), E_FAIL);
    EXPECT_EQ(segment, sentinel);
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(layer::ShownMessageBoxes()[0].caption, "Unexpected error encountered");
    EXPECT_NE(layer::ShownMessageBoxes()[0].text.find("Calling: LoadObjectFromFile"), std::string::npos);
    EXPECT_EQ(layer::DebugOutput().rfind("utils\\dmutil(", 0), 0u);

    // A name that does not fit the 260-character buffer is refused before it is converted.
    EXPECT_EQ(manager.CreateSegmentFromFile(&segment, std::string(300, 'x').c_str(), TRUE, FALSE), E_INVALIDARG);
    EXPECT_EQ(manager.CreateSegmentFromFile(&segment, std::string(259, 'x').c_str(), TRUE, FALSE),
              DMUS_E_LOADER_FAILEDOPEN);
}

TEST_F(StartedMusicManagerTest, TheDefaultAudioPathIsHandedOnWithItsReference) {
    IDirectMusicAudioPath8* path = manager.GetDefaultAudioPath();
    ASSERT_NE(path, nullptr);
    // The caller's release leaves the performance its own reference to its default path.
    EXPECT_EQ(path->Release(), 1u);
    EXPECT_EQ(manager.GetDefaultAudioPath(), path);
    path->Release();

    // And a segment played without a path of its own still sounds on it.
    ASSERT_EQ(manager.CreateSegmentFromFile(&segment, "a.wav", TRUE, FALSE), S_OK);
    EXPECT_EQ(segment->Play(0, nullptr), S_OK);
    EXPECT_EQ(MixLeft(1)[0], 1000);
    delete segment;
}

TEST_F(StartedMusicManagerTest, OnlyADownloadedSegmentPlaysAndItStopsOnRequest) {
    ASSERT_EQ(manager.CreateSegmentFromFile(&segment, "a.wav", FALSE, FALSE), S_OK);
    EXPECT_EQ(layer::WaveDownloads(), 0);
    EXPECT_EQ(segment->Play(DMUS_SEGF_SECONDARY, nullptr), E_FAIL);
    EXPECT_TRUE(layer::PlayedWaves().empty());

    ASSERT_EQ(segment->Download(nullptr), S_OK);
    EXPECT_EQ(layer::WaveDownloads(), 1);
    EXPECT_FALSE(segment->IsPlaying());
    EXPECT_EQ(segment->Play(0, nullptr), S_OK);  // on the default audio path
    EXPECT_TRUE(segment->IsPlaying());
    EXPECT_EQ(MixLeft(1)[0], 1000);
    EXPECT_EQ(segment->Stop(0), S_OK);
    EXPECT_FALSE(segment->IsPlaying());
    EXPECT_EQ(MixLeft(1)[0], 0);

    EXPECT_EQ(segment->Unload(nullptr), S_OK);
    EXPECT_EQ(layer::WaveDownloads(), 0);
    EXPECT_EQ(segment->Play(0, nullptr), E_FAIL);
    delete segment;
    EXPECT_EQ(layer::WaveDownloads(), 0);
}

TEST_F(StartedMusicManagerTest, RepeatsPlayTheWaveAgainAndThenItEnds) {
    ASSERT_EQ(manager.CreateSegmentFromFile(&segment, "a.wav", TRUE, TRUE), S_OK);  // the MIDI flag is harmless
    EXPECT_EQ(segment->SetRepeats(2), S_OK);
    ASSERT_EQ(segment->Play(DMUS_SEGF_SECONDARY, nullptr), S_OK);
    std::vector<int16_t> mixed = MixLeft(650);
    EXPECT_EQ(mixed[599], 1000);  // three times 200 frames
    EXPECT_EQ(mixed[600], 0);
    EXPECT_FALSE(segment->IsPlaying());
    delete segment;
}

TEST_F(StartedMusicManagerTest, DeletingUnloadsOnlyWhatItDownloaded) {
    // Both wrappers hold the loader's one segment of the file.
    CMusicSegment* first = nullptr;
    CMusicSegment* second = nullptr;
    ASSERT_EQ(manager.CreateSegmentFromFile(&first, "a.wav", TRUE, FALSE), S_OK);
    ASSERT_EQ(manager.CreateSegmentFromFile(&second, "a.wav", TRUE, FALSE), S_OK);
    EXPECT_EQ(layer::WaveDownloads(), 2);
    ASSERT_EQ(first->Unload(nullptr), S_OK);
    delete first;  // already unloaded: no second unload
    EXPECT_EQ(layer::WaveDownloads(), 1);
    EXPECT_EQ(second->Play(DMUS_SEGF_SECONDARY, nullptr), S_OK);
    delete second;
    EXPECT_EQ(layer::WaveDownloads(), 0);
}

TEST_F(MusicManagerTest, AWrapperWithoutASegmentRefusesEverything) {
    CMusicSegment empty(nullptr, nullptr, nullptr);
    for (HRESULT hr : {empty.Stop(0), empty.SetRepeats(1), empty.Play(0, nullptr), empty.Download(nullptr),
                       empty.Unload(nullptr)})
        EXPECT_EQ(hr, CO_E_NOTINITIALIZED);
    EXPECT_FALSE(empty.IsPlaying());
}

TEST_F(MusicManagerTest, ComIsReleasedOnlyWhenTheManagerInitialisedIt) {
    {
        CMusicManager manager;
        EXPECT_EQ(layer::ComInitCount(), 1);
    }
    EXPECT_EQ(layer::ComInitCount(), 0);

    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
        CMusicManager manager;  // its CoInitialize fails: the thread has the other model
        EXPECT_EQ(layer::ComInitCount(), 1);
        EXPECT_EQ(Start(manager), S_OK);
    }
    EXPECT_EQ(layer::ComInitCount(), 1);
    CoUninitialize();
}

TEST_F(MusicManagerTest, WithoutASoundCardOnlyTheDebuggerHearsOfIt) {
    ScopedEnv noDevice("SDL_AUDIODRIVER", "no-such-driver");
    CMusicManager manager;
    EXPECT_EQ(Start(manager), DSERR_NODRIVER);
    EXPECT_EQ(layer::DebugOutput(), "Warning: No sound card found\n");
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());
    EXPECT_NE(manager.GetPerformance(), nullptr);

    // Segments still load, silently, and playing them does nothing.
    CMusicSegment* segment = nullptr;
    ASSERT_EQ(manager.CreateSegmentFromFile(&segment, "a.wav", TRUE, FALSE), S_OK);
    EXPECT_EQ(segment->Play(DMUS_SEGF_SECONDARY, nullptr), DSERR_NODRIVER);
    EXPECT_FALSE(segment->IsPlaying());
    delete segment;
}

TEST_F(StartedMusicManagerTest, ScriptsStylesAndResourcesAreNotSupported) {
    std::ofstream("tune.spt") << "script";
    std::ofstream("band.sty") << "style";
    // The layer's note on what it cannot load comes once per process, at the first attempt.
    ExpectInFreshProcess([this] {
        CMusicScript* attempt = nullptr;
        EXPECT_EQ(manager.CreateScriptFromFile(&attempt, "tune.spt"), DMUS_E_LOADER_FORMATNOTSUPPORTED);
        EXPECT_EQ(manager.CreateScriptFromFile(&attempt, "tune.spt"), DMUS_E_LOADER_FORMATNOTSUPPORTED);
        const std::string& said = layer::DebugOutput();
        size_t first = said.find("scripts are not supported\n");
        EXPECT_NE(first, std::string::npos);
        EXPECT_EQ(said.find("scripts are not supported\n", first + 1), std::string::npos);
    });

    CMusicScript* script = nullptr;
    EXPECT_EQ(manager.CreateScriptFromFile(&script, "tune.spt"), DMUS_E_LOADER_FORMATNOTSUPPORTED);
    EXPECT_EQ(script, nullptr);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());  // reported without a box
    EXPECT_NE(layer::DebugOutput().find("LoadObjectFromFile (hr=DMUS_E_LOADER_FORMATNOTSUPPORTED"), std::string::npos);

    IDirectMusicSegment8* motif = nullptr;
    EXPECT_EQ(manager.GetMotifFromStyle(&motif, "band.sty", "intro"), DMUS_E_LOADER_FORMATNOTSUPPORTED);
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_NE(layer::ShownMessageBoxes()[0].text.find("Calling: CreateStyleFromFile"), std::string::npos);
    EXPECT_EQ(motif, nullptr);

    IDirectMusicChordMap8* chordMap = nullptr;
    EXPECT_EQ(manager.CreateChordMapFromFile(&chordMap, "band.sty"), DMUS_E_LOADER_FORMATNOTSUPPORTED);
    EXPECT_EQ(manager.CreateSegmentFromResource(&segment, "MUSIC", "WAVE", TRUE, FALSE), E_FAIL);
    EXPECT_EQ(segment, nullptr);
    EXPECT_EQ(layer::ShownMessageBoxes().size(), 1u);
}
