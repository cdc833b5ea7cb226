// dxutil.h -- utility functions shared by the framework's DirectX classes: 8-bit and wide text,
// debugger trace output, media-file lookup, typed registry values, a stopwatch and GUID text.
#pragma once

#include "windows.h"

// The media folder of the graphics kit from the registry, ending in "\Media\"; "" when unknown.
const char* GetMediaPathFromRegistry();
// Finds a file: as given (full path), then its bare name in the working directory, then in the
// media folder. strDest must hold MAX_PATH characters; a path that does not fit there is not
// taken. When nothing is found, strDest gets the name unchanged and the result is E_FAIL.
HRESULT LocateMediaFile(char* strDest, const char* strFilename);

// Typed values of an open registry key. Readers never fail: a missing value gives the default.
HRESULT RegReadString(HKEY hKey, const char* strRegName, char* strValue, DWORD dwLength, const char* strDefault);
HRESULT RegWriteString(HKEY hKey, const char* strRegName, const char* strValue);
HRESULT RegReadInt(HKEY hKey, const char* strRegName, DWORD* pdwValue, DWORD dwDefault);
HRESULT RegWriteInt(HKEY hKey, const char* strRegName, DWORD dwValue);
HRESULT RegReadBool(HKEY hKey, const char* strRegName, BOOL* pbValue, BOOL bDefault);
HRESULT RegWriteBool(HKEY hKey, const char* strRegName, BOOL bValue);
HRESULT RegReadGuid(HKEY hKey, const char* strRegName, GUID* pGuidValue, const GUID& guidDefault);
HRESULT RegWriteGuid(HKEY hKey, const char* strRegName, GUID guidValue);

// A stopwatch in seconds. Commands: 0 reset, 1 start, 2 stop, 3 advance a tenth of a second
// (while stopped), 4 absolute time, 5 time since the reset, 6 time since the last command 6.
// Any other command gives -1.
FLOAT UtilTimer(int command);

// Text conversions. The count is the size of the output in characters, terminator included, or
// -1 for "the whole source". The output is the source cut to count - 1 characters, terminated
// right after them; a cut falls between whole letters (a UTF-8 sequence, a surrogate pair).
// A null pointer or a count of 0 does nothing.
void AnsiToWide(WCHAR* wstrDestination, const char* strSource, int cchDestChar);
void WideToAnsi(char* strDestination, const WCHAR* wstrSource, int cchDestChar);
void GenericToAnsi(char* strDestination, const char* tstrSource, int cchDestChar);
void GenericToWide(WCHAR* wstrDestination, const char* tstrSource, int cchDestChar);
void AnsiToGeneric(char* tstrDestination, const char* strSource, int cchDestChar);
void WideToGeneric(char* tstrDestination, const WCHAR* wstrSource, int cchDestChar);

// Debugger output: "file(line): msg", then "(hr=%08lx)\n" for a non-zero code, then "\n".
HRESULT DebugOut(const char* strFile, DWORD dwLine, HRESULT hr, const char* strMsg);
// printf to the debugger output, cut to 512 characters.
void DebugTrace(const char* strMsg, ...);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" and back; strOut needs 39 characters.
BOOL StringToGuid(const char* strIn, GUID* pGuidOut);
void GuidToString(const GUID* pGuidIn, char* strOut);
