// d3dx8_texture_test.cpp -- textures made from picture files on a real device: texels read
// back through LockRect, Windows paths, the colour key, resampling, formats, mip levels (drawn
// and read back from the back buffer) and failures.
#include <filesystem>

#include "d3dx8.h"
#include "device_fixture.h"
#include "image_test_files.h"
#include "layer/image_encode.h"
#include "layer/image_transform.h"
#include "scratch_dir.h"

using image_test::Pattern;

namespace {

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path().empty()
                                            ? std::filesystem::path(".")
                                            : std::filesystem::path(path).parent_path());
    ASSERT_EQ(layer::WriteBytesToFile(path.c_str(), bytes), S_OK) << path;
}

// The texels of one level, as 32-bit values (16-bit formats are widened, not converted).
std::vector<DWORD> Texels(IDirect3DTexture8* tex, UINT level) {
    D3DSURFACE_DESC desc;
    EXPECT_EQ(tex->GetLevelDesc(level, &desc), D3D_OK);
    D3DLOCKED_RECT rect;
    EXPECT_EQ(tex->LockRect(level, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
    const UINT bytes = layer::TexelBytes(desc.Format);
    std::vector<DWORD> out;
    for (UINT y = 0; y < desc.Height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(rect.pBits) + (ptrdiff_t)y * rect.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
            DWORD v = 0;
            for (UINT k = 0; k < bytes; ++k) v |= (DWORD)row[x * bytes + k] << (8 * k);
            out.push_back(v);
        }
    }
    tex->UnlockRect(level);
    return out;
}

class D3DXTextureTest : public DeviceTest {
protected:
    IDirect3DTexture8* Load(const char* file, UINT w, UINT h, UINT levels, D3DFORMAT format, D3DCOLOR key,
                            D3DXIMAGE_INFO* info = nullptr, DWORD filter = D3DX_FILTER_LINEAR) {
        IDirect3DTexture8* tex = nullptr;
        HRESULT hr = D3DXCreateTextureFromFileEx(device_, file, w, h, levels, D3DUSAGE_RENDERTARGET, format,
                                                 D3DPOOL_DEFAULT, filter, D3DX_FILTER_LINEAR, key, info, nullptr, &tex);
        EXPECT_EQ(hr, D3D_OK) << file;
        return tex;
    }

    ScratchDir dir_;
};

}  // namespace

TEST_F(D3DXTextureTest, EveryFormatLoadsAtItsOwnSizeThroughWindowsPaths) {
    auto px = Pattern(6, 5);
    auto opaque = image_test::Opaque(px);
    std::vector<BYTE> f;
    struct Case {
        const char* diskPath;
        const char* windowsPath;
        std::vector<DWORD> expect;
        D3DXIMAGE_FILEFORMAT kind;
        D3DFORMAT fileFormat;
    };
    std::vector<Case> cases;
    layer::EncodeBmp24(6, 5, px.data(), &f);
    WriteFile("graph/Pic.bmp", f);
    cases.push_back({"graph/Pic.bmp", "GRAPH\\pic.BMP", opaque, D3DXIFF_BMP, D3DFMT_R8G8B8});
    layer::EncodeTga32(6, 5, px.data(), &f);
    WriteFile("graph/flame.tga", f);
    cases.push_back({"", "graph\\flame.tga", px, D3DXIFF_TGA, D3DFMT_A8R8G8B8});
    layer::EncodePng(6, 5, px.data(), &f);
    WriteFile("a.png", f);
    cases.push_back({"", "a.png", px, D3DXIFF_PNG, D3DFMT_A8R8G8B8});
    layer::EncodeDdsArgb32(6, 5, px.data(), &f);
    WriteFile("krev.dds", f);
    cases.push_back({"", "krev.dds", px, D3DXIFF_DDS, D3DFMT_A8R8G8B8});
    for (const Case& c : cases) {
        D3DXIMAGE_INFO info = {};
        IDirect3DTexture8* tex = Load(c.windowsPath, 0, D3DX_DEFAULT, 1, D3DFMT_A8R8G8B8, 0, &info);
        ASSERT_NE(tex, nullptr) << c.windowsPath;
        EXPECT_EQ(info.Width, 6u);
        EXPECT_EQ(info.Height, 5u);
        EXPECT_EQ(info.ImageFileFormat, c.kind);
        EXPECT_EQ(info.Format, c.fileFormat);
        EXPECT_EQ(tex->GetLevelCount(), 1u);
        EXPECT_EQ(Texels(tex, 0), c.expect) << c.windowsPath;
        tex->Release();
    }
}

TEST_F(D3DXTextureTest, ColourKeyGivesTransparentBlackAndAlphaToTheFileFormat) {
    std::vector<DWORD> px = {0xFFFFFFFF, 0xFFFEFFFF, 0xFF102030, 0xFFFFFFFF};
    std::vector<BYTE> f;
    layer::EncodeBmp24(2, 2, px.data(), &f);
    WriteFile("cross.bmp", f);
    IDirect3DTexture8* tex = Load("cross.bmp", 0, 0, 1, D3DFMT_UNKNOWN, 0xFFFFFFFF);
    ASSERT_NE(tex, nullptr);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8) << "a keyed 24-bit picture gains alpha";
    EXPECT_EQ(Texels(tex, 0), (std::vector<DWORD>{0x00000000, 0xFFFEFFFF, 0xFF102030, 0x00000000}));
    tex->Release();

    // Without a key the same file stays opaque, in a format without alpha.
    tex = Load("cross.bmp", 0, 0, 1, D3DFMT_UNKNOWN, 0);
    ASSERT_NE(tex, nullptr);
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(Texels(tex, 0)[0] & 0xFFFFFF, 0xFFFFFFu);
    tex->Release();
}

TEST_F(D3DXTextureTest, KeyedPictureIsResampledToTheAskedSizeAndQuantisedToA4R4G4B4) {
    // 4 x 4 of 2 x 2 blocks: magenta (the key), red, green, blue. Halved with the linear
    // filter, each block becomes one texel; the keyed block becomes transparent black.
    const DWORD M = 0xFFFF00FF, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;
    std::vector<DWORD> px = {M, M, R, R, M, M, R, R, G, G, B, B, G, G, B, B};
    std::vector<BYTE> f;
    layer::EncodeBmp24(4, 4, px.data(), &f);
    WriteFile("vuga1.bmp", f);
    IDirect3DTexture8* tex = Load("vuga1.bmp", 2, 2, 1, D3DFMT_A4R4G4B4, 0xFFFF00FF);
    ASSERT_NE(tex, nullptr);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_A4R4G4B4);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(Texels(tex, 0), (std::vector<DWORD>{0x0000, 0xFF00, 0xF0F0, 0xF00F}));
    tex->Release();

    // Enlarged 2 x 1 -> 4 x 1 with the point filter each texel repeats.
    std::vector<DWORD> two = {0xFF808080, 0xFF102030};
    layer::EncodeBmp24(2, 1, two.data(), &f);
    WriteFile("two.bmp", f);
    tex = Load("two.bmp", 4, 1, 1, D3DFMT_A4R4G4B4, 0, nullptr, D3DX_FILTER_POINT);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Texels(tex, 0), (std::vector<DWORD>{0xF888, 0xF888, 0xF123, 0xF123}));
    tex->Release();
}

TEST_F(D3DXTextureTest, MipLevelsAreFilteredClampedAndTakenFromTheFile) {
    std::vector<DWORD> px(8 * 8);
    for (UINT i = 0; i < px.size(); ++i) px[i] = ((i % 8) + i / 8) % 2 ? 0xFF0000F0 : 0xFF000010;
    std::vector<BYTE> f;
    layer::EncodeBmp24(8, 8, px.data(), &f);
    WriteFile("plot.bmp", f);
    // More levels than the chain has are cut to the chain; 0 asks for the whole chain.
    IDirect3DTexture8* tex = Load("plot.bmp", 0, 0, 12, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 4u);
    for (UINT level = 1; level < 4; ++level)
        for (DWORD t : Texels(tex, level)) EXPECT_EQ(t, 0xFF000080u) << "level " << level;
    tex->Release();
    tex = Load("plot.bmp", 0, 0, 0, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 4u);
    tex->Release();

    // A DDS file's own levels are used as stored, not filtered again.
    layer::ImageLevel levels[2];
    levels[0].width = levels[0].height = 2;
    levels[0].pixels.assign(4, 0xFF000000);
    levels[1].width = levels[1].height = 1;
    levels[1].pixels.assign(1, 0xFF00FF00);
    layer::EncodeDdsArgb32Levels(levels, 2, &f);
    WriteFile("stored.dds", f);
    tex = Load("stored.dds", 0, 0, 2, D3DFMT_UNKNOWN, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Texels(tex, 1), (std::vector<DWORD>{0xFF00FF00}));
    tex->Release();
}

TEST_F(D3DXTextureTest, PartialMipChainDrawsItsSmallLevelsNotBlack) {
    // 64 x 64 with 6 of its 7 levels, drawn as a 2 x 2 pixel square: the smallest levels are
    // sampled and must hold the picture's colour.
    std::vector<DWORD> px(64 * 64, 0xFF20C040);
    std::vector<BYTE> f;
    layer::EncodeTga32(64, 64, px.data(), &f);
    WriteFile("clouds.tga", f);
    IDirect3DTexture8* tex = Load("clouds.tga", 64, 64, 6, D3DFMT_UNKNOWN, 0xFF000000);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 6u);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    Plain2DStates();
    device_->SetTexture(0, tex);
    SetState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    SetState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    SetState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    device_->BeginScene();
    DrawScreenRect(9.5f, 9.5f, 11.5f, 11.5f, 0xFFFFFFFF);
    DrawScreenRect(19.5f, 9.5f, 51.5f, 41.5f, 0xFFFFFFFF);  // a larger one samples level 1
    device_->EndScene();
    device_->SetTexture(0, nullptr);
    for (auto p : {Pixel(10, 10), Pixel(11, 11), Pixel(35, 25)}) {
        EXPECT_NEAR(RedOf(p), 0x20, 2);
        EXPECT_NEAR(GreenOf(p), 0xC0, 2);
        EXPECT_NEAR(BlueOf(p), 0x40, 2);
    }
    EXPECT_EQ(Pixel(5, 5), 0u);
    tex->Release();
}

TEST_F(D3DXTextureTest, DefaultsTheDeviceLimitAndFailures) {
    auto px = Pattern(64, 32);
    std::vector<BYTE> f;
    layer::EncodePng(64, 32, px.data(), &f);
    WriteFile("big.png", f);
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFile(device_, "big.png", &tex), D3D_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 32u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(tex->GetLevelCount(), 7u);
    tex->Release();

    // A picture larger than the device allows is made at the largest size it takes.
    layer::SetMaxTextureSize(16);
    tex = Load("big.png", 0, 0, 1, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 16u);
    EXPECT_EQ(desc.Height, 16u);
    tex->Release();
    layer::SetMaxTextureSize(0);

    // Missing and broken files, bad filters and missing pointers fail and leave the pointer alone.
    WriteFile("broken.bmp", std::vector<BYTE>(f.begin(), f.begin() + 40));
    IDirect3DTexture8* untouched = reinterpret_cast<IDirect3DTexture8*>(0x1);
    EXPECT_EQ(D3DXCreateTextureFromFileEx(device_, "graph\\missing.bmp", 0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                          D3DX_FILTER_LINEAR, D3DX_FILTER_LINEAR, 0, nullptr, nullptr, &untouched),
              D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "broken.bmp", &untouched), D3DXERR_INVALIDDATA);
    WriteFile("empty.png", {});
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "empty.png", &untouched), D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFileEx(device_, "big.png", 0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, 9,
                                          D3DX_FILTER_LINEAR, 0, nullptr, nullptr, &untouched),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(untouched, reinterpret_cast<IDirect3DTexture8*>(0x1));
    EXPECT_EQ(D3DXCreateTextureFromFile(nullptr, "big.png", &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "big.png", nullptr), D3DERR_INVALIDCALL);

    // A device failure to create the texture is passed on.
    layer::FailNextResourceCreation(D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "big.png", &untouched), D3DERR_OUTOFVIDEOMEMORY);
}
