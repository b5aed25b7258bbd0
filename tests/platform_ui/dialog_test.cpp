// The help dialog drawn on the headless backend from the game's DIALOG resource: opened by
// the help command, closed by Enter, Esc, OK and the close boxes; keys kept from the game
// while ticks go on; laid out so that every text fits; filled boxes clipped; a dialog larger
// than the window drawn only over the client area.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/window/input.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn::platform {
namespace {

int confirms = 0, ticks = 0;

void OpenHelp() {
  sceneHandlers.confirmKeyHandler = [] { ++confirms; };
  sceneHandlers.tickHandler = [] { ++ticks; };
  headless::Command(kCmdHelp);
  headless::Pump();
  ASSERT_EQ(headless::DialogOpen() ? headless::DialogName() : "", "dlg_help");
}

void Click(const Rect& a, const Rect& b) {  // a press in a, a release in b
  DialogMouse((a.left + a.right) / 2, (a.top + a.bottom) / 2, true);
  DialogMouse((b.left + b.right) / 2, (b.top + b.bottom) / 2, false);
}

TEST(HelpDialog, OpensFromTheMenuAndClosesOnlyByItsOwnKeysAndButtons) {
  ASSERT_TRUE(test::StartGame());
  headless::KeyDown(kKeyF10);
  OpenHelp();
  EXPECT_FALSE(MenuBarOpen());
  confirms = ticks = 0;
  for (uint32_t key : {kKeySpace, kKeyZ, kKeyUp, kKeyF10})
    headless::KeyDown(key), headless::KeyUp(key);
  headless::Tick(4);
  EXPECT_EQ(std::tuple(confirms, ticks, heldDirection, MenuBarOpen()),
            std::tuple(0, 4, kDirectionNone, false));
  const Rect ok = DialogCurrentLayout().controls[0],
             beside{ok.right + 1, ok.top, ok.right + 9, ok.bottom};
  Click(ok, beside), Click({0, 0, 10, 10}, ok);  // OK needs both the press and the release
  EXPECT_TRUE(headless::DialogOpen());
  const std::pair<const char*, void (*)()> closers[] = {
      {"OK", [] { Click(DialogCurrentLayout().controls[0], DialogCurrentLayout().controls[0]); }},
      {"Enter", [] { headless::KeyDown(kKeyReturn); }},
      {"Esc", [] { headless::KeyDown(kKeyEscape), headless::KeyUp(kKeyEscape); }},
      {"close box", [] { Click(DialogCurrentLayout().closeBox, DialogCurrentLayout().closeBox); }},
      {"window's close box", [] { InputClose(); }}};
  for (auto [name, close] : closers) {
    SCOPED_TRACE(name);
    close(), headless::Pump();
    EXPECT_FALSE(headless::DialogOpen());
    EXPECT_TRUE(headless::WindowExists());
    EXPECT_EQ(confirms, 0);
    OpenHelp();
  }
  headless::KeyDown(kKeyEscape), headless::KeyUp(kKeyEscape), headless::Pump();
  headless::KeyDown(kKeyEscape), headless::Pump();  // with the dialog gone, Esc is the game's
  EXPECT_FALSE(headless::WindowExists());
  ASSERT_TRUE(test::StartGame());
  headless::HideResource("DIALOG", "DLG_HELP");
  headless::Command(kCmdHelp), headless::Pump();
  EXPECT_FALSE(headless::DialogOpen());
}

TEST(HelpDialog, ItsTextsEachFitTheirControlAtTheScaleChosenAndAreDrawnThere) {
  ASSERT_TRUE(test::StartGame());
  OpenHelp();
  const DialogTemplate& t = DialogCurrentTemplate();
  const DialogLayout& l = DialogCurrentLayout();
  EXPECT_EQ(std::tuple(t.width, t.height, t.caption, t.controls.size()),
            std::tuple(191, 195, std::string("ﾀﾞｲｱﾛｸﾞ"), 11u));
  EXPECT_EQ(std::tuple(t.controls[0].kind, t.controls[0].id, t.controls[0].text),
            std::tuple(uint8_t(kControlButton), 1, std::string("OK")));
  EXPECT_EQ(std::pair(t.controls[1].kind, t.controls[1].text),
            std::pair(uint8_t(kControlIcon), std::string("ICO")));
  EXPECT_EQ(t.controls[6].text, "ハートは移動すると減少します。動かなければ減りません。");
  // The longest line, 27 full-width characters in 180 units, sets 2.1 pixels a unit.
  EXPECT_EQ(l.scaleTenths, 21);
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const Rect& r = l.controls[i];
    const DialogControl& c = t.controls[i];
    EXPECT_EQ(std::tuple(r.left - l.body.left, r.top - l.body.top, r.right - l.body.left,
                         r.bottom - l.body.top),
              std::tuple(c.x * 21 / 10, c.y * 21 / 10, (c.x + c.width) * 21 / 10,
                         (c.y + c.height) * 21 / 10))
        << i;
    TextSize s = c.kind == kControlIcon ? TextSize{kDialogIconSize, kDialogIconSize}
                                        : MeasureText(c.text.c_str());
    EXPECT_TRUE(s.width <= r.right - r.left && s.height <= r.bottom - r.top &&
                r.right <= l.body.right)
        << i;
  }
  DialogTemplate longest = t;
  longest.controls = {t.controls[6]};
  EXPECT_EQ(DialogFitScale(longest), 21);  // at one tenth less it would not fit
  const int32_t w = 191 * 21 / 10 + 2 * kDialogBorder,
                h = 195 * 21 / 10 + kDialogCaptionHeight + 2 * kDialogBorder;
  EXPECT_EQ(std::tuple(l.frame.left, l.frame.top, l.frame.right, l.frame.bottom),
            std::tuple((480 - w) / 2, (512 - h) / 2, (480 - w) / 2 + w, (512 - h) / 2 + h));
  Surface s;
  Rect where;
  ASSERT_TRUE(DialogDraw(s, where));
  auto at = [&](int32_t x, int32_t y) { return s.Row(y - where.top)[x - where.left]; };
  EXPECT_EQ(
      std::tuple(at(l.caption.left + 1, l.caption.top + 1), at(l.body.right - 2, l.body.bottom - 2),
                 at(l.controls[0].left, l.controls[0].top)),
      std::tuple(kCaptionColor, kFaceColor, kSelectColor));
  for (size_t i = 2; i < t.controls.size(); ++i) {  // each text inked up to its width, not beyond
    const Rect& r = l.controls[i];
    int32_t right = r.left + MeasureText(t.controls[i].text.c_str()).width, inside = 0, beyond = 0;
    for (int32_t y = r.top; y < r.top + kFontHeight; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        (x < right ? inside : beyond) += at(x, y) == kTextColor;
    EXPECT_TRUE(inside > 20 && beyond == 0) << i;
  }
}

TEST(UiLook, FillBoxIsClippedToTheSurfaceOnEverySide) {
  const std::pair<Rect, int> cases[] = {
      {{2, 1, 5, 3}, 6},     {{-3, -3, 2, 2}, 4}, {{8, 4, 30, 20}, 4},  {{12, 0, 20, 6}, 0},
      {{-20, 0, -12, 6}, 0}, {{0, 7, 10, 9}, 0},  {{0, -9, 10, -7}, 0}, {{5, 2, 3, 4}, 0}};
  for (auto [box, inked] : cases) {
    Surface s = MakeSurface(10, 6);  // the surface's own vector: a write past it is caught
    FillBox(s, box, kWhite);
    EXPECT_EQ(std::count(s.pixels.begin(), s.pixels.end(), kWhite), inked)
        << box.left << "," << box.top;
  }
}

// A DIALOG resource of width x height units with one default button at (buttonX, 10).
std::vector<uint8_t> OneButtonDialog(int16_t width, int16_t height, int16_t buttonX) {
  std::vector<uint8_t> f = {'Q', 'D', 'L', 'G'};
  auto u16 = [&](uint32_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  auto str = [&](const char* s) { f.insert(f.end(), s, s + std::strlen(s) + 1); };
  u32(0), u16(0), u16(0), u16(uint16_t(width)), u16(uint16_t(height)), str("big"), u16(9),
      str("font"), u32(1);
  f.push_back(kControlButton), u32(1), u32(kIdOk), u16(uint16_t(buttonX)), u16(10), u16(50),
      u16(14), str("OK");
  return f;
}

TEST(LargeDialog, OnlyThePartOverTheClientAreaIsDrawnAndAControlBesideItIsSkipped) {
  ASSERT_TRUE(test::StartGame());
  for (int16_t buttonX : {int16_t(20), int16_t(1900), int16_t(-900)}) {
    SCOPED_TRACE(buttonX);
    headless::OverrideResource("DIALOG", "dlg_help", OneButtonDialog(2000, 2000, buttonX));
    DialogReset();
    headless::Command(kCmdHelp), headless::Pump();
    ASSERT_TRUE(headless::DialogOpen());
    EXPECT_TRUE(DialogCurrentLayout().frame.left < 0 && DialogCurrentLayout().frame.bottom > 512);
    Surface s;
    Rect where;
    ASSERT_TRUE(DialogDraw(s, where));
    EXPECT_EQ(std::tuple(where.left, where.top, where.right, where.bottom, s.width, s.height),
              std::tuple(0, 0, 480, 512, 480, 512));
    EXPECT_EQ(s.Row(256)[240], kFaceColor);
  }
  DialogReset();
}

}  // namespace
}  // namespace quillorn::platform
