// error_box.cpp -- the text and the box of a failed call.
#include "shell/error_box.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace {

constexpr HRESULT kOutOfVideoMemory = static_cast<HRESULT>(0x8876017Cu);
constexpr size_t kTextSize = 512;

// The texts of the failures already shown by ErrorBoxOnce.
std::set<std::string>& ReportedTexts() {
    static std::set<std::string> texts;
    return texts;
}

// Appends src to the text in buf, cutting it so that buf always stays terminated within size.
void Append(char* buf, size_t size, const char* src) {
    size_t used = std::strlen(buf);
    if (used + 1 >= size) return;
    std::snprintf(buf + used, size - used, "%s", src);
}

// The general text: the call's name is cut where needed so that the result line always fits.
void ComposeFailureText(char* buf, size_t size, HRESULT hr, const char* what) {
    char number[32];
    std::snprintf(number, sizeof number, "%.00f", static_cast<double>(hr));
    char tail[48];
    std::snprintf(tail, sizeof tail, "\nChyba: %s", number);

    buf[0] = '\0';
    Append(buf, size, "Nastala chyba!\nPříznak: ");
    size_t room = size - std::strlen(buf) - std::strlen(tail) - 1;
    size_t whatLen = what ? std::strlen(what) : 0;
    size_t keep = whatLen < room ? whatLen : room;
    // Never cut a UTF-8 character in two.
    while (keep > 0 && keep < whatLen && (static_cast<unsigned char>(what[keep]) & 0xC0) == 0x80) --keep;
    std::strncat(buf, what ? what : "", keep);
    Append(buf, size, tail);
}

}  // namespace

void ErrorBox(HRESULT hr, const char* what) {
    if (hr >= 0) return;
    char text[kTextSize];
    if (hr == E_OUTOFMEMORY)
        std::snprintf(text, sizeof text, "Not enough memory.");
    else if (hr == kOutOfVideoMemory)
        std::snprintf(text, sizeof text, "Not enough video memory.");
    else
        ComposeFailureText(text, sizeof text, hr, what);
    MessageBoxA(nullptr, text, "Error", MB_ICONERROR);
}

void ErrorBoxOnce(HRESULT hr, const char* what) {
    if (hr >= 0) return;
    if (!ReportedTexts().insert(what ? what : "").second) return;
    ErrorBox(hr, what);
}

void ForgetReportedErrors() { ReportedTexts().clear(); }
