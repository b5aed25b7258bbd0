// Compiles the readable menu and dialog sources in data/ui into the binary MENU and DIALOG
// resources the platform layer reads. Texts are UTF-8 in the source and Shift-JIS (code page
// 932) in the output.
//
// Usage: ui_compile menu|dialog IN.txt OUT.bin
//
// Both formats are little-endian; a string is its bytes followed by one zero byte.
//   MENU:   "QMNU", u32 popup count, then per popup: string title, u32 item count, then per
//           item: u32 command id (0 for a separator), string label (empty for a separator).
//   DIALOG: "QDLG", u32 style, i16 x, y, width, height (dialog units), string caption,
//           u16 font size in points, string font name, u32 control count, then per control:
//           u8 kind (1 push button, 2 static text, 3 static icon), u32 style, i32 id,
//           i16 x, y, width, height, string text (for an icon: the ICON resource name).
#include <iconv.h>

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
      words.push_back("\"" + line.substr(i + 1, end - i - 1));
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
  return word.substr(1);
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

std::string CompileMenu(const char* path) {
  struct Item {
    uint32_t id;
    std::string text;
  };
  struct Popup {
    std::string title;
    std::vector<Item> items;
  };
  std::vector<Popup> popups;
  bool inPopup = false;
  g_line = 0;
  for (const auto& w : ReadLines(path)) {
    ++g_line;
    if (w.empty()) continue;
    if (w[0] == "popup" && w.size() == 2 && !inPopup) {
      popups.push_back({ToCp932(Quoted(w[1])), {}});
      inPopup = true;
    } else if (w[0] == "item" && w.size() == 3 && inPopup) {
      popups.back().items.push_back({uint32_t(Number(w[2], 1, 65535)), ToCp932(Quoted(w[1]))});
    } else if (w[0] == "separator" && w.size() == 1 && inPopup) {
      popups.back().items.push_back({0, ""});
    } else if (w[0] == "end" && w.size() == 1 && inPopup) {
      inPopup = false;
    } else {
      Fail("unexpected line");
    }
  }
  if (inPopup) Fail("popup without end");
  Out out;
  out.bytes = "QMNU";
  out.U32(uint32_t(popups.size()));
  for (const Popup& p : popups) {
    out.Str(p.title);
    out.U32(uint32_t(p.items.size()));
    for (const Item& item : p.items) {
      out.U32(item.id);
      out.Str(item.text);
    }
  }
  return out.bytes;
}

std::string CompileDialog(const char* path) {
  Out head, controls;
  uint32_t style = 0, count = 0;
  long rect[4] = {};
  std::string caption, font;
  long points = 0;
  bool haveRect = false;
  g_line = 0;
  for (const auto& w : ReadLines(path)) {
    ++g_line;
    if (w.empty()) continue;
    if (w[0] == "dialog" && w.size() == 5) {
      for (int i = 0; i < 4; ++i) rect[i] = Number(w[i + 1], -32768, 32767);
      haveRect = true;
    } else if (w[0] == "style") {
      for (size_t i = 1; i < w.size(); ++i) style |= Style(w[i]);
    } else if (w[0] == "caption" && w.size() == 2) {
      caption = ToCp932(Quoted(w[1]));
    } else if (w[0] == "font" && w.size() == 3) {
      points = Number(w[1], 1, 72);
      font = ToCp932(Quoted(w[2]));
    } else if (w[0] == "control" && w.size() >= 8) {
      static const std::map<std::string, uint32_t> kKinds = {
          {"button", 1}, {"text", 2}, {"icon", 3}};
      auto kind = kKinds.find(w[1]);
      if (kind == kKinds.end()) Fail("unknown control kind " + w[1]);
      uint32_t cstyle = 0x50000000u;  // WS_CHILD | WS_VISIBLE, as every control has
      for (size_t i = 8; i < w.size(); ++i) cstyle |= Style(w[i]);
      controls.U8(kind->second);
      controls.U32(cstyle);
      controls.U32(uint32_t(int32_t(Number(w[2], -1, 65535))));
      for (int i = 3; i < 7; ++i) controls.U16(uint32_t(Number(w[i], -32768, 32767)));
      controls.Str(kind->second == 3 ? Quoted(w[7]) : ToCp932(Quoted(w[7])));
      ++count;
    } else {
      Fail("unexpected line");
    }
  }
  if (!haveRect) Fail("no dialog line");
  head.bytes = "QDLG";
  head.U32(style);
  for (long v : rect) head.U16(uint32_t(v));
  head.Str(caption);
  head.U16(uint32_t(points));
  head.Str(font);
  head.U32(count);
  return head.bytes + controls.bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ui_compile menu|dialog IN.txt OUT.bin\n");
    return 2;
  }
  g_file = argv[2];
  std::string kind = argv[1];
  std::string bytes;
  if (kind == "menu")
    bytes = CompileMenu(argv[2]);
  else if (kind == "dialog")
    bytes = CompileDialog(argv[2]);
  else
    Fail("unknown kind " + kind);
  std::ofstream out(argv[3], std::ios::binary);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  return out ? 0 : 1;
}
