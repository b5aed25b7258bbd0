// Compiles the readable menu and dialog sources in data/ui into the binary MENU and DIALOG
// resources the platform layer reads. Texts are UTF-8 in the source and Shift-JIS (code page
// 932) in the output.
//
// Usage: ui_compile menu|dialog IN.txt OUT.bin
//        ui_compile rc-menu|rc-dialog IN.txt NAME OUT.rc
// The rc- kinds write the same menu or dialog as a statement of a Windows resource script,
// for the Windows build's resource compiler.
//
// Both formats are little-endian; a string is its bytes followed by one zero byte.
//   MENU:   "QMNU", u32 popup count, then per popup: string title, u32 item count, then per
//           item: u32 command id (0 for a separator), string label (empty for a separator).
//           An item of id 0 with a label is a submenu: u32 item count and its items follow
//           (none of which is a submenu).
// In a quoted text \t stands for a tab, which puts the rest of a menu label at the right.
//   DIALOG: "QDLG", u32 style, i16 x, y, width, height (dialog units), string caption,
//           u16 font size in points, string font name, u32 control count, then per control:
//           u8 kind (1 push button, 2 static text, 3 static icon), u32 style, i32 id,
//           i16 x, y, width, height, string text (for an icon: the ICON resource name).
#include <iconv.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string g_file;
int g_line = 0;

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "%s:%d: %s\n", g_file.c_str(), g_line, why.c_str());
  std::exit(1);
}

std::string ToCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == iconv_t(-1)) Fail("iconv cannot convert UTF-8 to CP932");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (r == size_t(-1)) Fail("text has no Shift-JIS form: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

// Splits a line into words; a word in double quotes may hold spaces.
std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
    } else if (line[i] == '#') {
      break;
    } else if (line[i] == '"') {
      size_t end = line.find('"', i + 1);
      if (end == std::string::npos) Fail("unclosed quote");
      // Built by append: GCC 12 at -O3 warns, wrongly, of an overlapping copy in "\"" + substr().
      words.push_back(std::string(1, '"').append(line, i + 1, end - i - 1));
      i = end + 1;
    } else {
      size_t end = line.find_first_of(" \t\r", i);
      if (end == std::string::npos) end = line.size();
      words.push_back(line.substr(i, end - i));
      i = end;
    }
  }
  return words;
}

std::string Quoted(const std::string& word) {
  if (word.empty() || word[0] != '"') Fail("expected a quoted text, got " + word);
  std::string text = word.substr(1);
  for (size_t at; (at = text.find("\\t")) != std::string::npos;) text.replace(at, 2, 1, '\t');
  return text;
}

long Number(const std::string& word, long lo, long hi) {
  char* end = nullptr;
  long v = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0' || v < lo || v > hi) Fail("bad number " + word);
  return v;
}

uint32_t Style(const std::string& name) {
  static const std::map<std::string, uint32_t> kStyles = {
      {"WS_POPUP", 0x80000000u},   {"WS_CHILD", 0x40000000u},   {"WS_VISIBLE", 0x10000000u},
      {"WS_CAPTION", 0x00C00000u}, {"WS_SYSMENU", 0x00080000u}, {"WS_GROUP", 0x00020000u},
      {"WS_TABSTOP", 0x00010000u}, {"DS_MODALFRAME", 0x80u},    {"DS_SETFONT", 0x40u},
      {"SS_LEFT", 0x0u},           {"SS_ICON", 0x3u},           {"BS_DEFPUSHBUTTON", 0x1u},
  };
  auto it = kStyles.find(name);
  if (it == kStyles.end()) Fail("unknown style " + name);
  return it->second;
}

struct Out {
  std::string bytes;
  void U8(uint32_t v) { bytes += char(v & 0xFF); }
  void U16(uint32_t v) { U8(v), U8(v >> 8); }
  void U32(uint32_t v) { U16(v), U16(v >> 16); }
  void Str(const std::string& s) { bytes += s, bytes += '\0'; }
};

std::vector<std::vector<std::string>> ReadLines(const char* path) {
  std::ifstream in(path);
  if (!in) Fail("cannot read");
  std::vector<std::vector<std::string>> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(Words(line));
  return lines;
}

struct MenuItem {
  uint32_t id;                  // 0 for a separator or a submenu
  std::string text;             // UTF-8; empty for a separator
  std::vector<MenuItem> items;  // a submenu's
};
struct Popup {
  std::string title;
  std::vector<MenuItem> items;
};

std::vector<Popup> ParseMenu(const char* path) {
  std::vector<Popup> popups;
  std::vector<MenuItem>* items = nullptr;  // the popup or submenu being read
  bool inSubmenu = false;
  g_line = 0;
  for (const auto& w : ReadLines(path)) {
    ++g_line;
    if (w.empty()) continue;
    if (w[0] == "popup" && w.size() == 2 && !items) {
      popups.push_back({Quoted(w[1]), {}});
      items = &popups.back().items;
    } else if (w[0] == "popup" && w.size() == 2 && !inSubmenu) {
      items->push_back({0, Quoted(w[1]), {}});
      if (items->back().text.empty()) Fail("a submenu needs a title");
      items = &items->back().items;
      inSubmenu = true;
    } else if (w[0] == "item" && w.size() == 3 && items) {
      items->push_back({uint32_t(Number(w[2], 1, 65535)), Quoted(w[1]), {}});
    } else if (w[0] == "separator" && w.size() == 1 && items) {
      items->push_back({0, "", {}});
    } else if (w[0] == "end" && w.size() == 1 && items) {
      items = inSubmenu ? &popups.back().items : nullptr;
      inSubmenu = false;
    } else {
      Fail(w[0] == "popup" && inSubmenu ? "a submenu inside a submenu" : "unexpected line");
    }
  }
  if (items) Fail("popup without end");
  return popups;
}

struct Control {
  uint32_t kind;  // 1 push button, 2 static text, 3 static icon
  uint32_t style;
  int32_t id;
  long rect[4];
  std::string text;  // UTF-8; for an icon the ICON resource name
};
struct Dialog {
  uint32_t style = 0;
  long rect[4] = {};
  std::string caption, font;  // UTF-8
  long points = 0;
  std::vector<Control> controls;
};

Dialog ParseDialog(const char* path) {
  Dialog d;
  bool haveRect = false;
  g_line = 0;
  for (const auto& w : ReadLines(path)) {
    ++g_line;
    if (w.empty()) continue;
    if (w[0] == "dialog" && w.size() == 5) {
      for (int i = 0; i < 4; ++i) d.rect[i] = Number(w[i + 1], -32768, 32767);
      haveRect = true;
    } else if (w[0] == "style") {
      for (size_t i = 1; i < w.size(); ++i) d.style |= Style(w[i]);
    } else if (w[0] == "caption" && w.size() == 2) {
      d.caption = Quoted(w[1]);
      ToCp932(d.caption);  // fails here when it has no Shift-JIS form
    } else if (w[0] == "font" && w.size() == 3) {
      d.points = Number(w[1], 1, 72);
      d.font = Quoted(w[2]);
    } else if (w[0] == "control" && w.size() >= 8) {
      static const std::map<std::string, uint32_t> kKinds = {
          {"button", 1}, {"text", 2}, {"icon", 3}};
      auto kind = kKinds.find(w[1]);
      if (kind == kKinds.end()) Fail("unknown control kind " + w[1]);
      Control c{kind->second, 0x50000000u, 0, {}, Quoted(w[7])};  // WS_CHILD | WS_VISIBLE
      for (size_t i = 8; i < w.size(); ++i) c.style |= Style(w[i]);
      c.id = int32_t(Number(w[2], -1, 65535));
      for (int i = 0; i < 4; ++i) c.rect[i] = Number(w[i + 3], -32768, 32767);
      ToCp932(c.text);
      d.controls.push_back(c);
    } else {
      Fail("unexpected line");
    }
  }
  if (!haveRect) Fail("no dialog line");
  return d;
}

void CompileItems(const std::vector<MenuItem>& items, Out& out) {
  out.U32(uint32_t(items.size()));
  for (const MenuItem& item : items) {
    out.U32(item.id);
    out.Str(ToCp932(item.text));
    if (item.id == 0 && !item.text.empty()) CompileItems(item.items, out);
  }
}

std::string CompileMenu(const char* path) {
  std::vector<Popup> popups = ParseMenu(path);
  Out out;
  out.bytes = "QMNU";
  out.U32(uint32_t(popups.size()));
  for (const Popup& p : popups) {
    out.Str(ToCp932(p.title));
    CompileItems(p.items, out);
  }
  return out.bytes;
}

std::string CompileDialog(const char* path) {
  Dialog d = ParseDialog(path);
  Out out;
  out.bytes = "QDLG";
  out.U32(d.style);
  for (long v : d.rect) out.U16(uint32_t(v));
  out.Str(ToCp932(d.caption));
  out.U16(uint32_t(d.points));
  out.Str(ToCp932(d.font));
  out.U32(uint32_t(d.controls.size()));
  for (const Control& c : d.controls) {
    out.U8(c.kind);
    out.U32(c.style);
    out.U32(uint32_t(c.id));
    for (long v : c.rect) out.U16(uint32_t(v));
    out.Str(c.kind == 3 ? c.text : ToCp932(c.text));
  }
  return out.bytes;
}

// A wide string of a Windows resource script, every character outside ASCII as \x escape of
// its UTF-16 unit, so that the script's own code page never matters.
std::string RcString(const std::string& utf8) {
  iconv_t cd = iconv_open("UTF-16LE", "UTF-8");
  if (cd == iconv_t(-1)) Fail("iconv cannot convert UTF-8 to UTF-16");
  std::string wide(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = wide.data();
  size_t outLeft = wide.size();
  size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (r == size_t(-1)) Fail("bad UTF-8: " + utf8);
  wide.resize(wide.size() - outLeft);
  std::string out = "L\"";
  char hex[8];
  bool escaped = false;  // a hex digit right after an escape would join it: escape it too
  for (size_t i = 0; i + 1 < wide.size(); i += 2) {
    unsigned unit = uint8_t(wide[i]) | unsigned(uint8_t(wide[i + 1])) << 8;
    bool plain =
        unit >= 0x20 && unit < 0x7F && unit != '\\' && !(escaped && std::isxdigit(int(unit)));
    if (unit == '"') {
      out += "\"\"";
    } else if (plain) {
      out += char(unit);
    } else {
      std::snprintf(hex, sizeof hex, "\\x%04x", unit);
      out += hex;
    }
    escaped = !plain && unit != '"';
  }
  return out + "\"";
}

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

void ItemsRc(const std::vector<MenuItem>& items, const std::string& indent, std::string& rc) {
  for (const MenuItem& item : items) {
    if (item.id == 0 && item.text.empty()) {
      rc += indent + "MENUITEM SEPARATOR\n";
    } else if (item.id == 0) {
      rc += indent + "POPUP " + RcString(item.text) + "\n" + indent + "BEGIN\n";
      ItemsRc(item.items, indent + "  ", rc);
      rc += indent + "END\n";
    } else {
      rc += indent + "MENUITEM " + RcString(item.text) + ", " + std::to_string(item.id) + "\n";
    }
  }
}

// The same menu as a MENU statement of a Windows resource script.
std::string MenuRc(const char* path, const std::string& name) {
  std::string rc = "\"" + Upper(name) + "\" MENU\nBEGIN\n";
  for (const Popup& p : ParseMenu(path)) {
    rc += "  POPUP " + RcString(p.title) + "\n  BEGIN\n";
    ItemsRc(p.items, "    ", rc);
    rc += "  END\n";
  }
  return rc + "END\n";
}

// The same dialog as a DIALOGEX statement of a Windows resource script.
std::string DialogRc(const char* path, const std::string& name) {
  Dialog d = ParseDialog(path);
  auto Rect = [](const long* r) {
    return std::to_string(r[0]) + ", " + std::to_string(r[1]) + ", " + std::to_string(r[2]) + ", " +
           std::to_string(r[3]);
  };
  std::string rc = "\"" + Upper(name) + "\" DIALOGEX " + Rect(d.rect) + "\n";
  rc += "STYLE " + std::to_string(d.style) + "\n";
  rc += "CAPTION " + RcString(d.caption) + "\n";
  if (d.points) rc += "FONT " + std::to_string(d.points) + ", " + RcString(d.font) + "\n";
  rc += "BEGIN\n";
  static const char* const kClasses[] = {"", "BUTTON", "STATIC", "STATIC"};
  for (const Control& c : d.controls) {
    // An icon control names its ICON resource by a plain string.
    std::string text = RcString(c.text);
    if (c.kind == 3) text = '"' + Upper(c.text) + '"';
    rc += "  CONTROL " + text + ", " + std::to_string(c.id) + ", \"" + kClasses[c.kind] + "\", " +
          std::to_string(c.style) + ", " + Rect(c.rect) + "\n";
  }
  return rc + "END\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && !(argc == 5 && std::string(argv[1]).rfind("rc-", 0) == 0)) {
    std::fprintf(stderr,
                 "usage: ui_compile menu|dialog IN.txt OUT.bin\n"
                 "       ui_compile rc-menu|rc-dialog IN.txt NAME OUT.rc\n");
    return 2;
  }
  g_file = argv[2];
  std::string kind = argv[1];
  std::string bytes;
  if (kind == "menu")
    bytes = CompileMenu(argv[2]);
  else if (kind == "dialog")
    bytes = CompileDialog(argv[2]);
  else if (kind == "rc-menu")
    bytes = MenuRc(argv[2], argv[3]);
  else if (kind == "rc-dialog")
    bytes = DialogRc(argv[2], argv[3]);
  else
    Fail("unknown kind " + kind);
  std::ofstream out(argv[argc - 1], std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return out ? 0 : 1;
}
