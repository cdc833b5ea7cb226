// d3d8_texture_test.cpp -- textures in every stored format, mip levels, address modes, locks that
// keep what they do not write, surfaces and references.
#include "device_fixture.h"

class TextureTest : public ProgramPathTest {
protected:
    void SetUp() override {
        ProgramPathTest::SetUp();
        Plain2DStates();
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    }
    // Draws `tex` on a square at the top left: a 2x2 texture at size 20 gives one texel a 10x10 block.
    void Draw(IDirect3DTexture8* tex, float size = 20.0f, float uMax = 1.0f) {
        device_->SetTexture(0, tex);
        const ScreenVertex v[4] = {{-0.5f, size - 0.5f, 0.5f, 1, 0xFFFFFFFF, 0, uMax},
                                   {-0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                                   {size - 0.5f, size - 0.5f, 0.5f, 1, 0xFFFFFFFF, uMax, uMax},
                                   {size - 0.5f, -0.5f, 0.5f, 1, 0xFFFFFFFF, uMax, 0}};
        Upload(v, 4, kScreenFvf);
        EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    }
    // The texture's alpha where it lands at (x, y), drawn as grey.
    int AlphaAt(IDirect3DTexture8* tex, UINT x, UINT y) {
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE);
        Draw(tex);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        return RedOf(Pixel(x, y));
    }
};

INSTANTIATE_ON_EACH_PROGRAM(TextureTest);

TEST_P(TextureTest, EveryStoredFormatSamplesToItsColours) {
    const uint32_t argb[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture8* t32 = MakeTexture(2, 2, D3DFMT_A8R8G8B8, argb);
    Draw(t32);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(5, 15), 0x0000FFu);
    EXPECT_EQ(Pixel(15, 15), 0xFFFFFFu);

    const uint16_t r5g6b5[4] = {0xF800, 0x07E0, 0x001F, 0x8410};
    IDirect3DTexture8* t565 = MakeTexture(2, 2, D3DFMT_R5G6B5, r5g6b5);
    Draw(t565);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(5, 15), 0x0000FFu);
    EXPECT_NEAR(RedOf(Pixel(15, 15)), 0x84, 1);
    EXPECT_NEAR(GreenOf(Pixel(15, 15)), 0x82, 1);

    const uint16_t a1[4] = {0xFC00, 0x83E0, 0x801F, 0x7FFF};  // the last texel fully transparent
    IDirect3DTexture8* t1555 = MakeTexture(2, 2, D3DFMT_A1R5G5B5, a1);
    Draw(t1555);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(5, 15), 0x0000FFu);
    EXPECT_EQ(AlphaAt(t1555, 15, 15), 0x00);
    EXPECT_EQ(AlphaAt(t1555, 5, 5), 0xFF);

    // Four bits a channel: each value n comes back as n * 17.
    const uint16_t a4[4] = {0xF800, 0x80F0, 0x400F, 0x1234};
    IDirect3DTexture8* t4444 = MakeTexture(2, 2, D3DFMT_A4R4G4B4, a4);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(t4444->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
    EXPECT_EQ(desc.Size, 8u);
    Draw(t4444);
    EXPECT_EQ(Pixel(5, 5), 0x880000u);
    EXPECT_EQ(Pixel(15, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(5, 15), 0x0000FFu);
    EXPECT_EQ(Pixel(15, 15), 0x223344u);
    EXPECT_EQ(AlphaAt(t4444, 5, 5), 0xFF);
    EXPECT_EQ(AlphaAt(t4444, 15, 5), 0x88);
    EXPECT_EQ(AlphaAt(t4444, 5, 15), 0x44);
    EXPECT_EQ(AlphaAt(t4444, 15, 15), 0x11);

    const uint32_t xrgb[4] = {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0};
    IDirect3DTexture8* tx = MakeTexture(2, 2, D3DFMT_X8R8G8B8, xrgb);
    Draw(tx);
    EXPECT_EQ(Pixel(5, 5), 0x102030u);
    EXPECT_EQ(Pixel(15, 15), 0xA0B0C0u);
    EXPECT_EQ(AlphaAt(tx, 5, 5), 0xFF);  // no alpha in the format: opaque

    for (IDirect3DTexture8* t : {t32, t565, t1555, t4444, tx}) {
        device_->SetTexture(0, nullptr);
        EXPECT_EQ(t->Release(), 0u);
    }
}

TEST_F(DeviceTest, UnsupportedTextureFormatsAndSizesAreRefused) {
    IDirect3DTexture8* tex = reinterpret_cast<IDirect3DTexture8*>(1);
    EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_DXT1, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex, nullptr);
    EXPECT_EQ(device_->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, &tex), D3DERR_INVALIDCALL);
    layer::FailNextResourceCreation(E_OUTOFMEMORY);
    EXPECT_EQ(device_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), E_OUTOFMEMORY);
    EXPECT_EQ(tex, nullptr);
}

TEST_P(TextureTest, LevelsHaveHalvingSizesAndAPartialChainIsComplete) {
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(device_->CreateTexture(64, 16, 3, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    EXPECT_EQ(tex->GetLevelCount(), 3u);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(2, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(desc.Height, 4u);
    EXPECT_EQ(tex->GetLevelDesc(3, &desc), D3DERR_INVALIDCALL);
    IDirect3DTexture8* full = nullptr;
    ASSERT_EQ(device_->CreateTexture(64, 16, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &full), D3D_OK);
    EXPECT_EQ(full->GetLevelCount(), 7u);  // 64x16 down to 1x1
    full->Release();
    // Each level its own colour; drawn small with a mip filter the partial chain still samples.
    const uint32_t colours[3] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF};
    for (UINT level = 0; level < 3; ++level) {
        D3DLOCKED_RECT lr;
        ASSERT_EQ(tex->LockRect(level, &lr, nullptr, 0), D3D_OK);
        tex->GetLevelDesc(level, &desc);
        EXPECT_EQ((UINT)lr.Pitch, desc.Width * 4);
        for (UINT y = 0; y < desc.Height; ++y)
            for (UINT x = 0; x < desc.Width; ++x) static_cast<uint32_t*>(lr.pBits)[y * desc.Width + x] = colours[level];
        ASSERT_EQ(tex->UnlockRect(level), D3D_OK);
    }
    device_->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_POINT);
    Draw(tex, 64.0f);  // one texel a pixel: level 0
    EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
    Draw(tex, 16.0f);  // a quarter: level 2
    EXPECT_EQ(Pixel(8, 8), 0x0000FFu);
    // A LOD bias of -2 takes the sharpest level again; the bias belongs to the stage.
    const float bias = -2.0f;
    DWORD bits;
    std::memcpy(&bits, &bias, 4);
    device_->SetTextureStageState(0, D3DTSS_MIPMAPLODBIAS, bits);
    Draw(tex, 16.0f);
    EXPECT_EQ(Pixel(8, 8), 0xFF0000u);
    device_->SetTexture(0, nullptr);
    EXPECT_EQ(tex->Release(), 0u);
}

TEST_P(TextureTest, AddressModesBelongToTheStage) {
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A8R8G8B8, texels);
    // u and v from 0 to 2 over 40 pixels: wrap repeats, clamp holds the edge texels.
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0xFF0000u);
    device_->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device_->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(35, 35), 0xFFFFFFu);
    device_->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0x00FF00u);  // the mirrored copy starts with its right texel
    EXPECT_EQ(Pixel(35, 5), 0xFF0000u);
    device_->SetTexture(0, nullptr);
    tex->Release();
}

TEST_P(TextureTest, LocksKeepWhatTheyDoNotWriteAndRefuseASecondLock) {
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A8R8G8B8, texels);
    RECT one = {1, 1, 2, 2};
    D3DLOCKED_RECT lr;
    ASSERT_EQ(tex->LockRect(0, &lr, &one, 0), D3D_OK);
    EXPECT_EQ(tex->LockRect(0, &lr, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(lr.pBits, nullptr);
    ASSERT_EQ(tex->UnlockRect(0), D3D_OK);
    ASSERT_EQ(tex->LockRect(0, &lr, &one, 0), D3D_OK);
    *static_cast<uint32_t*>(lr.pBits) = 0xFF808080;
    ASSERT_EQ(tex->UnlockRect(0), D3D_OK);
    EXPECT_EQ(tex->UnlockRect(0), D3DERR_INVALIDCALL);
    Draw(tex);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(15, 15), 0x808080u);
    RECT outside = {1, 1, 3, 2};
    EXPECT_EQ(tex->LockRect(0, &lr, &outside, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(tex->LockRect(1, &lr, nullptr, 0), D3DERR_INVALIDCALL);

    // A vertex buffer lock of a part leaves the rest as it was, D3DLOCK_DISCARD included.
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(64, D3DUSAGE_WRITEONLY, 0, D3DPOOL_DEFAULT, &vb), D3D_OK);
    BYTE* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), D3D_OK);
    for (int i = 0; i < 64; ++i) p[i] = (BYTE)i;
    BYTE* again = reinterpret_cast<BYTE*>(1);
    EXPECT_EQ(vb->Lock(0, 0, &again, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(again, nullptr);
    ASSERT_EQ(vb->Unlock(), D3D_OK);
    ASSERT_EQ(vb->Lock(16, 8, &p, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(p[0], 16);
    p[0] = 200;
    vb->Unlock();
    ASSERT_EQ(vb->Lock(0, 0, &p, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(p[15], 15);
    EXPECT_EQ(p[16], 200);
    EXPECT_EQ(p[17], 17);
    vb->Unlock();
    EXPECT_EQ(vb->Lock(60, 8, &p, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(vb->Unlock(), D3DERR_INVALIDCALL);
    D3DVERTEXBUFFER_DESC vd;
    ASSERT_EQ(vb->GetDesc(&vd), D3D_OK);
    EXPECT_EQ(vd.Size, 64u);
    EXPECT_EQ(vd.Usage, (DWORD)D3DUSAGE_WRITEONLY);
    vb->Release();
    device_->SetTexture(0, nullptr);
    tex->Release();
}

TEST_P(TextureTest, SurfacesOfLevelsAndImageSurfaces) {
    const uint16_t texels[4] = {0xF000, 0xF000, 0xF000, 0xF000};
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A4R4G4B4, texels);
    IDirect3DSurface8* level = nullptr;
    ASSERT_EQ(tex->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(tex->Release(), 1u);  // the surface holds the texture
    D3DSURFACE_DESC desc;
    ASSERT_EQ(level->GetDesc(&desc), D3D_OK);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(level->LockRect(&lr, nullptr, 0), D3D_OK);
    static_cast<uint16_t*>(lr.pBits)[0] = 0xFF00;
    ASSERT_EQ(level->UnlockRect(), D3D_OK);
    IDirect3DTexture8* container = nullptr;
    ASSERT_EQ(level->GetContainer(IID_IDirect3DTexture8, reinterpret_cast<void**>(&container)), D3D_OK);
    Draw(container);
    EXPECT_EQ(Pixel(5, 5), 0xFF0000u);
    device_->SetTexture(0, nullptr);
    container->Release();
    EXPECT_EQ(level->Release(), 0u);

    IDirect3DSurface8* image = nullptr;
    ASSERT_EQ(device_->CreateImageSurface(32, 32, D3DFMT_A8R8G8B8, &image), D3D_OK);
    ASSERT_EQ(image->LockRect(&lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(lr.Pitch, 128);
    std::memset(lr.pBits, 0xFF, 128 * 32);
    ASSERT_EQ(image->UnlockRect(), D3D_OK);
    EXPECT_EQ(device_->SetCursorProperties(3, 4, image), D3D_OK);
    EXPECT_EQ(device_->SetCursorProperties(40, 4, image), D3DERR_INVALIDCALL);
    IDirect3DDevice8* owner = nullptr;
    ASSERT_EQ(image->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device_);
    owner->Release();
    EXPECT_EQ(image->Release(), 0u);
}

TEST_P(TextureTest, TheDeviceHoldsWhatIsBound) {
    const uint32_t texels[4] = {0xFF00FF00, 0xFF00FF00, 0xFF00FF00, 0xFF00FF00};
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A8R8G8B8, texels);
    device_->SetTexture(0, tex);
    EXPECT_EQ(tex->Release(), 1u);  // released by its maker while bound: the device keeps it
    Draw(tex);                      // binds it again, still alive
    EXPECT_EQ(Pixel(5, 5), 0x00FF00u);
    IDirect3DBaseTexture8* bound = nullptr;
    ASSERT_EQ(device_->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, tex);
    EXPECT_EQ(bound->Release(), 1u);
    device_->SetTexture(0, nullptr);  // the last reference goes here
    // Drawing with nothing bound at all is refused, not a crash.
    device_->SetStreamSource(0, nullptr, 0);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 3, 0, 1), D3DERR_INVALIDCALL);
}
