// The drawn menu bar and help dialog on the headless backend, laid out from the game's MENU
// and DIALOG resources and worked with keys and the mouse; a dialog larger than the window
// drawn only over the client area (its clipped fills caught by the sanitizers).
#include <gtest/gtest.h>

#include "harness.h"
#include "platform/audio/audio.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/settings/settings.h"
#include "platform/window/input.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

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

TEST(MenuBar, KeysOpenMoveChooseAndCloseAndNoneReachesTheWindowWhileTicksGoOn) {
  // Keys as letters (F F10, U D L R the arrows, E Enter, X Esc, A a tap of Alt; a leading d
  // for the debug menu), then the open drop-down (-1: closed), its highlighted entry and
  // the command sent to the window. The window's own 設定 menu comes last; its commands are
  // the window's and never reach the window procedure.
  for (std::string c :
       {"F:0,0", "FF:-1,-1", "A:0,0", "AA:-1,-1", "FD:0,2", "FDDDDD:0,0", "FUU:0,6", "FUL:1,0",
        "FDX:-1,-1", "FE:-1,-1,40006", "FDDDE:-1,-1,40002", "FDDDDE:-1,-1,40003",
        "dFRDE:-1,-1,40009", "dFLL:1,0", "FRE:-1,-1", "FRDRX:1,2"}) {
    Open(c[0] == 'd' ? "DEBUG_MENU" : "menu");
    std::string got = c.substr(0, c.find(':') + 1);
    for (char k : got)
      if (k != 'd' && k != ':')
        Press(std::vector<uint32_t>{kKeyF10, kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyReturn,
                                    kKeyEscape, kKeyAlt}[std::string("FUDLREXA").find(k)]);
    headless::Tick(2);
    got += std::to_string(MenuBarOpenIndex()) + "," + std::to_string(MenuBarSelectedEntry());
    for (uint32_t command : Received(kMsgCommand)) got += "," + std::to_string(command);
    EXPECT_EQ(got, c);
    EXPECT_TRUE(Received(kMsgKeyDown).empty() && Received(kMsgKeyUp).empty()) << c;
    EXPECT_EQ(Received(kMsgTimer), (std::vector<uint32_t>{1, 1})) << c;
    Press(kKeyUp);  // once closed, keys are the window's again
    EXPECT_EQ(Received(kMsgKeyDown).size(), MenuBarOpen() ? 0u : 1u) << c;
  }
  // The drop-downs as the resources give them: title, then each entry's id and text, and a
  // submenu's levels.
  const std::string menu =
      "menu:40006 タイトル画面|0 |40001 ゲーム開始|0 |40005 ストーリー|0 |40002 説明|0 |40003 "
      "終了|";
  const std::string levels = "10 9 8 7 6 5 4 3 2 1 0 ";
  const std::string settings = "設定:41001 消音\tCtrl+M|0 |0 音楽の音量[" + levels +
                               "]|0 効果音の音量[" + levels +
                               "]|0 |41002 ピッを表示|41003 ピッを振動で|";
  Open("menu");
  std::string got;
  for (const MenuDropDown& m : MenuBarMenus()) {
    got += m.title + ":";
    for (const MenuEntry& e : m.entries) {
      got += std::to_string(e.id) + " " + e.text;
      if (e.Opens()) {
        got += "[";
        for (const MenuEntry& level : e.submenu) got += level.text + " ";
        got += "]";
      }
      got += "|";
    }
  }
  EXPECT_EQ(got, menu + settings);
}

// The centre of an entry of the open drop-down, or of its open submenu.
std::pair<int32_t, int32_t> EntryCentre(int entry, bool submenu = false) {
  Rect box;
  EXPECT_TRUE(submenu ? MenuBarSubmenuRect(box) : MenuBarDropDownRect(box));
  int32_t x = (box.left + box.right) / 2, y = box.top;
  while (y < box.bottom && (submenu ? MenuBarSubmenuEntryAt(x, y) : MenuBarEntryAt(x, y)) != entry)
    ++y;
  return {x, y + kMenuEntryHeight / 2};
}

TEST(MenuBar, AClickOrADragFromTheTitleChoosesAnEntryAndTheDropDownIsDrawn) {
  Open("menu");
  const int32_t tx = MenuBarTitleRect(0).left + 5, ty = kMenuBarHeight / 2;
  EXPECT_TRUE(MenuBarMouse(tx, ty, true) && MenuBarMouse(tx, ty, false));
  EXPECT_EQ(MenuBarSelectedEntry(), -1);  // open, nothing highlighted yet
  auto [x, y] = EntryCentre(2);
  const int32_t sy = y + (kMenuEntryHeight + kMenuSeparatorHeight) / 2;  // the separator below
  MenuBarMouse(x, sy, true), MenuBarMouse(x, sy, false), MenuBarMouseMove(x, y);
  Surface dd;  // drawn with entry 2 highlighted below entry 0 and a separator
  Rect where;
  ASSERT_TRUE(MenuBarDrawDropDown(dd, where));
  EXPECT_EQ(dd.Row(kFrameBorder + kMenuEntryHeight + kMenuSeparatorHeight + 1)[3], kSelectColor);
  MenuBarMouse(x, y, true), MenuBarMouse(x, y, false);
  MenuBarMouse(tx, ty, true);  // a drag from the title to an entry
  std::tie(x, y) = EntryCentre(8);
  MenuBarMouseMove(x, y), MenuBarMouse(x, y, false);
  MenuBarMouse(tx, ty, true), MenuBarMouse(tx, ty, false);
  EXPECT_TRUE(MenuBarMouse(400, 400, true));  // outside: closes, and goes no further
  EXPECT_FALSE(MenuBarOpen() || MenuBarMouse(400, 400, false) || MenuBarMouse(400, 400, true));
  headless::Pump();
  EXPECT_EQ(Received(kMsgCommand), (std::vector<uint32_t>{40001, 40003}));
}

// The 設定 menu by keys and by the mouse: a volume's submenu opens on its checked level, the
// checks follow the settings, Ctrl+M and 消音 each toggle the mute, and none of it reaches
// the window.
TEST(MenuBar, TheSettingsMenusSubmenusAndChecksChangeTheSettingsAndTheWindowSeesNone) {
  Open("menu");
  // F10, to 設定, down to 音楽の音量, its submenu opens on 10; three down to 7, chosen.
  for (uint32_t key : {kKeyF10, kKeyRight, kKeyDown, kKeyRight}) Press(key);
  EXPECT_EQ(MenuBarSubmenuOpen() ? MenuBarSubmenuSelected() : -1, 0);
  for (uint32_t key : {kKeyDown, kKeyDown, kKeyDown, kKeyReturn}) Press(key);
  EXPECT_EQ(GroupVolume(SoundGroup::kMusic), 7);
  EXPECT_TRUE(MenuBarChecked(kCmdMusicVolume + 7) && !MenuBarChecked(kCmdMusicVolume + 10));
  // Opened again by Enter, it stands on 7; Esc closes the submenu, then the menu.
  for (uint32_t key : {kKeyF10, kKeyRight, kKeyDown, kKeyReturn}) Press(key);
  EXPECT_EQ(MenuBarSubmenuSelected(), 3);
  Press(kKeyEscape), Press(kKeyEscape);
  EXPECT_FALSE(MenuBarOpen());
  // By the mouse: the title clicked, 効果音の音量 rested on, its "0" clicked.
  const Rect title = MenuBarTitleRect(1);
  MenuBarMouse(title.left + 2, 5, true), MenuBarMouse(title.left + 2, 5, false);
  auto [x, y] = EntryCentre(3);
  MenuBarMouseMove(x, y);
  std::tie(x, y) = EntryCentre(10, true);
  MenuBarMouseMove(x, y);
  Surface drawn;
  Rect where;
  ASSERT_TRUE(MenuBarDrawSubmenu(drawn, where));
  MenuBarMouse(x, y, true), MenuBarMouse(x, y, false);
  EXPECT_EQ(GroupVolume(SoundGroup::kEffects), 0);
  EXPECT_FALSE(MenuBarOpen());
  // Ctrl+M twice, then 消音 from the menu.
  headless::KeyDownWith('M', true), headless::Pump();
  EXPECT_TRUE(Muted() && MenuBarChecked(kCmdMute));
  headless::KeyDownWith('M', true), headless::Pump();
  for (uint32_t key : {kKeyF10, kKeyRight, kKeyReturn}) Press(key);
  EXPECT_TRUE(Muted());
  EXPECT_TRUE(Received(kMsgCommand).empty() && Received(kMsgKeyDown).empty());
  // Drawn: the highlighted "0" and the check beside "10", the level it stood at.
  const auto row = [&](int entry) { return kFrameBorder + entry * kMenuEntryHeight; };
  EXPECT_EQ(drawn.Row(row(10) + kMenuEntryHeight / 2)[3], kSelectColor);
  int32_t inked[2] = {0, 0};  // left of the first two entries' text: a check beside "10" only
  for (int32_t yy = row(0); yy < row(2); ++yy)
    for (int32_t xx = 3; xx < kMenuEntryLeft; ++xx)
      inked[yy >= row(1)] += drawn.Row(yy)[xx] == kTextColor;
  EXPECT_GT(inked[0], 10);
  EXPECT_EQ(inked[1], 0);
}

int confirms = 0, ticks = 0;

void OpenHelp() {
  sceneHandlers.confirmKeyHandler = [] { ++confirms; };
  sceneHandlers.tickHandler = [] { ++ticks; };
  headless::Command(kCmdHelp), headless::Pump();
  ASSERT_EQ(headless::DialogOpen() ? headless::DialogName() : "", "dlg_help");
}

void Click(const Rect& a, const Rect& b) {  // a press in a, a release in b
  DialogMouse((a.left + a.right) / 2, (a.top + a.bottom) / 2, true);
  DialogMouse((b.left + b.right) / 2, (b.top + b.bottom) / 2, false);
}

TEST(HelpDialog, OpensOverTheMenuAndClosesOnlyByItsOwnKeysAndButtons) {
  ASSERT_TRUE(test::StartGame());
  headless::KeyDown(kKeyF10);
  OpenHelp();
  confirms = ticks = 0;
  for (uint32_t key : {kKeySpace, kKeyZ, kKeyUp, kKeyF10})
    headless::KeyDown(key), headless::KeyUp(key);
  headless::Tick(4);
  EXPECT_EQ(confirms + 10 * ticks, 40);
  EXPECT_FALSE(heldDirection != kDirectionNone || MenuBarOpen());
  const std::pair<const char*, void (*)()> closers[] = {
      {"OK", [] { Click(DialogCurrentLayout().controls[0], DialogCurrentLayout().controls[0]); }},
      {"Enter", [] { headless::KeyDown(kKeyReturn); }},
      {"Esc", [] { headless::KeyDown(kKeyEscape), headless::KeyUp(kKeyEscape); }},
      {"close box", [] { Click(DialogCurrentLayout().closeBox, DialogCurrentLayout().closeBox); }},
      {"window's close box", [] { InputClose(); }}};
  for (auto [name, close] : closers) {
    close(), headless::Pump();
    EXPECT_TRUE(!headless::DialogOpen() && headless::WindowExists() && confirms == 0) << name;
    OpenHelp();
  }
}

TEST(HelpDialog, LaidOutFromItsTemplateSoThatEveryTextFitsAndDrawnThere) {
  ASSERT_TRUE(test::StartGame());
  OpenHelp();
  const DialogTemplate& t = DialogCurrentTemplate();
  const DialogLayout& l = DialogCurrentLayout();
  EXPECT_EQ(t.caption + t.controls[0].text + t.controls[1].text + t.controls[6].text,
            "ﾀﾞｲｱﾛｸﾞOKICOハートは移動すると減少します。動かなければ減りません。");
  // The longest line, 27 full-width characters in 180 units, sets 2.1 pixels a unit.
  EXPECT_EQ(l.scaleTenths, 21);
  const int32_t w = 191 * 21 / 10 + 2 * kDialogBorder,
                h = 195 * 21 / 10 + kDialogCaptionHeight + 2 * kDialogBorder;
  EXPECT_EQ(std::vector<int32_t>({l.frame.left, l.frame.top, l.frame.right - l.frame.left,
                                  l.frame.bottom - l.frame.top}),
            std::vector<int32_t>({(480 - w) / 2, (512 - h) / 2, w, h}));
  Surface s;
  Rect where;
  ASSERT_TRUE(DialogDraw(s, where));
  auto at = [&](int32_t x, int32_t y) { return s.Row(y - where.top)[x - where.left]; };
  EXPECT_EQ(at(l.caption.left + 1, l.caption.top + 1), kCaptionColor);
  EXPECT_EQ(at(l.controls[0].left, l.controls[0].top), kSelectColor);  // the default button
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const Rect& r = l.controls[i];
    const DialogControl& c = t.controls[i];
    EXPECT_EQ(r.left - l.body.left + r.bottom - l.body.top,
              c.x * 21 / 10 + (c.y + c.height) * 21 / 10)
        << i;
    TextSize size = c.kind == kControlIcon ? TextSize{kDialogIconSize, kDialogIconSize}
                                           : MeasureText(c.text.c_str());
    EXPECT_TRUE(size.width <= r.right - r.left && size.height <= r.bottom - r.top &&
                r.right <= l.body.right)
        << i;
  }
}

// A DIALOG resource of 2000 x 2000 units ("big", 9-point "font") with one control, the
// default button "OK" (id 1, style 1), at (x, 10), 50 x 14.
std::vector<uint8_t> LargeDialogWithAButtonAt(int16_t x) {
  const char bytes[] =
      "QDLG\0\0\0\0\0\0\0\0\xD0\x07\xD0\x07"
      "big\0\x09\0font\0\x01\0\0\0\x01\x01\0\0\0\x01\0\0\0XX"
      "\x0A\0\x32\0\x0E\0OK";
  std::vector<uint8_t> f(bytes, bytes + sizeof bytes);
  f[f.size() - 11] = uint8_t(x), f[f.size() - 10] = uint8_t(x >> 8);
  return f;
}

TEST(LargeDialog, OnlyThePartOverTheClientAreaIsDrawnAndAControlBesideItIsSkipped) {
  ASSERT_TRUE(test::StartGame());
  for (int16_t buttonX : {int16_t(20), int16_t(1900), int16_t(-900)}) {
    SCOPED_TRACE(buttonX);
    headless::OverrideResource("DIALOG", "dlg_help", LargeDialogWithAButtonAt(buttonX));
    DialogReset(), headless::Command(kCmdHelp), headless::Pump();
    ASSERT_TRUE(headless::DialogOpen());
    EXPECT_TRUE(DialogCurrentLayout().frame.left < 0 && DialogCurrentLayout().frame.bottom > 512);
    Surface s;
    Rect where;
    ASSERT_TRUE(DialogDraw(s, where));
    EXPECT_EQ(
        std::vector<int32_t>({where.left, where.top, where.right, where.bottom, s.width, s.height}),
        std::vector<int32_t>({0, 0, 480, 512, 480, 512}));
    EXPECT_EQ(s.Row(256)[240], kFaceColor);
  }
  DialogReset();
}

}  // namespace
}  // namespace quillorn::platform
