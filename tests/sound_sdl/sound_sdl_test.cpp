// Plays the beep, then a moment of the ending music, through the SDL audio backend with
// SDL's "disk" driver and checks what the driver wrote: 48000 Hz stereo 16-bit frames.
// Usage: test_sound_sdl OUTPUT.raw
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "sound/sound_bank.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what, double value) {
  std::printf("%s %s (%g)\n", ok ? "ok:  " : "FAIL:", what, value);
  if (!ok) ++failures;
}

void Wait(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: test_sound_sdl OUTPUT.raw\n");
    return 2;
  }
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", argv[1], 1);
  std::remove(argv[1]);

  using namespace quillorn;
  if (InitSound() != 1) {
    std::printf("FAIL: the disk audio device did not open\n");
    return 1;
  }
  Check(LoadWaveSlot(0, "ed") == 1, "the music loads", 0);
  Check(LoadWaveSlot(1, "beep") == 1, "the beep loads", 0);
  Wait(100);
  PlaySoundSlot(1, 0, 0);  // 37.5 ms at its own rate
  Wait(300);
  PlaySoundSlot(0, 1, 0);
  Wait(400);
  StopAllSounds();
  Wait(100);
  FreeSound();

  std::ifstream in(argv[1], std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> left;
  for (size_t i = 0; i + 3 < bytes.size(); i += 4) {
    left.push_back(static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                        static_cast<uint8_t>(bytes[i + 1]) << 8));
  }
  Check(left.size() > 48000 * 0.6, "the device played for most of the time, frames",
        static_cast<double>(left.size()));

  // The beep: the first stretch of sound, 1800 frames of a 1500 Hz tone.
  size_t start = 0;
  while (start < left.size() && std::abs(left[start]) < 64) ++start;
  size_t end = start;
  for (size_t quiet = 0; end < left.size() && quiet < 480; ++end) {
    quiet = std::abs(left[end]) < 64 ? quiet + 1 : 0;
  }
  end -= 480;
  Check(start < left.size(), "the file is not silent, first sound at frame",
        static_cast<double>(start));
  Check(end - start > 1600 && end - start <= 1801, "the beep lasts 1800 frames",
        static_cast<double>(end - start));
  int peak = 0, crossings = 0;
  double first = 0, last = 0;
  for (size_t i = start + 1; i < end; ++i) {
    peak = std::max(peak, std::abs(static_cast<int>(left[i])));
    if (left[i - 1] < 0 && left[i] >= 0) {
      (crossings == 0 ? first : last) = static_cast<double>(i);
      ++crossings;
    }
  }
  Check(peak > 8000, "the beep is loud, peak", peak);
  double hz = crossings > 1 ? (crossings - 1) * 48000.0 / (last - first) : 0;
  Check(std::fabs(hz - 1500) < 30, "the beep's pitch, Hz", hz);

  // The music follows the beep and sounds until it is stopped.
  size_t musicStart = end + 480;
  while (musicStart < left.size() && std::abs(left[musicStart]) < 64) ++musicStart;
  double sum = 0;
  size_t count = 0;
  for (size_t i = musicStart; i < musicStart + 9600 && i < left.size(); ++i, ++count) {
    sum += static_cast<double>(left[i]) * left[i];
  }
  double rms = count ? std::sqrt(sum / count) : 0;
  Check(musicStart < left.size() && rms > 1000, "the music sounds, RMS", rms);
  return failures == 0 ? 0 : 1;
}
