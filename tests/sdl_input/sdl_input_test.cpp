// The real SDL backend in this process, on SDL's dummy video driver (keys, focus and a virtual
// game controller pushed in as SDL events; every message the game's window procedure gets is
// recorded) and on its disk sound driver (the mixer's output written to a file).
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/window/window_state.h"
#include "shell/main_window.h"
#include "shell/win_main.h"
#include "sound/sound_bank.h"

// SDL keeps its session-bus connection's buffers to the end of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

namespace quillorn::test {
namespace {

using platform::kMsgKeyDown;
using platform::kMsgKeyUp;
using KeyList = std::vector<std::pair<uint32_t, uint32_t>>;  // (message, key)

KeyList g_keys;
int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (type == kMsgKeyDown || type == kMsgKeyUp) g_keys.push_back({type, wParam});
  return MainWindowProc(type, wParam, lParam);
}

// Runs the game's message loop for ms milliseconds or until cond holds.
template <typename Cond>
bool RunUntil(int ms, Cond cond) {
  for (uint64_t end = SDL_GetTicks64() + uint64_t(ms); !cond() && SDL_GetTicks64() < end;) {
    platform::Message m;
    if (!platform::GetMessage(m)) break;
    platform::DispatchMessage(m);
  }
  return cond();
}
void RunFor(int ms) {
  RunUntil(ms, [] { return false; });
}

void Push(SDL_Event e) {
  e.window.windowID = SDL_GetWindowID(platform::sdl::MainWindow());  // key.windowID alike
  SDL_PushEvent(&e);
}
void Focus(bool gained) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  Push(e);
}
struct Key {
  bool down;
  SDL_Scancode code;
  Uint16 mods = KMOD_NONE;
  bool repeat = false;
};
void PushKey(const Key& k) {
  SDL_Event e{};
  e.type = k.down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = k.down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = k.repeat;
  e.key.keysym = {k.code, SDL_GetKeyFromScancode(k.code), k.mods, 0};
  Push(e);
}

class SdlGame : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // The dummy driver gives no window the keyboard focus; controllers must be heard anyway.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    // A display of its own: test processes side by side are not second copies.
    setenv("DISPLAY", (":sdl-input-" + std::to_string(getpid())).c_str(), 1);
    ASSERT_TRUE(StartUp() && platform::sdl::MainWindow());
    platform::Window().desc.proc = RecordingProc;
    Focus(true);
    ASSERT_TRUE(RunUntil(3000, [] { return appActive == 1; }));
    g_keys.clear();
  }
  void TearDown() override {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    Push(e);
    RunFor(500);
    EXPECT_EQ(platform::sdl::MainWindow(), nullptr);
  }
};

TEST_F(SdlGame, TheWindowsOwnKeysNeverReachTheGameOthersDoAndFocusSetsTheGameActive) {
  const Uint16 ctrl = KMOD_LCTRL, alt = KMOD_LALT;
  const struct {
    const char* what;
    std::vector<Key> keys;
    KeyList game;
    bool fullscreen, menu;
  } cases[] = {
      {"Ctrl+2, Ctrl+3 with auto-repeat",
       {{true, SDL_SCANCODE_LCTRL, ctrl},
        {true, SDL_SCANCODE_2, ctrl},
        {true, SDL_SCANCODE_2, ctrl, true},
        {false, SDL_SCANCODE_2, ctrl},
        {true, SDL_SCANCODE_3, ctrl},
        {false, SDL_SCANCODE_3, ctrl},
        {false, SDL_SCANCODE_LCTRL}},
       {{kMsgKeyDown, 17}, {kMsgKeyUp, 17}},
       false,
       false},  // 2x and 3x do not fit on the dummy screen
      {"Ctrl let go before the keypad's 2",
       {{true, SDL_SCANCODE_LCTRL, ctrl},
        {true, SDL_SCANCODE_KP_2, ctrl},
        {false, SDL_SCANCODE_LCTRL},
        {false, SDL_SCANCODE_KP_2}},
       {{kMsgKeyDown, 17}, {kMsgKeyUp, 17}},
       false,
       false},
      {"2 alone",
       {{true, SDL_SCANCODE_2}, {false, SDL_SCANCODE_2}},
       {{kMsgKeyDown, '2'}, {kMsgKeyUp, '2'}},
       false,
       false},
      {"Alt+Enter",
       {{true, SDL_SCANCODE_LALT, alt},
        {true, SDL_SCANCODE_RETURN, alt},
        {false, SDL_SCANCODE_RETURN, alt},
        {false, SDL_SCANCODE_LALT}},
       {},
       true,
       false},
      {"Enter, then a tap of Alt",
       {{true, SDL_SCANCODE_RETURN},
        {false, SDL_SCANCODE_RETURN},
        {true, SDL_SCANCODE_LALT, alt},
        {false, SDL_SCANCODE_LALT}},
       {{kMsgKeyDown, platform::kKeyReturn}, {kMsgKeyUp, platform::kKeyReturn}},
       false,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    g_keys.clear();
    for (const Key& k : c.keys) PushKey(k);
    RunFor(300);
    EXPECT_EQ(g_keys, c.game);
    EXPECT_EQ(platform::sdl::WindowScale(), 1);
    EXPECT_EQ(platform::sdl::Fullscreen(), c.fullscreen);
    EXPECT_EQ(platform::MenuBarOpen(), c.menu);
    if (c.fullscreen) platform::sdl::ToggleFullscreen();
    platform::MenuBarClose();
  }
  // Ctrl+1 where the smaller scale fits: the window follows.
  SDL_SetWindowSize(platform::sdl::MainWindow(), 960, 1064);
  PushKey({true, SDL_SCANCODE_1, KMOD_RCTRL});
  ASSERT_TRUE(RunUntil(3000, [] {
    int w = 0, h = 0;
    SDL_GetWindowSize(platform::sdl::MainWindow(), &w, &h);
    return w == 480 && h == 532;
  }));
  Focus(false);
  EXPECT_TRUE(RunUntil(3000, [] { return appActive == 0; }));
  Focus(true);
  EXPECT_TRUE(RunUntil(3000, [] { return appActive == 1; }));
}

// A game controller as SDL sees one plugged in, every button and axis present in SDL's order.
class SdlPad : public SdlGame {
 protected:
  void SetUp() override {
    SdlGame::SetUp();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
    pad_ = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
    ASSERT_NE(pad_, nullptr) << SDL_GetError();
    SDL_JoystickID id = SDL_JoystickInstanceID(pad_);
    // The game opens it as a controller as soon as SDL announces it.
    ASSERT_TRUE(RunUntil(3000, [&] { return SDL_GameControllerFromInstanceID(id) != nullptr; }));
    g_keys.clear();
  }
  void Button(SDL_GameControllerButton b, bool down) {
    SDL_JoystickSetVirtualButton(pad_, b, down ? SDL_PRESSED : SDL_RELEASED);
    RunFor(150);
  }
  SDL_Joystick* pad_ = nullptr;
};

TEST_F(SdlPad, ButtonsAndTheStickArriveAsTheKeyboardsKeysArrowsHeldAsLongAsTheyAre) {
  const struct {
    SDL_GameControllerButton button;
    uint32_t key;  // 0: none
    int32_t held;  // the arrow held while it is down
  } buttons[] = {{SDL_CONTROLLER_BUTTON_A, platform::kKeyReturn, kDirectionNone},
                 {SDL_CONTROLLER_BUTTON_START, platform::kKeyReturn, kDirectionNone},
                 {SDL_CONTROLLER_BUTTON_Y, platform::kKeyE, kDirectionNone},
                 {SDL_CONTROLLER_BUTTON_B, 0, kDirectionNone},  // not Esc, which would quit
                 {SDL_CONTROLLER_BUTTON_X, 0, kDirectionNone},
                 {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, platform::kKeyRight, 1},
                 {SDL_CONTROLLER_BUTTON_DPAD_LEFT, platform::kKeyLeft, 3}};
  for (const auto& b : buttons) {
    SCOPED_TRACE(b.button);
    g_keys.clear();
    KeyList want;
    if (b.key) want.push_back({kMsgKeyDown, b.key});
    Button(b.button, true);
    RunFor(300);  // several ticks: pressed once
    EXPECT_EQ(g_keys, want);
    EXPECT_EQ(heldDirection, b.held);
    if (b.key) want.push_back({kMsgKeyUp, b.key});
    Button(b.button, false);
    EXPECT_EQ(g_keys, want);
    EXPECT_EQ(heldDirection, kDirectionNone);
  }
  // The stick: an arrow past half way, let go below a quarter; the axis further out wins.
  g_keys.clear();
  const struct {
    SDL_GameControllerAxis axis;
    int16_t value;
    int32_t held;
  } stick[] = {{SDL_CONTROLLER_AXIS_LEFTX, 14000, kDirectionNone},
               {SDL_CONTROLLER_AXIS_LEFTX, 20000, 1},
               {SDL_CONTROLLER_AXIS_LEFTX, 10000, 1},
               {SDL_CONTROLLER_AXIS_LEFTY, -30000, 0},
               {SDL_CONTROLLER_AXIS_LEFTY, 0, 1},
               {SDL_CONTROLLER_AXIS_LEFTX, 4000, kDirectionNone}};
  for (const auto& a : stick) {
    SDL_JoystickSetVirtualAxis(pad_, a.axis, a.value);
    RunFor(150);
    EXPECT_EQ(heldDirection, a.held) << a.axis << " at " << a.value;
  }
  const KeyList arrows = {{kMsgKeyDown, platform::kKeyRight}, {kMsgKeyUp, platform::kKeyRight},
                          {kMsgKeyDown, platform::kKeyUp},    {kMsgKeyUp, platform::kKeyUp},
                          {kMsgKeyDown, platform::kKeyRight}, {kMsgKeyUp, platform::kKeyRight}};
  EXPECT_EQ(g_keys, arrows);
  // Back opens the menu and B closes it; the d-pad moves in it, not in the game.
  g_keys.clear();
  for (auto b : {SDL_CONTROLLER_BUTTON_BACK, SDL_CONTROLLER_BUTTON_DPAD_DOWN}) {
    Button(b, true);
    Button(b, false);
  }
  EXPECT_EQ(platform::MenuBarSelectedEntry(), 2);
  Button(SDL_CONTROLLER_BUTTON_B, true);
  EXPECT_FALSE(platform::MenuBarOpen());
  Button(SDL_CONTROLLER_BUTTON_B, false);
  EXPECT_TRUE(g_keys.empty());
  // Unplugged while an arrow is held: let go.
  Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  EXPECT_EQ(heldDirection, 0);
  SDL_JoystickID id = SDL_JoystickInstanceID(pad_);
  SDL_JoystickClose(pad_);
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
  EXPECT_TRUE(RunUntil(3000, [] { return heldDirection == kDirectionNone; }));
}

// The beep, then a moment of the looped ending music, through SDL's disk driver: 48000 Hz
// stereo 16-bit frames written to a file.
TEST(SdlSound, TheDiskDriverRecordsTheBeepAtItsPitchAndLengthThenTheMusic) {
  const std::string file = "/tmp/quillorn-sdl-sound-" + std::to_string(getpid());
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  ASSERT_EQ(InitSound(), 1) << "the disk audio device did not open";
  ASSERT_EQ(LoadWaveSlot(0, "ed"), 1);
  ASSERT_EQ(LoadWaveSlot(1, "beep"), 1);
  SDL_Delay(100);
  PlaySoundSlot(1, 0, 0);  // 37.5 ms at its own rate
  SDL_Delay(300);
  PlaySoundSlot(0, 1, 0);
  SDL_Delay(400);
  StopAllSounds();
  SDL_Delay(100);
  FreeSound();
  std::ifstream in(file, std::ios::binary);
  std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
  std::remove(file.c_str());
  std::vector<int> x;  // the left channel
  for (size_t i = 0; i + 3 < bytes.size(); i += 4)
    x.push_back(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
  ASSERT_GT(x.size(), 48000 * 6 / 10) << "the device played for most of the time";
  // The beep: the first stretch of sound, 1800 frames of a loud 1500 Hz tone.
  size_t start = 0, end, quiet = 0;
  while (start < x.size() && std::abs(x[start]) < 64) ++start;
  for (end = start; end < x.size() && quiet < 480; ++end)
    quiet = std::abs(x[end]) < 64 ? quiet + 1 : 0;
  end -= quiet;
  EXPECT_GT(end - start, 1600u);
  EXPECT_LE(end - start, 1801u);
  int peak = 0, crossings = 0;
  double first = 0, last = 0;
  for (size_t i = start + 1; i < end; ++i) {
    peak = std::max(peak, std::abs(x[i]));
    if (x[i - 1] < 0 && x[i] >= 0) (crossings++ == 0 ? first : last) = double(i);
  }
  EXPECT_GT(peak, 8000);
  EXPECT_NEAR((crossings - 1) * 48000.0 / (last - first), 1500, 30);
  // The music follows and sounds until it is stopped.
  size_t music = end;
  while (music < x.size() && std::abs(x[music]) < 64) ++music;
  double sum = 0;
  for (size_t i = music; i < music + 9600; ++i) sum += i < x.size() ? double(x[i]) * x[i] : 0;
  EXPECT_GT(std::sqrt(sum / 9600), 1000);
}

}  // namespace
}  // namespace quillorn::test
