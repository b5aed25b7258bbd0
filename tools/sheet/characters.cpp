// The walking people: each is built from its line in characters.txt as a stack of shaded,
// outlined pieces (legs, garment, arms, head, hair, beard, headwear) in three views; the left
// view is the right one mirrored, and frame 1 lowers the upper body a pixel and strides.
#include <fstream>
#include <sstream>

#include "art.h"

namespace sheet {

namespace {

struct Look {
  int row = 0;
  std::string name, skin, hair, style, coat, legs, garment, cloak, headwear;
  bool beard = false;
  int shrink = 0;
};

enum View { kBack, kSide, kFront };

const int kEyeInk = 11;  // stone shade 1, set in Draw() once the palette is known

struct Body {
  int t;       // top row of the face
  int torso0;  // first torso row
  int waist;   // last torso row
  int feet;    // the shoe row (always 26: the soles rest 4 px above the cell's bottom)
};

Body Measure(const Look& k, int frame) {
  Body b;
  b.t = 6 + k.shrink + frame;
  b.torso0 = b.t + 10;
  b.waist = std::max(b.torso0 + 2, 21 - k.shrink / 3 + frame);
  b.feet = 26;
  return b;
}

Shape HeadShape(int t) {
  Shape s;
  s.Rect(11, t, 10, 9);
  s.Remove(11, t), s.Remove(20, t), s.Remove(11, t + 8), s.Remove(20, t + 8);
  return s;
}

void DrawLegs(Picture& p, const Look& k, const Body& b, View v, int frame) {
  std::string shoe = k.garment == "armour" ? "steel" : "hair";
  int shoeBase = k.garment == "armour" ? 2 : 2;
  bool skirt = k.garment == "dress" || k.garment == "robe";
  if (v == kSide) {
    Shape back, front, sb, sf;
    if (frame == 0) {
      front.Rect(14, b.waist + 1, 4, b.feet - b.waist - 1);
      sf.Rect(14, b.feet, 5, 1);
    } else {
      back.Rect(12, b.waist + 1, 2, b.feet - b.waist - 2);
      sb.Rect(11, b.feet - 1, 3, 1);
      front.Rect(17, b.waist + 1, 2, b.feet - b.waist - 1);
      sf.Rect(17, b.feet, 3, 1);
      if (!skirt) Paint(p, back, k.legs, 2, Edge::kOver);
      Paint(p, sb, shoe, shoeBase, skirt ? Edge::kUnder : Edge::kOver);
    }
    if (!skirt) Paint(p, front, k.legs, 3, Edge::kOver);
    Paint(p, sf, shoe, shoeBase, skirt ? Edge::kUnder : Edge::kOver);
    return;
  }
  // front and back: two legs; in the stride one foot is lifted a pixel
  for (int side = 0; side < 2; ++side) {
    int x = side == 0 ? 13 : 17;
    int lift = (frame == 1 && side == 1) ? 1 : 0;
    Shape leg, s;
    leg.Rect(x, b.waist + 1, 2, b.feet - b.waist - 1 - lift);
    s.Rect(x - (side == 0 ? 1 : 0), b.feet - lift, 3, 1);
    if (!skirt) Paint(p, leg, k.legs, 3, Edge::kOver);
    Paint(p, s, shoe, shoeBase, skirt ? Edge::kUnder : Edge::kOver);
  }
}

void DrawGarment(Picture& p, const Look& k, const Body& b, View v) {
  Shape torso;
  bool side = v == kSide;
  int x0 = side ? 13 : 12, x1 = side ? 18 : 19;
  torso.Rect(x0, b.torso0, x1 - x0 + 1, b.waist - b.torso0 + 1);
  if (k.garment == "dress" || k.garment == "robe") {
    bool dress = k.garment == "dress";
    int bottom = b.feet - 1;
    for (int y = b.waist - 1; y <= bottom; ++y) {
      int grow = dress ? (y - b.waist + 2) / 2 : (y - b.waist + 2) / 4;
      int a = x0 - grow, z = x1 + grow;
      if (side) a = x0 - grow, z = x1 + grow / 2;
      for (int x = a; x <= z; ++x) torso.Add(x, y);
    }
  }
  Paint(p, torso, k.coat, k.coat == "cloth" ? 5 : 3, Edge::kOver);
  // a belt or sash across the waist for tunics and armour; the dress gets a lighter bodice
  if ((k.garment == "tunic" || k.garment == "armour") && b.waist - b.torso0 >= 4) {
    std::string beltRamp = k.garment == "armour" ? "steel" : "wood";
    for (int x = x0; x <= x1; ++x) p.Set(x, b.waist - 1, Ink(beltRamp, 1));
    if (!side) p.Set(15, b.waist - 1, Ink("gold", 4)), p.Set(16, b.waist - 1, Ink("gold", 3));
  }
  if (k.garment == "robe" && v == kFront) {
    // a trim down the front of the robe
    int trim = k.name == "king" ? Ink("gold", 4) : Ink(k.coat, 5);
    for (int y = b.waist; y <= b.feet - 2; ++y) p.Set(16, y, trim);
    for (int x = 12; x <= 19; ++x) p.Set(x, b.waist - 1, Ink("gold", x < 16 ? 4 : 3));
  }
  if (k.garment == "armour") {
    // shoulder plates catch the light
    Shape l, r;
    if (side)
      l.Ellipse(31, 2 * b.torso0 + 2, 5, 4);
    else
      l.Ellipse(23, 2 * b.torso0 + 2, 5, 4), r.Ellipse(41, 2 * b.torso0 + 2, 5, 4);
    Paint(p, l, "steel", 4, Edge::kOver);
    if (!side) Paint(p, r, "steel", 4, Edge::kOver);
  }
}

void DrawArms(Picture& p, const Look& k, const Body& b, View v, int frame) {
  std::string sleeve = k.garment == "armour" ? "steel" : k.coat;
  int base = k.coat == "cloth" ? 4 : 3;
  int len = std::max(2, b.waist - b.torso0 - 1);
  if (v == kSide) {
    Shape arm, hand;
    if (frame == 0)
      arm.Rect(15, b.torso0 + 1, 2, len), hand.Rect(15, b.torso0 + 1 + len, 2, 1);
    else {
      // swung forward: the upper arm as before, the forearm reaching ahead
      arm.Rect(15, b.torso0 + 1, 2, len - 1);
      arm.Rect(17, b.torso0 + len - 1, 1, 1);
      hand.Rect(17, b.torso0 + len, 2, 1);
    }
    Paint(p, arm, sleeve, base, Edge::kOver);
    Paint(p, hand, k.skin, 4, Edge::kNone);
    return;
  }
  for (int side = 0; side < 2; ++side) {
    int x = side == 0 ? 10 : 20;
    int l = len - ((frame == 1 && side == 0) ? 1 : 0);
    Shape arm, hand;
    arm.Rect(x, b.torso0, 2, l);
    hand.Rect(x, b.torso0 + l, 2, 1);
    Paint(p, arm, sleeve, base, Edge::kOver);
    if (v == kFront || true) Paint(p, hand, k.skin, 4, Edge::kNone);
  }
}

void DrawCloak(Picture& p, const Look& k, const Body& b, View v, bool over) {
  if (k.cloak == "-") return;
  Shape s;
  if (v == kSide) {
    if (over) return;
    for (int y = b.torso0; y <= b.feet - 1; ++y) {
      int spread = (y - b.torso0) / 3;
      for (int x = 11 - spread; x <= 15; ++x) s.Add(x, y);
    }
    Paint(p, s, k.cloak, 2, Edge::kOver);
  } else if (v == kFront) {
    if (over) return;
    for (int y = b.torso0; y <= b.feet - 1; ++y) {
      int spread = (y - b.torso0) / 4;
      for (int x = 9 - spread; x <= 22 + spread; ++x) s.Add(x, y);
    }
    Paint(p, s, k.cloak, 2, Edge::kOver);
  } else {
    if (!over) return;
    for (int y = b.torso0; y <= b.feet - 2; ++y) {  // the shoes peek out below
      int spread = (y - b.torso0) / 4;
      for (int x = 10 - spread; x <= 21 + spread; ++x) s.Add(x, y);
    }
    Paint(p, s, k.cloak, 3, Edge::kOver);
    // folds, and a gold hem
    for (int y = b.torso0 + 4; y <= b.feet - 2; ++y)
      p.Set(13, y, Ink(k.cloak, 2)), p.Set(18, y, Ink(k.cloak, 2));
    for (int x = 0; x < 32; ++x)
      if (s.Has(x, b.feet - 2)) p.Set(x, b.feet - 2, Ink("gold", (x < 16) ? 5 : 4));
  }
  // the ermine collar
  Shape collar;
  if (v == kSide)
    collar.Rect(12, b.torso0, 6, 2);
  else
    collar.Rect(11, b.torso0, 10, 2);
  Paint(p, collar, "cloth", 5, Edge::kOver);
  for (int x = (v == kSide ? 13 : 12); x <= (v == kSide ? 16 : 19); x += 3)
    p.Set(x, b.torso0 + 1, Ink("stone", 1));
}

void DrawHair(Picture& p, const Look& k, int t, View v) {
  if (k.style == "none") return;
  Shape s;
  const std::string& st = k.style;
  if (st == "bald") {
    if (v == kFront)
      s.Rect(11, t + 3, 1, 3), s.Rect(20, t + 3, 1, 3);
    else if (v == kSide)
      s.Rect(11, t + 3, 3, 3);
    else
      s.Rect(11, t + 5, 10, 2), s.Add(11, t + 4), s.Add(20, t + 4);
    Paint(p, s, k.hair, 5, Edge::kNone);
    return;
  }
  bool longHair = st == "long";
  if (v == kBack) {
    s.Rect(11, t - 1, 10, 8);
    s.Rect(10, t + 1, 12, 5);
    s.Remove(10, t + 1), s.Remove(21, t + 1);
    if (!longHair)
      s.Rect(12, t + 7, 8, 1);
    else {
      // long hair falls to the shoulder blades and tapers to a rounded end
      s.Rect(10, t + 6, 12, 3);
      s.Rect(11, t + 9, 10, 2);
      s.Rect(12, t + 11, 8, 1);
      s.Rect(14, t + 12, 4, 1);
    }
  } else if (v == kFront) {
    s.Rect(11, t - 1, 10, 3);
    s.Rect(10, t + 1, 2, longHair ? 11 : 4);
    s.Rect(20, t + 1, 2, longHair ? 11 : 4);
    s.Remove(11, t - 1), s.Remove(20, t - 1);
    for (int x = 12; x <= 19; x += 3) s.Add(x, t + 2);  // a ragged fringe
    s.Add(13, t + 2);
  } else {
    s.Rect(11, t - 1, 9, 3);
    s.Rect(10, t + 1, 5, longHair ? 11 : 5);
    s.Remove(11, t - 1);
    s.Add(19, t + 2);
  }
  Paint(p, s, k.hair, 4, Edge::kOver);
  // a sheen where the light from the top left catches the hair
  for (int x = 12; x <= 15; ++x)
    if (s.Has(x, t) && s.Has(x, t - 1)) p.Set(x, t, Ink(k.hair, 6));
  p.Set(13, t - 1, Ink(k.hair, 5));
  if (v == kBack && longHair)
    for (int y = t + 3; y <= t + 10; ++y) p.Set(16, y, Ink(k.hair, 3));  // the parting
  if (st == "pigtails") {
    Shape a, b;
    if (v == kSide)
      a.Ellipse(17, 2 * t + 16, 4, 7);
    else
      a.Ellipse(17, 2 * t + 15, 4, 7), b.Ellipse(47, 2 * t + 15, 4, 7);
    Paint(p, a, k.hair, 4, Edge::kOver);
    if (v != kSide) Paint(p, b, k.hair, 4, Edge::kOver);
    // ribbons
    p.Set(9, t + 4, Ink("blue", 5));
    if (v != kSide) p.Set(23, t + 4, Ink("blue", 5));
  }
}

void DrawFace(Picture& p, const Look& k, int t, View v) {
  int eye = Ink("stone", 0);
  if (v == kFront) {
    p.Set(13, t + 4, eye), p.Set(13, t + 5, eye), p.Set(18, t + 4, eye), p.Set(18, t + 5, eye);
    p.Set(12, t + 6, Ink("pink", 5)), p.Set(19, t + 6, Ink("pink", 5));  // cheeks
    if (!k.beard) p.Set(15, t + 7, Ink(k.skin, 2)), p.Set(16, t + 7, Ink(k.skin, 2));
  } else if (v == kSide) {
    p.Set(18, t + 4, eye), p.Set(18, t + 5, eye);
    p.Set(21, t + 5, Ink(k.skin, 4));  // nose
    p.Set(21, t + 4, Ink(k.skin, 1)), p.Set(21, t + 6, Ink(k.skin, 1)),
        p.Set(22, t + 5, Ink(k.skin, 1));
    p.Set(14, t + 5, Ink(k.skin, 3));  // ear
  }
}

void DrawBeard(Picture& p, const Look& k, int t, View v) {
  if (!k.beard || v == kBack) return;
  Shape s;
  if (v == kFront) {
    s.Rect(12, t + 6, 8, 4);
    s.Rect(13, t + 10, 6, 2);
    s.Rect(14, t + 12, 4, 1);
    s.Remove(15, t + 6), s.Remove(16, t + 6);
  } else {
    s.Rect(16, t + 6, 5, 4);
    s.Rect(16, t + 10, 4, 2);
    s.Add(17, t + 12);
  }
  Paint(p, s, k.hair, 5, Edge::kUnder);  // no dark line across the face
  if (v == kFront) p.Set(15, t + 7, Ink("red", 2)), p.Set(16, t + 7, Ink("red", 2));
}

void DrawHeadwear(Picture& p, const Look& k, int t, View v) {
  const std::string& hw = k.headwear;
  bool side = v == kSide;
  if (hw == "crown") {
    Shape s;
    s.Rect(11, t - 3, 10, 3);
    for (int x : {11, 15, 16, 20}) s.Rect(x, t - 5, 1, 2);
    s.Add(13, t - 4), s.Add(18, t - 4);
    Paint(p, s, "gold", 4, Edge::kOver);
    if (v != kBack)
      p.Set(side ? 17 : 15, t - 2, Ink("red", 4)), p.Set(side ? 18 : 16, t - 2, Ink("red", 3));
    if (v == kFront) p.Set(12, t - 2, Ink("blue", 5)), p.Set(19, t - 2, Ink("blue", 5));
  } else if (hw == "tiara") {
    Shape s;
    s.Rect(12, t - 1, 8, 1);
    int c = side ? 17 : 15;
    s.Rect(c, t - 3, 2, 2);
    Paint(p, s, "gold", 5, Edge::kUnder);
    if (v != kBack) p.Set(c, t - 2, Ink("pink", 5)), p.Set(c + 1, t - 2, Ink("pink", 4));
  } else if (hw == "helmet") {
    Shape s;
    s.Rect(11, t - 2, 10, 5);
    s.Rect(10, t, 12, 3);
    s.Remove(11, t - 2), s.Remove(20, t - 2);
    if (v == kFront) s.Rect(10, t + 3, 2, 4), s.Rect(20, t + 3, 2, 4);
    if (v == kSide) s.Rect(10, t + 3, 4, 5);
    if (v == kBack) s.Rect(10, t + 3, 12, 5);
    Paint(p, s, "steel", 4, Edge::kOver);
    Shape crest;
    if (side)
      crest.Rect(12, t - 4, 6, 2);
    else
      crest.Rect(15, t - 4, 2, 3);
    Paint(p, crest, "blue", 4, Edge::kOver);
    if (v == kFront)
      for (int x = 12; x <= 19; ++x) p.Set(x, t + 2, Ink("steel", 2));
  } else if (hw == "hat") {
    Shape brim, top;
    brim.Rect(9, t, 14, 2);
    brim.Remove(9, t), brim.Remove(22, t);
    top.Rect(12, t - 6, 8, 6);
    top.Remove(12, t - 6), top.Remove(19, t - 6);
    Paint(p, top, k.coat, 3, Edge::kOver);
    for (int x = 12; x <= 19; ++x) p.Set(x, t - 1, Ink("gold", x < 16 ? 4 : 3));
    Paint(p, brim, k.coat, 3, Edge::kOver);
  }
}

Picture Draw(const Look& k, View v, int frame) {
  Picture p(32, 32);
  Body b = Measure(k, frame);
  DrawCloak(p, k, b, v, false);
  if (k.style == "long" && v == kFront) {
    Shape behind;  // long hair falls behind the shoulders
    behind.Rect(10, b.t + 6, 12, 6);
    Paint(p, behind, k.hair, 2, Edge::kOver);
  }
  // shoes show below a robe or a dress, so they are drawn after it
  bool skirt = k.garment == "dress" || k.garment == "robe";
  if (!skirt) DrawLegs(p, k, b, v, frame);
  DrawGarment(p, k, b, v);
  if (skirt) DrawLegs(p, k, b, v, frame);
  DrawArms(p, k, b, v, frame);
  DrawCloak(p, k, b, v, true);
  Paint(p, HeadShape(b.t), k.skin, 4, Edge::kOver);
  DrawHair(p, k, b.t, v);
  DrawFace(p, k, b.t, v);
  DrawBeard(p, k, b.t, v);
  DrawHeadwear(p, k, b.t, v);
  return p;
}

}  // namespace

bool DrawCharacters(Sheet& s, const std::string& dataDir, std::string& error) {
  std::ifstream in(dataDir + "/characters.txt");
  if (!in) {
    error = "cannot read characters.txt";
    return false;
  }
  std::string line;
  int count = 0;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ls(line);
    Look k;
    std::string beard;
    ls >> k.row >> k.name >> k.skin >> k.hair >> k.style >> k.coat >> k.legs >> k.garment >>
        k.cloak >> k.headwear >> beard >> k.shrink;
    if (!ls || k.row < 6 || k.row > 14) {
      error = "bad character line: " + line;
      return false;
    }
    k.beard = beard == "yes";
    int y = 32 * k.row;
    for (int frame = 0; frame < 2; ++frame) {
      Picture up = Draw(k, kBack, frame), right = Draw(k, kSide, frame),
              down = Draw(k, kFront, frame);
      s.PutMasked(up, 32 * (0 + frame), y);
      s.PutMasked(right, 32 * (2 + frame), y);
      s.PutMasked(down, 32 * (4 + frame), y);
      s.PutMasked(MirrorX(right), 32 * (6 + frame), y);
    }
    ++count;
  }
  if (count != 9) {
    error = "characters.txt must describe 9 rows";
    return false;
  }
  (void)kEyeInk;
  return true;
}

}  // namespace sheet
