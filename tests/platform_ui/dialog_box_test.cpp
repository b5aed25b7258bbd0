// The help dialog on the headless backend: opened by the game's help command, closed by
// Enter, Esc, OK and the close box; keys stay away from the game while ticks go on; the
// layout fits every text at the font's natural size; the icon is decoded and drawn.
#include "platform/chrome/dialog_box.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "harness.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/headless/headless.h"
#include "platform/resources/icon_image.h"
#include "platform/window/input.h"
#include "shell/main_window.h"
#include "shell/scene_handlers.h"

namespace quillorn::platform {
namespace {

int confirms = 0;
int ticks = 0;

// Opens the help dialog through the game's help command.
void OpenHelp() {
  sceneHandlers.confirmKeyHandler = [] { ++confirms; };
  sceneHandlers.tickHandler = [] { ++ticks; };
  headless::Command(kCmdHelp);
  headless::Pump();
  ASSERT_TRUE(headless::DialogOpen());
  ASSERT_EQ(headless::DialogName(), "dlg_help");
}

const Rect& OkRect() {
  return DialogCurrentLayout().controls[0];
}

// A press at a, then a release at b (by default the same place).
void Click(const Rect& a, const Rect* b = nullptr) {
  if (!b) b = &a;
  DialogMouse((a.left + a.right) / 2, (a.top + a.bottom) / 2, true);
  DialogMouse((b->left + b->right) / 2, (b->top + b->bottom) / 2, false);
}

class HelpDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::StartGame());
    confirms = ticks = 0;
    OpenHelp();
  }
};

TEST_F(HelpDialog, EnterEscAndBothCloseBoxesCloseOnlyTheDialogAndItOpensAgain) {
  struct Closer {
    const char* name;
    void (*close)();
  };
  const Closer closers[] = {
      {"Enter", [] { headless::KeyDown(kKeyReturn); }},
      {"Esc", [] { headless::KeyDown(kKeyEscape), headless::KeyUp(kKeyEscape); }},
      {"close box", [] { Click(DialogCurrentLayout().closeBox); }},
      {"window's close box", [] { InputClose(); }},
  };
  for (const Closer& c : closers) {
    SCOPED_TRACE(c.name);
    c.close();
    headless::Pump();
    EXPECT_FALSE(headless::DialogOpen());
    EXPECT_TRUE(headless::WindowExists());
    EXPECT_EQ(confirms, 0);  // the key that closed the dialog is not the game's
    OpenHelp();
  }
  // With the dialog gone, Esc is the game's again.
  headless::KeyDown(kKeyEscape), headless::KeyUp(kKeyEscape);
  headless::Pump();
  headless::KeyDown(kKeyEscape);
  headless::Pump();
  EXPECT_FALSE(headless::WindowExists());
}

TEST_F(HelpDialog, OkClosesOnlyWhenPressedAndReleasedOnIt) {
  const Rect ok = OkRect(), beside = {ok.right + 1, ok.top, ok.right + 9, ok.bottom};
  const Rect corner = {0, 0, 10, 10};
  Click(ok, &beside);
  Click(corner, &ok);
  EXPECT_TRUE(headless::DialogOpen());
  DialogMouse((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2, true);
  EXPECT_TRUE(headless::DialogOpen());  // a press alone does nothing yet
  Click(ok);
  EXPECT_FALSE(headless::DialogOpen());
  EXPECT_FALSE(DialogMouse((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2, true));
}

TEST_F(HelpDialog, KeysStayAwayFromTheGameWhileTicksGoOn) {
  for (uint32_t key : {uint32_t(kKeySpace), uint32_t(kKeyZ)}) {
    headless::KeyDown(key);
    headless::KeyUp(key);
  }
  headless::KeyDown(kKeyUp);
  headless::KeyDown(kKeyF10);  // the menu does not open over a modal dialog
  headless::Tick(4);
  EXPECT_EQ(confirms, 0);
  EXPECT_EQ(heldDirection, kDirectionNone);
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_EQ(ticks, 4);
  EXPECT_TRUE(headless::DialogOpen());
}

TEST_F(HelpDialog, LaidOutCentredAtTheChosenScaleWithEveryTextFittingItsControl) {
  const DialogTemplate& t = DialogCurrentTemplate();
  const DialogLayout& l = DialogCurrentLayout();
  // The longest line, 27 full-width characters in 180 units, sets 2.1 pixels a unit.
  EXPECT_EQ(l.scaleTenths, 21);
  ASSERT_EQ(l.controls.size(), t.controls.size());
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const Rect& r = l.controls[i];
    const DialogControl& c = t.controls[i];
    EXPECT_EQ(r.left - l.body.left, c.x * 21 / 10) << i;
    EXPECT_EQ(r.top - l.body.top, c.y * 21 / 10) << i;
    EXPECT_EQ(r.right - l.body.left, (c.x + c.width) * 21 / 10) << i;
    EXPECT_EQ(r.bottom - l.body.top, (c.y + c.height) * 21 / 10) << i;
    EXPECT_LE(r.right, l.body.right) << i;
    EXPECT_LE(r.bottom, l.body.bottom) << i;
    TextSize s = MeasureText(c.text.c_str());
    if (c.kind == kControlIcon) s = {kDialogIconSize, kDialogIconSize};
    EXPECT_LE(s.width, r.right - r.left) << i;
    EXPECT_LE(s.height, r.bottom - r.top) << i;
  }
  // At one tenth less, the longest line would not fit.
  DialogTemplate longest = t;
  longest.controls = {t.controls[6]};
  EXPECT_EQ(MeasureText(t.controls[6].text.c_str()).width, 27 * 14);
  EXPECT_EQ(DialogFitScale(longest), 21);
  // The frame is centred over the client area, the caption on top of the body.
  int32_t w = l.frame.right - l.frame.left, h = l.frame.bottom - l.frame.top;
  EXPECT_EQ(w, 191 * 21 / 10 + 2 * kDialogBorder);
  EXPECT_EQ(h, 195 * 21 / 10 + kDialogCaptionHeight + 2 * kDialogBorder);
  EXPECT_EQ(l.frame.left, (480 - w) / 2);
  EXPECT_EQ(l.frame.top, (512 - h) / 2);
  EXPECT_EQ(l.body.top, l.caption.bottom);
  EXPECT_EQ(l.caption.bottom - l.caption.top, kDialogCaptionHeight);
  EXPECT_GE(l.closeBox.left, l.caption.left);
  EXPECT_LE(l.closeBox.right, l.caption.right);
  EXPECT_GE(l.closeBox.top, l.caption.top);
  EXPECT_LE(l.closeBox.bottom, l.caption.bottom);
}

TEST_F(HelpDialog, DrawsCaptionTextsAndTheDefaultButton) {
  Surface s;
  Rect where;
  ASSERT_TRUE(DialogDraw(s, where));
  const DialogLayout& l = DialogCurrentLayout();
  EXPECT_EQ(where.left, l.frame.left);
  EXPECT_EQ(where.top, l.frame.top);
  EXPECT_EQ(s.width, l.frame.right - l.frame.left);
  EXPECT_EQ(s.height, l.frame.bottom - l.frame.top);
  auto at = [&](int32_t x, int32_t y) { return s.Row(y - l.frame.top)[x - l.frame.left]; };
  EXPECT_EQ(at(l.caption.left + 1, l.caption.top + 1), kCaptionColor);
  EXPECT_EQ(at(l.body.right - 2, l.body.bottom - 2), kFaceColor);
  EXPECT_EQ(at(OkRect().left, OkRect().top), kSelectColor);  // the default button's frame
  // Each static text leaves black pixels in its control and none right of its text.
  const DialogTemplate& t = DialogCurrentTemplate();
  for (size_t i = 2; i < t.controls.size(); ++i) {
    const Rect& r = l.controls[i];
    int32_t textRight = r.left + MeasureText(t.controls[i].text.c_str()).width;
    int inside = 0, beyond = 0;
    for (int32_t y = r.top; y < r.top + kFontHeight; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        (x < textRight ? inside : beyond) += at(x, y) == kTextColor;
    EXPECT_GT(inside, 20) << i;
    EXPECT_EQ(beyond, 0) << i;
  }
}

// A 32 x 32, 32-bit .ico: an opaque red top row, a green pixel at (5, 10), a half
// transparent blue one at (6, 10), the rest transparent.
std::vector<uint8_t> TestIcon() {
  std::vector<uint8_t> f;
  auto u16 = [&](uint32_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  const uint32_t pixels = 32 * 32 * 4, mask = 32 * 4, bytes = 40 + pixels + mask;
  u16(0), u16(1), u16(1);  // icon directory, one image
  f.push_back(32), f.push_back(32), f.push_back(0), f.push_back(0);
  u16(1), u16(32), u32(bytes), u32(22);  // planes, bits, size, offset
  u32(40), u32(32), u32(64), u16(1), u16(32), u32(0), u32(pixels), u32(0), u32(0), u32(0), u32(0);
  for (int row = 31; row >= 0; --row) {  // bottom row first
    for (int x = 0; x < 32; ++x) {
      uint8_t b = 0, g = 0, r = 0, a = 0;
      if (row == 0) r = 255, a = 255;
      if (row == 10 && x == 5) g = 255, a = 255;
      if (row == 10 && x == 6) b = 255, a = 128;
      f.push_back(b), f.push_back(g), f.push_back(r), f.push_back(a);
    }
  }
  f.insert(f.end(), mask, 0);
  return f;
}

// The help dialog drawn with the ICON resource replaced (or hidden when bytes is empty);
// at(x, y) reads the icon control's pixel (x, y).
struct DrawnWithIcon {
  Surface s;
  Rect where, icon;
  explicit DrawnWithIcon(const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(test::StartGame());
    if (bytes.empty())
      headless::HideResource("ICON", "ICO");
    else
      headless::OverrideResource("ICON", "ICO", bytes);  // read when the dialog opens
    headless::Command(kCmdHelp);
    headless::Pump();
    EXPECT_TRUE(DialogDraw(s, where));
    icon = DialogCurrentLayout().controls[1];
  }
  Pixel at(int32_t x, int32_t y) const {
    return s.Row(icon.top + y - where.top)[icon.left + x - where.left];
  }
};

TEST(IconImage, DecodedTopRowFirstWithStraightAlphaAndDrawnOverTheFace) {
  std::vector<uint8_t> bytes = TestIcon();
  IconImage icon;
  EXPECT_FALSE(DecodeIcon({bytes.data(), bytes.size()}, 16, icon));  // no 16 x 16 image
  EXPECT_FALSE(DecodeIcon({bytes.data(), 100}, 32, icon));           // cut short
  ASSERT_TRUE(DecodeIcon({bytes.data(), bytes.size()}, 32, icon));
  EXPECT_EQ(icon.width, 32);
  EXPECT_EQ(icon.height, 32);
  EXPECT_EQ(icon.argb[10 * 32 + 6], 0x800000FFu);
  DrawnWithIcon d(bytes);
  EXPECT_EQ(d.at(0, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(d.at(31, 0), MakePixel(255, 0, 0));
  EXPECT_EQ(d.at(5, 10), MakePixel(0, 255, 0));
  Pixel half = d.at(6, 10);  // half blue over the light grey face
  EXPECT_EQ(PixelBlue(half), (255 * 128 + 240 * 127) / 255);
  EXPECT_EQ(PixelRed(half), 240 * 127 / 255);
  EXPECT_EQ(d.at(20, 20), kFaceColor);
  EXPECT_EQ(d.at(31, 31), kFaceColor);
}

TEST(IconImage, MissingIconLeavesTheDialogWithoutOne) {
  DrawnWithIcon d({});
  for (int32_t y = 0; y < kDialogIconSize; ++y)
    for (int32_t x = 0; x < kDialogIconSize; ++x) ASSERT_EQ(d.at(x, y), kFaceColor);
}

TEST(DialogOpen, AMissingTemplateOpensNothingAndOpeningClosesAnOpenMenu) {
  ASSERT_TRUE(test::StartGame());
  headless::HideResource("DIALOG", "DLG_HELP");
  headless::Command(kCmdHelp);
  headless::Pump();
  EXPECT_FALSE(headless::DialogOpen());

  ASSERT_TRUE(test::StartGame());
  headless::KeyDown(kKeyF10);
  ASSERT_TRUE(MenuBarOpen());
  OpenDialog("dlg_help", HelpDialogProc);
  EXPECT_FALSE(MenuBarOpen());
  EXPECT_TRUE(DialogIsOpen());
}

}  // namespace
}  // namespace quillorn::platform

namespace quillorn::platform {
namespace {

// A DIALOG resource of width x height units with one default button at (buttonX, 10).
std::vector<uint8_t> OneButtonDialog(int16_t width, int16_t height, int16_t buttonX) {
  std::vector<uint8_t> f = {'Q', 'D', 'L', 'G'};
  auto u16 = [&](uint32_t v) { f.push_back(uint8_t(v)), f.push_back(uint8_t(v >> 8)); };
  auto u32 = [&](uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  auto str = [&](const char* s) { f.insert(f.end(), s, s + std::strlen(s) + 1); };
  u32(0), u16(0), u16(0), u16(uint16_t(width)), u16(uint16_t(height));
  str("big"), u16(9), str("font"), u32(1);
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
    headless::Command(kCmdHelp);
    headless::Pump();
    ASSERT_TRUE(headless::DialogOpen());
    const Rect frame = DialogCurrentLayout().frame;
    EXPECT_LT(frame.left, 0);
    EXPECT_GT(frame.bottom, 512);
    Surface s;
    Rect where;
    ASSERT_TRUE(DialogDraw(s, where));
    EXPECT_EQ(std::tuple(where.left, where.top, where.right, where.bottom),
              std::tuple(0, 0, 480, 512));
    EXPECT_EQ(std::pair(s.width, s.height), std::pair(480, 512));
    EXPECT_EQ(s.Row(256)[240], kFaceColor);  // the middle of the body
  }
  DialogReset();
}

}  // namespace
}  // namespace quillorn::platform
