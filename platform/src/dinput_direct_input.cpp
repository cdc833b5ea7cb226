// dinput_direct_input.cpp -- DirectInput8Create and the IDirectInput8A object.
#include "dinput.h"

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 0, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS,
                                  sizeof(DIMOUSESTATE), 0, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS,
                                   sizeof(DIMOUSESTATE2), 0, nullptr};

HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD, REFIID, LPVOID* ppvOut, LPUNKNOWN) {
    if (ppvOut) *ppvOut = nullptr;
    return E_NOTIMPL;
}
