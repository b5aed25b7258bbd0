// The page's sound. The mixer plays inside an AudioWorklet, on the browser's audio thread, as
// a small module of its own built from the same source (worklet/sound_module.cpp). The mixer
// here never plays there: it keeps the buffers, so that every call answers at once and exactly
// as on the desktop, and each call that changes it goes to the worklet's, which makes the same
// calls in the same order and so hands out the same buffers. The worklet says which voices
// came to their end, and they stop here too. Where the page can't run a worklet (a page that is
// not a secure context), a ScriptProcessorNode plays this mixer on the page's thread
// (page_sound.js); where even that fails, the game is silent. While the sound is muted the
// audio context is suspended. While it is only silent the worklet goes on mixing silence,
// which costs next to nothing, since a context that must first resume would make the next
// beep late by far more than one render quantum.
#include <emscripten.h>

#include <map>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace quillorn::platform {

namespace {

struct WebSound {
  uint32_t sent = 0;  // calls sent to the worklet, which numbers them in the same way
  // Live buffers and the number of the call that last started each (0: never started).
  std::map<SoundBuffer, uint32_t> started;
  std::vector<int16_t> block;  // what the ScriptProcessorNode plays next
};

WebSound g_sound;

// clang-format off
EM_JS(int, PageStartAudio, (), { return quillornSound.start(); });
EM_JS(void, PageStopAudio, (), { quillornSound.stop(); });
EM_JS(void, PageRestAudio, (int rest), { quillornSound.rest(rest); });
// A recording comes with its bytes and its format (tag, channels, rate, block, bits).
EM_JS(void, PageSoundCall, (int kind, uint32_t buffer, uint32_t value, const uint8_t* bytes,
                            size_t size, int tag, int channels, uint32_t rate, int block, int bits), {
  quillornSound.call(kind, buffer, value, bytes ? HEAPU8.subarray(bytes, bytes + size) : null,
                     [tag, channels, rate, block, bits]);
});
// clang-format on

void Send(const SoundCall& call) {
  WebSound& s = g_sound;
  ++s.sent;
  switch (call.kind) {
    case SoundCallKind::kCreate:
    case SoundCallKind::kDuplicate:
      s.started[call.buffer] = 0;
      break;
    case SoundCallKind::kPlay:
      s.started[call.buffer] = s.sent;
      break;
    case SoundCallKind::kRelease:
      s.started.erase(call.buffer);
      break;
    default:
      break;
  }
  SoundFormat f = call.format ? *call.format : SoundFormat();
  PageSoundCall(int(call.kind), call.buffer, call.value, call.bytes, call.size, f.formatTag,
                f.channels, f.framesPerSecond, f.blockAlign, f.bitsPerSample);
}

}  // namespace

bool OpenAudio() {
  if (MixerRunning()) return true;
  int rate = PageStartAudio();  // 0: the page has no sound at all
  if (rate <= 0) return false;
  StartMixer(uint32_t(rate), nullptr, nullptr);
  g_sound = WebSound();
  // The worklet's mixer starts at full loudness: give it the player's.
  for (SoundGroup group : {SoundGroup::kEffects, SoundGroup::kMusic})
    Send({SoundCallKind::kSetVolume, uint32_t(group), uint32_t(GroupVolume(group))});
  Send({SoundCallKind::kSetMuted, 0, Muted() ? 1u : 0u});
  ObserveSoundCalls(Send);
  PageRestAudio(Muted() ? 1 : 0);
  return true;
}

void CloseAudio() {
  ObserveSoundCalls(nullptr);
  PageStopAudio();
  StopMixer();
  g_sound = WebSound();
}

namespace web {

void MuteSound(bool muted) {
  PageRestAudio(muted ? 1 : 0);
}

}  // namespace web

}  // namespace quillorn::platform

extern "C" {

// The worklet's voice came to its end after it had made the first `applied` calls: it is
// silent here too, unless a later call started it again.
EMSCRIPTEN_KEEPALIVE void quillorn_web_sound_ended(uint32_t buffer, uint32_t applied) {
  using namespace quillorn::platform;
  auto it = g_sound.started.find(buffer);
  if (it != g_sound.started.end() && it->second <= applied) StopBuffer(buffer);
}

// Neither the worklet nor the page's thread can play: every call does nothing from now on.
EMSCRIPTEN_KEEPALIVE void quillorn_web_sound_lost() {
  quillorn::platform::CloseAudio();
}

// The next frames of this mixer, interleaved stereo, for the ScriptProcessorNode to play.
EMSCRIPTEN_KEEPALIVE const int16_t* quillorn_web_mix(int frames) {
  std::vector<int16_t>& block = quillorn::platform::g_sound.block;
  block.assign(size_t(frames) * 2, 0);
  if (quillorn::platform::MixerRunning())
    quillorn::platform::MixAudio(block.data(), size_t(frames));
  return block.data();
}

// For the tests: how many buffers this mixer says are playing.
EMSCRIPTEN_KEEPALIVE int quillorn_web_voices_playing() {
  int n = 0;
  for (const auto& [buffer, started] : quillorn::platform::g_sound.started)
    n += quillorn::platform::BufferPlaying(buffer) ? 1 : 0;
  return n;
}
}
