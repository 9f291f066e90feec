#include "simulator/input.h"

namespace input {
namespace {

void SendMouse(DWORD flags, LONG dx, LONG dy, DWORD data) {
  INPUT event{};
  event.type = INPUT_MOUSE;
  event.mi.dx = dx;
  event.mi.dy = dy;
  event.mi.mouseData = data;
  event.mi.dwFlags = flags;
  SendInput(1, &event, sizeof event);
}

// Normalised absolute coordinate (0 .. 65535) of pixel `p` on an axis of `extent` pixels.
LONG Normalised(int p, int extent) { return LONG((p * 65536 + 32768) / extent); }

struct button_flags {
  DWORD down, up, data;
};

button_flags FlagsOf(Button button) {
  switch (button) {
    case Button::Left: return {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 0};
    case Button::Right: return {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 0};
    case Button::Middle: return {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 0};
    case Button::X1: return {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON1};
    case Button::X2: return {MOUSEEVENTF_XDOWN, MOUSEEVENTF_XUP, XBUTTON2};
  }
  return {0, 0, 0};
}

void SendKey(WORD key, DWORD flags) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wVk = key;
  event.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  event.ki.dwFlags = flags;
  SendInput(1, &event, sizeof event);
}

}  // namespace

void MoveTo(int x, int y) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK,
            Normalised(x - left, GetSystemMetrics(SM_CXVIRTUALSCREEN)),
            Normalised(y - top, GetSystemMetrics(SM_CYVIRTUALSCREEN)), 0);
}

void MoveBy(int dx, int dy) { SendMouse(MOUSEEVENTF_MOVE, dx, dy, 0); }

void Press(Button button) { SendMouse(FlagsOf(button).down, 0, 0, FlagsOf(button).data); }

void Release(Button button) { SendMouse(FlagsOf(button).up, 0, 0, FlagsOf(button).data); }

void Click(Button button) {
  Press(button);
  Release(button);
}

void Wheel(int delta) { SendMouse(MOUSEEVENTF_WHEEL, 0, 0, DWORD(delta)); }

void KeyDown(WORD key) { SendKey(key, 0); }

void KeyUp(WORD key) { SendKey(key, KEYEVENTF_KEYUP); }

void DispatchOneOrWait(DWORD milliseconds) {
  MSG message;
  if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  } else {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
  }
}

void Pump(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  do {
    DispatchOneOrWait(10);
  } while (GetTickCount() - start < milliseconds);
}

bool PumpUntilInputHandled() {
  return PumpUntil([] {
    MSG message;
    return !PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT);
  });
}

namespace {
UINT_PTR g_firedTimer = 0;
void CALLBACK RecordFiring(HWND, UINT, UINT_PTR timer, DWORD) { g_firedTimer = timer; }
}  // namespace

marker_timer::marker_timer(UINT milliseconds)
    : milliseconds_(milliseconds), id_(SetTimer(nullptr, 0, milliseconds, RecordFiring)) {}

marker_timer::~marker_timer() {
  if (id_) KillTimer(nullptr, id_);
}

bool marker_timer::PumpUntilFired() {
  return id_ && PumpUntil([&] { return g_firedTimer == id_; }, milliseconds_ + LongestWait);
}

}  // namespace input
