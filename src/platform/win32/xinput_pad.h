// Game controllers through XInput: the four places XInput numbers pads by, each read in turn
// and mapped to keys by the shared pad mapping (pad_keys), as the SDL and web backends map
// theirs. Written without <windows.h>, with XInput's records laid out as XInput lays them
// out, so that the tests drive this same code on Linux with a pad of their own.
#pragma once

#include <cstdint>

namespace quillorn::platform::xinput {

// XINPUT_GAMEPAD, XINPUT_STATE and XINPUT_VIBRATION, field for field.
struct Gamepad {
  uint16_t buttons = 0;  // XINPUT_GAMEPAD_* bits
  uint8_t leftTrigger = 0, rightTrigger = 0;
  int16_t thumbLX = 0, thumbLY = 0;  // the left stick; y grows upwards
  int16_t thumbRX = 0, thumbRY = 0;
};
struct State {
  uint32_t packetNumber = 0;  // changes whenever anything on the pad does
  Gamepad gamepad;
};
struct Vibration {
  uint16_t leftMotorSpeed = 0;   // the heavy, low motor
  uint16_t rightMotorSpeed = 0;  // the light, high one
};

// XInputGetState and XInputSetState: 0 for success, kNotConnected for an empty place.
using GetStateFn = uint32_t (*)(uint32_t place, State* state);
using SetStateFn = uint32_t (*)(uint32_t place, Vibration* vibration);
constexpr uint32_t kNotConnected = 1167;  // ERROR_DEVICE_NOT_CONNECTED
constexpr int kPlaces = 4;
// Asking an empty place is slow, so empty places are asked this often, not at every read: a
// pad plugged in while the game runs works within this time.
constexpr uint32_t kSearchMs = 1000;

// Starts reading with XInput's two functions; with none (no XInput at all) nothing is read.
void StartPads(GetStateFn get, SetStateFn set);
// Lets go of every key the pads hold, stops their motors and forgets them.
void StopPads();
// Reads the pads at clock value now (milliseconds): a change becomes key presses and
// releases, a pad pulled out lets go of what it held. True while any pad is connected.
bool ReadPads(uint32_t now);

// Sets the two motors of the pad in use, the one whose button or stick was pressed last
// (or the only one plugged in), from 0 (still) to 65535.
void SetPadMotors(uint16_t left, uint16_t right);
// Stops the motors of every pad.
void StopPadMotors();

}  // namespace quillorn::platform::xinput
