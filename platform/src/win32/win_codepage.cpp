// win_codepage.cpp -- MultiByteToWideChar and WideCharToMultiByte between UTF-8 (the layer's
// 8-bit code page) and UTF-16. Malformed input becomes U+FFFD, as without MB_ERR_INVALID_CHARS.
#include <string>

#include "winnls.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSupportedCodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
}

// Reads one code point from UTF-8; advances i by the bytes used.
char32_t DecodeUtf8(const unsigned char* s, int n, int& i) {
    unsigned char c = s[i++];
    if (c < 0x80) return c;
    int extra = c >= 0xF0 && c <= 0xF4 ? 3 : c >= 0xE0 ? 2 : c >= 0xC2 && c < 0xE0 ? 1 : -1;
    if (extra < 0) return kReplacement;
    char32_t cp = c & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= n || (s[i] & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (s[i++] & 0x3F);
    }
    bool overlong = (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

// Reads one code point from UTF-16; a lone surrogate becomes U+FFFD.
char32_t DecodeUtf16(const WCHAR* s, int n, int& i) {
    char32_t c = s[i++];
    if (c >= 0xD800 && c <= 0xDBFF && i < n && s[i] >= 0xDC00 && s[i] <= 0xDFFF)
        return 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00);
    if (c >= 0xD800 && c <= 0xDFFF) return kReplacement;
    return c;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

template <typename T>
int Length(const T* s) {
    int n = 0;
    while (s[n]) ++n;
    return n;
}

// Copies the converted units out. Only whole characters are written: a surrogate pair or a
// multi-byte sequence that does not fit is left out. Returns the count, or 0 when cut.
template <typename Unit, typename String, typename Measure>
int CopyOut(const String& converted, Unit* out, int capacity, Measure unitsOfCharAt) {
    int size = static_cast<int>(converted.size());
    if (capacity == 0) return size;
    if (size <= capacity) {
        for (int k = 0; k < size; ++k) out[k] = converted[k];
        return size;
    }
    int k = 0;
    while (k < size) {
        int units = unitsOfCharAt(converted, k);
        if (k + units > capacity) break;
        for (int u = 0; u < units; ++u) out[k + u] = converted[k + u];
        k += units;
    }
    return 0;
}

}  // namespace

int MultiByteToWideChar(UINT CodePage, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                        int cchWideChar) {
    if (!IsSupportedCodePage(CodePage) || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 ||
        cchWideChar < 0 || (cchWideChar > 0 && !lpWideCharStr))
        return 0;
    int n = cbMultiByte == -1 ? Length(lpMultiByteStr) + 1 : cbMultiByte;
    const auto* s = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    std::u16string converted;
    for (int i = 0; i < n;) AppendUtf16(converted, DecodeUtf8(s, n, i));
    return CopyOut(converted, lpWideCharStr, cchWideChar, [](const std::u16string& w, int k) {
        return (w[k] >= 0xD800 && w[k] <= 0xDBFF) ? 2 : 1;
    });
}

int WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                        int cbMultiByte, LPCSTR, LPBOOL lpUsedDefaultChar) {
    if (lpUsedDefaultChar) *lpUsedDefaultChar = FALSE;
    if (!IsSupportedCodePage(CodePage) || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 ||
        cbMultiByte < 0 || (cbMultiByte > 0 && !lpMultiByteStr))
        return 0;
    int n = cchWideChar == -1 ? Length(lpWideCharStr) + 1 : cchWideChar;
    std::string converted;
    for (int i = 0; i < n;) AppendUtf8(converted, DecodeUtf16(lpWideCharStr, n, i));
    return CopyOut(converted, lpMultiByteStr, cbMultiByte, [](const std::string& s, int k) {
        unsigned char c = static_cast<unsigned char>(s[k]);
        return c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    });
}
