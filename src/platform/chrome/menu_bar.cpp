// The menu bar: its drop-downs from a MENU resource and the 設定 menu, keyboard and mouse
// navigation, and its look. Choosing an entry closes the menu and posts the entry's command
// id. An entry that opens a submenu shows an arrow; its submenu opens to the right with the
// Right key, Enter or the mouse, and Left or Esc closes it again.
#include "platform/chrome/menu_bar.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/resources/resource_reader.h"
#include "platform/settings/settings.h"
#include "platform/window/input.h"

namespace quillorn::platform {

namespace {

constexpr const char* kSettingsMenu = "SETTINGS_MENU";
constexpr int32_t kMinDropDownWidth = 120;
constexpr int32_t kMinSubmenuWidth = 80;
constexpr int32_t kShortcutGap = 24;  // between a label and what a tab puts at the right

using Entries = std::vector<MenuEntry>;

struct MenuState {
  std::vector<MenuDropDown> menus;
  int open = -1;
  int selected = -1;
  bool subOpen = false;  // the selected entry's submenu
  int subSelected = -1;
  bool altPending = false;  // Alt is down and no other key came since: its release opens
  uint32_t closingKey = 0;  // the key that closed the menu: its release is the menu's too
  std::vector<uint32_t> checked;
};

MenuState g_menu;

void Changed() {
  backend::ChromeChanged();
}

const Entries& OpenEntries() {
  return g_menu.menus[size_t(g_menu.open)].entries;
}

bool Selectable(const Entries& entries, int entry) {
  return entry >= 0 && entry < int(entries.size()) &&
         (entries[size_t(entry)].id != 0 || entries[size_t(entry)].Opens());
}

bool SelectedOpens() {
  return g_menu.open >= 0 && Selectable(OpenEntries(), g_menu.selected) &&
         OpenEntries()[size_t(g_menu.selected)].Opens();
}

const Entries& SubEntries() {
  return OpenEntries()[size_t(g_menu.selected)].submenu;
}

// The next selectable entry from `from` in direction step (+1 or -1), wrapping around.
int NextEntry(const Entries& entries, int from, int step) {
  int n = int(entries.size());
  if (n == 0) return -1;
  int i = from;
  for (int tries = 0; tries < n; ++tries) {
    i = from < 0 && tries == 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(entries, i)) return i;
  }
  return -1;
}

void OpenMenu(int index, bool selectFirst) {
  g_menu.open = index;
  g_menu.selected = selectFirst ? NextEntry(OpenEntries(), -1, 1) : -1;
  g_menu.subOpen = false;
  g_menu.subSelected = -1;
  Changed();
}

// Opens the selected entry's submenu; from the keys, its checked entry (a volume's level) or
// its first is highlighted.
void OpenSubmenu(bool fromKeys) {
  g_menu.subOpen = true;
  g_menu.subSelected = -1;
  if (fromKeys) {
    const Entries& sub = SubEntries();
    for (int i = 0; i < int(sub.size()) && g_menu.subSelected < 0; ++i)
      if (sub[size_t(i)].id && MenuBarChecked(sub[size_t(i)].id)) g_menu.subSelected = i;
    if (g_menu.subSelected < 0) g_menu.subSelected = NextEntry(sub, -1, 1);
  }
  Changed();
}

void CloseSubmenu() {
  g_menu.subOpen = false;
  g_menu.subSelected = -1;
  Changed();
}

void Choose(uint32_t id) {
  MenuBarClose();
  InputCommand(id);
}

int32_t EntryHeight(const MenuEntry& e) {
  return e.id || e.Opens() ? kMenuEntryHeight : kMenuSeparatorHeight;
}

bool Inside(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int TitleAt(int32_t x, int32_t y) {
  for (int i = 0; i < int(g_menu.menus.size()); ++i)
    if (Inside(MenuBarTitleRect(i), x, y)) return i;
  return -1;
}

// A label's two parts: before a tab, and what the tab puts at the right edge.
std::pair<std::string, std::string> Parts(const std::string& text) {
  size_t tab = text.find('\t');
  if (tab == std::string::npos) return {text, ""};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

int32_t LabelWidth(const std::string& text) {
  auto [left, right] = Parts(text);
  int32_t w = MeasureText(left.c_str()).width;
  return right.empty() ? w : w + kShortcutGap + MeasureText(right.c_str()).width;
}

// The box of a list of entries with its top-left corner at (left, top).
Rect ListBox(const Entries& entries, int32_t left, int32_t top, int32_t minWidth) {
  int32_t textWidth = 0, height = 2 * kFrameBorder;
  for (const MenuEntry& e : entries) {
    textWidth = std::max(textWidth, LabelWidth(e.text));
    height += EntryHeight(e);
  }
  int32_t width = std::max(textWidth + kMenuEntryLeft + kMenuEntryRight, minWidth);
  return {left, top, left + width, top + height};
}

int EntryAt(const Entries& entries, const Rect& box, int32_t x, int32_t y) {
  if (x < box.left || x >= box.right) return -1;
  int32_t top = box.top + kFrameBorder;
  for (int i = 0; i < int(entries.size()); ++i) {
    int32_t h = EntryHeight(entries[size_t(i)]);
    if (y >= top && y < top + h) return Selectable(entries, i) ? i : -1;
    top += h;
  }
  return -1;
}

// A check mark, 7 pixels wide, in the entry's left margin.
void DrawCheck(Surface& out, int32_t x, int32_t y, Pixel colour) {
  static const char* const kRows[] = {"......#", ".....##", "#...##.",
                                      "##.##..", ".###...", "..#...."};
  for (int32_t r = 0; r < 6; ++r)
    for (int32_t c = 0; c < 7; ++c)
      if (kRows[r][c] == '#') FillBox(out, {x + c, y + r, x + c + 1, y + r + 1}, colour);
}

// A small triangle pointing right: the entry opens a submenu.
void DrawArrow(Surface& out, int32_t x, int32_t y, Pixel colour) {
  for (int32_t c = 0; c < 4; ++c) FillBox(out, {x + c, y + c, x + c + 1, y + 7 - c}, colour);
}

void DrawList(Surface& out, const Entries& entries, int selected) {
  FillBox(out, {0, 0, out.width, out.height}, kMenuColor);
  FrameBox(out, {0, 0, out.width, out.height}, kShadowColor);
  int32_t top = kFrameBorder;
  for (int i = 0; i < int(entries.size()); ++i) {
    const MenuEntry& e = entries[size_t(i)];
    int32_t h = EntryHeight(e);
    if (h == kMenuSeparatorHeight) {
      // An etched line: dark over light.
      int32_t mid = top + h / 2;
      FillBox(out, {4, mid - 1, out.width - 4, mid}, kEdgeColor);
      FillBox(out, {4, mid, out.width - 4, mid + 1}, kWhite);
    } else {
      bool hot = i == selected;
      Pixel ink = hot ? kSelectTextColor : kTextColor;
      if (hot) FillBox(out, {2, top, out.width - 2, top + h}, kSelectColor);
      auto [left, right] = Parts(e.text);
      int32_t textY = top + (h - kFontHeight) / 2;
      DrawText(out, kMenuEntryLeft, textY, left.c_str(), ink);
      if (!right.empty())
        DrawText(out, out.width - kMenuEntryRight - MeasureText(right.c_str()).width, textY,
                 right.c_str(), ink);
      if (e.id && MenuBarChecked(e.id)) DrawCheck(out, 9, top + (h - 6) / 2, ink);
      if (e.Opens()) DrawArrow(out, out.width - 14, top + (h - 7) / 2, ink);
    }
    top += h;
  }
}

bool ParseEntries(ResourceReader& r, Entries& out, bool allowSubmenus) {
  uint32_t count = r.U32();
  for (uint32_t j = 0; r.ok && j < count; ++j) {
    MenuEntry e;
    e.id = r.U32();
    e.text = r.Str();
    if (e.Opens() && (!allowSubmenus || !ParseEntries(r, e.submenu, false))) return false;
    out.push_back(std::move(e));
  }
  return r.ok;
}

}  // namespace

bool ParseMenu(const Resource& res, std::vector<MenuDropDown>& out) {
  out.clear();
  if (res.data == nullptr || res.size < 8 || std::memcmp(res.data, "QMNU", 4) != 0) return false;
  ResourceReader r{res.data + 4, res.data + res.size};
  uint32_t count = r.U32();
  for (uint32_t i = 0; r.ok && i < count; ++i) {
    MenuDropDown menu;
    menu.title = r.Str();
    if (!ParseEntries(r, menu.entries, true)) r.ok = false;
    out.push_back(std::move(menu));
  }
  if (!r.ok) out.clear();
  return r.ok;
}

void MenuBarLoad(const char* menuName) {
  MenuBarReset();
  Resource res;
  if (!menuName || !FindResource("MENU", menuName, res) || !ParseMenu(res, g_menu.menus) ||
      g_menu.menus.empty())
    return;
  std::vector<MenuDropDown> settings;
  if (FindResource("MENU", kSettingsMenu, res) && ParseMenu(res, settings))
    g_menu.menus.insert(g_menu.menus.end(), settings.begin(), settings.end());
  MenuBarCheckSettings();
}

void MenuBarReset() {
  g_menu = MenuState();
}

const std::vector<MenuDropDown>& MenuBarMenus() {
  return g_menu.menus;
}
int32_t MenuBarHeight() {
  return g_menu.menus.empty() ? 0 : kMenuBarHeight;
}
bool MenuBarOpen() {
  return g_menu.open >= 0;
}
int MenuBarOpenIndex() {
  return g_menu.open;
}
int MenuBarSelectedEntry() {
  return g_menu.selected;
}
bool MenuBarSubmenuOpen() {
  return g_menu.subOpen;
}
int MenuBarSubmenuSelected() {
  return g_menu.subSelected;
}

void MenuBarClose() {
  g_menu.altPending = false;
  if (g_menu.open < 0) return;
  g_menu.open = -1;
  g_menu.selected = -1;
  g_menu.subOpen = false;
  g_menu.subSelected = -1;
  Changed();
}

void MenuBarSetChecked(uint32_t id, bool checked) {
  auto& c = g_menu.checked;
  auto at = std::find(c.begin(), c.end(), id);
  if (checked == (at != c.end())) return;
  if (checked)
    c.push_back(id);
  else
    c.erase(at);
  if (g_menu.open >= 0) Changed();
}

bool MenuBarChecked(uint32_t id) {
  return std::find(g_menu.checked.begin(), g_menu.checked.end(), id) != g_menu.checked.end();
}

void MenuBarCheckSettings() {
  for (const MenuCheck& c : SettingsMenuChecks(CurrentSettings()))
    MenuBarSetChecked(c.id, c.checked);
}

bool MenuBarKey(bool down, uint32_t key) {
  if (g_menu.menus.empty()) return false;
  MenuState& m = g_menu;
  if (key == kKeyAlt) {
    // A tap of Alt alone opens or closes the menu on its release, as on the classic desktop.
    if (down) {
      m.altPending = true;
    } else if (m.altPending) {
      m.altPending = false;
      if (m.open >= 0)
        MenuBarClose();
      else
        OpenMenu(0, true);
    }
    return true;
  }
  if (down) m.altPending = false;
  if (!down && key == m.closingKey) {
    m.closingKey = 0;
    return true;
  }
  if (m.open < 0) {
    if (down && key == kKeyF10) {
      OpenMenu(0, true);
      return true;
    }
    return false;
  }
  if (!down) return true;
  int count = int(m.menus.size());
  m.closingKey = key;  // kept only if this key closes the menu
  const Entries& list = m.subOpen ? SubEntries() : OpenEntries();
  int& at = m.subOpen ? m.subSelected : m.selected;
  switch (key) {
    case kKeyF10:
      MenuBarClose();
      break;
    case kKeyEscape:
      if (m.subOpen)
        CloseSubmenu();
      else
        MenuBarClose();
      break;
    case kKeyDown:
    case kKeyUp: {
      int next = NextEntry(list, at, key == kKeyDown ? 1 : -1);
      if (next != at) {
        at = next;
        Changed();
      }
      break;
    }
    case kKeyLeft:
      if (m.subOpen)
        CloseSubmenu();
      else if (count > 1)
        OpenMenu((m.open + count - 1) % count, true);
      break;
    case kKeyRight:
      if (!m.subOpen && SelectedOpens())
        OpenSubmenu(true);
      else if (count > 1)
        OpenMenu((m.open + 1) % count, true);
      break;
    case kKeyReturn:
      if (!m.subOpen && SelectedOpens())
        OpenSubmenu(true);
      else if (Selectable(list, at))
        Choose(list[size_t(at)].id);
      else
        MenuBarClose();
      break;
    default:
      break;  // every other key is swallowed while the menu is open
  }
  if (m.open >= 0) m.closingKey = 0;
  return true;
}

void MenuBarCancelAltTap() {
  g_menu.altPending = false;
}

bool MenuBarMouse(int32_t x, int32_t y, bool down) {
  if (g_menu.menus.empty()) return false;
  MenuState& m = g_menu;
  int title = TitleAt(x, y);
  if (down && title >= 0) {
    if (m.open == title)
      MenuBarClose();
    else
      OpenMenu(title, false);
    return true;
  }
  if (m.open < 0) return false;
  Rect box, subBox;
  MenuBarDropDownRect(box);
  const bool inSub = MenuBarSubmenuRect(subBox) && Inside(subBox, x, y);
  const int subEntry = inSub ? MenuBarSubmenuEntryAt(x, y) : -1;
  const int entry = MenuBarEntryAt(x, y);
  if (down) {
    if (inSub) {
      if (subEntry != m.subSelected) m.subSelected = subEntry, Changed();
    } else if (Inside(box, x, y)) {
      MenuBarMouseMove(x, y);
    } else {
      MenuBarClose();  // a click outside closes the menu and goes nowhere else
    }
    return true;
  }
  if (inSub) {
    if (subEntry >= 0) Choose(SubEntries()[size_t(subEntry)].id);
  } else if (entry >= 0 && !OpenEntries()[size_t(entry)].Opens()) {
    Choose(OpenEntries()[size_t(entry)].id);
  }
  return true;
}

void MenuBarMouseMove(int32_t x, int32_t y) {
  MenuState& m = g_menu;
  if (m.open < 0) return;
  int title = TitleAt(x, y);
  if (title >= 0 && title != m.open) {
    OpenMenu(title, false);
    return;
  }
  Rect box;
  if (MenuBarSubmenuRect(box) && Inside(box, x, y)) {
    int entry = MenuBarSubmenuEntryAt(x, y);
    if (entry != m.subSelected) m.subSelected = entry, Changed();
    return;
  }
  MenuBarDropDownRect(box);
  if (!Inside(box, x, y)) return;  // outside, the highlight stays where the keys left it
  int entry = MenuBarEntryAt(x, y);
  if (entry == m.selected && (m.subOpen || !SelectedOpens())) return;
  m.selected = entry;
  // Resting on an entry that opens a submenu opens it.
  if (SelectedOpens())
    OpenSubmenu(false);
  else
    CloseSubmenu();
}

Rect MenuBarTitleRect(int index) {
  int32_t x = 2;
  for (int i = 0; i < int(g_menu.menus.size()); ++i) {
    int32_t w = MeasureText(g_menu.menus[size_t(i)].title.c_str()).width + 2 * kMenuTitlePad;
    if (i == index) return {x, 0, x + w, kMenuBarHeight};
    x += w;
  }
  return {};
}

bool MenuBarDropDownRect(Rect& out) {
  if (g_menu.open < 0) return false;
  out =
      ListBox(OpenEntries(), MenuBarTitleRect(g_menu.open).left, kMenuBarHeight, kMinDropDownWidth);
  return true;
}

int MenuBarEntryAt(int32_t x, int32_t y) {
  Rect box;
  if (!MenuBarDropDownRect(box)) return -1;
  return EntryAt(OpenEntries(), box, x, y);
}

bool MenuBarSubmenuRect(Rect& out) {
  Rect box;
  if (!g_menu.subOpen || !SelectedOpens() || !MenuBarDropDownRect(box)) return false;
  int32_t top = box.top;  // the submenu's first entry level with its entry
  for (int i = 0; i < g_menu.selected; ++i) top += EntryHeight(OpenEntries()[size_t(i)]);
  out = ListBox(SubEntries(), box.right - 2, top, kMinSubmenuWidth);
  return true;
}

int MenuBarSubmenuEntryAt(int32_t x, int32_t y) {
  Rect box;
  if (!MenuBarSubmenuRect(box)) return -1;
  return EntryAt(SubEntries(), box, x, y);
}

void MenuBarDraw(Surface& bar) {
  FillBox(bar, {0, 0, bar.width, bar.height}, kFaceColor);
  FillBox(bar, {0, bar.height - 1, bar.width, bar.height}, kEdgeColor);
  for (int i = 0; i < int(g_menu.menus.size()); ++i) {
    Rect r = MenuBarTitleRect(i);
    bool open = i == g_menu.open;
    if (open) {
      FillBox(bar, r, kHotColor);
      FrameBox(bar, r, kHotEdgeColor);
    }
    DrawText(bar, r.left + kMenuTitlePad, (kMenuBarHeight - kFontHeight) / 2,
             g_menu.menus[size_t(i)].title.c_str(), kTextColor);
  }
}

bool MenuBarDrawDropDown(Surface& out, Rect& where) {
  if (!MenuBarDropDownRect(where)) return false;
  out = MakeSurface(where.right - where.left, where.bottom - where.top);
  DrawList(out, OpenEntries(), g_menu.selected);
  return true;
}

bool MenuBarDrawSubmenu(Surface& out, Rect& where) {
  if (!MenuBarSubmenuRect(where)) return false;
  out = MakeSurface(where.right - where.left, where.bottom - where.top);
  DrawList(out, SubEntries(), g_menu.subSelected);
  return true;
}

}  // namespace quillorn::platform
