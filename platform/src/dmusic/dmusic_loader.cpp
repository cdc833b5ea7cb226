// dmusic_loader.cpp -- the loader: finds files (Windows names, relative to the search directory),
// makes wave segments of them, and caches what it made until the object is released from it.
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "dmusic/dmusic_objects.h"
#include "dmusic/dmusic_wave.h"
#include "debugapi.h"
#include "win32/path_mapping.h"
#include "winnls.h"

namespace {

std::string Utf8(const WCHAR* wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return "";
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

bool IsAbsolute(const std::string& path) {
    return !path.empty() && (path[0] == '\\' || path[0] == '/' || (path.size() > 1 && path[1] == ':'));
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Says once per kind of content, on the debugger output, that the layer cannot load it.
HRESULT Unsupported(REFGUID rclsid) {
    static std::set<std::string> said;
    const char* kind = rclsid == CLSID_DirectMusicScript     ? "scripts"
                       : rclsid == CLSID_DirectMusicStyle    ? "styles"
                       : rclsid == CLSID_DirectMusicChordMap ? "chord maps"
                       : rclsid == CLSID_DirectMusicSegment  ? "segments other than wave files (MIDI, music segments)"
                                                             : "objects of this class";
    if (said.insert(kind).second) {
        std::string line = std::string("DirectMusic loader: ") + kind + " are not supported\n";
        OutputDebugStringA(line.c_str());
    }
    return DMUS_E_LOADER_FORMATNOTSUPPORTED;
}

// Makes the object of the class from a file image. Only wave segments can be made.
HRESULT CreateFromImage(REFGUID rclsid, std::vector<uint8_t> bytes, const std::string& name, IUnknown** object) {
    *object = nullptr;
    if (rclsid != CLSID_DirectMusicSegment || !LooksLikeWave(bytes)) return Unsupported(rclsid);
    WaveFormatInfo info;
    if (!CheckWave(bytes, info)) return E_FAIL;
    *object = new WaveSegment(std::move(bytes), name);
    return S_OK;
}

HRESULT Hand(IUnknown* object, REFIID riid, void** ppv) {
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

class Loader : public com::RefCounted<IDirectMusicLoader8> {
public:
    ~Loader() override { ClearCache(); }

    HRESULT QueryInterface(REFIID riid, void** ppv) override { return com::QueryFor(this, riid, ppv, {&IID_IDirectMusicLoader8}); }

    HRESULT LoadObjectFromFile(REFGUID rguidClassID, REFIID iidInterfaceID, WCHAR* pwzFilePath,
                               void** ppObject) override {
        if (!ppObject || !pwzFilePath) return E_POINTER;
        *ppObject = nullptr;
        return LoadFile(rguidClassID, iidInterfaceID, Utf8(pwzFilePath), ppObject);
    }

    HRESULT GetObject(LPDMUS_OBJECTDESC pDesc, REFIID riid, LPVOID* ppv) override {
        if (!ppv || !pDesc) return E_POINTER;
        *ppv = nullptr;
        if (pDesc->dwSize != sizeof(DMUS_OBJECTDESC) || !(pDesc->dwValidData & DMUS_OBJ_CLASS)) return E_INVALIDARG;
        if (pDesc->dwValidData & DMUS_OBJ_MEMORY) {
            if (!pDesc->pbMemData || pDesc->llMemLength <= 0 || pDesc->llMemLength > INT32_MAX) return E_INVALIDARG;
            std::vector<uint8_t> bytes(pDesc->pbMemData, pDesc->pbMemData + pDesc->llMemLength);
            IUnknown* object;
            HRESULT hr = CreateFromImage(pDesc->guidClass, std::move(bytes), "", &object);
            return FAILED(hr) ? hr : Hand(object, riid, ppv);
        }
        if (pDesc->dwValidData & (DMUS_OBJ_FILENAME | DMUS_OBJ_FULLPATH)) {
            WCHAR name[DMUS_MAX_FILENAME + 1] = {};
            std::copy(pDesc->wszFileName, pDesc->wszFileName + DMUS_MAX_FILENAME, name);
            return LoadFile(pDesc->guidClass, riid, Utf8(name), ppv);
        }
        return E_INVALIDARG;
    }

    HRESULT SetSearchDirectory(REFGUID, WCHAR* pwzPath, BOOL fClear) override {
        if (!pwzPath) return E_POINTER;
        searchDirectory_ = Utf8(pwzPath);
        if (fClear) ClearCache();
        return S_OK;
    }

    // Nothing the loader makes refers back to other loaded objects, so there are no cycles to break.
    void CollectGarbage() override {}

    HRESULT ReleaseObjectByUnknown(IUnknown* pObject) override {
        if (!pObject) return E_POINTER;
        for (auto it = cache_.begin(); it != cache_.end(); ++it) {
            if (it->second == pObject) {
                it->second->Release();
                cache_.erase(it);
                return S_OK;
            }
        }
        return S_FALSE;
    }

private:
    HRESULT LoadFile(REFGUID rclsid, REFIID riid, const std::string& name, void** ppv) {
        std::string path = name;
        if (!searchDirectory_.empty() && !IsAbsolute(name)) path = searchDirectory_ + "\\" + name;
        std::string resolved = pathmap::MapWindowsPath(path.c_str());

        auto cached = cache_.find(resolved);
        if (cached != cache_.end()) return cached->second->QueryInterface(riid, ppv);

        std::vector<uint8_t> bytes;
        if (!ReadWholeFile(resolved, bytes)) return DMUS_E_LOADER_FAILEDOPEN;
        IUnknown* object;
        HRESULT hr = CreateFromImage(rclsid, std::move(bytes), name, &object);
        if (FAILED(hr)) return hr;
        hr = object->QueryInterface(riid, ppv);
        if (FAILED(hr)) {
            object->Release();
            return hr;
        }
        cache_[resolved] = object;
        return hr;
    }

    void ClearCache() {
        for (auto& entry : cache_) entry.second->Release();
        cache_.clear();
    }

    std::string searchDirectory_;
    std::map<std::string, IUnknown*> cache_;
};

}  // namespace

IDirectMusicLoader8* NewLoader() { return new Loader(); }
