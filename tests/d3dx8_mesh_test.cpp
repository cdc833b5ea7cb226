// d3dx8_mesh_test.cpp -- D3DX meshes on a real device: a mesh filled through its locks and
// drawn, the sphere's geometry and adjacency, and a lit sphere in a material drawn and read back.
#include <cmath>

#include "d3dx8.h"
#include "device_fixture.h"
#include "utils/d3dutil.h"

namespace {

struct SphereVertex {
    float x, y, z, nx, ny, nz;
};

class D3DXMeshTest : public DeviceTest {
protected:
    void IdentityTransforms() {
        D3DXMATRIX id;
        D3DXMatrixIdentity(&id);
        device_->SetTransform(D3DTS_WORLD, &id);
        device_->SetTransform(D3DTS_VIEW, &id);
        device_->SetTransform(D3DTS_PROJECTION, &id);
    }
};

}  // namespace

TEST_F(D3DXMeshTest, MeshFilledThroughItsLocksDrawsSubsetZero) {
    for (DWORD options : {0u, (DWORD)(D3DXMESH_32BIT | D3DXMESH_MANAGED)}) {
        ID3DXMesh* mesh = nullptr;
        ASSERT_EQ(D3DXCreateMeshFVF(2, 4, options, kSceneFvf, device_, &mesh), D3D_OK);
        EXPECT_EQ(mesh->GetNumFaces(), 2u);
        EXPECT_EQ(mesh->GetNumVertices(), 4u);
        EXPECT_EQ(mesh->GetFVF(), kSceneFvf);
        EXPECT_EQ(mesh->GetOptions(), options);
        // The left half of the screen, in clip space with identity transforms.
        const SceneVertex quad[4] = {{-1, -1, 0.5f, 0xFFFF0000, 0, 0}, {-1, 1, 0.5f, 0xFFFF0000, 0, 0},
                                     {0, -1, 0.5f, 0xFF00FF00, 0, 0}, {0, 1, 0.5f, 0xFF00FF00, 0, 0}};
        BYTE* p = nullptr;
        ASSERT_EQ(mesh->LockVertexBuffer(0, &p), D3D_OK);
        std::memcpy(p, quad, sizeof quad);
        ASSERT_EQ(mesh->UnlockVertexBuffer(), D3D_OK);
        ASSERT_EQ(mesh->LockIndexBuffer(0, &p), D3D_OK);
        const DWORD indices[6] = {0, 1, 2, 2, 1, 3};
        for (int i = 0; i < 6; ++i) {
            if (options & D3DXMESH_32BIT) reinterpret_cast<DWORD*>(p)[i] = indices[i];
            else reinterpret_cast<WORD*>(p)[i] = (WORD)indices[i];
        }
        ASSERT_EQ(mesh->UnlockIndexBuffer(), D3D_OK);

        Clear(D3DCLEAR_TARGET);
        Plain2DStates();
        IdentityTransforms();
        device_->BeginScene();
        const uint32_t before = layer::CurrentFrameStats().drawCalls;
        EXPECT_EQ(mesh->DrawSubset(1), D3D_OK);  // no face has attribute 1
        EXPECT_EQ(layer::CurrentFrameStats().drawCalls, before);
        EXPECT_EQ(mesh->DrawSubset(0), D3D_OK);
        device_->EndScene();
        EXPECT_EQ(layer::CurrentFrameStats().drawCalls, before + 1);
        EXPECT_EQ(Pixel(0, kHeight / 2), 0xFF0000u) << options;
        EXPECT_GT(GreenOf(Pixel(kWidth / 2 - 1, kHeight / 2)), 200) << options;
        EXPECT_EQ(Pixel(kWidth / 2 + 2, kHeight / 2), 0u) << options;
        EXPECT_EQ(mesh->Release(), 0u);
    }
}

TEST_F(D3DXMeshTest, CreationRefusesWhatCannotBeAMesh) {
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXCreateMeshFVF(0, 4, 0, kSceneFvf, device_, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(2, 0, 0, kSceneFvf, device_, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(2, 4, 0, 0, device_, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(2, 70000, 0, kSceneFvf, device_, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(2, 4, 0, kSceneFvf, nullptr, &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);
    layer::FailNextResourceCreation(E_OUTOFMEMORY);
    EXPECT_EQ(D3DXCreateMeshFVF(2, 4, 0, kSceneFvf, device_, &mesh), E_OUTOFMEMORY);
    EXPECT_EQ(mesh, nullptr);
    EXPECT_EQ(D3DXCreateSphere(device_, 1.0f, 2, 6, &mesh, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateSphere(device_, 1.0f, 6, 1, &mesh, nullptr), D3DERR_INVALIDCALL);
}

TEST_F(D3DXMeshTest, SphereHasOutwardNormalsOutwardFacesAndClosedAdjacency) {
    ID3DXMesh* sphere = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    const float radius = 2.5f;
    ASSERT_EQ(D3DXCreateSphere(device_, radius, 6, 6, &sphere, &adjacency), D3D_OK);
    EXPECT_EQ(sphere->GetFVF(), (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL));
    EXPECT_EQ(sphere->GetNumVertices(), 6u * 5 + 2);
    EXPECT_EQ(sphere->GetNumFaces(), 2u * 6 * 5);
    const DWORD faces = sphere->GetNumFaces();

    BYTE* p = nullptr;
    ASSERT_EQ(sphere->LockVertexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
    std::vector<SphereVertex> v(reinterpret_cast<SphereVertex*>(p), reinterpret_cast<SphereVertex*>(p) + sphere->GetNumVertices());
    sphere->UnlockVertexBuffer();
    for (const SphereVertex& s : v) {
        EXPECT_NEAR(std::sqrt(s.x * s.x + s.y * s.y + s.z * s.z), radius, 1e-4);
        for (int k = 0; k < 3; ++k) EXPECT_NEAR((&s.nx)[k] * radius, (&s.x)[k], 1e-4);
    }
    ASSERT_EQ(sphere->LockIndexBuffer(D3DLOCK_READONLY, &p), D3D_OK);
    std::vector<WORD> idx(reinterpret_cast<WORD*>(p), reinterpret_cast<WORD*>(p) + faces * 3);
    sphere->UnlockIndexBuffer();
    for (DWORD f = 0; f < faces; ++f) {
        const SphereVertex &a = v[idx[3 * f]], &b = v[idx[3 * f + 1]], &c = v[idx[3 * f + 2]];
        D3DXVECTOR3 ab(b.x - a.x, b.y - a.y, b.z - a.z), ac(c.x - a.x, c.y - a.y, c.z - a.z), n;
        D3DXVec3Cross(&n, &ab, &ac);
        D3DXVECTOR3 centre(a.x + b.x + c.x, a.y + b.y + c.y, a.z + b.z + c.z);
        EXPECT_GT(D3DXVec3Dot(&n, &centre), 0.0f) << "face " << f << " is wound inward";
    }

    ASSERT_NE(adjacency, nullptr);
    ASSERT_EQ(adjacency->GetBufferSize(), faces * 3 * sizeof(DWORD));
    const DWORD* adj = static_cast<const DWORD*>(adjacency->GetBufferPointer());
    for (DWORD f = 0; f < faces; ++f)
        for (int e = 0; e < 3; ++e) {
            DWORD g = adj[3 * f + e];
            ASSERT_LT(g, faces) << "a closed sphere has a neighbour on every edge";
            const DWORD* n = adj + 3 * g;  // f is among g's neighbours
            EXPECT_TRUE(n[0] == f || n[1] == f || n[2] == f) << f << ": " << n[0] << " " << n[1] << " " << n[2];
        }
    adjacency->Release();
    EXPECT_EQ(sphere->Release(), 0u);
}

TEST_F(D3DXMeshTest, LitSphereDrawsItsMaterialColourAsAnExplosionDoes) {
    ID3DXMesh* sphere = nullptr;
    ASSERT_EQ(D3DXCreateSphere(device_, 1.0f, 6, 6, &sphere, nullptr), D3D_OK);
    Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000040);
    Plain2DStates();
    IdentityTransforms();
    D3DXMATRIX world;
    device_->SetTransform(D3DTS_WORLD, D3DXMatrixScaling(&world, 0.5f, 0.5f, 0.5f));
    D3DMATERIAL8 material;
    InitMaterial(material, 1.0f, 0.5f, 0.0f, 1.0f);  // lit by white ambient light: its colour, no more
    device_->SetMaterial(&material);
    device_->SetTexture(0, nullptr);
    SetState(D3DRS_AMBIENT, 0x00FFFFFF);
    SetState(D3DRS_LIGHTING, TRUE);
    device_->BeginScene();
    EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
    device_->EndScene();
    SetState(D3DRS_LIGHTING, FALSE);
    const uint32_t centre = Pixel(kWidth / 2, kHeight / 2);
    EXPECT_NEAR(RedOf(centre), 255, 2);
    EXPECT_NEAR(GreenOf(centre), 128, 2);
    EXPECT_NEAR(BlueOf(centre), 0, 2);
    EXPECT_EQ(Pixel(1, 1), 0x000040u);
    EXPECT_EQ(Pixel(kWidth - 2, kHeight / 2), 0x000040u);
    EXPECT_EQ(sphere->Release(), 0u);
}
