// The real SDL backend in this process, on SDL's dummy video driver: keys and focus pushed in
// and a virtual game controller's buttons and stick as SDL events, the keys the game's window
// procedure gets recorded, and the rumble the controller is asked for.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <tuple>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/backend.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/settings/settings.h"
#include "platform/window/window_state.h"
#include "process.h"
#include "recorded_keys.h"
#include "shell/main_window.h"
#include "shell/win_main.h"

// SDL keeps its session-bus connection's buffers to the end of the process by design.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}

namespace quillorn::test {
namespace {

using namespace platform;

std::vector<int> g_rumble;  // the strength of each rumble the virtual controller was asked for

// Runs the game's message loop for ms milliseconds or until cond holds.
template <typename Cond>
bool RunUntil(int ms, Cond cond) {
  for (uint64_t end = SDL_GetTicks64() + uint64_t(ms); !cond() && SDL_GetTicks64() < end;) {
    platform::Message m;
    if (!platform::PollMessage(m))
      platform::backend::WaitForInput(10);
    else if (m.type != platform::kMsgQuit)
      platform::DispatchMessage(m);
  }
  return cond();
}

void Push(SDL_Event e) {
  e.window.windowID = SDL_GetWindowID(platform::sdl::MainWindow());  // key.windowID alike
  SDL_PushEvent(&e);
}
void WindowEvent(SDL_WindowEventID event) {
  SDL_Event e{SDL_WINDOWEVENT};
  e.window.event = Uint8(event);
  Push(e);
}
SDL_Joystick* g_pad = nullptr;  // a virtual game controller

// Keys as the keyboard driver reports them: "C+" Ctrl down, "2-" the 2 up, "2r" its
// auto-repeat (C Ctrl, A Alt, E Enter, K the keypad's 2, M the M), with the modifier then
// held; and the controller's buttons, each as soon as SDL has read it: "a+" A down (a, b, x,
// y, s Start, k Back, u and d the D-pad's up and down; j the stick pushed right past half way).
void Type(const std::string& keys) {
  Uint16 mods = KMOD_NONE;
  std::istringstream in(keys);
  for (std::string k; in >> k;) {
    const bool down = k[1] != '-';
    // SDL numbers the buttons A, B, X, Y, Back, Guide, Start, ..., the D-pad's up and down.
    if (const int button = int(std::string("abxyk.s....ud").find(k[0])); button >= 0) {
      SDL_JoystickSetVirtualButton(g_pad, button, down);
      RunUntil(3000, [&] { return SDL_JoystickGetButton(g_pad, button) == down; });
    } else if (k[0] == 'j') {
      const int16_t x = down ? 20000 : 0;
      SDL_JoystickSetVirtualAxis(g_pad, SDL_CONTROLLER_AXIS_LEFTX, x);
      RunUntil(3000, [&] { return SDL_JoystickGetAxis(g_pad, SDL_CONTROLLER_AXIS_LEFTX) == x; });
    } else {
      const SDL_Scancode codes[] = {SDL_SCANCODE_LCTRL, SDL_SCANCODE_LALT, SDL_SCANCODE_RETURN,
                                    SDL_SCANCODE_KP_2,  SDL_SCANCODE_2,    SDL_SCANCODE_3,
                                    SDL_SCANCODE_M};
      const SDL_Scancode code = codes[std::string("CAEK23M").find(k[0])];
      if (k[0] == 'C' || k[0] == 'A')
        mods = !down ? KMOD_NONE : k[0] == 'C' ? KMOD_LCTRL : KMOD_LALT;
      SDL_Event e{Uint32(down ? SDL_KEYDOWN : SDL_KEYUP)};
      e.key.repeat = k[1] == 'r';
      e.key.keysym = {code, SDL_GetKeyFromScancode(code), mods, 0};
      Push(e);
    }
  }
}

TEST(SdlGame, TheWindowsOwnKeysNeverReachTheGameOthersDoAndFocusSetsTheGameActive) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  // The dummy driver gives no window the keyboard focus; controllers must be heard anyway.
  setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
  // A display of its own: test processes side by side are not second copies. The settings
  // the keys change go to a folder of its own too.
  setenv("DISPLAY", (":sdl-input-" + std::to_string(getpid())).c_str(), 1);
  const std::string config = "/tmp/quillorn-sdl-" + std::to_string(getpid());
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  ASSERT_TRUE(StartUp() && platform::sdl::MainWindow());
  platform::Window().desc.proc = RecordingProc;
  WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  ASSERT_TRUE(RunUntil(3000, [] { return appActive == 1; }));
  // A game controller is the keyboard: the D-pad and the left stick are arrows held while
  // held, A and Start are Enter, Y is E, Back opens the menu and B closes it, but B is never
  // Esc in the game (Esc quits).
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1u;
  desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1u;
  desc.Rumble = [](void*, Uint16 low, Uint16 high) {
    g_rumble.push_back(low == high ? low : -1);
    return 0;
  };
  g_pad = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
  ASSERT_TRUE(g_pad) << SDL_GetError();
  const SDL_JoystickID id = SDL_JoystickInstanceID(g_pad);
  ASSERT_TRUE(RunUntil(3000, [&] { return SDL_GameControllerFromInstanceID(id); }));
  const KeyList ctrl = {Down(17), Up(17)};
  const struct {
    const char* keys;
    KeyList game;
    bool fullscreen, menu, muted;
  } cases[] = {
      {"C+ 2+ 2r 2- 3+ 3- C-", ctrl, false, false, false},  // 2x, 3x do not fit the dummy screen
      {"C+ K+ C- K-", ctrl, false, false, false},           // Ctrl let go first: the window's
      {"2+ 2-", {Down('2'), Up('2')}, false, false, false},
      {"A+ E+ E- A-", {}, true, false, false},  // Alt held for Alt+Enter is no tap for the menu
      {"E+ E- A+ A-", {Down(kKeyReturn), Up(kKeyReturn)}, false, true, false},
      {"C+ M+ Mr M- C-", ctrl, false, false, true},  // once, however long it is held
      {"M+ M-", {Down('M'), Up('M')}, false, false, true},
      {"C+ M+ M- C-", ctrl, false, false, false},
      {"u+ u-", {Down(kKeyUp), Up(kKeyUp)}, false, false, false},
      {"a+ a-", {Down(kKeyReturn), Up(kKeyReturn)}, false, false, false},
      {"s+ s-", {Down(kKeyReturn), Up(kKeyReturn)}, false, false, false},
      {"y+ y-", {Down(kKeyE), Up(kKeyE)}, false, false, false},
      {"b+ b- x+ x-", {}, false, false, false},
      {"j+ j-", {Down(kKeyRight), Up(kKeyRight)}, false, false, false},
      {"k+ k- d+ d-", {}, false, true, false},  // the menu's arrow, not the game's
      {"k+ k- b+ b-", {}, false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    recordedKeys.clear();
    Type(c.keys);
    // The keys the game gets, however long the window's own take (each writes the settings
    // file, and a loaded disk may take its time), then a while in which no more may come.
    const auto want = std::tuple(1, c.fullscreen, c.menu, c.muted);
    const auto state = [] {
      return std::tuple(sdl::WindowScale(), sdl::Fullscreen(), MenuBarOpen(), Muted());
    };
    RunUntil(20000, [&] { return recordedKeys.size() >= c.game.size() && state() == want; });
    RunUntil(300, [] { return false; });
    EXPECT_EQ(recordedKeys, c.game);
    EXPECT_EQ(state(), want);
    if (c.fullscreen) platform::WindowKey(platform::kKeyReturn, false, true, false, false);
    platform::MenuBarClose();
  }
  // The scale last asked for is kept, though the screen holds only 1x.
  const std::string settings = Output("cat " + config + "/quillorn/settings.ini");
  EXPECT_NE(settings.find("\nscale = 2\n"), std::string::npos) << settings;
  // The beep felt: the controller last used rumbles, the nearer the stronger (at 19 tiles a
  // nineteenth of the nearest's), never for a voice; one that cannot rumble answers nothing,
  // and no error stops the game.
  platform::SettingsCommand(platform::kCmdRumble);
  g_rumble.clear();
  platform::ShowSoundCue(platform::SoundCue::kProximityBeep, 1);
  platform::ShowSoundCue(platform::SoundCue::kProximityBeep, 19);
  platform::ShowSoundCue(platform::SoundCue::kVoice);
  EXPECT_EQ(g_rumble, (std::vector<int>{0xFFFF, 0xFFFF / 19}));
  SDL_JoystickClose(g_pad);
  WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  EXPECT_TRUE(RunUntil(3000, [] { return appActive == 0; }));
  // Its close box ends the game and takes the window away.
  WindowEvent(SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(RunUntil(3000, [] { return platform::sdl::MainWindow() == nullptr; }));
  std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace quillorn::test
