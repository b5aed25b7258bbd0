// The modal dialog, laid out from a DIALOG resource and drawn by the platform over the
// client area. Keys go to it while it is open: Enter presses the default button, Esc
// cancels. Its pictures are drawn here; the backend only composes them over the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/surface.h"

namespace quillorn::platform {

enum : uint8_t { kControlButton = 1, kControlText = 2, kControlIcon = 3 };

struct DialogControl {
  uint8_t kind = 0;
  uint32_t style = 0;
  int32_t id = -1;
  int32_t x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::string text;                             // Shift-JIS; for an icon the ICON resource's name
};

struct DialogTemplate {
  uint32_t style = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::string caption;
  uint32_t fontPoints = 0;
  std::string fontName;
  std::vector<DialogControl> controls;
};

// Parses a DIALOG resource; false when it is not one.
bool ParseDialog(const Resource& res, DialogTemplate& out);

constexpr int32_t kDialogBorder = 3;          // frame width on every side
constexpr int32_t kDialogCaptionHeight = 22;  // title bar
constexpr int32_t kDialogIconSize = 32;

// Where everything goes, in client coordinates of the window.
struct DialogLayout {
  int32_t scaleTenths = 10;  // pixels per ten dialog units, the same across and down
  Rect frame;                // the whole dialog, centred over the client area
  Rect caption;              // the title bar
  Rect closeBox;
  Rect body;                   // the area the controls are placed in
  std::vector<Rect> controls;  // in template order
};

// The smallest scale at which every text fits its control at the font's natural size.
int32_t DialogFitScale(const DialogTemplate& t);
DialogLayout LayOutDialog(const DialogTemplate& t, int32_t clientWidth, int32_t clientHeight);

bool DialogIsOpen();
const char* DialogOpenName();
void DialogReset();
const DialogTemplate& DialogCurrentTemplate();
const DialogLayout& DialogCurrentLayout();

// True when an open dialog took the key.
bool DialogKey(bool down, uint32_t key);
// The left mouse button pressed or released at a client position; true while a dialog is
// open (it is modal: every click belongs to it).
bool DialogMouse(int32_t x, int32_t y, bool down);

// Draws the part of the open dialog that lies over the client area into out (resized to
// it) and gives that part's client position.
bool DialogDraw(Surface& out, Rect& where);

}  // namespace quillorn::platform
