// dmutil_manager.cpp -- the music manager: COM, the loader and the performance, and the loading
// of segments, scripts, chord maps, styles and motifs.
#include <cstring>
#include <new>

#include "dxerr8.h"
#include "utils/dmutil.h"
#include "utils/dmutil_names.h"
#include "utils/dxutil.h"

namespace {

// A failure reported with this module's name as its source.
HRESULT Report(DWORD line, HRESULT hr, const char* call, BOOL showBox) {
    return DXTrace("utils\\dmutil", line, hr, call, showBox);
}

}  // namespace

CMusicManager::CMusicManager() : pLoader(nullptr), pPerformance(nullptr) {
    HRESULT hr = CoInitialize(nullptr);
    bCleanupCOM = SUCCEEDED(hr);
}

CMusicManager::~CMusicManager() {
    SAFE_RELEASE(pLoader);
    if (pPerformance) {
        // Stops every segment before the performance closes.
        pPerformance->Stop(nullptr, nullptr, 0, 0);
        pPerformance->CloseDown();
        SAFE_RELEASE(pPerformance);
    }
    if (bCleanupCOM) CoUninitialize();
}

HRESULT CMusicManager::Initialize(HWND hWnd, DWORD dwPChannels, DWORD dwDefaultPathType) {
    HRESULT hr = CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC, IID_IDirectMusicLoader8,
                                  reinterpret_cast<void**>(&pLoader));
    if (FAILED(hr)) return Report(__LINE__, hr, "CoCreateInstance", TRUE);

    hr = CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC, IID_IDirectMusicPerformance8,
                          reinterpret_cast<void**>(&pPerformance));
    if (FAILED(hr)) return Report(__LINE__, hr, "CoCreateInstance", TRUE);

    hr = pPerformance->InitAudio(nullptr, nullptr, hWnd, dwDefaultPathType, dwPChannels, DMUS_AUDIOF_ALL, nullptr);
    if (FAILED(hr)) {
        if (hr == DSERR_NODRIVER) {
            DebugTrace("Warning: No sound card found\n");
            return hr;
        }
        return Report(__LINE__, hr, "InitAudio", TRUE);
    }
    return S_OK;
}

HRESULT CMusicManager::SetSearchDirectory(const char* strMediaPath) {
    if (!pLoader) return E_UNEXPECTED;
    MusicName wide;
    if (!wide.Set(strMediaPath)) return E_INVALIDARG;
    return pLoader->SetSearchDirectory(GUID_DirectMusicAllTypes, wide.text, FALSE);
}

IDirectMusicAudioPath8* CMusicManager::GetDefaultAudioPath() {
    if (!pPerformance) return nullptr;
    IDirectMusicAudioPath8* pAudioPath = nullptr;
    pPerformance->GetDefaultAudioPath(&pAudioPath);
    return pAudioPath;
}

void CMusicManager::CollectGarbage() {
    if (pLoader) pLoader->CollectGarbage();
}

HRESULT CMusicManager::CreateSegmentFromFile(CMusicSegment** ppSegment, const char* strFileName,
                                             BOOL bDownloadNow, BOOL bIsMidiFile) {
    IDirectMusicSegment8* pSegment = nullptr;
    HRESULT hr = LoadFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, strFileName,
                              reinterpret_cast<void**>(&pSegment));
    if (FAILED(hr)) {
        if (hr == DMUS_E_LOADER_FAILEDOPEN) return hr;
        return Report(__LINE__, hr, "LoadObjectFromFile", TRUE);
    }
    return WrapSegment(ppSegment, pSegment, bDownloadNow, bIsMidiFile);
}

HRESULT CMusicManager::CreateSegmentFromResource(CMusicSegment** ppSegment, const char* strResource,
                                                 const char* strResourceType, BOOL bDownloadNow, BOOL bIsMidiFile) {
    if (!pLoader) return E_UNEXPECTED;
    HRSRC hResource = FindResourceA(nullptr, strResource, strResourceType);
    if (!hResource) return E_FAIL;
    HGLOBAL hData = LoadResource(nullptr, hResource);
    if (!hData) return E_FAIL;
    DWORD dwSize = SizeofResource(nullptr, hResource);

    DMUS_OBJECTDESC desc;
    std::memset(&desc, 0, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwValidData = DMUS_OBJ_CLASS | DMUS_OBJ_MEMORY;
    desc.guidClass = CLSID_DirectMusicSegment;
    desc.llMemLength = dwSize;
    desc.pbMemData = static_cast<BYTE*>(LockResource(hData));

    IDirectMusicSegment8* pSegment = nullptr;
    HRESULT hr = pLoader->GetObject(&desc, IID_IDirectMusicSegment8, reinterpret_cast<void**>(&pSegment));
    if (FAILED(hr)) {
        if (hr == DMUS_E_LOADER_FAILEDOPEN) return hr;
        return Report(__LINE__, hr, "LoadObjectFromFile", TRUE);
    }
    return WrapSegment(ppSegment, pSegment, bDownloadNow, bIsMidiFile);
}

HRESULT CMusicManager::WrapSegment(CMusicSegment** ppSegment, IDirectMusicSegment8* pSegment, BOOL bDownloadNow,
                                   BOOL bIsMidiFile) {
    *ppSegment = new (std::nothrow) CMusicSegment(pPerformance, pLoader, pSegment);
    if (!*ppSegment) {
        pSegment->Release();
        return E_OUTOFMEMORY;
    }
    HRESULT hr;
    if (bIsMidiFile) {
        hr = pSegment->SetParam(GUID_StandardMIDIFile, 0xFFFFFFFF, 0, 0, nullptr);
        if (FAILED(hr)) return Report(__LINE__, hr, "SetParam", TRUE);
    }
    if (bDownloadNow) {
        hr = (*ppSegment)->Download(nullptr);
        if (FAILED(hr)) return Report(__LINE__, hr, "Download", TRUE);
    }
    return S_OK;
}

HRESULT CMusicManager::CreateScriptFromFile(CMusicScript** ppScript, const char* strFileName) {
    IDirectMusicScript8* pScript = nullptr;
    HRESULT hr = LoadFromFile(CLSID_DirectMusicScript, IID_IDirectMusicScript8, strFileName,
                              reinterpret_cast<void**>(&pScript));
    if (FAILED(hr)) return Report(__LINE__, hr, "LoadObjectFromFile", FALSE);

    hr = pScript->Init(pPerformance, nullptr);
    if (FAILED(hr)) {
        pScript->Release();
        return Report(__LINE__, hr, "Init", TRUE);
    }
    *ppScript = new (std::nothrow) CMusicScript(pPerformance, pLoader, pScript);
    if (!*ppScript) {
        pScript->Release();
        return E_OUTOFMEMORY;
    }
    return hr;
}

HRESULT CMusicManager::CreateChordMapFromFile(IDirectMusicChordMap8** ppChordMap, const char* strFileName) {
    return LoadFromFile(CLSID_DirectMusicChordMap, IID_IDirectMusicChordMap8, strFileName,
                        reinterpret_cast<void**>(ppChordMap));
}

HRESULT CMusicManager::CreateStyleFromFile(IDirectMusicStyle8** ppStyle, const char* strFileName) {
    return LoadFromFile(CLSID_DirectMusicStyle, IID_IDirectMusicStyle8, strFileName, reinterpret_cast<void**>(ppStyle));
}

HRESULT CMusicManager::LoadFromFile(REFGUID rguidClass, REFIID riid, const char* strFileName, void** ppObject) {
    if (!pLoader) return E_UNEXPECTED;
    MusicName wide;
    if (!wide.Set(strFileName)) return E_INVALIDARG;
    return pLoader->LoadObjectFromFile(rguidClass, riid, wide.text, ppObject);
}

HRESULT CMusicManager::GetMotifFromStyle(IDirectMusicSegment8** ppMotif, const char* strStyle, const char* strMotif) {
    IDirectMusicStyle8* pStyle = nullptr;
    HRESULT hr = CreateStyleFromFile(&pStyle, strStyle);
    if (FAILED(hr)) return Report(__LINE__, hr, "CreateStyleFromFile", TRUE);
    if (!pStyle) return S_OK;

    MusicName wide;
    if (!wide.Set(strMotif)) {
        pStyle->Release();
        return E_INVALIDARG;
    }
    IDirectMusicSegment* pMotif = nullptr;
    hr = pStyle->GetMotif(wide.text, &pMotif);
    pStyle->Release();
    if (FAILED(hr)) return Report(__LINE__, hr, "GetMotif", TRUE);
    if (pMotif) {
        pMotif->QueryInterface(IID_IDirectMusicSegment8, reinterpret_cast<void**>(ppMotif));
        pMotif->Release();
    }
    return S_OK;
}
