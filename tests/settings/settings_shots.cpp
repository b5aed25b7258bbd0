// Writes the screenshots of the settings, as the headless backend composes the whole window:
// settings-menu.ppm (the title, muted, with the 設定 menu open on 音楽の音量's levels) and
// visual-beep.ppm (play in the first rooms, the beep shown, in the tick of a beep of 5 to 8
// tiles).
// Usage: settings_shots OUTDIR   (scripts/settings-screenshots.sh makes PNGs of them)
#include <cstdio>
#include <string>

#include "platform/cues/cue_strip.h"
#include "platform/headless/headless.h"
#include "platform/settings/settings.h"
#include "shell/win_main.h"

namespace {

using namespace quillorn;

void Press(uint32_t key) {
  headless::KeyDown(key);
  headless::KeyUp(key);
  headless::Pump();
}

bool Save(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const platform::Surface& s = headless::WindowFrame();
  std::fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
  for (platform::Pixel p : s.pixels)
    std::fprintf(f, "%c%c%c", platform::PixelRed(p), platform::PixelGreen(p),
                 platform::PixelBlue(p));
  return std::fclose(f) == 0;
}

// The strip's middle row holds the whole pulse of a beep of 5 to 8 tiles: in its tick.
bool MiddlePulse() {
  const platform::Surface& f = headless::WindowFrame();
  const platform::Pixel* row = f.Row(f.height - platform::kCueStripHeight / 2);
  for (int32_t d = 5; d <= 8; ++d) {
    int32_t lit = 0;
    for (int32_t x = 0; x < f.width; ++x) lit += row[x] == platform::ProximityPulse(d).colour;
    if (lit == platform::ProximityPulse(d).width) return true;
  }
  return false;
}

bool Start() {
  headless::Reset(1000);
  if (!StartUp()) return false;
  headless::SetActive(true);
  headless::Tick(2);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: settings_shots OUTDIR\n");
    return 2;
  }
  const std::string out = argv[1];
  if (!Start()) return 1;
  headless::KeyDownWith('M', true);
  for (uint32_t key : {platform::kKeyF10, platform::kKeyRight, platform::kKeyDown,
                       platform::kKeyRight, platform::kKeyDown, platform::kKeyDown})
    Press(key);
  if (!Save(out + "/settings-menu.ppm")) return 1;

  if (!Start()) return 1;
  Press(platform::kKeyReturn);  // GAME
  headless::Command(platform::kCmdVisualBeep);
  // Walks about the first rooms, a step at a time, until a beep of 5 to 8 tiles; the
  // way is the same every time, as the people are (the clock seeds their places).
  const uint32_t way[] = {platform::kKeyDown, platform::kKeyUp, platform::kKeyUp,
                          platform::kKeyUp,   platform::kKeyLeft, platform::kKeyLeft,
                          platform::kKeyUp,   platform::kKeyRight, platform::kKeyRight};
  for (uint32_t key : way) {
    headless::KeyDown(key);
    for (int tick = 0; tick < 30; ++tick) {
      headless::Tick();
      if (tick == 0) headless::KeyUp(key);
      if (MiddlePulse()) return Save(out + "/visual-beep.ppm") ? 0 : 1;
    }
  }
  std::fprintf(stderr, "no near beep came\n");
  return 1;
}
