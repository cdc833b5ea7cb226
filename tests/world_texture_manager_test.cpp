// world_texture_manager_test.cpp -- the 64 texture slots: taking, failing, releasing and binding.
#include <gtest/gtest.h>

#include <string>

#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "world/texture_manager.h"
#include "world_device.h"

using world_test::Device;

namespace {

IDirect3DBaseTexture8* Bound(Device& d) {
    IDirect3DBaseTexture8* texture = nullptr;
    d.device->GetTexture(0, &texture);
    if (texture) texture->Release();  // GetTexture adds a reference
    return texture;
}

}  // namespace

TEST(WorldTextureManager, AFailedLoadGivesMinusOneWhichBindsNothing) {
    ScratchDir dir;
    Device d(16, 16);
    CTextureManager manager(d.device, nullptr, d.camera(), d.timer());
    layer::ClearShownMessageBoxes();
    EXPECT_EQ(manager.LoadTexture("graph\\missing.bmp", 32, 32, 1, D3DFMT_UNKNOWN, D3DXCOLOR(0xFFFFFFFF)), -1);
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_NE(layer::ShownMessageBoxes()[0].text.find("D3DXCreateTextureFromFileEx - TextureManager : "
                                                      "graph\\missing.bmp"),
              std::string::npos);
    for (IDirect3DTexture8* t : manager.textures) EXPECT_EQ(t, nullptr);

    // -1 binds no texture, whatever was bound before, and releases nothing.
    manager.textures[0] = d.MakeTexture(4, 4, [](int, int) { return 0xFFFFFFFFu; });
    manager.SetTexture(0);
    EXPECT_EQ(Bound(d), manager.textures[0]);
    manager.SetTexture(-1);
    EXPECT_EQ(Bound(d), nullptr);
    manager.ReleaseTexture(-1);
    manager.ReleaseTexture(64);
    manager.SetTexture(64);
    EXPECT_NE(manager.textures[0], nullptr);

    // A name too long for the report is cut, not overrun.
    const std::string longName(400, 'x');
    layer::ClearShownMessageBoxes();
    EXPECT_EQ(manager.LoadTexture(longName.c_str(), 32, 32, 1, D3DFMT_UNKNOWN, D3DXCOLOR(0xFFFFFFFF)), -1);
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
}

TEST(WorldTextureManager, SlotsAreTakenLowestFirstAndAFullManagerSaysNothing) {
    ScratchDir dir;
    Device d(16, 16);
    CTextureManager manager(d.device, nullptr, d.camera(), d.timer());
    for (int k = 0; k < 64; ++k) manager.textures[k] = d.MakeTexture(2, 2, [](int, int) { return 0xFF00FF00u; });
    layer::ClearShownMessageBoxes();
    EXPECT_EQ(manager.LoadTexture("any.bmp", 32, 32, 1, D3DFMT_UNKNOWN, D3DXCOLOR(0xFFFFFFFF)), -1);
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());

    manager.ReleaseTexture(3);
    EXPECT_EQ(manager.textures[3], nullptr);
    manager.ReleaseTexture(3);  // an empty slot: nothing happens
    manager.SetTexture(3);
    EXPECT_EQ(Bound(d), nullptr);
    manager.SetTexture(4);
    EXPECT_EQ(Bound(d), manager.textures[4]);
}

TEST(WorldTextureManager, ReleasingABoundSlotLeavesTheDeviceSafe) {
    ScratchDir dir;
    Device d(16, 16);
    CTextureManager manager(d.device, nullptr, d.camera(), d.timer());
    manager.textures[7] = d.MakeTexture(2, 2, [](int, int) { return 0xFFFF0000u; });
    manager.SetTexture(7);
    manager.ReleaseTexture(7);
    d.BeginFrame(0xFF000000);
    manager.SetTexture(7);
    d.EndFrame();
    EXPECT_EQ(Bound(d), nullptr);
}
