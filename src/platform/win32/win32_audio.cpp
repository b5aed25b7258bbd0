// The sound output on Windows: the shared mixer feeding waveOut (winmm) with a few buffers of
// 512 frames, refilled by a thread of its own as each one comes back. Without a device the
// game runs on silently. While nothing can be heard the device is paused: no buffer comes
// back, and the thread sleeps.
#include "platform/audio/audio.h"
#include "platform/audio/audio_rest.h"
#include "platform/audio/mixer.h"
#include "platform/win32/win32_api.h"

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
  int16_t samples[kBufferCount][kBufferFrames * 2]{};
};

WaveOutput* g_out = nullptr;

void Lock() {
  ::EnterCriticalSection(&g_out->lock);
}
void Unlock() {
  ::LeaveCriticalSection(&g_out->lock);
}

void Fill(WAVEHDR& header) {
  Lock();
  MixAudio(reinterpret_cast<int16_t*>(header.lpData), kBufferFrames);
  Unlock();
  header.dwFlags &= ~DWORD(WHDR_DONE);
  ::waveOutWrite(g_out->device, &header, sizeof header);
}

DWORD WINAPI Refill(void*) {
  while (!g_out->stopping) {
    ::WaitForSingleObject(g_out->done, INFINITE);
    for (WAVEHDR& h : g_out->headers)
      if (!g_out->stopping && (h.dwFlags & WHDR_DONE)) Fill(h);
  }
  return 0;
}

void Rest(bool rest) {
  if (rest)
    ::waveOutPause(g_out->device);
  else
    ::waveOutRestart(g_out->device);
}

void Release() {
  if (g_out->done) ::CloseHandle(g_out->done);
  ::DeleteCriticalSection(&g_out->lock);
  delete g_out;
  g_out = nullptr;
}

}  // namespace

bool OpenAudio() {
  if (g_out) return true;
  g_out = new WaveOutput;
  ::InitializeCriticalSection(&g_out->lock);
  g_out->done = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 2;
  format.nSamplesPerSec = kMixerOutputRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 4;
  format.nAvgBytesPerSec = kMixerOutputRate * 4;
  if (!g_out->done || ::waveOutOpen(&g_out->device, WAVE_MAPPER, &format, DWORD_PTR(g_out->done), 0,
                                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    Release();
    return false;
  }
  StartMixer(kMixerOutputRate, Lock, Unlock);
  for (int i = 0; i < kBufferCount; ++i) {
    WAVEHDR& h = g_out->headers[i];
    h.lpData = reinterpret_cast<LPSTR>(g_out->samples[i]);
    h.dwBufferLength = sizeof g_out->samples[i];
    ::waveOutPrepareHeader(g_out->device, &h, sizeof h);
    Fill(h);
  }
  g_out->thread = ::CreateThread(nullptr, 0, Refill, nullptr, 0, nullptr);
  SetAudioRest(Rest);
  return true;
}

void CloseAudio() {
  if (!g_out) return;
  SetAudioRest(nullptr);
  ::InterlockedExchange(&g_out->stopping, 1);
  ::SetEvent(g_out->done);
  if (g_out->thread) {
    ::WaitForSingleObject(g_out->thread, INFINITE);
    ::CloseHandle(g_out->thread);
  }
  ::waveOutReset(g_out->device);  // every buffer comes back marked done
  for (WAVEHDR& h : g_out->headers) ::waveOutUnprepareHeader(g_out->device, &h, sizeof h);
  ::waveOutClose(g_out->device);
  StopMixer();
  Release();
}

}  // namespace quillorn::platform
