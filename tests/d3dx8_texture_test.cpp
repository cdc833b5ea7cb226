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
using Texels = std::vector<DWORD>;

namespace {

using Encoder = HRESULT (*)(UINT, UINT, const DWORD*, std::vector<BYTE>*);

void WriteFile(const std::string& path, const std::vector<BYTE>& bytes) {
    const std::filesystem::path dir = std::filesystem::path(path).parent_path();
    if (!dir.empty()) std::filesystem::create_directories(dir);
    ASSERT_EQ(layer::WriteBytesToFile(path.c_str(), bytes), S_OK) << path;
}

// Writes a picture of w x h pixels to `path` in the encoder's format.
void Write(const std::string& path, Encoder encode, UINT w, UINT h, const std::vector<DWORD>& pixels) {
    std::vector<BYTE> f;
    ASSERT_EQ(encode(w, h, pixels.data(), &f), S_OK) << path;
    WriteFile(path, f);
}

D3DSURFACE_DESC Desc(IDirect3DTexture8* tex, UINT level = 0) {
    D3DSURFACE_DESC desc = {};
    EXPECT_EQ(tex->GetLevelDesc(level, &desc), D3D_OK);
    return desc;
}

// The texels of one level, as 32-bit values (16-bit formats are widened, not converted).
Texels TexelsOf(IDirect3DTexture8* tex, UINT level) {
    const D3DSURFACE_DESC desc = Desc(tex, level);
    D3DLOCKED_RECT rect;
    EXPECT_EQ(tex->LockRect(level, &rect, nullptr, D3DLOCK_READONLY), D3D_OK);
    const UINT bytes = layer::TexelBytes(desc.Format);
    Texels out;
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
        return tex ? Keep(tex) : nullptr;  // released with the device
    }

    ScratchDir dir_;
};

}  // namespace

TEST_F(D3DXTextureTest, EveryFormatLoadsAtItsOwnSizeThroughWindowsPaths) {
    const auto px = Pattern(6, 5);
    const struct {
        const char* diskPath;
        const char* windowsPath;
        Encoder encode;
        D3DXIMAGE_FILEFORMAT kind;
        D3DFORMAT fileFormat;
    } cases[] = {
        {"graph/Pic.bmp", "GRAPH\\pic.BMP", layer::EncodeBmp24, D3DXIFF_BMP, D3DFMT_R8G8B8},
        {"graph/flame.tga", "graph\\flame.tga", layer::EncodeTga32, D3DXIFF_TGA, D3DFMT_A8R8G8B8},
        {"a.png", "a.png", layer::EncodePng, D3DXIFF_PNG, D3DFMT_A8R8G8B8},
        {"krev.dds", "krev.dds", layer::EncodeDdsArgb32, D3DXIFF_DDS, D3DFMT_A8R8G8B8},
    };
    for (const auto& c : cases) {
        Write(c.diskPath, c.encode, 6, 5, px);
        D3DXIMAGE_INFO info = {};
        IDirect3DTexture8* tex = Load(c.windowsPath, 0, D3DX_DEFAULT, 1, D3DFMT_A8R8G8B8, 0, &info);
        ASSERT_NE(tex, nullptr) << c.windowsPath;
        EXPECT_EQ(info.Width, 6u);
        EXPECT_EQ(info.Height, 5u);
        EXPECT_EQ(info.ImageFileFormat, c.kind);
        EXPECT_EQ(info.Format, c.fileFormat);
        EXPECT_EQ(tex->GetLevelCount(), 1u);
        // A 24-bit file is opaque.
        EXPECT_EQ(TexelsOf(tex, 0), c.kind == D3DXIFF_BMP ? image_test::Opaque(px) : px) << c.windowsPath;
    }
}

TEST_F(D3DXTextureTest, ColourKeyGivesTransparentBlackAndAlphaToTheFileFormat) {
    Write("cross.bmp", layer::EncodeBmp24, 2, 2, {0xFFFFFFFF, 0xFFFEFFFF, 0xFF102030, 0xFFFFFFFF});
    IDirect3DTexture8* tex = Load("cross.bmp", 0, 0, 1, D3DFMT_UNKNOWN, 0xFFFFFFFF);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Desc(tex).Format, D3DFMT_A8R8G8B8) << "a keyed 24-bit picture gains alpha";
    EXPECT_EQ(TexelsOf(tex, 0), (Texels{0x00000000, 0xFFFEFFFF, 0xFF102030, 0x00000000}));

    // Without a key the same file stays opaque, in a format without alpha.
    tex = Load("cross.bmp", 0, 0, 1, D3DFMT_UNKNOWN, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Desc(tex).Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(TexelsOf(tex, 0)[0] & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(D3DXTextureTest, KeyedPictureIsResampledToTheAskedSizeAndQuantisedToA4R4G4B4) {
    // 4 x 4 of 2 x 2 blocks: magenta (the key), red, green, blue. Halved with the linear
    // filter, each block becomes one texel; the keyed block becomes transparent black.
    const DWORD M = 0xFFFF00FF, R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF;
    Write("vuga1.bmp", layer::EncodeBmp24, 4, 4, {M, M, R, R, M, M, R, R, G, G, B, B, G, G, B, B});
    IDirect3DTexture8* tex = Load("vuga1.bmp", 2, 2, 1, D3DFMT_A4R4G4B4, 0xFFFF00FF);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Desc(tex).Format, D3DFMT_A4R4G4B4);
    EXPECT_EQ(Desc(tex).Width, 2u);
    EXPECT_EQ(TexelsOf(tex, 0), (Texels{0x0000, 0xFF00, 0xF0F0, 0xF00F}));

    // Enlarged 2 x 1 -> 4 x 1 with the point filter each texel repeats.
    Write("two.bmp", layer::EncodeBmp24, 2, 1, {0xFF808080, 0xFF102030});
    tex = Load("two.bmp", 4, 1, 1, D3DFMT_A4R4G4B4, 0, nullptr, D3DX_FILTER_POINT);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(TexelsOf(tex, 0), (Texels{0xF888, 0xF888, 0xF123, 0xF123}));
}

TEST_F(D3DXTextureTest, MipLevelsAreFilteredClampedAndTakenFromTheFile) {
    std::vector<DWORD> px(8 * 8);
    for (UINT i = 0; i < px.size(); ++i) px[i] = ((i % 8) + i / 8) % 2 ? 0xFF0000F0 : 0xFF000010;
    Write("plot.bmp", layer::EncodeBmp24, 8, 8, px);
    // More levels than the chain has are cut to the chain; 0 asks for the whole chain.
    IDirect3DTexture8* tex = Load("plot.bmp", 0, 0, 12, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 4u);
    for (UINT level = 1; level < 4; ++level)
        for (DWORD t : TexelsOf(tex, level)) EXPECT_EQ(t, 0xFF000080u) << "level " << level;
    tex = Load("plot.bmp", 0, 0, 0, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 4u);

    // A DDS file's own levels are used as stored, not filtered again.
    layer::ImageLevel levels[2];
    levels[0].width = levels[0].height = 2;
    levels[0].pixels.assign(4, 0xFF000000);
    levels[1].width = levels[1].height = 1;
    levels[1].pixels.assign(1, 0xFF00FF00);
    std::vector<BYTE> f;
    layer::EncodeDdsArgb32Levels(levels, 2, &f);
    WriteFile("stored.dds", f);
    tex = Load("stored.dds", 0, 0, 2, D3DFMT_UNKNOWN, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(TexelsOf(tex, 1), (Texels{0xFF00FF00}));
}

TEST_F(D3DXTextureTest, PartialMipChainDrawsItsSmallLevelsNotBlack) {
    // 64 x 64 with 6 of its 7 levels, drawn as a 2 x 2 pixel square: the smallest levels are
    // sampled and must hold the picture's colour.
    Write("clouds.tga", layer::EncodeTga32, 64, 64, std::vector<DWORD>(64 * 64, 0xFF20C040));
    IDirect3DTexture8* tex = Load("clouds.tga", 64, 64, 6, D3DFMT_UNKNOWN, 0xFF000000);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetLevelCount(), 6u);
    Clear(D3DCLEAR_TARGET);
    Plain2DStates();
    device_->SetTexture(0, tex);
    for (auto filter : {D3DTSS_MINFILTER, D3DTSS_MAGFILTER, D3DTSS_MIPFILTER})
        SetState(0, filter, D3DTEXF_LINEAR);
    device_->BeginScene();
    DrawScreenRect(9.5f, 9.5f, 11.5f, 11.5f, 0xFFFFFFFF);
    DrawScreenRect(19.5f, 9.5f, 51.5f, 41.5f, 0xFFFFFFFF);  // a larger one samples level 1
    device_->EndScene();
    device_->SetTexture(0, nullptr);
    for (auto p : {Pixel(10, 10), Pixel(11, 11), Pixel(35, 25)}) EXPECT_TRUE(NearRgb(p, 0x20C040, 2));
    EXPECT_EQ(Pixel(5, 5), 0u);
}

TEST_F(D3DXTextureTest, DefaultsTheDeviceLimitAndFailures) {
    Write("big.png", layer::EncodePng, 64, 32, Pattern(64, 32));
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(D3DXCreateTextureFromFile(device_, "big.png", &tex), D3D_OK);
    D3DSURFACE_DESC desc = Desc(tex);
    EXPECT_EQ(desc.Width, 64u);
    EXPECT_EQ(desc.Height, 32u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(tex->GetLevelCount(), 7u);
    tex->Release();

    // A picture larger than the device allows is made at the largest size it takes.
    layer::SetMaxTextureSize(16);
    tex = Load("big.png", 0, 0, 1, D3DFMT_A8R8G8B8, 0);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(Desc(tex).Width, 16u);
    EXPECT_EQ(Desc(tex).Height, 16u);
    layer::SetMaxTextureSize(0);

    // Missing and broken files, bad filters and missing pointers fail and leave the pointer alone.
    std::vector<BYTE> f;
    layer::EncodePng(64, 32, Pattern(64, 32).data(), &f);
    WriteFile("broken.bmp", std::vector<BYTE>(f.begin(), f.begin() + 40));
    IDirect3DTexture8* untouched = reinterpret_cast<IDirect3DTexture8*>(0x1);
    auto loadEx = [&](const char* file, DWORD filter) {
        return D3DXCreateTextureFromFileEx(device_, file, 0, 0, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, filter,
                                           D3DX_FILTER_LINEAR, 0, nullptr, nullptr, &untouched);
    };
    EXPECT_EQ(loadEx("graph\\missing.bmp", D3DX_FILTER_LINEAR), D3DXERR_INVALIDDATA);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "broken.bmp", &untouched), D3DXERR_INVALIDDATA);
    WriteFile("empty.png", {});
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "empty.png", &untouched), D3DXERR_INVALIDDATA);
    EXPECT_EQ(loadEx("big.png", 9), D3DERR_INVALIDCALL);
    EXPECT_EQ(untouched, reinterpret_cast<IDirect3DTexture8*>(0x1));
    EXPECT_EQ(D3DXCreateTextureFromFile(nullptr, "big.png", &tex), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "big.png", nullptr), D3DERR_INVALIDCALL);

    // A device failure to create the texture is passed on.
    layer::FailNextResourceCreation(D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(D3DXCreateTextureFromFile(device_, "big.png", &untouched), D3DERR_OUTOFVIDEOMEMORY);
}
