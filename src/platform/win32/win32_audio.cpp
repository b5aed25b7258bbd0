// The sound output on Windows: the shared mixer feeding waveOut (winmm) with a few buffers of
// 512 frames, refilled by a thread of its own as each one comes back. Without a device the
// game runs on silently, and so it does when the device fails while playing (unplugged): a
// buffer waveOut refuses ends the refilling, and one line says so. While nothing can be heard
// the device is paused: no buffer comes back, and the thread sleeps.
#include <string>

#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"
#include "platform/win32/win32_window.h"
#include "platform/window/report.h"

// After <windows.h>, which it needs.
#include <mmsystem.h>

namespace quillorn::platform {

namespace {

constexpr int kBufferCount = 4;  // about 43 ms queued at 48 kHz: a sound starts within a tick
constexpr DWORD kBufferFrames = 512;

struct WaveOutput {
  HWAVEOUT device = nullptr;
  HANDLE done = nullptr;  // signalled by waveOut whenever a buffer has played
  HANDLE thread = nullptr;
  volatile LONG stopping = 0;
  CRITICAL_SECTION lock;
  WAVEHDR headers[kBufferCount]{};
  int prepared = 0;  // headers[0 .. prepared) are prepared
  int16_t samples[kBufferCount][kBufferFrames * 2]{};
};

WaveOutput* g_out = nullptr;

void Lock() {
  ::EnterCriticalSection(&g_out->lock);
}
void Unlock() {
  ::LeaveCriticalSection(&g_out->lock);
}

// waveOut's account of its error.
std::string WaveText(MMRESULT result) {
  char text[MAXERRORLENGTH] = {};
  ::waveOutGetErrorTextA(result, text, sizeof text);
  return "waveOut error " + std::to_string(result) + (text[0] ? std::string(": ") + text : "");
}

// Mixes the next frames into the header and queues it. A refused header keeps its done flag,
// so it is never taken for one that is playing.
MMRESULT Fill(WAVEHDR& header) {
  Lock();
  MixAudio(reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
  Unlock();
  header.dwFlags &= ~DWORD(WHDR_DONE);
  MMRESULT result = ::waveOutWrite(g_out->device, &header, sizeof header);
  if (result != MMSYSERR_NOERROR) header.dwFlags |= WHDR_DONE;
  return result;
}

DWORD WINAPI Refill(void*) {
  while (!g_out->stopping) {
    ::WaitForSingleObject(g_out->done, INFINITE);
    for (WAVEHDR& h : g_out->headers) {
      if (g_out->stopping || !(h.dwFlags & WHDR_DONE)) continue;
      if (MMRESULT result = Fill(h); result != MMSYSERR_NOERROR) {
        // Nothing more will come back to wake this thread: the sound ends here.
        SaySoundLost(WaveText(result));
        return 0;
      }
    }
  }
  return 0;
}

void Rest(bool rest) {
  if (rest)
    ::waveOutPause(g_out->device);
  else
    ::waveOutRestart(g_out->device);
}

// Gives back whatever was made, in the reverse order; the device is reset first, so that
// every queued buffer comes back.
void Release() {
  if (g_out->device) {
    ::waveOutReset(g_out->device);
    for (int i = 0; i < g_out->prepared; ++i)
      ::waveOutUnprepareHeader(g_out->device, &g_out->headers[i], sizeof(WAVEHDR));
    ::waveOutClose(g_out->device);
  }
  if (MixerRunning()) StopMixer();
  if (g_out->done) ::CloseHandle(g_out->done);
  ::DeleteCriticalSection(&g_out->lock);
  delete g_out;
  g_out = nullptr;
}

bool NoSound(const std::string& reason) {
  SayNoSound(reason);
  Release();
  return false;
}

}  // namespace

bool OpenAudio() {
  if (g_out) return true;
  g_out = new WaveOutput;
  ::InitializeCriticalSection(&g_out->lock);
  g_out->done = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!g_out->done) return NoSound("CreateEvent: " + win32::LastErrorText());
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = kMixerOutputRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = kMixerOutputRate * 4;
  MMRESULT result = ::waveOutOpen(&g_out->device, WAVE_MAPPER, &format, DWORD_PTR(g_out->done), 0,
                                  CALLBACK_EVENT);
  if (result != MMSYSERR_NOERROR) {
    g_out->device = nullptr;
    return NoSound(WaveText(result));
  }
  StartMixer(kMixerOutputRate, Lock, Unlock);
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& h = g_out->headers[i];
    h.lpData = reinterpret_cast<LPSTR>(g_out->samples[i]);
    h.dwBufferLength = sizeof g_out->samples[i];
    if ((result = ::waveOutPrepareHeader(g_out->device, &h, sizeof h)) != MMSYSERR_NOERROR)
      return NoSound(WaveText(result));
    ++g_out->prepared;
    if ((result = Fill(h)) != MMSYSERR_NOERROR) return NoSound(WaveText(result));
  }
  g_out->thread = ::CreateThread(nullptr, 0, Refill, nullptr, 0, nullptr);
  if (!g_out->thread) return NoSound("CreateThread: " + win32::LastErrorText());
  SetAudioRest(Rest);
  return true;
}

void CloseAudio() {
  if (!g_out) return;
  SetAudioRest(nullptr);
  ::InterlockedExchange(&g_out->stopping, 1);
  ::SetEvent(g_out->done);
  ::WaitForSingleObject(g_out->thread, INFINITE);
  ::CloseHandle(g_out->thread);
  Release();
}

}  // namespace quillorn::platform
