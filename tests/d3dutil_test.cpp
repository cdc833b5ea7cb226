// d3dutil_test.cpp -- the Direct3D utility functions: records, colour keys, cube-map views, the
// trackball, quaternions between directions, media paths and device cursors from Windows cursors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "device_fixture.h"
#include "layer/image_encode.h"
#include "layer/input.h"
#include "scratch_dir.h"
#include "utils/d3dutil.h"
#include "wingdi.h"

namespace {

void ExpectQuaternion(const D3DXQUATERNION& q, const D3DXQUATERNION& e) {
    for (int k = 0; k < 4; ++k) EXPECT_NEAR((&q.x)[k], (&e.x)[k], 1e-4f) << k;
}

}  // namespace

TEST(D3DUtil, CubeFaceViewsLookAlongTheirAxisWithUpAboveAndOthersAreTheIdentity) {
    const D3DXVECTOR3 kLook[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const D3DXVECTOR3 kUp[6] = {{0, 1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}};
    for (DWORD face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        const D3DXMATRIX view = CubeFaceViewMatrix(face);
        D3DXVECTOR3 look, up;
        D3DXVec3TransformNormal(&look, &kLook[face], &view);
        D3DXVec3TransformNormal(&up, &kUp[face], &view);
        EXPECT_NEAR(look.z, 1.0f, 1e-6f);  // the face's direction is straight ahead
        EXPECT_NEAR(up.y, 1.0f, 1e-6f);    // and its up is up
    }
    const D3DXMATRIX outside = CubeFaceViewMatrix(6);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    EXPECT_EQ(std::memcmp(&outside, &identity, sizeof identity), 0);
}

TEST(D3DUtil, QuaternionsBetweenEqualPerpendicularAndOppositeDirections) {
    D3DXQUATERNION q;
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0), a(1, 2, 3), a2(2, 4, 6), minusA(-1, -2, -3);
    ExpectQuaternion(*QuaternionFromCrossDot(&q, &x, &y), {0, 0, 1, 0});
    ExpectQuaternion(*QuaternionBetweenDirections(&q, &a, &a2), {0, 0, 0, 1});
    ExpectQuaternion(*QuaternionBetweenDirections(&q, &a, &minusA), {0, 0, 0, 0});
    const D3DXVECTOR3 twiceX(2, 0, 0);
    ExpectQuaternion(*QuaternionBetweenDirections(&q, &twiceX, &y), {0, 0, std::sqrt(0.5f), std::sqrt(0.5f)});
    D3DXMATRIX turn;
    D3DXMatrixRotationQuaternion(&turn, &q);
    D3DXVECTOR3 turned;
    D3DXVec3TransformNormal(&turned, &x, &turn);
    EXPECT_NEAR(turned.y, 1.0f, 1e-5f);  // from is turned onto to
}

TEST(D3DUtil, TrackballFollowsTheCursorInTheClientAreaAndAnEmptyAreaGivesTheIdentity) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "TrackballTest";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    HWND window =
        CreateWindowExA(0, "TrackballTest", "", WS_POPUP, 30, 40, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    struct Case {
        LONG x, y;
        D3DXQUATERNION expected;
    };
    // The right edge (sx 1) lies beyond radius x sqrt(1/2): z 0.5 on the hyperbolic sheet, so the
    // turn's sine is |(-1, 0, 0.5)| / 2. sx 0.6, short of radius x sqrt(1/2), lies on the sphere
    // (z 0.8), and sx 0.8, inside the radius but past its sqrt(1/2), on the sheet again (z 0.625).
    // Down the window (sy grows with y) the ball turns about x: the bottom edge, and sy -0.6.
    const Case kCases[] = {{100, 50, {0, 0, 0, 1}},
                           {200, 50, {0, -0.5590170f, 0, 0.8291562f}},
                           {160, 50, {0, -0.3162278f, 0, 0.9486833f}},
                           {180, 50, {0, -0.4417650f, 0, 0.8971310f}},
                           {100, 100, {0.5590170f, 0, 0, 0.8291562f}},
                           {100, 20, {-0.3162278f, 0, 0, 0.9486833f}}};
    for (const Case& c : kCases) {
        POINT p = {c.x, c.y};
        ClientToScreen(window, &p);
        layer::InjectCursorPosition(&p);
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        ExpectQuaternion(TrackballRotationFromCursor(window, 1.0f), c.expected);
    }
    // No client area: nothing to divide by, no turn.
    ExpectQuaternion(TrackballRotationFromCursor(nullptr, 1.0f), {0, 0, 0, 1});
    DestroyWindow(window);
    UnregisterClassA("TrackballTest", nullptr);
}

class D3DUtilDevice : public DeviceTest {
protected:
    // The picture the device shows for a cursor, its size and its hot spot.
    struct Shown {
        std::vector<uint32_t> picture;
        UINT w = 0, h = 0;
        POINT hot = {};
        uint32_t At(int x, int y) const { return picture[(size_t)y * w + x]; }
    };
    Shown ShownCursor(HCURSOR cursor, BOOL watermark) {
        Shown shown;
        EXPECT_EQ(SetDeviceCursorFromHandle(device_, cursor, watermark), S_OK);
        EXPECT_TRUE(layer::LastCursorPicture(&shown.picture, &shown.w, &shown.h, &shown.hot));
        shown.picture.resize((size_t)shown.w * shown.h);
        return shown;
    }
};

TEST_F(D3DUtilDevice, ColourKeyClearsExactMatchesOfLevelZeroInThreeFormatsOnly) {
    struct Case {
        D3DFORMAT format;
        std::vector<DWORD> texels, keyed;  // raw values before and after keying with 0x00FF00FF
    };
    const Case kCases[] = {
        {D3DFMT_A4R4G4B4, {0xFF0F, 0x0F0F, 0xFF0E, 0xFF0F}, {0, 0x0F0F, 0xFF0E, 0}},
        {D3DFMT_A1R5G5B5, {0xFC1F, 0x7C1F, 0xFC1E, 0x0000}, {0, 0x7C1F, 0xFC1E, 0}},
        {D3DFMT_A8R8G8B8, {0x00FF00FF, 0xFFFF00FF, 0x00FF00FE, 1}, {0, 0xFFFF00FF, 0x00FF00FE, 1}},
        {D3DFMT_R5G6B5, {0xF81F, 0xF81F, 0, 0}, {0xF81F, 0xF81F, 0, 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.format);
        const bool wide = c.format == D3DFMT_A8R8G8B8;
        std::vector<WORD> narrow(c.texels.begin(), c.texels.end());
        IDirect3DTexture8* tex =
            wide ? MakeTexture(2, 2, c.format, c.texels.data(), 2) : MakeTexture(2, 2, c.format, narrow.data(), 2);
        ASSERT_NE(tex, nullptr);
        // Level 1 holds the key too, and stays as it is.
        D3DLOCKED_RECT lr;
        ASSERT_EQ(tex->LockRect(1, &lr, nullptr, 0), D3D_OK);
        std::memcpy(lr.pBits, wide ? (const void*)c.texels.data() : (const void*)narrow.data(), wide ? 4 : 2);
        tex->UnlockRect(1);

        EXPECT_EQ(SetTextureColorKey(tex, 0x00FF00FF), c.format == D3DFMT_R5G6B5 ? E_FAIL : S_OK);
        ASSERT_EQ(tex->LockRect(0, &lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (UINT i = 0; i < 4; ++i) {
            const BYTE* row = static_cast<BYTE*>(lr.pBits) + (i / 2) * lr.Pitch;
            const DWORD value =
                wide ? reinterpret_cast<const DWORD*>(row)[i % 2] : reinterpret_cast<const WORD*>(row)[i % 2];
            EXPECT_EQ(value, c.keyed[i]) << "texel " << i;
        }
        tex->UnlockRect(0);
        ASSERT_EQ(tex->LockRect(1, &lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        EXPECT_EQ(wide ? *static_cast<DWORD*>(lr.pBits) : *static_cast<WORD*>(lr.pBits), c.texels[0]);
        tex->UnlockRect(1);
        tex->Release();
    }
}

TEST(D3DUtil, MaterialAndLightRecordsHoldTheirColoursAndPlaceAndNothingElse) {
    D3DMATERIAL8 material, wantMaterial = {};
    std::memset(&material, 0x7F, sizeof material);  // whatever the caller's record held
    InitMaterial(material, 0.1f, 0.2f, 0.3f, 0.4f);
    wantMaterial.Diffuse = wantMaterial.Ambient = {0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_EQ(std::memcmp(&material, &wantMaterial, sizeof material), 0) << "no specular, emissive or power";
    D3DLIGHT8 light, wantLight = {};
    std::memset(&light, 0x7F, sizeof light);
    InitLight(light, D3DLIGHT_SPOT, 0, 3, -4);
    wantLight.Type = D3DLIGHT_SPOT;
    wantLight.Diffuse = {1, 1, 1, 0};  // white, its alpha left 0
    wantLight.Position = {0, 3, -4};
    wantLight.Direction = {0, 0.6f, -0.8f};  // towards the same point, of length 1
    wantLight.Range = 1000;
    EXPECT_EQ(std::memcmp(&light, &wantLight, sizeof light), 0);
}

TEST_F(D3DUtilDevice, MediaTexturesAreMadeFromTheFileFoundAndNamesTooLongForAPathAreRefused) {
    ScratchDir scratch;
    const DWORD pixels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF808080};
    std::vector<BYTE> bmp;
    ASSERT_EQ(layer::EncodeBmp24(2, 2, pixels, &bmp), S_OK);
    ASSERT_EQ(layer::WriteBytesToFile("pic.bmp", bmp), S_OK);
    IDirect3DTexture8* tex = nullptr;  // not in media\, but the bare name is there
    ASSERT_EQ(CreateTextureFromMedia(device_, "media\\pic.bmp", &tex, D3DFMT_A8R8G8B8), D3D_OK);
    D3DSURFACE_DESC desc;
    ASSERT_EQ(tex->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 2u);
    EXPECT_EQ(desc.Height, 2u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_EQ(tex->GetLevelCount(), 2u);  // and 1 x 1
    D3DLOCKED_RECT lr;
    ASSERT_EQ(tex->LockRect(0, &lr, nullptr, D3DLOCK_READONLY), D3D_OK);
    const DWORD* texels = static_cast<const DWORD*>(lr.pBits);
    for (UINT i = 0; i < 4; ++i) EXPECT_EQ(texels[i / 2 * lr.Pitch / 4 + i % 2], pixels[i]) << i;
    tex->UnlockRect(0);
    tex->Release();

    const std::string longName(2000, 'a');
    tex = nullptr;
    EXPECT_EQ(CreateTextureFromMedia(device_, longName.c_str(), &tex, D3DFMT_UNKNOWN), E_FAIL);
    EXPECT_EQ(tex, nullptr);
    DWORD shader = 7;
    const DWORD declaration[] = {D3DVSD_STREAM(0), D3DVSD_REG(0, D3DVSDT_FLOAT3), D3DVSD_END()};
    EXPECT_EQ(CreateVertexShaderFromFile(device_, std::string(MAX_PATH, 'b').c_str(), declaration, &shader), E_FAIL);
    EXPECT_EQ(shader, 7u);
}

namespace {

// One bit a pixel, rows of 32 pixels (4 bytes); bit 7 of byte 0 is the left pixel.
void SetBit(std::vector<BYTE>& bits, int x, int y) { bits[(size_t)y * 4 + x / 8] |= (BYTE)(0x80 >> (x % 8)); }

}  // namespace

TEST_F(D3DUtilDevice, ABlackAndWhiteCursorBecomesAHalfHeightSurfaceWithItsWatermark) {
    // AND rows 0-31: the right half is transparent. XOR rows 32-63: (20, 10) would be white, but
    // it is transparent; (5, 10) is white and (6, 10) black in the opaque half.
    std::vector<BYTE> bits(4 * 64, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 16; x < 32; ++x) SetBit(bits, x, y);
    SetBit(bits, 5, 32 + 10);
    SetBit(bits, 20, 32 + 10);
    HBITMAP mask = CreateBitmap(32, 64, 1, 1, bits.data());
    ICONINFO made = {FALSE, 3, 4, mask, nullptr};
    HCURSOR cursor = CreateIconIndirect(&made);
    DeleteObject(mask);
    ASSERT_NE(cursor, nullptr);

    for (BOOL watermark : {FALSE, TRUE}) {
        SCOPED_TRACE(watermark);
        const Shown c = ShownCursor(cursor, watermark);
        ASSERT_TRUE(c.w == 32 && c.h == 32) << c.w << " " << c.h;
        EXPECT_TRUE(c.hot.x == 3 && c.hot.y == 4) << c.hot.x << " " << c.hot.y;
        // "D3D": row 1 is 0xA2A0, so pixels 0 and 2 of it are lit and 1 is not; row 4 is 0xCCC0;
        // nothing is lit below the five rows.
        const uint32_t lit = watermark ? 0xFF808080u : 0xFF000000u, black = 0xFF000000u;
        const struct {
            int x, y;
            uint32_t colour;
        } kProbes[] = {{5, 10, 0xFFFFFFFF}, {6, 10, black}, {20, 10, 0}, {31, 31, 0}, {0, 1, lit},
                       {1, 1, black}, {2, 1, lit}, {8, 4, lit}, {9, 5, black}};
        for (const auto& p : kProbes) EXPECT_EQ(c.At(p.x, p.y), p.colour) << p.x << "," << p.y;
    }
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_EQ(SetDeviceCursorFromHandle(device_, cursor, FALSE), E_FAIL);
}

TEST_F(D3DUtilDevice, AColourCursorKeepsItsRowsTheRightWayUpAndTheArrowShows) {
    std::vector<DWORD> colour(8 * 8, 0x00123456);
    colour[0] = 0x00ABCDEF;  // top-left
    std::vector<BYTE> maskBits(2 * 8, 0);
    maskBits[2 * 7] = 0x80;  // the bottom-left pixel is transparent
    HBITMAP mask = CreateBitmap(8, 8, 1, 1, maskBits.data());
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, colour.data());
    ICONINFO made = {FALSE, 0, 0, mask, bitmap};
    HCURSOR cursor = CreateIconIndirect(&made);
    DeleteObject(mask);
    DeleteObject(bitmap);
    const Shown c = ShownCursor(cursor, FALSE);
    ASSERT_EQ(c.h, 8u);
    EXPECT_EQ(c.At(0, 0), 0xFFABCDEFu);
    EXPECT_EQ(c.At(0, 7), 0u);
    EXPECT_EQ(c.At(1, 7), 0xFF123456u);
    DestroyCursor(cursor);

    const Shown arrow = ShownCursor(LoadCursorA(nullptr, IDC_ARROW), FALSE);
    EXPECT_TRUE(arrow.w == 32 && arrow.h == 32) << arrow.w << " " << arrow.h;
    EXPECT_EQ(arrow.At(31, 31), 0u);
    EXPECT_EQ(arrow.At(0, 0), 0xFF000000u);  // black rim
    EXPECT_EQ(arrow.At(3, 6), 0xFFFFFFFFu);  // white body
}
