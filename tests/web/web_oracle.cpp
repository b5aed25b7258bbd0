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

#include "gameplay/play.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "shell/scene_handlers.h"
#include "shell/win_main.h"

namespace {

using namespace quillorn;

// The page's names of the keys the table presses.
const std::map<std::string, uint32_t> kKeys = {
    {"Enter", platform::kKeyReturn},   {"Escape", platform::kKeyEscape},
    {"ArrowUp", platform::kKeyUp},     {"ArrowDown", platform::kKeyDown},
    {"ArrowLeft", platform::kKeyLeft}, {"ArrowRight", platform::kKeyRight},
    {"F10", platform::kKeyF10},
};
constexpr int kSettleTicks = 40;  // about two seconds: every moment of the table is still by then

// The frame as the page composes it: the drop-down and the dialog go over the bar and client.
std::vector<uint8_t> Frame() {
  const platform::Surface& client = headless::WindowPicture();
  int32_t bar = platform::MenuBarHeight();
  platform::Surface frame = platform::MakeSurface(client.width, client.height + bar);
  platform::Surface strip = platform::MakeSurface(client.width, bar);
  platform::MenuBarDraw(strip);
  std::copy(strip.pixels.begin(), strip.pixels.end(), frame.pixels.begin());
  std::copy(client.pixels.begin(), client.pixels.end(), frame.Row(bar));
  platform::Surface overlay;
  platform::Rect at;
  auto put = [&](int32_t top) {
    for (int32_t y = 0; y < overlay.height; ++y)
      std::copy(overlay.Row(y), overlay.Row(y) + overlay.width, frame.Row(top + y) + at.left);
  };
  if (platform::MenuBarDrawDropDown(overlay, at)) put(at.top);
  if (platform::DialogDraw(overlay, at)) put(at.top + bar);  // client coordinates
  std::vector<uint8_t> rgba;
  for (platform::Pixel p : frame.pixels)
    rgba.insert(rgba.end(),
                {platform::PixelRed(p), platform::PixelGreen(p), platform::PixelBlue(p), 255});
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: web_oracle MOMENTS OUTDIR\n");
    return 2;
  }
  headless::Reset(1000);
  if (!StartUp()) return 1;
  headless::SetActive(true);
  headless::Pump();
  std::ifstream table(argv[1]);
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream words(line);
    std::string kind, name, key;
    if (!(words >> kind >> name) || kind[0] == '#') continue;
    headless::RenderAudio(headless::kAudioOutputRate);  // what sounded before is past
    while (words >> key) {
      bool repeat = key.back() == '*';
      if (repeat) key.pop_back();
      uint32_t code = kKeys.at(key);  // an unknown key ends the program
      if (repeat) {
        // Pressed once a tick until play begins.
        for (int i = 0; i < 20000 && sceneHandlers.tickHandler != PlayTick; ++i) {
          headless::KeyDown(code);
          headless::Pump();
          headless::KeyUp(code);
          headless::Tick();
        }
        continue;
      }
      // Held until the picture changes: a walking key for one step, any other for its effect.
      std::vector<uint8_t> before = Frame();
      headless::KeyDown(code);
      headless::Pump();
      for (int i = 0; i < kSettleTicks && Frame() == before; ++i) headless::Tick();
      headless::KeyUp(code);
      headless::Pump();
    }
    std::string path = std::string(argv[2]) + "/" + name;
    if (kind == "sound") {
      std::vector<int16_t> pcm = headless::RenderAudio(headless::kAudioOutputRate / 5);
      std::ofstream(path + ".pcm", std::ios::binary)
          .write(reinterpret_cast<const char*>(pcm.data()), std::streamsize(pcm.size() * 2));
    }
    headless::Tick(kSettleTicks);
    if (kind == "picture") {
      std::vector<uint8_t> rgba = Frame();
      std::ofstream(path + ".rgba", std::ios::binary)
          .write(reinterpret_cast<const char*>(rgba.data()), std::streamsize(rgba.size()));
    }
  }
  return 0;
}
