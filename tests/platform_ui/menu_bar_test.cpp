// The menu bar on the headless backend: opening with F10, a tap of Alt or the mouse,
// moving with the arrows, choosing with Enter or a click, closing with Esc, and keeping
// keys (not ticks) away from the window while it is open.
#include "platform/chrome/menu_bar.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

namespace quillorn::platform {
namespace {

std::vector<Message> received;

int32_t RecordingProc(uint32_t type, uint32_t wParam, int32_t lParam) {
  if (type != kMsgPaint) received.push_back({type, wParam, lParam});
  return DefWindowProc(type, wParam, lParam);
}

// The wParams of the messages of one type that reached the window.
std::vector<uint32_t> ReceivedOf(uint32_t type) {
  std::vector<uint32_t> out;
  for (const Message& m : received)
    if (m.type == type) out.push_back(m.wParam);
  return out;
}

void Press(uint32_t key) {
  headless::KeyDown(key);
  headless::KeyUp(key);
  headless::Pump();
}

class MenuBar : public ::testing::Test {
 protected:
  void SetUp() override { Open("menu"); }
  // A shown 480 x 512 window with the given menu and a 54 ms timer 1.
  static void Open(const char* menuName) {
    headless::Reset(1000);
    WindowDesc desc;
    desc.className = desc.title = "QuillornTest";
    desc.clientWidth = 480;
    desc.clientHeight = 512;
    desc.menuName = menuName;
    desc.proc = RecordingProc;
    CreateMainWindow(desc);
    ShowMainWindow();
    SetTimer(1, 54);
    headless::Pump();
    received.clear();
  }
  // Opens the menu with a click on its title.
  static void ClickTitle() {
    Rect title = MenuBarTitleRect(0);
    MenuBarMouse(title.left + 2, 5, true);
    MenuBarMouse(title.left + 2, 5, false);
  }
  // Centre of an entry of the open drop-down.
  static void EntryCentre(int entry, int32_t& x, int32_t& y) {
    Rect box;
    ASSERT_TRUE(MenuBarDropDownRect(box));
    x = (box.left + box.right) / 2;
    for (y = box.top; y < box.bottom && MenuBarEntryAt(x, y) != entry; ++y) {
    }
    ASSERT_LT(y, box.bottom) << "entry " << entry << " not found";
    y += kMenuEntryHeight / 2;
    ASSERT_EQ(MenuBarEntryAt(x, y), entry);
  }
};

TEST_F(MenuBar, TitlesSitAboveTheClientAreaAndNoMenuNameMeansNoBar) {
  EXPECT_EQ(MenuBarHeight(), kMenuBarHeight);
  ASSERT_EQ(MenuBarMenus().size(), 1u);
  Rect title = MenuBarTitleRect(0);
  EXPECT_EQ(title.top, 0);
  EXPECT_EQ(title.bottom, kMenuBarHeight);
  EXPECT_EQ(title.right - title.left, MeasureText("menu").width + 2 * kMenuTitlePad);

  Open("DEBUG_MENU");  // a second title follows the first
  EXPECT_EQ(MenuBarTitleRect(1).left, MenuBarTitleRect(0).right);
  Open(nullptr);
  EXPECT_EQ(MenuBarHeight(), 0);
  Press(kKeyF10);
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_EQ(ReceivedOf(kMsgKeyDown), std::vector<uint32_t>{kKeyF10});
}

TEST_F(MenuBar, WhileOpenKeysStayAwayFromTheWindowButTicksGoOn) {
  Press(kKeyF10);
  for (uint32_t key : {uint32_t(kKeySpace), uint32_t('Z'), uint32_t(kKeyE)}) Press(key);
  headless::Tick(3);
  EXPECT_TRUE(MenuBarOpen());
  EXPECT_TRUE(ReceivedOf(kMsgKeyDown).empty());
  EXPECT_TRUE(ReceivedOf(kMsgKeyUp).empty());
  EXPECT_EQ(ReceivedOf(kMsgTimer), (std::vector<uint32_t>{1, 1, 1}));
}

// Keys as letters: F is F10, U D L R the arrows, E Enter, X Esc.
uint32_t KeyOf(char c) {
  const uint32_t keys[] = {kKeyF10, kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyReturn, kKeyEscape};
  return keys[std::string("FUDLREX").find(c)];
}

struct KeyCase {
  const char* menu;
  const char* keys;
  int open, selected;  // the open drop-down (-1: closed) and its highlighted entry
  uint32_t command;    // the id that reached the window, 0 for none
};

const KeyCase kKeyCases[] = {
    {"menu", "F", 0, 0, 0},
    {"menu", "FF", -1, -1, 0},  // F10 again closes
    {"menu", "FD", 0, 2, 0},    // the arrows skip separators
    {"menu", "FDDDD", 0, 8, 0},
    {"menu", "FDDDDD", 0, 0, 0},  // and wrap
    {"menu", "FU", 0, 8, 0},
    {"menu", "FUU", 0, 6, 0},
    {"menu", "FUL", 0, 8, 0},    // one drop-down only: nowhere to go
    {"menu", "FDX", -1, -1, 0},  // Esc closes without a command
    {"menu", "FE", -1, -1, 40006},
    {"menu", "FDE", -1, -1, 40001},
    {"menu", "FDDE", -1, -1, 40005},
    {"menu", "FDDDE", -1, -1, 40002},
    {"menu", "FDDDDE", -1, -1, 40003},  // quitting is then the window's to decide
    {"DEBUG_MENU", "FR", 1, 0, 0},
    {"DEBUG_MENU", "FRDE", -1, -1, 40009},
    {"DEBUG_MENU", "FL", 1, 0, 0},
    {"DEBUG_MENU", "FLL", 0, 0, 0},  // wrapping around
};

TEST_F(MenuBar, KeysOpenMoveChooseAndCloseAndNoneReachesTheWindow) {
  for (const KeyCase& c : kKeyCases) {
    SCOPED_TRACE(std::string(c.menu) + " " + c.keys);
    Open(c.menu);
    for (const char* k = c.keys; *k; ++k) Press(KeyOf(*k));
    EXPECT_EQ(MenuBarOpenIndex(), c.open);
    EXPECT_EQ(MenuBarSelectedEntry(), c.selected);
    EXPECT_EQ(ReceivedOf(kMsgCommand),
              c.command ? std::vector<uint32_t>{c.command} : std::vector<uint32_t>{});
    EXPECT_TRUE(ReceivedOf(kMsgKeyDown).empty());
    EXPECT_TRUE(ReceivedOf(kMsgKeyUp).empty());  // the closing key's release is the menu's too
    EXPECT_TRUE(headless::WindowExists());
    if (c.open >= 0) continue;
    Press(kKeyUp);  // closed: keys are the window's again
    EXPECT_EQ(ReceivedOf(kMsgKeyDown), std::vector<uint32_t>{kKeyUp});
    EXPECT_EQ(ReceivedOf(kMsgKeyUp), std::vector<uint32_t>{kKeyUp});
  }
}

TEST_F(MenuBar, ATapOfAltOpensAndClosesButAltWithAnotherKeyIsNoTap) {
  headless::KeyDown(kKeyAlt);
  EXPECT_FALSE(MenuBarOpen());  // it opens when Alt comes up, not before
  headless::KeyUp(kKeyAlt);
  EXPECT_TRUE(MenuBarOpen());
  EXPECT_EQ(MenuBarSelectedEntry(), 0);
  Press(kKeyAlt);
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_TRUE(received.empty());

  headless::KeyDown(kKeyAlt);
  Press('X');
  headless::KeyUp(kKeyAlt);
  headless::Pump();
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_EQ(ReceivedOf(kMsgKeyDown), std::vector<uint32_t>{'X'});
}

TEST_F(MenuBar, AClickOrADragFromTheTitleToAnEntryChoosesIt) {
  Rect title = MenuBarTitleRect(0);
  int32_t tx = (title.left + title.right) / 2, ty = kMenuBarHeight / 2;
  EXPECT_TRUE(MenuBarMouse(tx, ty, true));
  EXPECT_TRUE(MenuBarOpen());
  EXPECT_EQ(MenuBarSelectedEntry(), -1);  // opened by the mouse: nothing highlighted yet
  EXPECT_TRUE(MenuBarMouse(tx, ty, false));
  EXPECT_TRUE(MenuBarOpen());  // releasing over the title leaves it open

  int32_t x, y;
  EntryCentre(6, x, y);
  MenuBarMouseMove(x, y);
  EXPECT_EQ(MenuBarSelectedEntry(), 6);
  EXPECT_TRUE(MenuBarMouse(x, y, true));
  EXPECT_TRUE(MenuBarMouse(x, y, false));
  EXPECT_FALSE(MenuBarOpen());
  headless::Pump();
  EXPECT_EQ(ReceivedOf(kMsgCommand), std::vector<uint32_t>{40002});

  ClickTitle();
  MenuBarMouse(tx, ty, true);  // the open menu's title closes it
  EXPECT_FALSE(MenuBarOpen());
  MenuBarMouse(tx, ty, false);

  received.clear();  // a press on the title, a drag and a release on an entry choose it too
  MenuBarMouse(tx, ty, true);
  EntryCentre(8, x, y);
  MenuBarMouseMove(x, y);
  MenuBarMouse(x, y, false);
  headless::Pump();
  EXPECT_EQ(ReceivedOf(kMsgCommand), std::vector<uint32_t>{40003});
}

TEST_F(MenuBar, ClicksOnSeparatorsAndOutsideChooseNothing) {
  ClickTitle();
  int32_t x, y;
  EntryCentre(2, x, y);
  int32_t separatorY = y + kMenuEntryHeight / 2 + kMenuSeparatorHeight / 2;  // just below
  EXPECT_EQ(MenuBarEntryAt(x, separatorY), -1);
  MenuBarMouse(x, separatorY, true);
  MenuBarMouse(x, separatorY, false);
  EXPECT_TRUE(MenuBarOpen());
  EXPECT_TRUE(MenuBarMouse(400, 400, true));  // outside: closes, and goes nowhere else
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_FALSE(MenuBarMouse(400, 400, false));
  headless::Pump();
  EXPECT_TRUE(ReceivedOf(kMsgCommand).empty());
  EXPECT_FALSE(MenuBarMouse(400, 400, true));  // closed: the click is not the menu's
}

// Pixels of colour c in rows [top, bottom) and columns [left, right) of s.
int Count(const Surface& s, Pixel c, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int n = 0;
  for (int32_t y = top; y < bottom; ++y)
    for (int32_t x = left; x < right; ++x) n += s.Row(y)[x] == c;
  return n;
}

TEST_F(MenuBar, DrawsAGreyBarAndTheOpenTitleHighlighted) {
  Surface bar = MakeSurface(480, kMenuBarHeight);
  MenuBarDraw(bar);
  Rect title = MenuBarTitleRect(0);
  EXPECT_EQ(bar.Row(2)[470], kFaceColor);
  EXPECT_EQ(bar.Row(kMenuBarHeight - 1)[470], kEdgeColor);
  EXPECT_EQ(bar.Row(1)[title.left + 1], kFaceColor);
  Press(kKeyF10);
  MenuBarDraw(bar);
  EXPECT_EQ(bar.Row(1)[title.left + 1], kHotColor);
  EXPECT_EQ(bar.Row(0)[title.left], kHotEdgeColor);
  EXPECT_GT(Count(bar, kTextColor, title.left, 0, title.right, kMenuBarHeight), 10);
}

TEST_F(MenuBar, DrawsTheDropDownWithHighlightAndSeparatorsAndEveryEntryFits) {
  Surface dd;
  Rect where;
  EXPECT_FALSE(MenuBarDrawDropDown(dd, where));
  Press(kKeyF10);
  Press(kKeyDown);  // the second entry
  ASSERT_TRUE(MenuBarDrawDropDown(dd, where));
  EXPECT_EQ(where.top, kMenuBarHeight);
  EXPECT_EQ(where.left, MenuBarTitleRect(0).left);
  EXPECT_EQ(dd.width, where.right - where.left);
  EXPECT_EQ(dd.height, where.bottom - where.top);
  EXPECT_EQ(dd.height, 2 * kFrameBorder + 5 * kMenuEntryHeight + 4 * kMenuSeparatorHeight);
  EXPECT_EQ(dd.Row(0)[0], kShadowColor);
  // Rows: entry 0, separator, entry 2 (highlighted, its text white), ...
  int32_t entry0 = kFrameBorder, sep = entry0 + kMenuEntryHeight,
          entry2 = sep + kMenuSeparatorHeight;
  EXPECT_EQ(dd.Row(entry0 + 1)[3], kMenuColor);
  EXPECT_EQ(dd.Row(entry2 + 1)[3], kSelectColor);
  EXPECT_EQ(dd.Row(entry2 + kMenuEntryHeight - 1)[dd.width - 3], kSelectColor);
  EXPECT_EQ(dd.Row(sep + kMenuSeparatorHeight / 2 - 1)[10], kEdgeColor);
  EXPECT_EQ(dd.Row(sep + kMenuSeparatorHeight / 2)[10], kWhite);
  EXPECT_GT(Count(dd, kSelectTextColor, kMenuEntryLeft, entry2, kMenuEntryLeft + 5 * 14,
                  entry2 + kMenuEntryHeight),
            20);
  for (const MenuEntry& e : MenuBarMenus()[0].entries)
    EXPECT_LE(kMenuEntryLeft + MeasureText(e.text.c_str()).width + kMenuEntryRight, dd.width);
}

}  // namespace
}  // namespace quillorn::platform
