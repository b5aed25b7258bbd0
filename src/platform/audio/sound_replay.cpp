// A recorded call of audio.h made again, on the mixer of this program (the page's audio
// thread replays the calls that the game made on the page's thread).
#include "platform/audio/audio.h"
#include "platform/audio/mixer.h"

namespace quillorn::platform {

SoundBuffer ReplaySoundCall(const SoundCall& call) {
  switch (call.kind) {
    case SoundCallKind::kCreate:
      return call.format ? CreateSoundBuffer(*call.format, call.bytes, call.size) : 0;
    case SoundCallKind::kDuplicate:
      return DuplicateSoundBuffer(call.value);
    case SoundCallKind::kSetRate:
      SetBufferRate(call.buffer, call.value);
      break;
    case SoundCallKind::kPlay:
      PlayBuffer(call.buffer, call.value != 0);
      break;
    case SoundCallKind::kStop:
      StopBuffer(call.buffer);
      break;
    case SoundCallKind::kRelease:
      ReleaseBuffer(call.buffer);
      break;
    case SoundCallKind::kSetGroup:
      SetBufferGroup(call.buffer, SoundGroup(call.value));
      break;
    case SoundCallKind::kSetVolume:
      SetGroupVolume(SoundGroup(call.buffer), int32_t(call.value));
      break;
    case SoundCallKind::kSetMuted:
      SetMuted(call.value != 0);
      break;
  }
  return call.buffer;
}

}  // namespace quillorn::platform
