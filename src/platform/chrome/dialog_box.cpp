// The modal dialog: its template, layout, keys, mouse and look.
#include "platform/chrome/dialog_box.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/ui_look.h"
#include "platform/drawing/text.h"
#include "platform/resources/icon_image.h"
#include "platform/resources/resource_reader.h"
#include "platform/window/window_state.h"

namespace quillorn::platform {

namespace {

constexpr uint32_t kDefaultButtonStyle = 0x1;  // the button Enter presses

enum Pressed { kNothing, kButton, kCloseBox };

struct DialogState {
  bool open = false;
  std::string name;
  DialogProc proc = nullptr;
  DialogTemplate tmpl;
  DialogLayout layout;
  IconImage icon;
  Pressed pressed = kNothing;
  int pressedControl = -1;
};

DialogState g_dialog;

bool Inside(const Rect& r, int32_t x, int32_t y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int32_t Px(int32_t units, int32_t scale) {
  return units * scale / 10;
}

Rect ControlRect(const DialogControl& c, int32_t scale, int32_t left, int32_t top) {
  return {left + Px(c.x, scale), top + Px(c.y, scale), left + Px(c.x + c.width, scale),
          top + Px(c.y + c.height, scale)};
}

bool Fits(const DialogTemplate& t, int32_t scale) {
  for (const DialogControl& c : t.controls) {
    if (c.kind == kControlIcon) continue;
    Rect r = ControlRect(c, scale, 0, 0);
    TextSize s = MeasureText(c.text.c_str());
    if (s.width > r.right - r.left || kFontHeight > r.bottom - r.top) return false;
  }
  return true;
}

int DefaultButton() {
  const auto& cs = g_dialog.tmpl.controls;
  for (size_t i = 0; i < cs.size(); ++i)
    if (cs[i].kind == kControlButton && (cs[i].style & 0xF) == kDefaultButtonStyle) return int(i);
  return -1;
}

void Send(int32_t id) {
  // The procedure may close the dialog (EndDialog) while it runs.
  if (g_dialog.open && g_dialog.proc) g_dialog.proc(kMsgCommand, uint32_t(id), 0);
}

void SetPressed(Pressed p, int control) {
  if (p == g_dialog.pressed && control == g_dialog.pressedControl) return;
  g_dialog.pressed = p;
  g_dialog.pressedControl = control;
  backend::ChromeChanged();
}

// Alpha-blends the icon with its top-left corner at (x, y).
void DrawIcon(Surface& s, const IconImage& icon, int32_t x, int32_t y) {
  for (int32_t j = 0; j < icon.height; ++j) {
    if (y + j < 0 || y + j >= s.height) continue;
    for (int32_t i = 0; i < icon.width; ++i) {
      if (x + i < 0 || x + i >= s.width) continue;
      uint32_t p = icon.argb[size_t(j) * size_t(icon.width) + size_t(i)];
      uint32_t a = p >> 24;
      Pixel& d = s.Row(y + j)[x + i];
      auto mix = [a](uint32_t src, uint32_t dst) {
        return uint8_t((src * a + dst * (255 - a)) / 255);
      };
      d = MakePixel(mix((p >> 16) & 0xFF, PixelRed(d)), mix((p >> 8) & 0xFF, PixelGreen(d)),
                    mix(p & 0xFF, PixelBlue(d)));
    }
  }
}

void DrawButton(Surface& s, const Rect& r, const char* text, bool isDefault, bool down) {
  FillBox(s, r, down ? MakePixel(204, 228, 247) : MakePixel(225, 225, 225));
  FrameBox(s, r, isDefault ? kSelectColor : MakePixel(173, 173, 173));
  if (isDefault) FrameBox(s, {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kSelectColor);
  TextSize t = MeasureText(text);
  int32_t shift = down ? 1 : 0;
  DrawText(s, (r.left + r.right - t.width) / 2 + shift, (r.top + r.bottom - t.height) / 2 + shift,
           text, kTextColor);
}

void DrawCloseBox(Surface& s, const Rect& r, bool down) {
  if (down) FillBox(s, r, MakePixel(232, 17, 35));
  // A cross of two diagonals, 8 pixels each way, in the middle of the box.
  int32_t cx = (r.left + r.right) / 2 - 4, cy = (r.top + r.bottom) / 2 - 4;
  for (int32_t i = 0; i < 9; ++i) {
    FillBox(s, {cx + i, cy + i, cx + i + 1, cy + i + 1}, kCaptionTextColor);
    FillBox(s, {cx + 8 - i, cy + i, cx + 9 - i, cy + i + 1}, kCaptionTextColor);
  }
}

Rect Offset(const Rect& r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

}  // namespace

bool ParseDialog(const Resource& res, DialogTemplate& out) {
  out = DialogTemplate();
  if (res.data == nullptr || res.size < 4 || std::memcmp(res.data, "QDLG", 4) != 0) return false;
  ResourceReader r{res.data + 4, res.data + res.size};
  out.style = r.U32();
  out.x = r.S16(), out.y = r.S16(), out.width = r.S16(), out.height = r.S16();
  out.caption = r.Str();
  out.fontPoints = r.Bytes(2);
  out.fontName = r.Str();
  uint32_t count = r.U32();
  for (uint32_t i = 0; r.ok && i < count; ++i) {
    DialogControl c;
    c.kind = uint8_t(r.Bytes(1));
    c.style = r.U32();
    c.id = int32_t(r.U32());
    c.x = r.S16(), c.y = r.S16(), c.width = r.S16(), c.height = r.S16();
    c.text = r.Str();
    out.controls.push_back(c);
  }
  if (!r.ok) out = DialogTemplate();
  return r.ok;
}

int32_t DialogFitScale(const DialogTemplate& t) {
  int32_t scale = 10;
  while (scale < 100 && !Fits(t, scale)) ++scale;
  return scale;
}

DialogLayout LayOutDialog(const DialogTemplate& t, int32_t clientWidth, int32_t clientHeight) {
  DialogLayout l;
  l.scaleTenths = DialogFitScale(t);
  int32_t bodyW = Px(t.width, l.scaleTenths), bodyH = Px(t.height, l.scaleTenths);
  int32_t w = bodyW + 2 * kDialogBorder, h = bodyH + kDialogCaptionHeight + 2 * kDialogBorder;
  int32_t left = (clientWidth - w) / 2, top = (clientHeight - h) / 2;
  l.frame = {left, top, left + w, top + h};
  l.caption = {left + kDialogBorder, top + kDialogBorder, left + w - kDialogBorder,
               top + kDialogBorder + kDialogCaptionHeight};
  l.closeBox = {l.caption.right - 2 - 24, l.caption.top + 2, l.caption.right - 2,
                l.caption.bottom - 2};
  l.body = {l.caption.left, l.caption.bottom, l.caption.right, l.caption.bottom + bodyH};
  for (const DialogControl& c : t.controls)
    l.controls.push_back(ControlRect(c, l.scaleTenths, l.body.left, l.body.top));
  return l;
}

void OpenDialog(const char* dialogName, DialogProc proc) {
  if (g_dialog.open || proc == nullptr || dialogName == nullptr) return;
  DialogTemplate t;
  Resource res;
  // Like the classic window system: a template that cannot be found opens nothing.
  if (!FindResource("DIALOG", dialogName, res) || !ParseDialog(res, t)) return;
  MenuBarClose();
  g_dialog = DialogState();
  g_dialog.open = true;
  g_dialog.name = dialogName;
  g_dialog.proc = proc;
  g_dialog.tmpl = t;
  const WindowDesc& desc = Window().desc;
  g_dialog.layout = LayOutDialog(t, desc.clientWidth, desc.clientHeight);
  for (const DialogControl& c : t.controls)
    if (c.kind == kControlIcon) LoadIcon(c.text.c_str(), kDialogIconSize, g_dialog.icon);
  backend::ChromeChanged();
}

void EndDialog(int32_t) {
  if (!g_dialog.open) return;
  g_dialog.open = false;
  g_dialog.proc = nullptr;
  g_dialog.pressed = kNothing;
  backend::ChromeChanged();
}

bool DialogIsOpen() {
  return g_dialog.open;
}
const char* DialogOpenName() {
  return g_dialog.open ? g_dialog.name.c_str() : "";
}
void DialogReset() {
  g_dialog = DialogState();
}
const DialogTemplate& DialogCurrentTemplate() {
  return g_dialog.tmpl;
}
const DialogLayout& DialogCurrentLayout() {
  return g_dialog.layout;
}

bool DialogKey(bool down, uint32_t key) {
  if (!g_dialog.open) return false;
  if (down && key == kKeyReturn) {
    int b = DefaultButton();
    Send(b >= 0 ? g_dialog.tmpl.controls[size_t(b)].id : int32_t(kIdOk));
  } else if (down && key == kKeyEscape) {
    Send(kIdCancel);
  }
  return true;
}

bool DialogMouse(int32_t x, int32_t y, bool down) {
  if (!g_dialog.open) return false;
  const DialogLayout& l = g_dialog.layout;
  if (down) {
    if (Inside(l.closeBox, x, y)) {
      SetPressed(kCloseBox, -1);
      return true;
    }
    for (size_t i = 0; i < l.controls.size(); ++i) {
      if (g_dialog.tmpl.controls[i].kind == kControlButton && Inside(l.controls[i], x, y)) {
        SetPressed(kButton, int(i));
        return true;
      }
    }
    return true;
  }
  // A press counts when the button is released over the same control it began on.
  Pressed was = g_dialog.pressed;
  int control = g_dialog.pressedControl;
  SetPressed(kNothing, -1);
  if (was == kCloseBox && Inside(l.closeBox, x, y)) {
    Send(kIdCancel);
  } else if (was == kButton && Inside(l.controls[size_t(control)], x, y)) {
    Send(g_dialog.tmpl.controls[size_t(control)].id);
  }
  return true;
}

bool DialogDraw(Surface& out, Rect& where) {
  if (!g_dialog.open) return false;
  const DialogLayout& l = g_dialog.layout;
  // Only the part over the client area is drawn: the window shows no more, and a template
  // larger than the window then costs no more than the window.
  const WindowDesc& desc = Window().desc;
  where = {std::max(l.frame.left, 0), std::max(l.frame.top, 0),
           std::min(l.frame.right, desc.clientWidth), std::min(l.frame.bottom, desc.clientHeight)};
  where.right = std::max(where.right, where.left);
  where.bottom = std::max(where.bottom, where.top);
  const int32_t dx = -where.left, dy = -where.top;
  out = MakeSurface(where.right - where.left, where.bottom - where.top);
  const Rect frame = Offset(l.frame, dx, dy);
  FillBox(out, frame, kFaceColor);
  FrameBox(out, frame, kDarkColor);
  FrameBox(out, {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1}, kCaptionColor);
  FrameBox(out, {frame.left + 2, frame.top + 2, frame.right - 2, frame.bottom - 2}, kCaptionColor);
  Rect caption = Offset(l.caption, dx, dy);
  FillBox(out, caption, kCaptionColor);
  DrawText(out, caption.left + 6, caption.top + (kDialogCaptionHeight - kFontHeight) / 2,
           g_dialog.tmpl.caption.c_str(), kCaptionTextColor);
  DrawCloseBox(out, Offset(l.closeBox, dx, dy), g_dialog.pressed == kCloseBox);
  const int defaultButton = DefaultButton();
  for (size_t i = 0; i < g_dialog.tmpl.controls.size(); ++i) {
    const DialogControl& c = g_dialog.tmpl.controls[i];
    Rect r = Offset(l.controls[i], dx, dy);
    switch (c.kind) {
      case kControlText:
        DrawText(out, r.left, r.top, c.text.c_str(), kTextColor);
        break;
      case kControlIcon:
        DrawIcon(out, g_dialog.icon, r.left, r.top);
        break;
      case kControlButton:
        DrawButton(out, r, c.text.c_str(), int(i) == defaultButton,
                   g_dialog.pressed == kButton && g_dialog.pressedControl == int(i));
        break;
      default:
        break;
    }
  }
  return true;
}

}  // namespace quillorn::platform
