// dxutil_text.cpp -- 8-bit and wide text, debugger trace output and GUID text.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "utils/dxutil.h"

namespace {

// The plain copy behind the generic functions: the generic text is 8-bit.
void CopyText(char* out, const char* source, int count) {
    if (!out || !source || count == 0 || count < -1) return;
    if (count == -1) {
        std::strcpy(out, source);
        return;
    }
    std::strncpy(out, source, static_cast<size_t>(count));
    out[count - 1] = '\0';
}

}  // namespace

// The count is in wide characters of the converted text, and a letter of two (a surrogate pair)
// that does not fit whole is left out, so the terminator follows what was written.
void AnsiToWide(WCHAR* wstrDestination, const char* strSource, int cchDestChar) {
    if (!wstrDestination || !strSource) return;
    int units = MultiByteToWideChar(CP_ACP, 0, strSource, -1, nullptr, 0);
    if (cchDestChar == -1) cchDestChar = units;
    if (cchDestChar <= 0 || units <= 0) return;
    std::u16string converted(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, strSource, -1, converted.data(), units);
    size_t length = std::min(static_cast<size_t>(units - 1), static_cast<size_t>(cchDestChar - 1));
    if (converted[length] >= 0xDC00 && converted[length] <= 0xDFFF) --length;  // not inside a pair
    std::copy(converted.begin(), converted.begin() + static_cast<std::ptrdiff_t>(length), wstrDestination);
    wstrDestination[length] = 0;
}

// The 8-bit code page is UTF-8, where a letter may take up to four bytes: the count is in bytes
// of the converted text, and a letter that does not fit whole is left out.
void WideToAnsi(char* strDestination, const WCHAR* wstrSource, int cchDestChar) {
    if (!strDestination || !wstrSource) return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, wstrSource, -1, nullptr, 0, nullptr, nullptr);
    if (cchDestChar == -1) cchDestChar = bytes;
    if (cchDestChar <= 0 || bytes <= 0) return;
    std::string converted(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, wstrSource, -1, converted.data(), bytes, nullptr, nullptr);
    size_t length = std::min(static_cast<size_t>(bytes - 1), static_cast<size_t>(cchDestChar - 1));
    while (length > 0 && (converted[length] & 0xC0) == 0x80) --length;  // not inside a letter
    std::memcpy(strDestination, converted.data(), length);
    strDestination[length] = '\0';
}

void GenericToAnsi(char* strDestination, const char* tstrSource, int cchDestChar) {
    CopyText(strDestination, tstrSource, cchDestChar);
}

void AnsiToGeneric(char* tstrDestination, const char* strSource, int cchDestChar) {
    CopyText(tstrDestination, strSource, cchDestChar);
}

void GenericToWide(WCHAR* wstrDestination, const char* tstrSource, int cchDestChar) {
    if (cchDestChar == 0) return;
    AnsiToWide(wstrDestination, tstrSource, cchDestChar);
}

void WideToGeneric(char* tstrDestination, const WCHAR* wstrSource, int cchDestChar) {
    if (cchDestChar == 0) return;
    WideToAnsi(tstrDestination, wstrSource, cchDestChar);
}

HRESULT DebugOut(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%s(%ld): ", strFile ? strFile : "", static_cast<long>(dwLine));
    OutputDebugStringA(buffer);
    OutputDebugStringA(strMsg);
    if (hr) {
        std::snprintf(buffer, sizeof buffer, "(hr=%08lx)\n", static_cast<unsigned long>(static_cast<DWORD>(hr)));
        OutputDebugStringA(buffer);
    }
    OutputDebugStringA("\n");
    return hr;
}

void DebugTrace(const char* strMsg, ...) {
    if (!strMsg) return;
    char buffer[512];
    va_list args;
    va_start(args, strMsg);
    std::vsnprintf(buffer, sizeof buffer, strMsg, args);
    va_end(args);
    OutputDebugStringA(buffer);
}

BOOL StringToGuid(const char* strIn, GUID* pGuidOut) {
    if (!strIn || !pGuidOut) return FALSE;
    unsigned int data[10];
    int fields = std::sscanf(strIn, "{%8X-%4X-%4X-%2X%2X-%2X%2X%2X%2X%2X%2X}", &pGuidOut->Data1, &data[0],
                             &data[1], &data[2], &data[3], &data[4], &data[5], &data[6], &data[7], &data[8],
                             &data[9]);
    if (fields != 11) {
        std::memset(pGuidOut, 0, sizeof(GUID));
        return FALSE;
    }
    pGuidOut->Data2 = static_cast<WORD>(data[0]);
    pGuidOut->Data3 = static_cast<WORD>(data[1]);
    for (int i = 0; i < 8; ++i) pGuidOut->Data4[i] = static_cast<BYTE>(data[2 + i]);
    return TRUE;
}

void GuidToString(const GUID* pGuidIn, char* strOut) {
    if (!pGuidIn || !strOut) return;
    const GUID& g = *pGuidIn;
    std::snprintf(strOut, 39, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2, g.Data3,
                  g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
}
