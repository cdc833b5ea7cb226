// dinput_test.cpp -- the DirectInput keyboard and mouse: creation, formats, acquisition, reads,
// injected input through SDL's queue, lost devices and the key table.
#include <gtest/gtest.h>

#include <set>

#include "dinput.h"
#include "layer/input.h"

using namespace layer;

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A, reinterpret_cast<void**>(&di_), nullptr),
                  DI_OK);
        ASSERT_EQ(di_->CreateDevice(GUID_SysKeyboard, &keyboard_, nullptr), DI_OK);
        ASSERT_EQ(keyboard_->SetDataFormat(&c_dfDIKeyboard), DI_OK);
        ASSERT_EQ(keyboard_->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
        ASSERT_EQ(keyboard_->Acquire(), DI_OK);
        ASSERT_EQ(di_->CreateDevice(GUID_SysMouse, &mouse_, nullptr), DI_OK);
        ASSERT_EQ(mouse_->SetDataFormat(&c_dfDIMouse2), DI_OK);
        ASSERT_EQ(mouse_->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
        ASSERT_EQ(mouse_->Acquire(), DI_OK);
    }
    void TearDown() override {
        for (IUnknown* made : std::initializer_list<IUnknown*>{mouse_, keyboard_, di_})
            EXPECT_EQ(made ? made->Release() : 0u, 0u);
    }
    BYTE Key(BYTE dik) {
        BYTE keys[256];
        EXPECT_EQ(keyboard_->GetDeviceState(sizeof keys, keys), DI_OK);
        return keys[dik];
    }

    IDirectInput8A* di_ = nullptr;
    IDirectInputDevice8A* keyboard_ = nullptr;
    IDirectInputDevice8A* mouse_ = nullptr;
};

}  // namespace

TEST(DirectInputCreate, RefusesWrongVersionsInterfacesAndDevices) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(DirectInput8Create(nullptr, 0x0700, IID_IDirectInput8A, &out, nullptr), DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IUnknown, &out, nullptr), DIERR_NOINTERFACE);
    IDirectInput8A* di = nullptr;
    ASSERT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8A, reinterpret_cast<void**>(&di), nullptr), DI_OK);
    IDirectInputDevice8A* dev = reinterpret_cast<IDirectInputDevice8A*>(1);
    EXPECT_EQ(di->CreateDevice(IID_IDirectInput8A, &dev, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(dev, nullptr);
    ASSERT_EQ(di->CreateDevice(GUID_SysKeyboard, &dev, nullptr), DI_OK);
    // Without a data format there is nothing to acquire; the mouse format does not fit a keyboard.
    EXPECT_EQ(dev->Acquire(), DIERR_INVALIDPARAM);
    EXPECT_EQ(dev->SetDataFormat(&c_dfDIMouse2), DIERR_INVALIDPARAM);
    EXPECT_EQ(dev->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(dev->Release(), 0u);
    EXPECT_EQ(di->Release(), 0u);
}

TEST_F(InputTest, KeysOfEachPositionAreHeldWhileDownAndReadAsTheImmediateState) {
    EXPECT_EQ(Key(DIK_W), 0);
    InjectKey(DIK_W, true);
    EXPECT_EQ(Key(DIK_W), 0x80);
    EXPECT_EQ(Key(DIK_W), 0x80);  // no edge bookkeeping in the device: it stays held
    InjectKey(DIK_W, false);
    EXPECT_EQ(Key(DIK_W), 0);
    // A press and release between two reads is never seen.
    InjectKey(DIK_SPACE, true);
    InjectKey(DIK_SPACE, false);
    EXPECT_EQ(Key(DIK_SPACE), 0);
    // Scancodes through SDL's queue reach the key of that position.
    InjectScancode(26, true);  // the usage number of the key labelled W on a US keyboard
    EXPECT_EQ(Key(DIK_W), 0x80);
    InjectScancode(26, false);
    InjectScancode(82, true);  // the up arrow
    EXPECT_EQ(Key(DIK_W), 0);
    EXPECT_EQ(Key(DIK_UP), 0x80);
    InjectScancode(82, false);
    EXPECT_EQ(Key(DIK_UP), 0);
}

TEST_F(InputTest, MouseReportsMotionSinceTheLastReadAndItsButtons) {
    InjectMouseMotion(5, -3);
    InjectMouseMotion(2, 1);
    InjectMouseWheel(120);
    InjectMouseButton(0, true);
    DIMOUSESTATE2 m;
    ASSERT_EQ(mouse_->GetDeviceState(sizeof m, &m), DI_OK);
    EXPECT_EQ(m.lX, 7);
    EXPECT_EQ(m.lY, -2);
    EXPECT_EQ(m.lZ, 120);
    EXPECT_EQ(m.rgbButtons[0], 0x80);
    EXPECT_EQ(m.rgbButtons[1], 0);
    ASSERT_EQ(mouse_->GetDeviceState(sizeof m, &m), DI_OK);
    EXPECT_EQ(m.lX, 0);
    EXPECT_EQ(m.lY, 0);
    EXPECT_EQ(m.lZ, 0);
    EXPECT_EQ(m.rgbButtons[0], 0x80);  // still held
    InjectMouseButton(0, false);
    InjectMouseButton(1, true);
    ASSERT_EQ(mouse_->GetDeviceState(sizeof m, &m), DI_OK);
    EXPECT_EQ(m.rgbButtons[0], 0);
    EXPECT_EQ(m.rgbButtons[1], 0x80);
    // The size must be that of the format set.
    DIMOUSESTATE small;
    EXPECT_EQ(mouse_->GetDeviceState(sizeof small, &small), DIERR_INVALIDPARAM);
}

TEST_F(InputTest, LostDevicesFailOnceAndAcquireAgainAtOnce) {
    InjectKey(DIK_A, true);
    FailKeyboardReads(1);
    BYTE keys[256];
    EXPECT_EQ(keyboard_->GetDeviceState(sizeof keys, keys), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard_->GetDeviceState(sizeof keys, keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard_->Acquire(), DI_OK);  // never "input lost"
    EXPECT_EQ(Key(DIK_A), 0x80);
    EXPECT_EQ(keyboard_->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard_->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard_->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard_->SetDataFormat(&c_dfDIKeyboard), DI_OK);  // allowed once unacquired
    EXPECT_EQ(mouse_->SetDataFormat(&c_dfDIMouse2), DIERR_ACQUIRED);
}

TEST(DirectInputKeys, TableMapsPositionsToDistinctCodes) {
    // Every key the game reads, by its usage number: the letters A 4, B 5, D 7, N 17, P 19, S 22 and
    // W 26, the digits 1 to 6 from 30, Return 40, Escape 41, Space 44 and the arrows from 79.
    const std::pair<int, BYTE> keys[] = {
        {4, DIK_A}, {5, DIK_B}, {7, DIK_D}, {17, DIK_N}, {19, DIK_P}, {22, DIK_S}, {26, DIK_W}, {30, DIK_1},
        {31, DIK_2}, {32, DIK_3}, {33, DIK_4}, {34, DIK_5}, {35, DIK_6}, {40, DIK_RETURN}, {41, DIK_ESCAPE},
        {44, DIK_SPACE}, {79, DIK_RIGHT}, {80, DIK_LEFT}, {81, DIK_DOWN}, {82, DIK_UP}, {0, 0}, {100000, 0}};
    for (auto [scancode, dik] : keys) EXPECT_EQ(DIKeyFromScancode(scancode), dik) << scancode;
    // Apart from the two backslash positions, no two scancodes share a code.
    std::set<BYTE> seen;
    int mapped = 0, shared = 0;
    for (int sc = 0; sc < 512; ++sc) {
        BYTE dik = DIKeyFromScancode(sc);
        if (!dik) continue;
        ++mapped;
        if (!seen.insert(dik).second) ++shared;
    }
    EXPECT_GT(mapped, 100);
    EXPECT_EQ(shared, 1);
}
