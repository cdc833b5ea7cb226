// d3dx8_mesh_load.cpp -- D3DXLoadMeshFromX: the meshes of a text .x file, moved by their frames'
// transforms, gathered into one mesh with a subset for each material, and the materials with
// their texture file names.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "d3dx8/d3dx8_mesh_build.h"
#include "d3dx8/d3dx8_xfile.h"
#include "d3dx8math.h"
#include "d3dx8mesh.h"
#include "win32/path_mapping.h"

namespace {

constexpr std::streamoff kMaxMeshFileBytes = 32 << 20;
constexpr DWORD kNone = 0xFFFFFFFFu;

struct Vertex {
    float position[3];
    float normal[3];
    float texCoord[2];
};

struct Material {
    D3DMATERIAL8 material;
    std::string texture;  // empty when the material has none
};

// The values of a data object read in order, each read checked against what is there.
class Values {
public:
    explicit Values(const xfile::Object& object) : numbers_(object.numbers) {}
    bool Count(DWORD* n) {
        double v;
        if (!Number(&v) || v < 0 || v > (double)(numbers_.size() - next_) || v != (DWORD)v) return false;
        *n = (DWORD)v;
        return true;
    }
    bool Number(double* v) {
        if (next_ >= numbers_.size()) return false;
        *v = numbers_[next_++];
        return true;
    }
    bool Floats(float* out, int n) {
        for (int i = 0; i < n; ++i) {
            double v;
            if (!Number(&v)) return false;
            out[i] = (float)v;
        }
        return true;
    }

private:
    const std::vector<double>& numbers_;
    size_t next_ = 0;
};

// Polygons as lists of indices: a count, then that many indices below `limit`.
bool ReadPolygons(Values& values, DWORD limit, std::vector<std::vector<DWORD>>* polygons) {
    DWORD count;
    if (!values.Count(&count)) return false;
    polygons->resize(count);
    for (auto& polygon : *polygons) {
        DWORD corners;
        if (!values.Count(&corners) || corners < 3) return false;
        polygon.resize(corners);
        for (DWORD& index : polygon) {
            double v;
            if (!values.Number(&v) || v < 0 || v >= limit || v != (DWORD)v) return false;
            index = (DWORD)v;
        }
    }
    return true;
}

const xfile::Object* FindChild(const xfile::Object& object, const char* type) {
    for (const auto& child : object.children)
        if (child.type == type) return &child;
    return nullptr;
}

class MeshGatherer {
public:
    explicit MeshGatherer(const xfile::File& file) {
        for (const auto& object : file.objects) NameMaterials(object);
    }

    bool Gather(const xfile::File& file) {
        D3DXMATRIX identity;
        D3DXMatrixIdentity(&identity);
        for (const auto& object : file.objects)
            if (!Visit(object, identity)) return false;
        if (indices_.empty()) return Fail("the file holds no mesh with faces");
        return true;
    }

    const std::string& Error() const { return error_; }
    DWORD Fvf() const { return D3DFVF_XYZ | (anyNormals_ ? D3DFVF_NORMAL : 0) | (anyTexCoords_ ? D3DFVF_TEX1 : 0); }
    const std::vector<Material>& Materials() const { return materials_; }
    DWORD VertexCount() const { return (DWORD)vertices_.size(); }

    // The vertices in the vertex format, and the triangles ordered by material so that each
    // subset is drawn at once.
    std::vector<float> PackedVertices() const {
        std::vector<float> out;
        for (const Vertex& v : vertices_) {
            out.insert(out.end(), v.position, v.position + 3);
            if (anyNormals_) out.insert(out.end(), v.normal, v.normal + 3);
            if (anyTexCoords_) out.insert(out.end(), v.texCoord, v.texCoord + 2);
        }
        return out;
    }
    void SortedFaces(std::vector<DWORD>* indices, std::vector<DWORD>* attributes) const {
        std::vector<DWORD> order(faceMaterials_.size());
        for (DWORD i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [this](DWORD a, DWORD b) { return faceMaterials_[a] < faceMaterials_[b]; });
        for (DWORD face : order) {
            indices->insert(indices->end(), &indices_[3 * face], &indices_[3 * face] + 3);
            attributes->push_back(faceMaterials_[face]);
        }
    }

private:
    bool Fail(const std::string& message) {
        error_ = message;
        return false;
    }

    void NameMaterials(const xfile::Object& object) {
        if (object.type == "Material" && !object.name.empty()) namedMaterials_[object.name] = &object;
        for (const auto& child : object.children) NameMaterials(child);
    }

    bool Visit(const xfile::Object& object, const D3DXMATRIX& parent) {
        if (object.type == "Mesh") return AddMesh(object, parent);
        if (object.type != "Frame") return true;
        D3DXMATRIX world = parent;
        if (const xfile::Object* transform = FindChild(object, "FrameTransformMatrix")) {
            D3DXMATRIX local;
            Values values(*transform);
            if (!values.Floats(&local._11, 16)) return Fail("a frame's transform needs 16 numbers");
            D3DXMatrixMultiply(&world, &local, &parent);
        }
        for (const auto& child : object.children)
            if (!Visit(child, world)) return false;
        return true;
    }

    bool ReadMaterial(const xfile::Object& object, Material* out) {
        Values values(object);
        float face[4], power, specular[3], emissive[3];
        if (!values.Floats(face, 4) || !values.Floats(&power, 1) || !values.Floats(specular, 3) ||
            !values.Floats(emissive, 3))
            return Fail("material \"" + object.name + "\" needs 11 numbers");
        D3DMATERIAL8& m = out->material;
        std::memset(&m, 0, sizeof m);
        m.Diffuse = D3DCOLORVALUE{face[0], face[1], face[2], face[3]};
        m.Specular = D3DCOLORVALUE{specular[0], specular[1], specular[2], 1.0f};
        m.Emissive = D3DCOLORVALUE{emissive[0], emissive[1], emissive[2], 1.0f};
        m.Power = power;
        const xfile::Object* texture = FindChild(object, "TextureFilename");
        out->texture = texture && !texture->strings.empty() ? texture->strings[0] : std::string();
        return true;
    }

    // The mesh's materials, added to the list; the face materials given as list indices.
    bool ReadMaterialList(const xfile::Object* list, DWORD faces, std::vector<DWORD>* faceMaterials) {
        const DWORD base = (DWORD)materials_.size();
        DWORD count = 0, given = 0;
        std::vector<DWORD> indices;
        if (list) {
            Values values(*list);
            if (!values.Count(&count) || !values.Count(&given)) return Fail("a material list needs its counts");
            indices.resize(given);
            for (DWORD& index : indices) {
                double v;
                if (!values.Number(&v) || v < 0 || v >= count || v != (DWORD)v)
                    return Fail("a face names a material the list does not have");
                index = (DWORD)v;
            }
            for (const auto& child : list->children) {
                const xfile::Object* material = &child;
                if (child.isReference) {
                    auto it = namedMaterials_.find(child.name);
                    if (it == namedMaterials_.end()) return Fail("no material is named \"" + child.name + "\"");
                    material = it->second;
                } else if (child.type != "Material") {
                    continue;
                }
                materials_.emplace_back();
                if (!ReadMaterial(*material, &materials_.back())) return false;
            }
            if (materials_.size() - base != count) return Fail("a material list has another number of materials");
        }
        if (count == 0) {
            // A mesh without materials is drawn white.
            materials_.emplace_back();
            std::memset(&materials_.back().material, 0, sizeof(D3DMATERIAL8));
            materials_.back().material.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
        }
        // Faces past the end of the list take its last material.
        faceMaterials->resize(faces);
        for (DWORD f = 0; f < faces; ++f)
            (*faceMaterials)[f] = base + (indices.empty() ? 0 : indices[std::min(f, (DWORD)indices.size() - 1)]);
        return true;
    }

    bool AddMesh(const xfile::Object& mesh, const D3DXMATRIX& world) {
        Values values(mesh);
        DWORD count;
        if (!values.Count(&count)) return Fail("a mesh's vertex count is missing or more than the file holds");
        std::vector<D3DXVECTOR3> positions(count);
        for (auto& p : positions)
            if (!values.Floats(&p.x, 3)) return Fail("a mesh's vertex needs three numbers");
        std::vector<std::vector<DWORD>> faces;
        if (!ReadPolygons(values, count, &faces)) return Fail("a mesh's faces are damaged");

        std::vector<D3DXVECTOR3> normals;
        std::vector<std::vector<DWORD>> faceNormals;
        if (const xfile::Object* n = FindChild(mesh, "MeshNormals")) {
            Values nv(*n);
            DWORD normalCount;
            if (!nv.Count(&normalCount)) return Fail("the normals need their count");
            normals.resize(normalCount);
            for (auto& v : normals)
                if (!nv.Floats(&v.x, 3)) return Fail("a normal needs three numbers");
            if (!ReadPolygons(nv, normalCount, &faceNormals) || faceNormals.size() != faces.size())
                return Fail("the normals' faces do not match the mesh's");
            for (size_t f = 0; f < faces.size(); ++f)
                if (faceNormals[f].size() != faces[f].size()) return Fail("the normals' faces do not match the mesh's");
            anyNormals_ = true;
        }
        std::vector<float> texCoords;
        if (const xfile::Object* t = FindChild(mesh, "MeshTextureCoords")) {
            Values tv(*t);
            DWORD texCount;
            if (!tv.Count(&texCount) || texCount != count)
                return Fail("the texture coordinates do not match the vertices");
            texCoords.resize((size_t)texCount * 2);
            if (!tv.Floats(texCoords.data(), (int)texCoords.size()))
                return Fail("a texture coordinate needs two numbers");
            anyTexCoords_ = true;
        }
        std::vector<DWORD> faceMaterials;
        if (!ReadMaterialList(FindChild(mesh, "MeshMaterialList"), (DWORD)faces.size(), &faceMaterials)) return false;

        // Normals turn with the inverse transpose of the world.
        D3DXMATRIX normalMatrix;
        D3DXMatrixInverse(&normalMatrix, nullptr, &world);
        D3DXMatrixTranspose(&normalMatrix, &normalMatrix);
        std::map<std::pair<DWORD, DWORD>, DWORD> made;  // (position, normal) -> vertex
        auto vertexOf = [&](DWORD position, DWORD normal) {
            auto it = made.find({position, normal});
            if (it != made.end()) return it->second;
            Vertex v = {};
            D3DXVECTOR3 p;
            D3DXVec3TransformCoord(&p, &positions[position], &world);
            std::memcpy(v.position, &p.x, sizeof v.position);
            if (normal != kNone) {
                D3DXVECTOR3 n;
                D3DXVec3TransformNormal(&n, &normals[normal], &normalMatrix);
                D3DXVec3Normalize(&n, &n);
                std::memcpy(v.normal, &n.x, sizeof v.normal);
            }
            if (!texCoords.empty()) std::memcpy(v.texCoord, &texCoords[(size_t)position * 2], sizeof v.texCoord);
            vertices_.push_back(v);
            return made[{position, normal}] = (DWORD)vertices_.size() - 1;
        };
        // Polygons become fans of triangles, keeping their turn.
        for (size_t f = 0; f < faces.size(); ++f) {
            const auto& face = faces[f];
            auto corner = [&](size_t i) { return vertexOf(face[i], faceNormals.empty() ? kNone : faceNormals[f][i]); };
            for (size_t i = 1; i + 1 < face.size(); ++i) {
                indices_.insert(indices_.end(), {corner(0), corner(i), corner(i + 1)});
                faceMaterials_.push_back(faceMaterials[f]);
            }
        }
        return true;
    }

    std::map<std::string, const xfile::Object*> namedMaterials_;
    std::vector<Vertex> vertices_;
    std::vector<DWORD> indices_, faceMaterials_;
    std::vector<Material> materials_;
    bool anyNormals_ = false, anyTexCoords_ = false;
    std::string error_;
};

// The materials as D3DXMATERIAL records followed by the texture names they point at.
HRESULT MaterialBuffer(const std::vector<Material>& materials, LPD3DXBUFFER* out) {
    size_t bytes = materials.size() * sizeof(D3DXMATERIAL);
    for (const Material& m : materials)
        if (!m.texture.empty()) bytes += m.texture.size() + 1;
    HRESULT hr = D3DXCreateBuffer((DWORD)bytes, out);
    if (FAILED(hr)) return hr;
    BYTE* base = static_cast<BYTE*>((*out)->GetBufferPointer());
    D3DXMATERIAL* records = reinterpret_cast<D3DXMATERIAL*>(base);
    char* names = reinterpret_cast<char*>(base + materials.size() * sizeof(D3DXMATERIAL));
    for (size_t i = 0; i < materials.size(); ++i) {
        records[i].MatD3D = materials[i].material;
        records[i].pTextureFilename = nullptr;
        if (materials[i].texture.empty()) continue;
        std::memcpy(names, materials[i].texture.c_str(), materials[i].texture.size() + 1);
        records[i].pTextureFilename = names;
        names += materials[i].texture.size() + 1;
    }
    return S_OK;
}

HRESULT Refuse(const char* fileName, HRESULT hr, const std::string& why) {
    std::fprintf(stderr, "D3DXLoadMeshFromX: %s: %s\n", fileName, why.c_str());
    return hr;
}

bool ReadWholeFile(const char* fileName, std::string* bytes) {
    std::ifstream file(pathmap::MapWindowsPath(fileName), std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || size > kMaxMeshFileBytes) return false;
    bytes->resize((size_t)size);
    return size == 0 || (bool)file.seekg(0).read(&(*bytes)[0], size);
}

}  // namespace

HRESULT WINAPI D3DXLoadMeshFromX(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE8 pDevice, LPD3DXBUFFER* ppAdjacency,
                                 LPD3DXBUFFER* ppMaterials, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (ppMesh) *ppMesh = nullptr;
    if (ppMaterials) *ppMaterials = nullptr;
    if (ppAdjacency) *ppAdjacency = nullptr;
    if (!pFilename || !pDevice || !ppMesh) return D3DERR_INVALIDCALL;

    std::string bytes;
    if (!ReadWholeFile(pFilename, &bytes)) return Refuse(pFilename, E_FAIL, "the file cannot be read");
    xfile::File file;
    std::string error;
    switch (xfile::Parse(bytes, &file, &error)) {
        case xfile::Result::Ok: break;
        case xfile::Result::NotText: return Refuse(pFilename, E_NOTIMPL, error);
        case xfile::Result::Invalid: return Refuse(pFilename, D3DXERR_INVALIDDATA, error);
    }
    MeshGatherer gatherer(file);
    if (!gatherer.Gather(file)) return Refuse(pFilename, D3DXERR_INVALIDDATA, gatherer.Error());
    if (gatherer.VertexCount() > 0xFFFF && !(Options & D3DXMESH_32BIT))
        return Refuse(pFilename, D3DXERR_INVALIDMESH, "more than 65535 vertices without D3DXMESH_32BIT");

    std::vector<DWORD> indices, attributes;
    gatherer.SortedFaces(&indices, &attributes);
    const std::vector<float> vertices = gatherer.PackedVertices();
    ID3DXMesh* mesh = nullptr;
    HRESULT hr = d3dx8::BuildMesh(pDevice, Options, gatherer.Fvf(), vertices.data(), gatherer.VertexCount(), indices,
                                  &attributes, &mesh, ppAdjacency);
    if (FAILED(hr)) return hr;
    if (ppMaterials && FAILED(hr = MaterialBuffer(gatherer.Materials(), ppMaterials))) {
        mesh->Release();
        if (ppAdjacency && *ppAdjacency) {
            (*ppAdjacency)->Release();
            *ppAdjacency = nullptr;
        }
        return hr;
    }
    if (pNumMaterials) *pNumMaterials = (DWORD)gatherer.Materials().size();
    *ppMesh = mesh;
    return S_OK;
}
