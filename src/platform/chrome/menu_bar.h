// The window's menu bar, drawn by the platform above the client area. It shows the
// drop-downs of the window's MENU resource, then the window's own 設定 menu (SETTINGS_MENU);
// choosing an entry delivers its command id to the window. An entry may open a submenu to its
// right, and may show a check. Coordinates here are the frame's: the bar at the top, the
// client area right below it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

struct MenuEntry {
  uint32_t id = 0;                 // command id; 0 for a separator or a submenu
  std::string text;                // Shift-JIS; after a tab, what is shown at the right edge
  std::vector<MenuEntry> submenu;  // its entries, when the entry opens a submenu
  bool Opens() const { return id == 0 && !text.empty(); }
};

struct MenuDropDown {
  std::string title;  // Shift-JIS
  std::vector<MenuEntry> entries;
};

// Sizes of the bar and its drop-downs, in pixels.
constexpr int32_t kMenuBarHeight = 20;
constexpr int32_t kMenuTitlePad = 7;  // each side of a title
constexpr int32_t kMenuEntryHeight = 22;
constexpr int32_t kMenuSeparatorHeight = 9;
constexpr int32_t kMenuEntryLeft = 24;   // from the drop-down's edge to an entry's text
constexpr int32_t kMenuEntryRight = 24;  // after the longest entry

// Parses a MENU resource; false when it is not one.
bool ParseMenu(const Resource& res, std::vector<MenuDropDown>& out);

// Loads the MENU resource shown as the bar, followed by the 設定 menu (null or missing: no
// bar).
void MenuBarLoad(const char* menuName);
void MenuBarReset();
const std::vector<MenuDropDown>& MenuBarMenus();
// Height of the bar above the client area: 0 without a bar.
int32_t MenuBarHeight();

bool MenuBarOpen();
int MenuBarOpenIndex();      // the open drop-down, -1 when closed
int MenuBarSelectedEntry();  // the highlighted entry of the open drop-down, -1 for none
// The highlighted entry's submenu: whether it is open, and its highlighted entry (-1: none).
bool MenuBarSubmenuOpen();
int MenuBarSubmenuSelected();
void MenuBarClose();

// Entries that show a check (a setting that is on, a volume's level), by command id.
void MenuBarSetChecked(uint32_t id, bool checked);
bool MenuBarChecked(uint32_t id);
// The checks of the 設定 menu as the settings in force have them.
void MenuBarCheckSettings();

// True when the bar took the key: it is open, or the key (F10, a tap of Alt) opens it.
bool MenuBarKey(bool down, uint32_t key);
// A key the window kept for itself came while Alt was down: Alt's release opens nothing.
void MenuBarCancelAltTap();
// The left mouse button pressed (down) or released at a frame position. True when the
// menu took it.
bool MenuBarMouse(int32_t x, int32_t y, bool down);
// The mouse moved while no button or the left button is held.
void MenuBarMouseMove(int32_t x, int32_t y);

// Title cells on the bar and the open drop-down's box, in frame coordinates.
Rect MenuBarTitleRect(int index);
bool MenuBarDropDownRect(Rect& out);
// The entry of the open drop-down at a frame position, or -1.
int MenuBarEntryAt(int32_t x, int32_t y);
// The open submenu's box, and its entry at a frame position (-1: none).
bool MenuBarSubmenuRect(Rect& out);
int MenuBarSubmenuEntryAt(int32_t x, int32_t y);

// Draws the bar into a surface kMenuBarHeight high and as wide as the window.
void MenuBarDraw(Surface& bar);
// Draws the open drop-down into out (resized to its box) and gives its frame position.
// False when no drop-down is open.
bool MenuBarDrawDropDown(Surface& out, Rect& where);
// The same for the open submenu.
bool MenuBarDrawSubmenu(Surface& out, Rect& where);

}  // namespace quillorn::platform
