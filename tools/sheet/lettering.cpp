// Lettering: the title logo, the menu captions, the key prompt and the credits panel, all
// built from the pixel letters in font.txt.
#include <algorithm>

#include "art.h"

namespace sheet {

namespace {

std::map<std::string, Grid> gFont;
std::string gDataDir;

const Grid* Glyph(const std::string& prefix, char c) {
  std::string key = prefix + (c == '!' ? std::string("bang") : std::string(1, c));
  auto it = gFont.find(key);
  return it == gFont.end() ? nullptr : &it->second;
}

// Ink of a word at `scale`, each letter one pixel-column apart (scaled); returns its width.
int Stamp(Picture& p, const std::string& prefix, const std::string& text, int x, int y, int scale,
          int ink, int gap = 1) {
  int pen = x;
  for (char c : text) {
    if (c == ' ') {
      pen += 4 * scale;
      continue;
    }
    const Grid* g = Glyph(prefix, c);
    if (!g) continue;
    int w = int(g->rows[0].size());
    for (int j = 0; j < int(g->rows.size()); ++j)
      for (int i = 0; i < w; ++i)
        if (g->rows[j][i] == '#') FillRect(p, pen + i * scale, y + j * scale, scale, scale, ink);
    pen += (w + gap) * scale;
  }
  return pen - x - gap * scale;
}

int Measure(const std::string& prefix, const std::string& text, int scale, int gap = 1) {
  Picture scratch(1, 1);
  return Stamp(scratch, prefix, text, -10000, -10000, scale, 0, gap);
}

// White capitals with a dark drop shadow on a solid background.
Picture Caption(const std::string& text, int w, int h, int paper, int ink, int shadow) {
  Picture p(w, h, paper);
  int tw = Measure("small_", text, 2), x = (w - tw) / 2, y = (h - 14) / 2;
  Stamp(p, "small_", text, x + 1, y + 2, 2, shadow);
  Stamp(p, "small_", text, x, y, 2, ink);
  return p;
}

// A tiny five-point sparkle.
void Sparkle(Picture& p, int x, int y, int c, int core) {
  p.Set(x, y - 2, c), p.Set(x, y + 2, c), p.Set(x - 2, y, c), p.Set(x + 2, y, c);
  p.Set(x, y - 1, c), p.Set(x, y + 1, c), p.Set(x - 1, y, c), p.Set(x + 1, y, c);
  p.Set(x, y, core);
}

Picture Logo() {
  const int W = 416, H = 64, scale = 4;
  Picture letters(W, H);
  const std::string word = "Quillorn";
  int tw = Measure("logo_", word, scale, 2);
  int x0 = (W - tw) / 2, y0 = 13;
  const int marker = Ink("gold", 4);
  Stamp(letters, "logo_", word, x0, y0, scale, marker, 2);

  Picture p(W, H);
  // drop shadow: the letters' shape, grown by the outline, moved down-right
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool near = false;
      for (int dy = -2; dy <= 2 && !near; ++dy)
        for (int dx = -2; dx <= 2 && !near; ++dx)
          if (std::abs(dx) + std::abs(dy) <= 3 && letters.Get(x - 4 + dx, y - 4 + dy) != kClear)
            near = true;
      if (near) p.Set(x, y, Ink("purple", 1));
    }
  // outline two pixels thick in the darkest red
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      bool near = false;
      for (int dy = -2; dy <= 2 && !near; ++dy)
        for (int dx = -2; dx <= 2 && !near; ++dx)
          if (std::abs(dx) + std::abs(dy) <= 3 && letters.Get(x + dx, y + dy) != kClear)
            near = true;
      if (near) p.Set(x, y, Ink("red", 1));
    }
  // two-tone fill: pale gold above the middle, deep gold below, lit top-left edges
  const int mid = y0 + 5 * scale + 2;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      if (letters.Get(x, y) == kClear) continue;
      int c = y < mid ? Ink("gold", 5) : Ink("gold", 3);
      if (y == mid || y == mid + 1) c = Ink("gold", 4);
      bool edgeTL = letters.Get(x - 1, y) == kClear || letters.Get(x, y - 1) == kClear;
      bool edgeBR = letters.Get(x + 1, y) == kClear || letters.Get(x, y + 1) == kClear;
      if (edgeBR) c = y < mid ? Ink("gold", 4) : Ink("gold", 2);
      if (edgeTL) c = Ink("gold", 6);
      p.Set(x, y, c);
    }
  // a heart on either side and a few sparkles
  std::map<std::string, Grid> none;
  auto heart = [&](int hx, int hy) {
    static const char* rows[] = {".##.##.", "#######", "#######", ".#####.", "..###..", "...#..."};
    for (int j = 0; j < 6; ++j)
      for (int i = 0; i < 7; ++i)
        if (rows[j][i] == '#')
          FillRect(p, hx + 2 * i, hy + 2 * j, 2, 2, Ink("red", j < 2 && i < 3 ? 5 : 4));
  };
  // the crown tipped onto the first letter
  std::map<std::string, Grid> sprites;
  std::string err;
  if (LoadGrids(gDataDir + "/sprites.txt", sprites, err) && sprites.count("crown")) {
    Picture crown = GridPicture(sprites["crown"]);
    for (int j = 0; j < crown.h; ++j)
      for (int i = 0; i < crown.w; ++i)
        if (crown.Get(i, j) != kClear)
          FillRect(p, x0 + 5 + 2 * i, y0 - 12 + 2 * j, 2, 2, crown.Get(i, j));
  }
  heart(x0 - 34, 26);
  heart(x0 + tw + 20, 26);
  Sparkle(p, x0 - 18, 12, Ink("gold", 5), Ink("gold", 6));
  Sparkle(p, x0 + tw + 16, 14, Ink("gold", 5), Ink("gold", 6));
  Sparkle(p, x0 + tw + 36, 52, Ink("gold", 4), Ink("gold", 6));
  Sparkle(p, x0 - 30, 52, Ink("gold", 4), Ink("gold", 6));
  return p;
}

Picture Credits() {
  Picture p(160, 128, kBlack);
  const char* lines[] = {"QUILLORN TEAM", "CODE AND MAP", "ART AND SOUND", "THANK YOU!"};
  for (int i = 0; i < 4; ++i) {
    int tw = Measure("small_", lines[i], 2);
    Stamp(p, "small_", lines[i], (160 - tw) / 2, 9 + 32 * i, 2, kWhite);
  }
  return p;
}

}  // namespace

bool DrawLettering(Sheet& s, const std::string& dataDir, std::string& error) {
  gDataDir = dataDir;
  if (!LoadGrids(dataDir + "/font.txt", gFont, error)) return false;
  for (char c : std::string("ACDEGHIKLMNOPQRSTUY!"))
    if (!Glyph("small_", c)) {
      error = std::string("font.txt lacks ") + c;
      return false;
    }
  const char* captions[] = {"GAME", "STORY", "HELP", "END"};
  for (int i = 0; i < 4; ++i) {
    s.PutOpaque(Caption(captions[i], 64, 32, Ink("box", 2), kWhite, Ink("box", 0)), 512,
                192 + 32 * i);
    s.PutOpaque(Caption(captions[i], 64, 32, Ink("box", 4), Ink("gold", 5), Ink("box", 1)), 576,
                192 + 32 * i);
  }
  s.PutOpaque(Logo(), 0, 544);
  Picture prompt(192, 64, kBlack);
  int tw = Measure("small_", "PUSH SPACE KEY", 2);
  Stamp(prompt, "small_", "PUSH SPACE KEY", (192 - tw) / 2, 25, 2, kWhite);
  s.PutOpaque(prompt, 0, 608);
  s.PutOpaque(Credits(), 480, 544);
  return true;
}

}  // namespace sheet
