// The menu bar: its drop-downs from a MENU resource, keyboard and mouse navigation, and its
// look. Choosing an entry closes the menu and posts the entry's command id.
#include "platform/chrome/menu_bar.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/resources/resource_reader.h"
#include "platform/window/input.h"

namespace quillorn::platform {

namespace {

struct MenuState {
  std::vector<MenuDropDown> menus;
  int open = -1;
  int selected = -1;
  bool altPending = false;  // Alt is down and no other key came since: its release opens
  uint32_t closingKey = 0;  // the key that closed the menu: its release is the menu's too
};

MenuState g_menu;

void Changed() {
  backend::ChromeChanged();
}

bool Selectable(int menu, int entry) {
  const auto& entries = g_menu.menus[size_t(menu)].entries;
  return entry >= 0 && entry < int(entries.size()) && entries[size_t(entry)].id != 0;
}

// The next selectable entry from `from` in direction step (+1 or -1), wrapping around.
int NextEntry(int menu, int from, int step) {
  int n = int(g_menu.menus[size_t(menu)].entries.size());
  if (n == 0) return -1;
  int i = from;
  for (int tries = 0; tries < n; ++tries) {
    i = from < 0 && tries == 0 ? (step > 0 ? 0 : n - 1) : (i + step + n) % n;
    if (Selectable(menu, i)) return i;
  }
  return -1;
}

void OpenMenu(int index, bool selectFirst) {
  g_menu.open = index;
  g_menu.selected = selectFirst ? NextEntry(index, -1, 1) : -1;
  Changed();
}

void Choose(int entry) {
  uint32_t id = g_menu.menus[size_t(g_menu.open)].entries[size_t(entry)].id;
  MenuBarClose();
  InputCommand(id);
}

int32_t EntryHeight(const MenuEntry& e) {
  return e.id ? kMenuEntryHeight : kMenuSeparatorHeight;
}

bool Inside(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int TitleAt(int32_t x, int32_t y) {
  for (int i = 0; i < int(g_menu.menus.size()); ++i)
    if (Inside(MenuBarTitleRect(i), x, y)) return i;
  return -1;
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
    uint32_t entries = r.U32();
    for (uint32_t j = 0; r.ok && j < entries; ++j) {
      MenuEntry e;
      e.id = r.U32();
      e.text = r.Str();
      menu.entries.push_back(e);
    }
    out.push_back(menu);
  }
  if (!r.ok) out.clear();
  return r.ok;
}

void MenuBarLoad(const char* menuName) {
  MenuBarReset();
  Resource res;
  if (menuName && FindResource("MENU", menuName, res)) ParseMenu(res, g_menu.menus);
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

void MenuBarClose() {
  g_menu.altPending = false;
  if (g_menu.open < 0) return;
  g_menu.open = -1;
  g_menu.selected = -1;
  Changed();
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
  switch (key) {
    case kKeyF10:
    case kKeyEscape:
      MenuBarClose();
      break;
    case kKeyDown:
    case kKeyUp: {
      int next = NextEntry(m.open, m.selected, key == kKeyDown ? 1 : -1);
      if (next != m.selected) {
        m.selected = next;
        Changed();
      }
      break;
    }
    case kKeyLeft:
    case kKeyRight:
      if (count > 1) OpenMenu((m.open + (key == kKeyRight ? 1 : count - 1)) % count, true);
      break;
    case kKeyReturn:
      if (Selectable(m.open, m.selected))
        Choose(m.selected);
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
  if (down) {
    if (title >= 0) {
      if (m.open == title)
        MenuBarClose();
      else
        OpenMenu(title, false);
      return true;
    }
    if (m.open < 0) return false;
    int entry = MenuBarEntryAt(x, y);
    Rect box;
    MenuBarDropDownRect(box);
    if (!Inside(box, x, y)) {
      MenuBarClose();  // a click outside closes the menu and goes nowhere else
    } else if (entry != m.selected) {
      m.selected = entry;
      Changed();
    }
    return true;
  }
  if (m.open < 0) return false;
  int entry = MenuBarEntryAt(x, y);
  if (entry >= 0) Choose(entry);
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
  MenuBarDropDownRect(box);
  if (!Inside(box, x, y)) return;  // outside, the highlight stays where the keys left it
  int entry = MenuBarEntryAt(x, y);
  if (entry != m.selected) {
    m.selected = entry;
    Changed();
  }
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
  const MenuDropDown& menu = g_menu.menus[size_t(g_menu.open)];
  int32_t textWidth = 0, height = 2 * kFrameBorder;
  for (const MenuEntry& e : menu.entries) {
    textWidth = std::max(textWidth, MeasureText(e.text.c_str()).width);
    height += EntryHeight(e);
  }
  int32_t width = std::max<int32_t>(textWidth + kMenuEntryLeft + kMenuEntryRight, 120);
  int32_t left = MenuBarTitleRect(g_menu.open).left;
  out = {left, kMenuBarHeight, left + width, kMenuBarHeight + height};
  return true;
}

int MenuBarEntryAt(int32_t x, int32_t y) {
  Rect box;
  if (!MenuBarDropDownRect(box) || x < box.left || x >= box.right) return -1;
  const auto& entries = g_menu.menus[size_t(g_menu.open)].entries;
  int32_t top = box.top + kFrameBorder;
  for (int i = 0; i < int(entries.size()); ++i) {
    int32_t h = EntryHeight(entries[size_t(i)]);
    if (y >= top && y < top + h) return Selectable(g_menu.open, i) ? i : -1;
    top += h;
  }
  return -1;
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
  FillBox(out, {0, 0, out.width, out.height}, kMenuColor);
  FrameBox(out, {0, 0, out.width, out.height}, kShadowColor);
  int32_t top = kFrameBorder;
  const auto& entries = g_menu.menus[size_t(g_menu.open)].entries;
  for (int i = 0; i < int(entries.size()); ++i) {
    const MenuEntry& e = entries[size_t(i)];
    int32_t h = EntryHeight(e);
    if (e.id == 0) {
      // An etched line: dark over light.
      int32_t mid = top + h / 2;
      FillBox(out, {4, mid - 1, out.width - 4, mid}, kEdgeColor);
      FillBox(out, {4, mid, out.width - 4, mid + 1}, kWhite);
    } else {
      bool hot = i == g_menu.selected;
      if (hot) FillBox(out, {2, top, out.width - 2, top + h}, kSelectColor);
      DrawText(out, kMenuEntryLeft, top + (h - kFontHeight) / 2, e.text.c_str(),
               hot ? kSelectTextColor : kTextColor);
    }
    top += h;
  }
  return true;
}

}  // namespace quillorn::platform
