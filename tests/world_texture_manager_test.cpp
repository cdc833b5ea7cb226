// world_texture_manager_test.cpp -- the 64 texture slots: taking, failing, releasing and binding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/texture_manager.h"
#include "world_device.h"

using namespace layer;
using namespace world_test;

namespace {

IDirect3DBaseTexture8* Bound(Device& d) {
    IDirect3DBaseTexture8* texture = nullptr;
    d.device->GetTexture(0, &texture);
    if (texture) texture->Release();  // GetTexture adds a reference
    return texture;
}

DWORD Texel(IDirect3DTexture8* texture, int x, int y) {
    D3DLOCKED_RECT locked;
    if (!texture || FAILED(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) return 0xDEADBEEF;
    const DWORD texel = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
    texture->UnlockRect(0);
    return texel;
}

// A texture manager on a small device, in a directory of its own.
struct Slots {
    // A square picture in its own format, keyed with opaque white.
    int Load(const char* name, UINT size = 8) {
        return manager.LoadTexture(name, size, size, 1, D3DFMT_UNKNOWN, D3DXCOLOR(0xFFFFFFFF));
    }
    ScratchDir dir;
    Device d{16, 16};
    CTextureManager manager{d.device, nullptr, d.camera(), d.timer()};
};

}  // namespace

TEST(WorldTextureManager, AFailedLoadGivesMinusOneWhichBindsNothingAndLoadsFillTheSlotsInOrder) {
    Slots slots;
    Device& d = slots.d;
    CTextureManager& manager = slots.manager;
    ClearShownMessageBoxes();
    EXPECT_EQ(slots.Load("graph\\missing.bmp", 32), -1);
    ASSERT_EQ(ShownMessageBoxes().size(), 1u);
    EXPECT_TRUE(BoxShown("D3DXCreateTextureFromFileEx - TextureManager : graph\\missing.bmp"));
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
    ClearShownMessageBoxes();
    EXPECT_EQ(slots.Load(longName.c_str(), 32), -1);
    ASSERT_EQ(ShownMessageBoxes().size(), 1u);

    // Loads fill the slots in order with the key applied, and a freed slot comes back.
    manager.ReleaseTexture(0);
    WritePicture("graph_a.bmp", 8, 8, false, [](int x, int) { return x ? 0xFF20A040u : 0xFFFF00FFu; });
    ClearShownMessageBoxes();
    // The left column magenta, keyed with a colour of floats.
    ASSERT_EQ(manager.LoadTexture("graph_a.bmp", 8, 8, 1, D3DFMT_A8R8G8B8, D3DXCOLOR(1.0f, 0.0f, 1.0f, 1.0f)), 0);
    EXPECT_EQ(Texel(manager.textures[0], 0, 3), 0x00000000u);
    EXPECT_EQ(Texel(manager.textures[0], 5, 3), 0xFF20A040u);
    for (int k = 1; k < 64; ++k) ASSERT_EQ(slots.Load("graph_a.bmp"), k);
    EXPECT_EQ(slots.Load("graph_a.bmp"), -1);
    EXPECT_TRUE(ShownMessageBoxes().empty());

    manager.ReleaseTexture(3);
    manager.ReleaseTexture(40);
    // A failed load takes no slot: the next good one gets the lowest free slot, and -1 stays apart.
    EXPECT_EQ(slots.Load("graph_missing.bmp"), -1);
    EXPECT_EQ(manager.textures[3], nullptr);
    EXPECT_EQ(slots.Load("graph_a.bmp"), 3);
    EXPECT_EQ(slots.Load("graph_a.bmp"), 40);
}
