// d3d8_state_test.cpp -- the device's defaults, state getters, state blocks that record without
// applying, indexed drawing, transforms and the objects' references.
#include "device_fixture.h"

#include <malloc.h>

#include <cstdlib>
#include <tuple>

#include "d3dx8math.h"

TEST_F(DeviceTest, DefaultsAreDirect3DsOwn) {
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), (DWORD)D3DZB_TRUE);  // on with an automatic depth buffer
    EXPECT_EQ(RenderState(D3DRS_ZFUNC), (DWORD)D3DCMP_LESSEQUAL);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), (DWORD)D3DCULL_CCW);
    EXPECT_EQ(RenderState(D3DRS_LIGHTING), (DWORD)TRUE);
    EXPECT_EQ(RenderState(D3DRS_SRCBLEND), (DWORD)D3DBLEND_ONE);
    EXPECT_EQ(RenderState(D3DRS_ALPHAFUNC), (DWORD)D3DCMP_ALWAYS);
    EXPECT_EQ(StageState(0, D3DTSS_COLOROP), (DWORD)D3DTOP_MODULATE);
    EXPECT_EQ(StageState(1, D3DTSS_COLOROP), (DWORD)D3DTOP_DISABLE);
    EXPECT_EQ(StageState(0, D3DTSS_ALPHAOP), (DWORD)D3DTOP_SELECTARG1);
    EXPECT_EQ(StageState(0, D3DTSS_MINFILTER), (DWORD)D3DTEXF_POINT);
    EXPECT_EQ(StageState(0, D3DTSS_ADDRESSU), (DWORD)D3DTADDRESS_WRAP);
    EXPECT_EQ(StageState(3, D3DTSS_TEXCOORDINDEX), 3u);
    D3DVIEWPORT8 vp;
    ASSERT_EQ(device_->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(std::tie(vp.X, vp.Width, vp.Height, vp.MaxZ), std::make_tuple(0u, kWidth, kHeight, 1.0f));
    D3DMATRIX m;
    ASSERT_EQ(device_->GetTransform(D3DTS_WORLD, &m), D3D_OK);
    EXPECT_TRUE(D3DXMatrixIsIdentity(static_cast<D3DXMATRIX*>(&m)));
    EXPECT_EQ(device_->SetRenderState((D3DRENDERSTATETYPE)300, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTextureStageState(8, D3DTSS_COLOROP, 1), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTransform((D3DTRANSFORMSTATETYPE)100, &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetPixelShader(0), D3D_OK);
    EXPECT_EQ(device_->SetPixelShader(5), D3DERR_INVALIDCALL);
    D3DCAPS8 caps;
    ASSERT_EQ(device_->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.MaxTextureWidth, 1024u);
    layer::SetMaxTextureSize(128);
    device_->GetDeviceCaps(&caps);
    EXPECT_EQ(caps.MaxTextureWidth, 128u);
}

TEST_F(DeviceTest, StateBlocksRecordWithoutApplyingThenCaptureAndApply) {
    const uint32_t texel[1] = {0xFFFFFFFF};
    IDirect3DTexture8* tex = MakeTexture(1, 1, D3DFMT_A8R8G8B8, texel);
    ASSERT_EQ(device_->BeginStateBlock(), D3D_OK);
    EXPECT_EQ(device_->BeginStateBlock(), D3DERR_INVALIDCALL);
    device_->SetTexture(0, tex);
    SetState(D3DRS_ZENABLE, FALSE);
    SetState(D3DRS_ALPHAREF, 0x08);
    SetState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    DWORD saved = 0;
    ASSERT_EQ(device_->EndStateBlock(&saved), D3D_OK);
    // Nothing of it reached the device.
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), (DWORD)D3DZB_TRUE);
    EXPECT_EQ(RenderState(D3DRS_ALPHAREF), 0u);
    IDirect3DBaseTexture8* bound = reinterpret_cast<IDirect3DBaseTexture8*>(1);
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);
    EXPECT_EQ(tex->Release(), 1u);  // the block holds the texture

    device_->BeginStateBlock();
    SetState(D3DRS_ZENABLE, FALSE);
    SetState(D3DRS_ALPHAREF, 0x08);
    DWORD draw = 0;
    device_->EndStateBlock(&draw);
    EXPECT_NE(draw, saved);

    // Capture stores the current values of exactly the recorded states; apply puts them back.
    SetState(D3DRS_ALPHAREF, 64);
    ASSERT_EQ(device_->CaptureStateBlock(saved), D3D_OK);
    ASSERT_EQ(device_->ApplyStateBlock(draw), D3D_OK);
    EXPECT_EQ(RenderState(D3DRS_ALPHAREF), 8u);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), (DWORD)FALSE);
    SetState(D3DRS_CULLMODE, D3DCULL_CW);  // not in the blocks
    ASSERT_EQ(device_->ApplyStateBlock(saved), D3D_OK);
    EXPECT_EQ(RenderState(D3DRS_ALPHAREF), 64u);
    EXPECT_EQ(RenderState(D3DRS_ZENABLE), (DWORD)D3DZB_TRUE);
    EXPECT_EQ(RenderState(D3DRS_CULLMODE), (DWORD)D3DCULL_CW);
    device_->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);  // captured as unbound
    EXPECT_EQ(StageState(0, D3DTSS_MINFILTER), (DWORD)D3DTEXF_POINT);

    EXPECT_EQ(device_->DeleteStateBlock(saved), D3D_OK);
    EXPECT_EQ(device_->DeleteStateBlock(saved), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->ApplyStateBlock(saved), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->ApplyStateBlock(0), D3DERR_INVALIDCALL);
    // The other block is left for the device to free when it goes.
}

TEST_F(DeviceTest, IndexedDrawsReadTheIndexBufferAndRefuseIndicesOutsideTheVertices) {
    Plain2DStates();
    Clear(D3DCLEAR_TARGET);
    const ScreenVertex v[5] = {{100, 100, 0.5f, 1, 0, 0, 0},  // never indexed
                               {-0.5f, 9.5f, 0.5f, 1, 0xFFFF00FF, 0, 0}, {-0.5f, -0.5f, 0.5f, 1, 0xFFFF00FF, 0, 0},
                               {9.5f, 9.5f, 0.5f, 1, 0xFFFF00FF, 0, 0}, {9.5f, -0.5f, 0.5f, 1, 0xFFFF00FF, 0, 0}};
    Upload(v, 5, kScreenFvf);
    IDirect3DIndexBuffer8* ib = nullptr;
    ASSERT_EQ(device_->CreateIndexBuffer(12, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib), D3D_OK);
    BYTE* p = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, &p, 0), D3D_OK);
    const uint16_t indices[6] = {0, 1, 2, 1, 3, 2};
    std::memcpy(p, indices, sizeof indices);
    ib->Unlock();
    ASSERT_EQ(device_->SetIndices(ib, 1), D3D_OK);  // indices count from vertex 1
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    EXPECT_EQ(Pixel(5, 5), 0xFF00FFu);
    EXPECT_EQ(Pixel(30, 30), 0u);
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 3, 2), D3DERR_INVALIDCALL);  // past the end
    device_->SetIndices(ib, 1000);  // every index lands beyond the vertex buffer
    EXPECT_EQ(device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    IDirect3DIndexBuffer8* got = nullptr;
    UINT base = 0;
    ASSERT_EQ(device_->GetIndices(&got, &base), D3D_OK);
    EXPECT_EQ(got, ib);
    EXPECT_EQ(base, 1000u);
    got->Release();
    D3DINDEXBUFFER_DESC desc;
    ib->GetDesc(&desc);
    EXPECT_EQ(desc.Format, D3DFMT_INDEX16);
    EXPECT_EQ(ib->Release(), 1u);  // still set on the device
    device_->SetIndices(nullptr, 0);
    EXPECT_EQ(device_->CreateIndexBuffer(12, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &ib), D3DERR_INVALIDCALL);
}

// Setting the value already set sends nothing; setting another one still takes effect, whatever
// else holds that value.
TEST_F(DeviceTest, SettingsRepeatedChangeNothingAndNewOnesTakeEffect) {
    Plain2DStates();
    D3DXMATRIX shift, identity;
    D3DXMatrixTranslation(&shift, 1.0f, 0.0f, 0.0f);  // half the screen to the right
    D3DXMatrixIdentity(&identity);
    const uint32_t texel[1] = {0xFF0000FF};
    IDirect3DTexture8* tex = Keep(MakeTexture(1, 1, D3DFMT_A8R8G8B8, texel));
    for (int twice = 0; twice < 2; ++twice) {
        device_->SetTransform(D3DTS_WORLD, &shift);
        device_->SetTexture(0, tex);
    }
    // A quad over the left half, shifted or not; the colour of the left and the right half.
    auto draw = [&](DWORD colour, uint32_t left, uint32_t right) {
        Clear(D3DCLEAR_TARGET);
        DrawClipQuad(-1, -1, 0, 1, 0.5f, colour);
        EXPECT_EQ(Pixel(16, 24), left);
        EXPECT_EQ(Pixel(48, 24), right);
    };
    draw(0xFFFFFFFF, 0u, 0x0000FFu);
    // Back to what the view and the other stages hold.
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTexture(0, nullptr);
    draw(0xFF808080, 0x808080u, 0u);
}

TEST_F(DeviceTest, ViewportPlacesAndClipsTheDrawing) {
    Plain2DStates();
    Clear(D3DCLEAR_TARGET);
    D3DVIEWPORT8 vp = {32, 0, 32, 24, 0.0f, 1.0f};
    ASSERT_EQ(device_->SetViewport(&vp), D3D_OK);
    DrawClipQuad(-1, -1, 1, 1, 0.5f, 0xFF00FF00);  // fills the viewport only
    EXPECT_EQ(Pixel(40, 10), 0x00FF00u);
    EXPECT_EQ(Pixel(10, 10), 0u);
    EXPECT_EQ(Pixel(40, 30), 0u);
    Clear(D3DCLEAR_TARGET, 0x00FF0000);  // clears the viewport
    EXPECT_EQ(Pixel(40, 10), 0xFF0000u);
    EXPECT_EQ(Pixel(10, 10), 0u);
    D3DVIEWPORT8 outside = {40, 0, 32, 24, 0.0f, 1.0f};
    EXPECT_EQ(device_->SetViewport(&outside), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, ObjectsCountTheirReferencesAndAnswerTheirInterfaces) {
    EXPECT_EQ(device_->AddRef(), 2u);
    EXPECT_EQ(device_->Release(), 1u);
    IDirect3D8* owner = nullptr;
    ASSERT_EQ(device_->GetDirect3D(&owner), D3D_OK);
    EXPECT_EQ(owner, d3d_);
    owner->Release();
    IUnknown* unknown = nullptr;
    ASSERT_EQ(device_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    unknown->Release();
    void* none = nullptr;
    EXPECT_EQ(device_->QueryInterface(IID_IDirect3DTexture8, &none), E_NOINTERFACE);
    IDirect3DVertexBuffer8* vb = nullptr;
    ASSERT_EQ(device_->CreateVertexBuffer(28 * 4, 0, kScreenFvf, D3DPOOL_DEFAULT, &vb), D3D_OK);
    device_->SetStreamSource(0, vb, 28);
    IDirect3DVertexBuffer8* got = nullptr;
    UINT stride = 0;
    ASSERT_EQ(device_->GetStreamSource(0, &got, &stride), D3D_OK);
    EXPECT_EQ(got, vb);
    EXPECT_EQ(stride, 28u);
    EXPECT_EQ(got->Release(), 2u);
    EXPECT_EQ(vb->Release(), 1u);  // the stream keeps it
    device_->SetStreamSource(0, nullptr, 0);
    IDirect3DDevice8* maker = nullptr;
    EXPECT_EQ(d3d_->GetAdapterCount(), 1u);
    D3DCAPS8 caps;
    EXPECT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(d3d_->GetDeviceCaps(1, D3DDEVTYPE_HAL, &caps), D3DERR_INVALIDCALL);
    // One device at a time.
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = 16;
    pp.BackBufferHeight = 16;
    pp.Windowed = TRUE;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &maker),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(maker, nullptr);
}

TEST(Direct3D, CreationRefusesOtherVersionsAndBadParameters) {
    EXPECT_EQ(Direct3DCreate8(120), nullptr);
    IDirect3D8* d3d = Direct3DCreate8(D3D_SDK_VERSION);
    ASSERT_NE(d3d, nullptr);
    D3DDISPLAYMODE mode = {};
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_NE(mode.Format, D3DFMT_UNKNOWN);
    D3DPRESENT_PARAMETERS pp = {};
    pp.BackBufferWidth = 32;
    pp.BackBufferHeight = 32;
    pp.BackBufferFormat = D3DFMT_D16;  // not a colour format
    pp.Windowed = TRUE;
    IDirect3DDevice8* device = reinterpret_cast<IDirect3DDevice8*>(1);
    auto create = [&](DWORD behaviour) {
        return d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, behaviour, &pp, &device);
    };
    const DWORD software = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    EXPECT_EQ(create(software), D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    EXPECT_EQ(create(0), D3DERR_INVALIDCALL);  // no behaviour
    // Without a window of its own size, a size of 0 cannot be chosen.
    pp.BackBufferWidth = 0;
    EXPECT_EQ(create(software), D3DERR_INVALIDCALL);
    // A released device lets the next one be made; the format UNKNOWN takes the desktop's.
    pp.BackBufferWidth = 32;
    ASSERT_EQ(create(software), D3D_OK);
    EXPECT_EQ(pp.BackBufferCount, 1u);
    EXPECT_EQ(device->Release(), 0u);
    ASSERT_EQ(create(D3DCREATE_HARDWARE_VERTEXPROCESSING), D3D_OK);
    // A resource that outlives its device is still released safely.
    IDirect3DTexture8* tex = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &tex), D3D_OK);
    EXPECT_EQ(device->Release(), 0u);
    IDirect3DDevice8* gone = reinterpret_cast<IDirect3DDevice8*>(1);
    EXPECT_EQ(tex->GetDevice(&gone), D3DERR_INVALIDCALL);
    D3DLOCKED_RECT lr;
    ASSERT_EQ(tex->LockRect(0, &lr, nullptr, 0), D3D_OK);
    EXPECT_EQ(tex->UnlockRect(0), D3D_OK);
    EXPECT_EQ(tex->Release(), 0u);
    EXPECT_EQ(d3d->Release(), 0u);
}

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
class DeviceLifeTest : public DeviceTest {
protected:
    void SetUp() override {}
};

TEST_F(DeviceLifeTest, TheHeapKeepsItsMemoryWhileADeviceLives) {
    if (std::getenv("GLIBC_TUNABLES") || std::getenv("MALLOC_TRIM_THRESHOLD_"))
        GTEST_SKIP() << "the heap's thresholds are chosen in the environment";
    // Takes more than the heap has free, so that the last blocks lie at its top, frees them all,
    // and answers by how much the heap shrank.
    auto shrinkAfterFreeing = [](size_t* full) {
        const size_t block = 100 * 1024, count = mallinfo2().fordblks / block + 40;
        std::vector<void*> blocks;
        blocks.reserve(count);
        for (size_t i = 0; i < count; ++i) blocks.push_back(std::malloc(block));
        *full = mallinfo2().arena;
        for (auto it = blocks.rbegin(); it != blocks.rend(); ++it) std::free(*it);
        return *full - mallinfo2().arena;
    };
    const size_t kMegabyte = 1 << 20;
    size_t full = 0;
    EXPECT_GT(shrinkAfterFreeing(&full), 2 * kMegabyte);  // without a device the heap gives memory back
    CreateDevice(kWidth, kHeight);
    EXPECT_EQ(shrinkAfterFreeing(&full), 0u);
    ReleaseDevice();
    EXPECT_LT(mallinfo2().arena + 2 * kMegabyte, full);  // and gives it back once the device is gone
}
#endif
