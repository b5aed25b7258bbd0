// Game controllers on Windows, without Windows: the Win32 backend's XInput reader is given
// XInput functions of the test's own, four places that pads are plugged into and pulled out
// of, and its keys reach the game through the headless backend's input router. The keys the
// game's window procedure gets are recorded, as the SDL backend's pad test records them.
#include <gtest/gtest.h>

#include <vector>

#include "harness.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/win32/xinput_pad.h"
#include "platform/window/window_state.h"
#include "recorded_keys.h"

namespace quillorn::test {
namespace {

namespace xinput = platform::xinput;
using namespace platform;

// The pads the test holds, and what XInput was asked and told.
struct Place {
  bool plugged = false;
  xinput::State state;
};
Place g_places[xinput::kPlaces];
std::vector<std::vector<int>> g_motors;  // (place, left, right) as set

uint32_t GetState(uint32_t place, xinput::State* state) {
  if (place >= uint32_t(xinput::kPlaces) || !g_places[place].plugged) return xinput::kNotConnected;
  *state = g_places[place].state;
  return 0;
}

uint32_t SetState(uint32_t place, xinput::Vibration* v) {
  g_motors.push_back({int(place), v->leftMotorSpeed, v->rightMotorSpeed});
  return 0;
}

// XInput's button bits.
constexpr int kUp = 0x0001, kDown = 0x0002, kLeft = 0x0004, kStart = 0x0010, kBack = 0x0020;
constexpr int kA = 0x1000, kB = 0x2000, kX = 0x4000, kY = 0x8000;

TEST(XInputPads, AreTheKeyboardMappedAsOnEveryBackendAndComeAndGoWhileTheGameRuns) {
  ASSERT_TRUE(StartGame());
  platform::Window().desc.proc = RecordingProc;
  xinput::StartPads(GetState, SetState);
  // Each row sets the whole state of one place, then the pads are read `later` ms after the
  // read before. The stick's y grows upwards in XInput and downwards on the screen.
  const struct {
    int place, plugged, buttons, x, y, later;
    KeyList game;
    bool menu;
  } rows[] = {
      {0, true, 0, 0, 0, 0, {}, false},  // plugged in before the first read
      {0, true, kUp, 0, 0, 16, {Down(kKeyUp)}, false},
      {0, true, 0, 0, 0, 16, {Up(kKeyUp)}, false},
      {0, true, kA, 0, 0, 16, {Down(kKeyReturn)}, false},
      {0, true, 0, 0, 0, 16, {Up(kKeyReturn)}, false},
      {0, true, kStart, 0, 0, 16, {Down(kKeyReturn)}, false},
      {0, true, 0, 0, 0, 16, {Up(kKeyReturn)}, false},
      {0, true, kY, 0, 0, 16, {Down(kKeyE)}, false},
      {0, true, kB | kX, 0, 0, 16, {Up(kKeyE)}, false},  // B is never Esc in the game: Esc quits
      {0, true, 0, 14000, 0, 16, {}, false},             // not yet half way
      {0, true, 0, 20000, 0, 16, {Down(kKeyRight)}, false},
      {0, true, 0, 10000, 0, 16, {}, false},  // held until below a quarter
      {0, true, 0, 0, 0, 16, {Up(kKeyRight)}, false},
      {0, true, 0, 0, 20000, 16, {Down(kKeyUp)}, false},
      {0, true, 0, 0, -20000, 16, {Up(kKeyUp), Down(kKeyDown)}, false},
      {0, true, 0, -20000, 20000, 16, {Up(kKeyDown), Down(kKeyLeft)}, false},  // a tie: across
      // The D-pad and the stick the same way are one arrow, held until both let go.
      {0, true, kLeft, -30000, 0, 16, {}, false},
      {0, true, 0, -30000, 0, 16, {}, false},
      {0, true, 0, 0, 0, 16, {Up(kKeyLeft)}, false},
      // Back opens the window menu, which then takes the arrows; B closes it.
      {0, true, kBack, 0, 0, 16, {}, true},
      {0, true, kDown, 0, 0, 16, {}, true},
      {0, true, kB, 0, 0, 16, {}, false},
      // A second pad plugged in with A held is found when the empty places are next asked.
      {0, true, kLeft, 0, 0, 16, {Down(kKeyLeft)}, false},
      {1, true, kA, 0, 0, xinput::kSearchMs / 2, {}, false},
      {1, true, kA, 0, 0, xinput::kSearchMs / 2, {Down(kKeyReturn)}, false},
      // The first pulled out while it holds Left lets go of it at the next read.
      {0, false, 0, 0, 0, 16, {Up(kKeyLeft)}, false},
      {1, true, 0, 0, 0, 16, {Up(kKeyReturn)}, false},
  };
  uint32_t now = 5000;
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "row " << &r - rows);
    Place& p = g_places[r.place];
    p.plugged = r.plugged;
    p.state.packetNumber++;
    p.state.gamepad.buttons = uint16_t(r.buttons);
    p.state.gamepad.thumbLX = int16_t(r.x);
    p.state.gamepad.thumbLY = int16_t(r.y);
    recordedKeys.clear();
    EXPECT_TRUE(xinput::ReadPads(now += r.later));
    headless::Pump();
    EXPECT_EQ(recordedKeys, r.game);
    EXPECT_EQ(MenuBarOpen(), r.menu);
  }

  // The motors: those of the pad in use (the second, whose A was pressed last), then every
  // pad's stopped, also when the pads go.
  xinput::SetPadMotors(30000, 12000);
  xinput::StopPadMotors();
  g_places[2].plugged = true;
  xinput::ReadPads(now += xinput::kSearchMs);
  xinput::StopPads();
  EXPECT_EQ(g_motors,
            (std::vector<std::vector<int>>{{1, 30000, 12000}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}}));
  EXPECT_FALSE(xinput::ReadPads(now += xinput::kSearchMs)) << "stopped: no pad is read";
}

}  // namespace
}  // namespace quillorn::test
