// The browser test's oracle: plays the moments of moments.txt through the headless backend
// and writes what the page must show at each one: the frame as RGBA bytes (NAME.rgba: the
// menu bar over the client area, any dialog on top) or the pitch of the sound (NAME.hz).
// Usage: web_oracle MOMENTS OUTDIR
#include <cmath>
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

const std::map<std::string, uint32_t> kKeys = {
    {"Return", platform::kKeyReturn}, {"Escape", platform::kKeyEscape},
    {"Space", platform::kKeySpace},   {"Up", platform::kKeyUp},
    {"Down", platform::kKeyDown},     {"Left", platform::kKeyLeft},
    {"Right", platform::kKeyRight},   {"E", platform::kKeyE},
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

// The pitch of the first loud stretch of the left channel, from its rising zero crossings.
double Pitch(const std::vector<int16_t>& stereo, double rate) {
  int first = -1, last = -1, crossings = -1, quiet = 0;
  for (size_t i = 2; i < stereo.size(); i += 2) {
    quiet = std::abs(stereo[i]) < 500 ? quiet + 1 : 0;
    if (first >= 0 && quiet > rate / 200) break;  // 5 ms of quiet: the beep is over
    if (quiet > 1) continue;  // only crossings inside the beep count
    if (stereo[i - 2] < 0 && stereo[i] >= 0) {
      if (first < 0) first = int(i / 2);
      last = int(i / 2);
      ++crossings;
    }
  }
  return crossings > 0 ? crossings * rate / (last - first) : 0;
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
      auto it = kKeys.find(key);
      if (it == kKeys.end()) {
        std::fprintf(stderr, "web_oracle: unknown key %s\n", key.c_str());
        return 1;
      }
      if (repeat) {
        // Pressed once a tick until play begins.
        for (int i = 0; i < 20000 && sceneHandlers.tickHandler != PlayTick; ++i) {
          headless::KeyDown(it->second);
          headless::Pump();
          headless::KeyUp(it->second);
          headless::Tick();
        }
        continue;
      }
      // Held until the picture changes: a walking key for one step, any other for its effect.
      std::vector<uint8_t> before = Frame();
      headless::KeyDown(it->second);
      headless::Pump();
      for (int i = 0; i < kSettleTicks && Frame() == before; ++i) headless::Tick();
      headless::KeyUp(it->second);
      headless::Pump();
    }
    std::string path = std::string(argv[2]) + "/" + name;
    if (kind == "sound") {
      double hz =
          Pitch(headless::RenderAudio(headless::kAudioOutputRate / 5), headless::kAudioOutputRate);
      std::ofstream(path + ".hz") << hz << "\n";
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
