// d3d8_texture_test.cpp -- textures in every stored format, mip levels, address modes, locks that
// keep what they do not write, surfaces and references.
#include "device_fixture.h"

#include <algorithm>

class TextureTest : public ProgramPathTest {
protected:
    void SetUp() override {
        ProgramPathTest::SetUp();
        SetState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        SetState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    }
    // Draws `tex` on a square at the top left: a 2x2 texture at size 20 gives one texel a 10x10 block.
    void Draw(IDirect3DTexture8* tex, float size = 20.0f, float uMax = 1.0f) {
        device_->SetTexture(0, tex);
        DrawScreenRect(-0.5f, -0.5f, size - 0.5f, size - 0.5f, 0xFFFFFFFF, 0.5f, 1, uMax);
    }
};

INSTANTIATE_ON_EACH_PROGRAM(TextureTest);

TEST_P(TextureTest, EveryStoredFormatSamplesToItsColours) {
    // 2 x 2 texels (raw values) in the order top left, top right, bottom left, bottom right; the
    // colour each shows and its alpha, drawn as grey. Four bits a channel come back as n * 17.
    const struct {
        D3DFORMAT format;
        UINT bytes;
        DWORD texels[4], colours[4];
        int alphas[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    } cases[] = {
        {D3DFMT_A8R8G8B8, 4, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF},
         {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}},
        {D3DFMT_R5G6B5, 2, {0xF800, 0x07E0, 0x001F, 0x8410}, {0xFF0000, 0x00FF00, 0x0000FF, 0x848284}},
        {D3DFMT_X1R5G5B5, 2, {0x7C00, 0x03E0, 0x001F, 0x7FFF}, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}},
        {D3DFMT_A1R5G5B5, 2, {0xFC00, 0x83E0, 0x801F, 0x7FFF}, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
         {0xFF, 0xFF, 0xFF, 0x00}},
        {D3DFMT_A4R4G4B4, 2, {0xF800, 0x80F0, 0x400F, 0x1234}, {0x880000, 0x00FF00, 0x0000FF, 0x223344},
         {0xFF, 0x88, 0x44, 0x11}},
        {D3DFMT_X8R8G8B8, 4, {0x00102030, 0x00405060, 0x00708090, 0x00A0B0C0},
         {0x102030, 0x405060, 0x708090, 0xA0B0C0}},  // no alpha: opaque
    };
    for (const auto& c : cases) {
        const std::vector<uint16_t> narrow(c.texels, c.texels + 4);
        IDirect3DTexture8* tex = Keep(c.bytes == 4 ? MakeTexture(2, 2, c.format, c.texels)
                                                   : MakeTexture(2, 2, c.format, narrow.data()));
        D3DSURFACE_DESC desc;
        ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
        EXPECT_EQ(desc.Format, c.format);
        EXPECT_EQ(desc.Size, 4 * c.bytes);
        for (DWORD arg : {(DWORD)D3DTA_TEXTURE, (DWORD)(D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE)}) {
            SetState(0, D3DTSS_COLORARG1, arg);
            Draw(tex);
            for (UINT k = 0; k < 4; ++k) {
                const uint32_t got = Pixel(5 + 10 * (k & 1), 5 + 10 * (k >> 1));
                const uint32_t want = arg == D3DTA_TEXTURE ? c.colours[k] : c.alphas[k] * 0x010101u;
                const int tolerance = c.format == D3DFMT_R5G6B5 && k == 3;  // grey: no exact 8-bit value
                EXPECT_TRUE(NearRgb(got, want, tolerance)) << c.format << "/" << k;
            }
        }
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
    Keep(tex);
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
        std::fill_n(static_cast<uint32_t*>(lr.pBits), desc.Width * desc.Height, colours[level]);
        ASSERT_EQ(tex->UnlockRect(level), D3D_OK);
    }
    SetState(0, D3DTSS_MIPFILTER, D3DTEXF_POINT);
    Draw(tex, 64.0f);  // one texel a pixel: level 0
    EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
    Draw(tex, 16.0f);  // a quarter: level 2
    EXPECT_EQ(Pixel(8, 8), 0x0000FFu);
    // A LOD bias of -2 takes the sharpest level again; the bias belongs to the stage.
    SetState(0, D3DTSS_MIPMAPLODBIAS, FloatBits(-2.0f));
    Draw(tex, 16.0f);
    EXPECT_EQ(Pixel(8, 8), 0xFF0000u);
}

TEST_P(TextureTest, AddressModesBelongToTheStage) {
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture8* tex = Keep(MakeTexture(2, 2, D3DFMT_A8R8G8B8, texels));
    // u and v from 0 to 2 over 40 pixels: wrap repeats, clamp holds the edge texels.
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0xFF0000u);
    SetState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    SetState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0x00FF00u);
    EXPECT_EQ(Pixel(35, 35), 0xFFFFFFu);
    SetState(0, D3DTSS_ADDRESSU, D3DTADDRESS_MIRROR);
    Draw(tex, 40.0f, 2.0f);
    EXPECT_EQ(Pixel(25, 5), 0x00FF00u);  // the mirrored copy starts with its right texel
    EXPECT_EQ(Pixel(35, 5), 0xFF0000u);
    EXPECT_EQ(Pixel(5, 35), 0x0000FFu);  // v still clamped
}

TEST_P(TextureTest, LocksKeepWhatTheyDoNotWriteAndRefuseASecondLock) {
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    IDirect3DTexture8* tex = Keep(MakeTexture(2, 2, D3DFMT_A8R8G8B8, texels));
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
}

TEST_P(TextureTest, SurfacesOfLevelsAndImageSurfaces) {
    const std::vector<uint16_t> black(4, 0xF000);
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A4R4G4B4, black.data());
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
    const std::vector<uint32_t> green(4, 0xFF00FF00);
    IDirect3DTexture8* tex = MakeTexture(2, 2, D3DFMT_A8R8G8B8, green.data());
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
