// The MENU and DIALOG resources built from data/ui: entries, ids, order, separators, and
// the help dialog's template.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/platform.h"

namespace quillorn::platform {
namespace {

struct Expected {
  uint32_t id;
  const char* text;
};

void ExpectEntries(const MenuDropDown& menu, const std::vector<Expected>& expected) {
  ASSERT_EQ(menu.entries.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(menu.entries[i].id, expected[i].id) << "entry " << i;
    EXPECT_EQ(menu.entries[i].text, expected[i].text) << "entry " << i;
  }
}

std::vector<MenuDropDown> LoadMenu(const char* name) {
  Resource res;
  std::vector<MenuDropDown> menus;
  EXPECT_TRUE(FindResource("menu", name, res)) << name;
  EXPECT_TRUE(ParseMenu(res, menus)) << name;
  return menus;
}

TEST(MenuResource, WindowMenuAndDebugMenu) {
  const std::vector<Expected> window = {
      {40006, "タイトル画面"}, {0, ""}, {40001, "ゲーム開始"}, {0, ""},
      {40005, "ストーリー"},   {0, ""}, {40002, "説明"},       {0, ""},
      {40003, "終了"}};
  std::vector<MenuDropDown> menus = LoadMenu("menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0].title, "menu");
  ExpectEntries(menus[0], window);
  EXPECT_EQ(menus[0].entries[6].text, std::string("\x90\xe0\x96\xbe"));  // 説明 in CP932

  menus = LoadMenu("DEBUG_MENU");  // the same drop-down, then one more
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(menus[0].title, "menu");
  ExpectEntries(menus[0], window);
  EXPECT_EQ(menus[1].title, "debug");
  ExpectEntries(menus[1], {{40004, "ending"}, {0, ""}, {40009, "staff roll"}});
}

TEST(UiResources, EveryCutShortOfTheEndAndForeignDataAreRefused) {
  Resource menu, dialog;
  ASSERT_TRUE(FindResource("MENU", "menu", menu));
  ASSERT_TRUE(FindResource("DIALOG", "dlg_help", dialog));
  std::vector<MenuDropDown> menus;
  DialogTemplate t;
  for (size_t cut = 0; cut < menu.size; ++cut) {
    EXPECT_FALSE(ParseMenu({menu.data, cut}, menus)) << cut;
    EXPECT_TRUE(menus.empty()) << cut;
  }
  for (size_t cut = 0; cut < dialog.size; ++cut) {
    EXPECT_FALSE(ParseDialog({dialog.data, cut}, t)) << cut;
    EXPECT_TRUE(t.controls.empty()) << cut;
  }
  EXPECT_FALSE(ParseMenu({dialog.data, dialog.size}, menus));
  EXPECT_FALSE(ParseDialog({menu.data, menu.size}, t));
}

TEST(DialogResource, HelpDialogTemplate) {
  Resource res;
  ASSERT_TRUE(FindResource("dialog", "dlg_help", res));
  DialogTemplate t;
  ASSERT_TRUE(ParseDialog(res, t));
  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
  EXPECT_EQ(t.style, 0x80000000u | 0x00C00000u | 0x00080000u | 0x80u | 0x40u);
  EXPECT_EQ(t.x, 0);
  EXPECT_EQ(t.y, 0);
  EXPECT_EQ(t.width, 191);
  EXPECT_EQ(t.height, 195);
  EXPECT_EQ(t.caption, "ﾀﾞｲｱﾛｸﾞ");
  EXPECT_EQ(t.caption.size(), 7u);  // half-width katakana: one byte each
  EXPECT_EQ(t.fontPoints, 9u);
  EXPECT_EQ(t.fontName, "ＭＳ Ｐゴシック");

  // Styles: visible child (0x50000000); OK a default push button (1) with a tab stop
  // (0x10000); the icon 3; the texts left-aligned (0) starting a group (0x20000).
  struct Control {
    uint8_t kind;
    int32_t id, x, y, w, h;
    uint32_t style;
    const char* text;  // nullptr: checked below
  };
  const uint32_t kText = 0x50020000u;
  const Control expected[] = {
      {kControlButton, 1, 70, 175, 50, 14, 0x50010001u, "OK"},
      {kControlIcon, -1, 10, 10, 20, 20, 0x50000003u, "ICO"},
      {kControlText, -1, 35, 15, 85, 10, kText, "Quillorn"},
      {kControlText, -1, 10, 40, 180, 10, kText, "見えない敵にぶつからないように移動して下さい。"},
      {kControlText, -1, 10, 55, 180, 10, kText, "敵との距離は「ピッ」という音で判断します。"},
      {kControlText, -1, 10, 70, 180, 10, kText,
       "敵にぶつかるかハートがなくなるとゲームオーバーです。"},
      {kControlText, -1, 10, 85, 180, 10, kText,
       "ハートは移動すると減少します。動かなければ減りません。"},
      {kControlText, -1, 10, 100, 180, 10, kText, "花の匂いをかぐと、ハートが回復します。"},
      {kControlText, -1, 10, 115, 180, 10, kText,
       "「秘密の部屋」にたどり着いたらエンディングです。"},
      {kControlText, -1, 11, 140, 164, 10, kText, nullptr},
      {kControlText, -1, 10, 152, 164, 10, kText, nullptr},
  };
  ASSERT_EQ(t.controls.size(), std::size(expected));
  for (size_t i = 0; i < t.controls.size(); ++i) {
    const DialogControl& c = t.controls[i];
    const Control& e = expected[i];
    EXPECT_EQ(c.kind, e.kind) << i;
    EXPECT_EQ(c.id, e.id) << i;
    EXPECT_EQ(c.x, e.x) << i;
    EXPECT_EQ(c.y, e.y) << i;
    EXPECT_EQ(c.width, e.w) << i;
    EXPECT_EQ(c.height, e.h) << i;
    EXPECT_EQ(c.style, e.style) << i;
    if (e.text) {
      EXPECT_EQ(c.text, e.text) << i;
    }
  }
  // The two credit lines name the font's makers and the project's artists.
  EXPECT_NE(t.controls[9].text.find("東雲"), std::string::npos);
  EXPECT_NE(t.controls[10].text.find("Quillorn"), std::string::npos);
}

}  // namespace
}  // namespace quillorn::platform
