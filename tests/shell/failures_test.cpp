// Every failure of the platform that the headless backend can make, and the path the whole
// program (WinMain) takes: it stops at once, one line says why and the exit code is 1; or it
// goes on, one line says what is missing, and Esc still ends it with 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "scenes/title_screen.h"
#include "shell/scene_handlers.h"
#include "shell/win_main.h"

namespace quillorn {
namespace {

using headless::Failure;

int idleCalls = 0;
bool sawTitle = false;
platform::Surface lastPicture;

// The player: makes the window active, lets five ticks pass (the title comes on the second),
// then presses Esc.
bool Player() {
  ++idleCalls;
  if (idleCalls == 1) headless::SetActive(true);
  if (idleCalls == 7) {
    sawTitle = sceneHandlers.confirmKeyHandler == TitleConfirmKey;
    lastPicture = headless::WindowPicture();
    headless::KeyDown(platform::kKeyEscape);
  }
  return idleCalls == 1 || idleCalls == 7;
}

// WinMain from a fresh platform with the failure made; its exit code.
int RunWith(void (*make)()) {
  headless::Reset(1000);
  idleCalls = 0, sawTitle = false, lastPicture = {};
  headless::SetIdleHook(Player);
  if (make) make();
  return WinMain();
}

bool AllBlack(const platform::Surface& s) {
  return !s.pixels.empty() && std::all_of(s.pixels.begin(), s.pixels.end(),
                                          [](platform::Pixel p) { return (p & 0xFFFFFFu) == 0; });
}

TEST(Failures, EachStopsAtOnceWithItsLineAndCodeOneOrGoesOnWithItsLineAndEscEndsWithZero) {
  // Without a failure: the title, Esc, and the window, the sound and the clock given back.
  ASSERT_EQ(RunWith(nullptr), 0);
  ASSERT_TRUE(sawTitle);
  EXPECT_EQ(headless::Said(), std::vector<std::string>{});
  const std::vector<std::string>& ev = headless::Events();
  EXPECT_EQ(std::vector<std::string>(ev.end() - 4, ev.end()),
            (std::vector<std::string>{"destroy-window", "close-audio", "kill-timer 1", "quit 0"}));
  const platform::Surface title = lastPicture;

  enum Picture { kNone, kTitle, kBlack };
  const struct {
    const char* name;
    void (*make)();
    int exitCode;
    const char* line;  // the one line said, from its start
    bool title;        // the title screen's keys were installed
    Picture picture;   // what the window showed when Esc was pressed
  } cases[] = {
      {"no window", [] { headless::MakeFail(Failure::kWindow); }, 1,
       "stop: cannot open the game's window: ", false, kNone},
      {"no picture", [] { headless::MakeFail(Failure::kPicture); }, 1,
       "stop: cannot draw in the game's window: ", false, kNone},
      {"no clock", [] { headless::MakeFail(Failure::kTimer); }, 1,
       "stop: cannot start the game's clock: ", false, kNone},
      {"no sound device", [] { headless::MakeFail(Failure::kSoundDevice); }, 0,
       "missing: no sound device (", true, kTitle},
      {"no single-copy lock", [] { headless::MakeFail(Failure::kSingleCopyLock); }, 0,
       "missing: cannot tell whether another copy runs (", true, kTitle},
      {"no sprite sheet", [] { headless::HideResource("bitmap", "PAT"); }, 0,
       "missing: the program lacks its resource BITMAP \"pat\"", true, kBlack},
      {"no castle map", [] { headless::HideResource("MAP", "map"); }, 0,
       "missing: the program lacks its resource map \"map\"", false, kBlack},
      {"no beep", [] { headless::HideResource("WAVE", "beep"); }, 0,
       "missing: the program lacks its resource WAVE \"beep\"", true, kTitle},
      {"no menu", [] { headless::HideResource("MENU", "menu"); }, 0,
       "missing: the program lacks its resource MENU \"menu\"", true, kTitle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RunWith(c.make), c.exitCode);
    ASSERT_EQ(headless::Said().size(), 1u) << testing::PrintToString(headless::Said());
    EXPECT_EQ(headless::Said()[0].rfind(c.line, 0), 0u) << headless::Said()[0];
    EXPECT_EQ(sawTitle, c.title);
    EXPECT_FALSE(headless::WindowExists());
    if (c.picture == kNone) {
      EXPECT_EQ(idleCalls, 0) << "a stop must not wait for anything";
      // What was made before the failure has been given back.
      auto count = [](const char* event) {
        return std::count(headless::Events().begin(), headless::Events().end(), event);
      };
      EXPECT_EQ(count("create-window"), count("destroy-window"));
      EXPECT_EQ(count("open-audio"), count("close-audio"));
    } else {
      EXPECT_EQ(idleCalls, 7) << "Esc ended it";
      EXPECT_EQ(lastPicture.pixels == title.pixels, c.picture == kTitle);
      EXPECT_EQ(AllBlack(lastPicture), c.picture == kBlack);
    }
  }
}

}  // namespace
}  // namespace quillorn
