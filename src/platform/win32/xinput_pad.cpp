#include "platform/win32/xinput_pad.h"

#include "platform/window/pad_keys.h"

namespace quillorn::platform::xinput {

namespace {

struct Place {
  bool connected = false;
  uint32_t packet = 0;
  uint16_t buttons = 0;
  PadKeys keys;
};

struct Pads {
  GetStateFn get = nullptr;
  SetStateFn set = nullptr;
  Place places[kPlaces];
  bool searched = false;
  uint32_t lastSearch = 0;
  int inUse = -1;
};

Pads g_pads;

// XInput's button bits, by their number (the bit's position).
PadButton Button(int bit) {
  switch (1u << bit) {
    case 0x0001:
      return PadButton::kUp;
    case 0x0002:
      return PadButton::kDown;
    case 0x0004:
      return PadButton::kLeft;
    case 0x0008:
      return PadButton::kRight;
    case 0x0010:
      return PadButton::kStart;
    case 0x0020:
      return PadButton::kBack;
    case 0x1000:
      return PadButton::kA;
    case 0x2000:
      return PadButton::kB;
    case 0x8000:
      return PadButton::kY;
    default:
      return PadButton::kOther;
  }
}

void Forget(int number) {
  PadLetGo(g_pads.places[number].keys);
  g_pads.places[number] = Place();
  if (g_pads.inUse == number) g_pads.inUse = -1;
}

void Read(int number) {
  Place& p = g_pads.places[number];
  State s;
  if (g_pads.get(uint32_t(number), &s) != 0) {
    if (p.connected) Forget(number);  // pulled out
    return;
  }
  if (p.connected && s.packetNumber == p.packet) return;  // nothing moved
  if (!p.connected && g_pads.inUse < 0) g_pads.inUse = number;
  p.connected = true;
  p.packet = s.packetNumber;
  const Gamepad& pad = s.gamepad;
  uint32_t stickBefore = p.keys.stickKey;
  if (pad.buttons & ~p.buttons) g_pads.inUse = number;
  p.buttons = pad.buttons;
  for (int bit = 0; bit < 16; ++bit)
    PadButtonChanged(p.keys, bit, Button(bit), (pad.buttons >> bit) & 1);
  PadStickMoved(p.keys, pad.thumbLX / 32767.0, -pad.thumbLY / 32767.0);
  if (p.keys.stickKey && p.keys.stickKey != stickBefore) g_pads.inUse = number;
}

}  // namespace

void StartPads(GetStateFn get, SetStateFn set) {
  StopPads();
  g_pads.get = get;
  g_pads.set = set;
}

void StopPads() {
  StopPadMotors();
  for (int number = 0; number < kPlaces; ++number) Forget(number);
  PadForgetAll();
  g_pads = Pads();
}

bool ReadPads(uint32_t now) {
  if (!g_pads.get) return false;
  bool search = !g_pads.searched || now - g_pads.lastSearch >= kSearchMs;
  if (search) g_pads.searched = true, g_pads.lastSearch = now;
  bool any = false;
  for (int number = 0; number < kPlaces; ++number) {
    if (search || g_pads.places[number].connected) Read(number);
    any = any || g_pads.places[number].connected;
  }
  return any;
}

void SetPadMotors(uint16_t left, uint16_t right) {
  if (!g_pads.set || g_pads.inUse < 0) return;
  Vibration v{left, right};
  g_pads.set(uint32_t(g_pads.inUse), &v);
}

void StopPadMotors() {
  if (!g_pads.set) return;
  for (int number = 0; number < kPlaces; ++number) {
    Vibration still;
    if (g_pads.places[number].connected) g_pads.set(uint32_t(number), &still);
  }
}

}  // namespace quillorn::platform::xinput
