// mesh_holder_test.cpp -- text .x files read by D3DXLoadMeshFromX, and the mesh holder drawing a
// two-material cube subset by subset, reloading and failing cleanly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "device_fixture.h"
#include "layer/image_encode.h"
#include "layer/message_boxes.h"
#include "scratch_dir.h"
#include "utils/mesh_holder.h"

namespace {

// A cube from -1 to 1 whose faces (front -z, back, left, right, bottom, top) alternate between a
// red material with a texture that is missing and a white one with a blue texture.
const char kCube[] = R"(xof 0302txt 0032
template Vector { <3D82AB5E-62DA-11cf-AB39-0020AF71E433> FLOAT x; FLOAT y; FLOAT z; }
Mesh Cube {
  8;
  -1;-1;-1;, -1;1;-1;, 1;1;-1;, 1;-1;-1;, -1;-1;1;, -1;1;1;, 1;1;1;, 1;-1;1;;
  6;
  4;0,1,2,3;, 4;7,6,5,4;, 4;4,5,1,0;, 4;3,2,6,7;, 4;3,7,4,0;, 4;1,5,6,2;;
  MeshNormals {
    6; 0;0;-1;, 0;0;1;, -1;0;0;, 1;0;0;, 0;-1;0;, 0;1;0;;
    6; 4;0,0,0,0;, 4;1,1,1,1;, 4;2,2,2,2;, 4;3,3,3,3;, 4;4,4,4,4;, 4;5,5,5,5;;
  }
  MeshTextureCoords { 8; 0;1;, 0;0;, 1;0;, 1;1;, 0;1;, 0;0;, 1;0;, 1;1;; }
  MeshMaterialList {
    2; 6; 0,1,0,1,0,1;;
    Material Red { 1.0;0.0;0.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "missing.bmp"; } }
    Material White { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "blue.bmp"; } }
  }
}
)";

// A quad in two nested frames: the inner one moves it by (10, 0, 0), then the outer one
// stretches x twice and moves it by (0, 5, 0). Its material (face colour, power, specular and
// emissive colours) is given by reference, and it has no normals or texture coordinates.
const char kFramedQuad[] = R"(xof 0303txt 0032
// comments are skipped
Material Shared { 0.5;0.25;0.125;1.0;; 8.0; 0.75;0.5;0.25;; 0.0625;0.125;0.375;; }
Frame Outer {
  FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 0,5,0,1;; }
  Frame Inner {
    FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
    Mesh { 4; 0;0;0;, 0;1;0;, 1;1;0;, 1;0;0;; 1; 4;0,1,2,3;;
      MeshMaterialList { 1; 1; 0;; { Shared } }
    }
  }
}
)";

void WriteText(const char* name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

void WriteBlueTexture() {
    const std::vector<DWORD> pixels(4 * 4, 0xFF0000FFu);
    std::vector<BYTE> bmp;
    ASSERT_EQ(layer::EncodeBmp24(4, 4, pixels.data(), &bmp), S_OK);
    ASSERT_EQ(layer::WriteBytesToFile("blue.bmp", bmp), S_OK);
}

class MeshHolderTest : public DeviceTest {
protected:
    void SetUp() override {
        DeviceTest::SetUp();
        WriteText("cube.x", kCube);
        WriteText("quad.x", kFramedQuad);
        WriteBlueTexture();
    }
    ScratchDir scratch_;
};

}  // namespace

TEST_F(MeshHolderTest, TextFilesGiveFlattenedFramesTrianglesMaterialsAndTheirFormat) {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD count = 0;
    ASSERT_EQ(D3DXLoadMeshFromX("quad.x", D3DXMESH_SYSTEMMEM, device_, nullptr, &materials, &count, &mesh), S_OK);
    EXPECT_EQ(mesh->GetFVF(), DWORD(D3DFVF_XYZ));
    EXPECT_EQ(mesh->GetNumFaces(), 2u);  // the quad's fan
    ASSERT_EQ(count, 1u);  // its colours: as the holder keeps them, below
    const D3DXMATERIAL* m = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    EXPECT_EQ(m[0].pTextureFilename, nullptr);
    BYTE* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), S_OK);
    const float* corner = reinterpret_cast<const float*>(data) + 2 * 3;  // (1, 1, 0), moved
    EXPECT_TRUE(corner[0] == 22 && corner[1] == 6) << corner[0] << " " << corner[1];
    mesh->UnlockVertexBuffer();
    materials->Release();
    mesh->Release();

    ASSERT_EQ(D3DXLoadMeshFromX("cube.x", 0, device_, nullptr, &materials, &count, &mesh), S_OK);
    EXPECT_EQ(mesh->GetFVF(), (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(mesh->GetNumVertices(), 24u);  // a corner for each normal
    EXPECT_EQ(mesh->GetNumFaces(), 12u);
    m = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(m[1].pTextureFilename, "blue.bmp");
    materials->Release();
    mesh->Release();
}

TEST_F(MeshHolderTest, NormalsTurnWithTheirFrameAndAShortMaterialListLastsToTheEnd) {
    // Stretched twice along x, a face whose normal is (1, 1, 0) turns to (1, 2, 0) in length 1.
    // The material list names the material of one face of two: the second takes the same.
    WriteText("wedge.x", R"(xof 0302txt 0032
Frame { FrameTransformMatrix { 2,0,0,0, 0,1,0,0, 0,0,1,0, 0,0,0,1;; }
  Mesh { 4; 1;0;0;, 0;1;0;, 1;0;1;, 0;1;1;; 2; 3;0,1,2;, 3;2,1,3;;
    MeshNormals { 1; 0.70710678;0.70710678;0;; 2; 3;0,0,0;, 3;0,0,0;; }
    MeshMaterialList { 2; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } Material { 0;1;0;1;; 0; 0;0;0;; 0;0;0;; } }
  }
})");
    ID3DXMesh* mesh = nullptr;
    ASSERT_EQ(D3DXLoadMeshFromX("wedge.x", D3DXMESH_SYSTEMMEM, device_, nullptr, nullptr, nullptr, &mesh), S_OK);
    ASSERT_EQ(mesh->GetFVF(), (DWORD)(D3DFVF_XYZ | D3DFVF_NORMAL));
    BYTE* data = nullptr;
    ASSERT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), S_OK);
    const float* first = reinterpret_cast<const float*>(data);
    EXPECT_EQ(first[0], 2.0f);
    EXPECT_NEAR(first[3], 1.0f / std::sqrt(5.0f), 1e-6f);
    EXPECT_NEAR(first[4], 2.0f / std::sqrt(5.0f), 1e-6f);
    mesh->UnlockVertexBuffer();
    DWORD* attributes = nullptr;
    ASSERT_EQ(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes), S_OK);
    EXPECT_EQ(attributes[0], 1u);
    EXPECT_EQ(attributes[1], 1u);
    mesh->UnlockAttributeBuffer();
    mesh->Release();
}

TEST_F(MeshHolderTest, DamagedAndBinaryFilesAreRefused) {
    struct Case {
        const char* text;
        HRESULT expected;
    };
    const Case kCases[] = {
        {"xof 0302bin 0032\x01\x02\x03", E_NOTIMPL},
        {"xof 0302tzip0032xxxx", E_NOTIMPL},
        {"not a mesh file at all", D3DXERR_INVALIDDATA},
        {"xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;;", D3DXERR_INVALIDDATA},      // cut short
        {"xof 0302txt 0032 Mesh { 1000000; 0;0;0;; 0;; }", D3DXERR_INVALIDDATA},  // a count past the data
        {"xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,7;; }", D3DXERR_INVALIDDATA},  // no vertex 7
        {"xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; "
         "MeshMaterialList { 1; 1; 0;; { Nowhere } } }",
         D3DXERR_INVALIDDATA},
        {"xof 0302txt 0032 Header { 1; 0; 1; }", D3DXERR_INVALIDDATA},  // no mesh
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        WriteText("bad.x", c.text);
        ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(1);
        EXPECT_EQ(D3DXLoadMeshFromX("bad.x", 0, device_, nullptr, nullptr, nullptr, &mesh), c.expected);
        EXPECT_EQ(mesh, nullptr);
    }
}

TEST_F(MeshHolderTest, TheCubeDrawsEachMaterialInOneSubsetWithAmbientAsDiffuse) {
    CMeshHolder holder(device_);
    holder.Load("cube.x");
    ASSERT_NE(holder.pMesh, nullptr);
    EXPECT_EQ(holder.pMesh->GetOptions(), 0x110u);
    ASSERT_EQ(holder.dwNumMaterials, 2u);
    EXPECT_EQ(holder.pTextures[0], nullptr);  // missing.bmp
    EXPECT_NE(holder.pTextures[1], nullptr);  // blue.bmp
    EXPECT_TRUE(layer::ShownMessageBoxes().empty());

    D3DXMATRIX identity, projection, world, turn;
    D3DXMatrixIdentity(&identity);
    D3DXMatrixOrthoLH(&projection, 8.0f, 6.0f, -10.0f, 10.0f);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_PROJECTION, &projection);
    SetState(D3DRS_AMBIENT, 0xFFFFFFFF);  // lit by ambient light alone: ambient is diffuse
    Clear(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER);
    device_->BeginScene();
    const UINT drawsBefore = layer::CurrentFrameStats().drawCalls;
    // Left: the front face (red, untextured). Right: turned round, the back face (blue texture).
    D3DXMatrixTranslation(&world, -2.0f, 0.0f, 0.0f);
    device_->SetTransform(D3DTS_WORLD, &world);
    holder.Render();
    D3DXMatrixRotationY(&turn, 3.14159265f);
    D3DXMatrixTranslation(&world, 2.0f, 0.0f, 0.0f);
    D3DXMatrixMultiply(&world, &turn, &world);
    device_->SetTransform(D3DTS_WORLD, &world);
    holder.Render();
    device_->EndScene();
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls - drawsBefore, 4u);  // two subsets, twice

    EXPECT_EQ(Pixel(16, 24), 0xFF0000u);
    EXPECT_EQ(Pixel(48, 24), 0x0000FFu);
    EXPECT_EQ(Pixel(32, 24), 0x000000u);  // between the cubes
}

TEST_F(MeshHolderTest, ASecondLoadFreesTheFirstAndAFailedOneLeavesTheHolderEmpty) {
    CMeshHolder holder(device_);
    holder.Load("cube.x");
    ASSERT_NE(holder.pMesh, nullptr);
    ID3DXMesh* firstMesh = holder.pMesh;
    IDirect3DTexture8* firstTexture = holder.pTextures[1];
    firstMesh->AddRef();
    firstTexture->AddRef();

    holder.Load("quad.x");
    EXPECT_EQ(firstMesh->Release(), 0u);  // the holder let go of them
    EXPECT_EQ(firstTexture->Release(), 0u);
    ASSERT_EQ(holder.dwNumMaterials, 1u);
    // The file's colours and power as loaded, with the face colour as the ambient one too.
    const D3DMATERIAL8& m = holder.pMaterials[0];
    const D3DCOLORVALUE* colours[4] = {&m.Diffuse, &m.Ambient, &m.Specular, &m.Emissive};
    const float want[4][3] = {{0.5f, 0.25f, 0.125f}, {0.5f, 0.25f, 0.125f}, {0.75f, 0.5f, 0.25f},
                              {0.0625f, 0.125f, 0.375f}};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(std::memcmp(colours[k], want[k], sizeof want[k]), 0) << k;
    EXPECT_TRUE(m.Diffuse.a == 1.0f && m.Power == 8.0f) << m.Diffuse.a << " " << m.Power;

    holder.Load("nowhere.x");
    ASSERT_EQ(layer::ShownMessageBoxes().size(), 1u);
    EXPECT_NE(layer::ShownMessageBoxes()[0].text.find("D3DXLoadMeshFromX"), std::string::npos);
    EXPECT_TRUE(!holder.pMesh && !holder.pMaterials) << holder.pMesh << " " << holder.pMaterials;
    EXPECT_TRUE(!holder.pTextures && !holder.dwNumMaterials) << holder.pTextures << " " << holder.dwNumMaterials;
    const UINT drawsBefore = layer::CurrentFrameStats().drawCalls;
    holder.Render();
    EXPECT_EQ(layer::CurrentFrameStats().drawCalls, drawsBefore);
    holder.Release();
    holder.Release();
}
