// The browser test's oracle: plays the moments of moments.txt through the headless backend
// and writes what the page must show at each one: the frame as RGBA bytes (NAME.rgba: the
// menu bar over the client area, any drop-down or dialog on top) or the next 0.2 s of the
// mix (NAME.pcm: stereo 16-bit at 48 kHz).
// Usage: web_oracle MOMENTS OUTDIR
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "frames.h"
#include "gameplay/play.h"
#include "harness.h"
#include "platform/headless/headless_audio.h"
#include "shell/scene_handlers.h"

namespace {

using namespace quillorn;
using namespace quillorn::platform;

// The page's names of the keys the table presses.
const std::map<std::string, uint32_t> kKeys = {{"Enter", kKeyReturn},   {"Escape", kKeyEscape},
                                               {"ArrowUp", kKeyUp},     {"ArrowDown", kKeyDown},
                                               {"ArrowLeft", kKeyLeft}, {"ArrowRight", kKeyRight},
                                               {"F10", kKeyF10}};
constexpr int kSettleTicks = 40;  // about two seconds: every moment of the table is still by then

// The frame as the page composes it, as RGBA bytes.
std::vector<uint8_t> Frame() {
  std::vector<uint8_t> rgba;
  for (Pixel p : test::ComposedFrame().pixels)
    rgba.insert(rgba.end(), {PixelRed(p), PixelGreen(p), PixelBlue(p), 255});
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return std::fprintf(stderr, "usage: web_oracle MOMENTS OUTDIR\n"), 2;
  if (!test::StartGame()) return 1;
  std::ifstream table(argv[1]);
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream words(line);
    std::string kind, name, key;
    if (!(words >> kind >> name) || kind[0] == '#') continue;
    headless::RenderAudio(headless::kAudioOutputRate);  // what sounded before is past
    while (words >> key) {
      // KEY* is pressed once a tick until play begins; any other key is held until the picture
      // changes: a walking key for one step, any other for its effect.
      const bool repeat = key.back() == '*';
      const uint32_t code = kKeys.at(key.substr(0, key.size() - repeat));  // unknown: it ends
      for (int i = 0; i < 20000 && repeat && sceneHandlers.tickHandler != PlayTick; ++i)
        headless::KeyDown(code), headless::Pump(), headless::KeyUp(code), headless::Tick();
      if (repeat) continue;
      const std::vector<uint8_t> before = Frame();
      headless::KeyDown(code), headless::Pump();
      for (int i = 0; i < kSettleTicks && Frame() == before; ++i) headless::Tick();
      headless::KeyUp(code), headless::Pump();
    }
    const auto write = [&](const char* ext, const auto& v) {
      std::ofstream(std::string(argv[2]) + "/" + name + ext, std::ios::binary)
          .write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size() * sizeof v[0]));
    };
    if (kind == "sound") write(".pcm", headless::RenderAudio(headless::kAudioOutputRate / 5));
    headless::Tick(kSettleTicks);
    if (kind == "picture") write(".rgba", Frame());
  }
  return 0;
}
