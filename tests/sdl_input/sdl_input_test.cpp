// The window's own keys and the game controller, through the real SDL backend: Ctrl+1/2/3
// and Alt+Enter never reach the game; the pad's buttons and stick arrive as the keyboard's
// keys, arrows held for as long as they are held.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gameplay/actors.h"
#include "gameplay/castle_map.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_window.h"
#include "platform/surface.h"
#include "platform/window/window_state.h"
#include "sdl_game.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn::test {
namespace {

using platform::kMsgKeyDown;
using platform::kMsgKeyUp;

constexpr int kPatienceMs = 3000;
constexpr uint32_t kKeyCtrl = 17;

// (message, key) pairs, for readable comparisons.
std::vector<std::pair<uint32_t, uint32_t>> Keys() {
  std::vector<std::pair<uint32_t, uint32_t>> out;
  for (const platform::Message& m : GameKeys()) out.push_back({m.type, m.wParam});
  return out;
}

platform::Pixel SurfaceAt(SDL_Surface* s, int x, int y) {
  Uint8 r, g, b;
  SDL_GetRGB(static_cast<const Uint32*>(s->pixels)[y * (s->pitch / 4) + x], s->format, &r, &g, &b);
  return platform::MakePixel(r, g, b);
}

const int kDx[4] = {0, 1, 0, -1}, kDy[4] = {-1, 0, 1, 0};

// A direction the king can step in from where he stands: floor, no doorway, and nobody
// standing there (people are hidden, not absent); -1 when he is walled in.
int OpenWay() {
  const int32_t x = actors[kKing].tileX, y = actors[kKing].tileY;
  for (int d = 0; d < 4; ++d) {
    int32_t tx = x + kDx[d], ty = y + kDy[d];
    bool taken = false;
    for (int32_t k = 1; k < kActorCount; ++k)
      taken |= actors[k].present && actors[k].tileX == tx && actors[k].tileY == ty;
    if (!taken && TileId(currentRoom, tx, ty) < 40 && !ExitNumber(currentRoom, tx, ty)) return d;
  }
  return -1;
}

class SdlInput : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(StartSdlGame());
    PushFocus(true);
    ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return appActive == 1; }));
    ForgetGameMessages();
  }
  void TearDown() override { StopSdlGame(); }

  static std::pair<int, int> WindowSize() {
    int w = 0, h = 0;
    SDL_GetWindowSize(GameWindow(), &w, &h);
    return {w, h};
  }
};

TEST_F(SdlInput, ScaleKeysStopAtTheWindowEvenWhenReleasedAfterCtrl) {
  PushKey(true, SDL_SCANCODE_LCTRL, KMOD_LCTRL);
  for (SDL_Scancode digit : {SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_KP_2, SDL_SCANCODE_1}) {
    PushKey(true, digit, KMOD_LCTRL);
    PushKey(true, digit, KMOD_LCTRL, true);  // auto-repeat
    PushKey(false, digit, KMOD_LCTRL);
  }
  PushKey(true, SDL_SCANCODE_2, KMOD_LCTRL);
  PushKey(false, SDL_SCANCODE_LCTRL, KMOD_NONE);
  PushKey(false, SDL_SCANCODE_2, KMOD_NONE);  // Ctrl let go first: still the window's
  RunGame(300);
  std::vector<std::pair<uint32_t, uint32_t>> only_ctrl{{kMsgKeyDown, kKeyCtrl},
                                                       {kMsgKeyUp, kKeyCtrl}};
  EXPECT_EQ(Keys(), only_ctrl);
  // Without Ctrl a digit is the game's key like any other.
  ForgetGameMessages();
  PushKey(true, SDL_SCANCODE_2);
  PushKey(false, SDL_SCANCODE_2);
  RunGame(200);
  std::vector<std::pair<uint32_t, uint32_t>> digit{{kMsgKeyDown, '2'}, {kMsgKeyUp, '2'}};
  EXPECT_EQ(Keys(), digit);
}

TEST_F(SdlInput, AltEnterTogglesFullscreenWithoutEnterReachingTheGameOrAltOpeningTheMenu) {
  EXPECT_EQ(WindowSize(), std::make_pair(480, 532));
  for (bool fullscreen : {true, false}) {
    PushKey(true, SDL_SCANCODE_LALT, KMOD_LALT);
    PushKey(true, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(false, SDL_SCANCODE_RETURN, KMOD_LALT);
    PushKey(false, SDL_SCANCODE_LALT, KMOD_NONE);
    ASSERT_TRUE(
        RunGameUntil(kPatienceMs, [&] { return platform::sdl::Fullscreen() == fullscreen; }));
    RunGame(200);
    EXPECT_TRUE(Keys().empty()) << Keys().size();
    EXPECT_FALSE(platform::MenuBarOpen());
  }
  EXPECT_EQ(WindowSize(), std::make_pair(480, 532));
  // Enter alone is still the game's confirm key, and a tap of Alt still opens the menu.
  PushKey(true, SDL_SCANCODE_RETURN);
  PushKey(false, SDL_SCANCODE_RETURN);
  PushKey(true, SDL_SCANCODE_LALT, KMOD_LALT);
  PushKey(false, SDL_SCANCODE_LALT);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return platform::MenuBarOpen(); }));
  RunGame(100);  // the keys routed before the menu opened reach the game now
  std::vector<std::pair<uint32_t, uint32_t>> enter{{kMsgKeyDown, platform::kKeyReturn},
                                                   {kMsgKeyUp, platform::kKeyReturn}};
  EXPECT_EQ(Keys(), enter);
}

TEST_F(SdlInput, FullscreenCentresTheFrameAtTheLargestWholeScaleOnBlack) {
  PushKey(true, SDL_SCANCODE_RALT, KMOD_RALT);
  PushKey(true, SDL_SCANCODE_KP_ENTER, KMOD_RALT);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return platform::sdl::Fullscreen(); }));
  RunGame(200);
  SDL_Surface* s = SDL_GetWindowSurface(GameWindow());
  ASSERT_NE(s, nullptr);
  // The dummy display is 1024 x 768: the 480 x 532 frame fits once, centred.
  ASSERT_EQ(s->w, 1024);
  ASSERT_EQ(s->h, 768);
  ASSERT_EQ(s->format->BytesPerPixel, 4);
  const int left = (1024 - 480) / 2, top = (768 - 532) / 2;
  auto at = [&](int x, int y) { return SurfaceAt(s, x, y); };
  const platform::Surface& client = platform::Window().picture;
  int wrong = 0;
  for (int y = 0; y < s->h; ++y)
    for (int x = 0; x < s->w; ++x) {
      bool inFrame = x >= left && x < left + 480 && y >= top && y < top + 532;
      bool inClient = inFrame && y >= top + platform::kMenuBarHeight;
      platform::Pixel want = !inFrame   ? platform::kBlack
                             : inClient ? client.Row(y - top - platform::kMenuBarHeight)[x - left]
                                        : at(x, y);  // the bar is checked below
      if (at(x, y) != want) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(at(left + 479, top + 2), platform::MakePixel(240, 240, 240));  // the bar's face
  EXPECT_EQ(at(left + 480, top + 2), platform::kBlack);
}

TEST_F(SdlInput, AtTwiceTheSizeEveryPartialRepaintOfAStepIsShownEnlarged) {
  // A window at 2x: the dummy screen is too small for Ctrl+2 to allow it.
  SDL_SetWindowSize(GameWindow(), 960, 1064);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return sceneHandlers.confirmKeyHandler != nullptr; }));
  PushKey(true, SDL_SCANCODE_RETURN);
  PushKey(false, SDL_SCANCODE_RETURN);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return showHearts == 1; }));
  RunGame(200);
  const int way = OpenWay();
  ASSERT_GE(way, 0);
  // The client picture as the game painted it, each pixel a 2 x 2 block under the bar.
  auto wrongPixels = [] {
    SDL_Surface* s = SDL_GetWindowSurface(GameWindow());
    const platform::Surface& client = platform::Window().picture;
    if (!s || s->w != 960 || s->h != 1064) return -1;
    int wrong = 0;
    for (int y = 0; y < 2 * client.height; ++y)
      for (int x = 0; x < 2 * client.width; ++x)
        wrong += SurfaceAt(s, x, 2 * platform::kMenuBarHeight + y) != client.Row(y / 2)[x / 2];
    return wrong;
  };
  const int32_t startHearts = hearts;
  const SDL_Scancode arrows[4] = {SDL_SCANCODE_UP, SDL_SCANCODE_RIGHT, SDL_SCANCODE_DOWN,
                                  SDL_SCANCODE_LEFT};
  PushKey(true, arrows[way]);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return actors[kKing].stepProgress > 0; }));
  PushKey(false, arrows[way]);
  // Mid-step only the square around the king is repainted; each time, all is right.
  int checked = 0;
  while (hearts == startHearts && checked < 40) {
    RunGame(25);
    ASSERT_EQ(wrongPixels(), 0) << "at step progress " << actors[kKing].stepProgress;
    ++checked;
  }
  EXPECT_EQ(hearts, startHearts - 1);
  EXPECT_GE(checked, 4);
}

class SdlPad : public SdlInput {
 protected:
  void SetUp() override {
    SdlInput::SetUp();
    ASSERT_TRUE(PlugInPad(pad_)) << SDL_GetError();
    SDL_JoystickID id = SDL_JoystickInstanceID(pad_.joystick);
    // The game opens it as a controller as soon as SDL announces it.
    ASSERT_TRUE(RunGameUntil(kPatienceMs, [&] { return SDL_GameControllerFromInstanceID(id); }));
    ForgetGameMessages();
  }
  void TearDown() override {
    UnplugPad(pad_);
    SdlInput::TearDown();
  }
  // Presses and releases a button, running the game a moment after each.
  void Tap(SDL_GameControllerButton b) {
    SetPadButton(pad_, b, true);
    RunGame(120);
    SetPadButton(pad_, b, false);
    RunGame(120);
  }
  VirtualPad pad_;
};

TEST_F(SdlPad, DpadHoldsAnArrowForAsLongAsItIsHeld) {
  const std::pair<SDL_GameControllerButton, uint32_t> arrows[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_UP, platform::kKeyUp},
      {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, platform::kKeyRight},
      {SDL_CONTROLLER_BUTTON_DPAD_DOWN, platform::kKeyDown},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, platform::kKeyLeft}};
  for (int32_t direction = 0; direction < 4; ++direction) {
    auto [button, key] = arrows[direction];
    ForgetGameMessages();
    SetPadButton(pad_, button, true);
    ASSERT_TRUE(RunGameUntil(kPatienceMs, [&] { return heldDirection == direction; }));
    RunGame(400);  // several ticks: still held, pressed once
    EXPECT_EQ(heldDirection, direction);
    std::vector<std::pair<uint32_t, uint32_t>> pressed{{kMsgKeyDown, key}};
    EXPECT_EQ(Keys(), pressed);
    SetPadButton(pad_, button, false);
    ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == kDirectionNone; }));
    pressed.push_back({kMsgKeyUp, key});
    EXPECT_EQ(Keys(), pressed);
  }
}

TEST_F(SdlPad, AAndStartConfirmYRevealsBackOpensTheMenuAndBClosesIt) {
  Tap(SDL_CONTROLLER_BUTTON_A);
  Tap(SDL_CONTROLLER_BUTTON_START);
  Tap(SDL_CONTROLLER_BUTTON_Y);
  Tap(SDL_CONTROLLER_BUTTON_B);  // nothing to close: not Esc, which would quit
  Tap(SDL_CONTROLLER_BUTTON_X);  // not used
  std::vector<std::pair<uint32_t, uint32_t>> keys{
      {kMsgKeyDown, platform::kKeyReturn}, {kMsgKeyUp, platform::kKeyReturn},
      {kMsgKeyDown, platform::kKeyReturn}, {kMsgKeyUp, platform::kKeyReturn},
      {kMsgKeyDown, platform::kKeyE},      {kMsgKeyUp, platform::kKeyE}};
  EXPECT_EQ(Keys(), keys);
  ForgetGameMessages();
  Tap(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_TRUE(platform::MenuBarOpen());
  EXPECT_EQ(platform::MenuBarSelectedEntry(), 0);
  Tap(SDL_CONTROLLER_BUTTON_DPAD_DOWN);  // the menu's, not the game's
  EXPECT_EQ(platform::MenuBarSelectedEntry(), 2);
  Tap(SDL_CONTROLLER_BUTTON_B);
  EXPECT_FALSE(platform::MenuBarOpen());
  Tap(SDL_CONTROLLER_BUTTON_BACK);
  Tap(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_FALSE(platform::MenuBarOpen());
  EXPECT_TRUE(Keys().empty());
}

TEST_F(SdlPad, LeftStickIsAnArrowPastHalfWayAndLetGoBelowAQuarter) {
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, 14000);  // not yet half way
  RunGame(150);
  EXPECT_EQ(heldDirection, kDirectionNone);
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, 20000);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == 1; }));
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, 10000);  // eased back, still held
  RunGame(150);
  EXPECT_EQ(heldDirection, 1);
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTY, -30000);  // up wins: further from the centre
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == 0; }));
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTY, 0);
  SetPadAxis(pad_, SDL_CONTROLLER_AXIS_LEFTX, 4000);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == kDirectionNone; }));
  std::vector<std::pair<uint32_t, uint32_t>> keys{{kMsgKeyDown, platform::kKeyRight},
                                                  {kMsgKeyUp, platform::kKeyRight},
                                                  {kMsgKeyDown, platform::kKeyUp},
                                                  {kMsgKeyUp, platform::kKeyUp}};
  EXPECT_EQ(Keys(), keys);
}

TEST_F(SdlPad, AStartsAGameOnTheTitleAndTheHeldDpadWalksTheKing) {
  // The title screen comes on the second tick and waits for a confirm key.
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return sceneHandlers.confirmKeyHandler != nullptr; }));
  Tap(SDL_CONTROLLER_BUTTON_A);  // GAME, the first item
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return showHearts == 1; }));
  RunGame(200);
  const SDL_GameControllerButton pads[4] = {
      SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
      SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT};
  const int32_t x = actors[kKing].tileX, y = actors[kKing].tileY, startHearts = hearts;
  const int way = OpenWay();
  ASSERT_GE(way, 0) << "the king is walled in at " << x << "," << y;
  SetPadButton(pad_, pads[way], true);
  // The step begins: the king stands on the next tile from its first pixel on.
  ASSERT_TRUE(RunGameUntil(
      kPatienceMs,
      [&] { return actors[kKing].tileX == x + kDx[way] && actors[kKing].tileY == y + kDy[way]; }))
      << "the king did not step " << way;
  SetPadButton(pad_, pads[way], false);  // let go: this step ends, no other begins
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [&] { return hearts == startHearts - 1; }));
  RunGame(300);
  EXPECT_EQ(actors[kKing].direction, way);
  EXPECT_EQ(actors[kKing].pixelX, 32 * (x + kDx[way]));
  EXPECT_EQ(actors[kKing].pixelY, 32 * (y + kDy[way]));
  EXPECT_EQ(hearts, startHearts - 1);
}

TEST_F(SdlPad, UnpluggingAHeldPadLetsGoOfItsArrow) {
  SetPadButton(pad_, SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == 3; }));
  UnplugPad(pad_);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == kDirectionNone; }));
  // A pad plugged in later works at once.
  ASSERT_TRUE(PlugInPad(pad_));
  SDL_JoystickID id = SDL_JoystickInstanceID(pad_.joystick);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [&] { return SDL_GameControllerFromInstanceID(id); }));
  SetPadButton(pad_, SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  ASSERT_TRUE(RunGameUntil(kPatienceMs, [] { return heldDirection == 2; }));
}

}  // namespace
}  // namespace quillorn::test
