// The drawn menu bar on the headless backend, laid out from the game's MENU resources:
// opened by F10, a tap of Alt or the mouse; moved with the arrows; chosen with Enter or a
// click; closed with Esc; keys (not ticks) kept from the window while it is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::platform {
namespace {

std::vector<Message> received;

// The wParams of the messages of one type that reached the window.
std::vector<uint32_t> Received(uint32_t type) {
  std::vector<uint32_t> out;
  for (const Message& m : received)
    if (m.type == type) out.push_back(m.wParam);
  return out;
}

void Press(uint32_t key) {
  headless::KeyDown(key), headless::KeyUp(key), headless::Pump();
}

// A shown 480 x 512 window with the given menu and a 54 ms timer.
void Open(const char* menuName) {
  headless::Reset(1000);
  WindowDesc desc;
  desc.className = desc.title = "QuillornTest";
  desc.clientWidth = 480, desc.clientHeight = 512, desc.menuName = menuName;
  desc.proc = [](uint32_t type, uint32_t wParam, int32_t lParam) {
    if (type != kMsgPaint) received.push_back({type, wParam, lParam});
    return DefWindowProc(type, wParam, lParam);
  };
  CreateMainWindow(desc), ShowMainWindow(), SetTimer(1, 54), headless::Pump();
  received.clear();
}

// The centre of an entry of the open drop-down.
std::pair<int32_t, int32_t> EntryCentre(int entry) {
  Rect box;
  EXPECT_TRUE(MenuBarDropDownRect(box));
  int32_t x = (box.left + box.right) / 2, y = box.top;
  while (y < box.bottom && MenuBarEntryAt(x, y) != entry) ++y;
  return {x, y + kMenuEntryHeight / 2};
}

TEST(MenuBar, TheGamesMenusLaidOutAsTitlesAndEntries) {
  const std::vector<std::pair<uint32_t, std::string>> window = {
      {40006, "タイトル画面"}, {0, ""}, {40001, "ゲーム開始"}, {0, ""},
      {40005, "ストーリー"},   {0, ""}, {40002, "説明"},       {0, ""},
      {40003, "終了"}};
  for (const char* name : {"menu", "DEBUG_MENU"}) {
    Open(name);
    const std::vector<MenuDropDown>& menus = MenuBarMenus();
    ASSERT_EQ(menus.size(), name == std::string("menu") ? 1u : 2u);
    for (size_t m = 0; m < menus.size(); ++m) {
      EXPECT_EQ(menus[m].title, m ? "debug" : "menu");
      auto want = m ? decltype(window){{40004, "ending"}, {0, ""}, {40009, "staff roll"}} : window;
      ASSERT_EQ(menus[m].entries.size(), want.size());
      for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(std::pair(menus[m].entries[i].id, menus[m].entries[i].text), want[i]) << i;
      Rect title = MenuBarTitleRect(int(m));  // titles side by side on the bar
      EXPECT_TRUE(m == 0 || title.left == MenuBarTitleRect(0).right);
      EXPECT_EQ(title.right - title.left,
                MeasureText(menus[m].title.c_str()).width + 2 * kMenuTitlePad);
      EXPECT_EQ(std::pair(title.top, title.bottom), std::pair(0, kMenuBarHeight));
    }
  }
  Open(nullptr);  // no menu, no bar: F10 is the window's
  Press(kKeyF10);
  EXPECT_EQ(MenuBarHeight() + MenuBarOpen(), 0);
  EXPECT_EQ(Received(kMsgKeyDown), std::vector<uint32_t>{kKeyF10});
}

TEST(MenuBar, KeysOpenMoveChooseAndCloseAndNoneReachesTheWindow) {
  // Keys as letters: F is F10, U D L R the arrows, E Enter, X Esc; then the open drop-down
  // (-1: closed), its highlighted entry and the command that reached the window.
  const struct {
    const char *menu, *keys;
    int open, selected;
    uint32_t command;
  } cases[] = {{"menu", "F", 0, 0, 0},
               {"menu", "FF", -1, -1, 0},
               {"menu", "FD", 0, 2, 0},
               {"menu", "FDDDDD", 0, 0, 0},
               {"menu", "FUU", 0, 6, 0},
               {"menu", "FUL", 0, 8, 0},
               {"menu", "FDX", -1, -1, 0},
               {"menu", "FE", -1, -1, 40006},
               {"menu", "FDDDE", -1, -1, 40002},
               {"menu", "FDDDDE", -1, -1, 40003},
               {"DEBUG_MENU", "FRDE", -1, -1, 40009},
               {"DEBUG_MENU", "FLL", 0, 0, 0}};
  const uint32_t keys[] = {kKeyF10, kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyReturn, kKeyEscape};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.menu) + " " + c.keys);
    Open(c.menu);
    for (const char* k = c.keys; *k; ++k) Press(keys[std::string("FUDLREX").find(*k)]);
    headless::Tick(2);
    EXPECT_EQ(std::pair(MenuBarOpenIndex(), MenuBarSelectedEntry()), std::pair(c.open, c.selected));
    EXPECT_EQ(Received(kMsgCommand),
              c.command ? std::vector<uint32_t>{c.command} : std::vector<uint32_t>{});
    EXPECT_TRUE(Received(kMsgKeyDown).empty() && Received(kMsgKeyUp).empty());
    EXPECT_EQ(Received(kMsgTimer), (std::vector<uint32_t>{1, 1}));  // ticks go on
    if (c.open >= 0) continue;
    Press(kKeyUp);  // closed: keys are the window's again
    EXPECT_EQ(Received(kMsgKeyDown), std::vector<uint32_t>{kKeyUp});
  }
  Open("menu");  // a tap of Alt opens when it comes up; Alt with another key is no tap
  headless::KeyDown(kKeyAlt);
  EXPECT_FALSE(MenuBarOpen());
  headless::KeyUp(kKeyAlt);
  EXPECT_EQ(MenuBarSelectedEntry(), 0);
  Press(kKeyAlt);
  headless::KeyDown(kKeyAlt), Press('X'), headless::KeyUp(kKeyAlt), headless::Pump();
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_EQ(Received(kMsgKeyDown), std::vector<uint32_t>{'X'});
}

TEST(MenuBar, AClickOrADragFromTheTitleChoosesAnEntryAndNothingElseDoes) {
  Open("menu");
  const int32_t tx = MenuBarTitleRect(0).left + 5, ty = kMenuBarHeight / 2;
  EXPECT_TRUE(MenuBarMouse(tx, ty, true) && MenuBarMouse(tx, ty, false));
  EXPECT_EQ(MenuBarSelectedEntry(), -1);  // open, nothing highlighted yet
  auto [sx, sy] = EntryCentre(2);
  sy += (kMenuEntryHeight + kMenuSeparatorHeight) / 2;  // the separator below
  MenuBarMouse(sx, sy, true), MenuBarMouse(sx, sy, false);
  auto [x, y] = EntryCentre(6);
  MenuBarMouseMove(x, y);
  EXPECT_EQ(std::pair(MenuBarOpen(), MenuBarSelectedEntry()), std::pair(true, 6));
  MenuBarMouse(x, y, true), MenuBarMouse(x, y, false), headless::Pump();
  MenuBarMouse(tx, ty, true), MenuBarMouse(tx, ty, false), MenuBarMouse(tx, ty, true);
  EXPECT_FALSE(MenuBarOpen());                              // the open menu's title closes it
  MenuBarMouse(tx, ty, false), MenuBarMouse(tx, ty, true);  // a drag from the title
  std::tie(x, y) = EntryCentre(8);
  MenuBarMouseMove(x, y), MenuBarMouse(x, y, false), headless::Pump();
  MenuBarMouse(tx, ty, true), MenuBarMouse(tx, ty, false);
  EXPECT_TRUE(MenuBarMouse(400, 400, true));  // outside: closes, and goes no further
  EXPECT_FALSE(MenuBarOpen() || MenuBarMouse(400, 400, false) || MenuBarMouse(400, 400, true));
  headless::Pump();
  EXPECT_EQ(Received(kMsgCommand), (std::vector<uint32_t>{40002, 40003}));
}

TEST(MenuBar, DrawsTheBarAndTheDropDownWithItsHighlightAndSeparators) {
  Open("menu");
  Surface bar = MakeSurface(480, kMenuBarHeight), dd;
  Rect title = MenuBarTitleRect(0), where;
  MenuBarDraw(bar);
  EXPECT_EQ(std::pair(bar.Row(2)[470], bar.Row(1)[title.left + 1]),
            std::pair(kFaceColor, kFaceColor));
  EXPECT_FALSE(MenuBarDrawDropDown(dd, where));
  Press(kKeyF10), Press(kKeyDown);
  MenuBarDraw(bar);
  EXPECT_EQ(bar.Row(1)[title.left + 1], kHotColor);
  ASSERT_TRUE(MenuBarDrawDropDown(dd, where));
  EXPECT_EQ(std::tuple(where.left, where.top, dd.width, dd.height),
            std::tuple(title.left, kMenuBarHeight, where.right - where.left,
                       2 * kFrameBorder + 5 * kMenuEntryHeight + 4 * kMenuSeparatorHeight));
  const int32_t sep = kFrameBorder + kMenuEntryHeight, entry2 = sep + kMenuSeparatorHeight;
  EXPECT_EQ(std::tuple(dd.Row(kFrameBorder + 1)[3], dd.Row(entry2 + 1)[3],
                       dd.Row(sep + kMenuSeparatorHeight / 2)[10]),
            std::tuple(kMenuColor, kSelectColor, kWhite));
  for (const MenuEntry& e : MenuBarMenus()[0].entries)
    EXPECT_LE(kMenuEntryLeft + MeasureText(e.text.c_str()).width + kMenuEntryRight, dd.width);
}

}  // namespace
}  // namespace quillorn::platform
