// The headless backend: no screen, no devices. The clock belongs to the test, input is
// injected, and the window's picture stays in memory to be read back.
#include <unistd.h>

#include <cerrno>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/backend.h"
#include "platform/chrome/dialog_box.h"
#include "platform/chrome/menu_bar.h"
#include "platform/chrome/window_frame.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_parts.h"
#include "platform/resources/resources.h"
#include "platform/settings/settings.h"
#include "platform/window/input.h"
#include "platform/window/report.h"
#include "platform/window/single_copy.h"
#include "platform/window/window_state.h"

namespace quillorn::headless {

namespace {

struct State {
  uint32_t clock = 0;
  IdleHook idleHook = nullptr;
  platform::Rect lastPainted;
  bool quit = false;
  int32_t quitCode = 0;
  std::string display;
  std::vector<std::string> events;
  // Overrides by upper-case "TYPE/NAME"; an empty optional-like flag hides the resource.
  std::map<std::string, std::pair<bool, std::vector<uint8_t>>> overrides;
  std::set<Failure> failures;
  std::vector<std::string> said;
  platform::WindowFrame frame;
};

State& S() {
  static State s;
  return s;
}

std::string Key(const char* type, const char* name) {
  std::string k = std::string(type) + "/" + name;
  for (char& c : k)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return k;
}

int OverrideHook(const char* type, const char* name, platform::Resource& out) {
  auto it = S().overrides.find(Key(type, name));
  if (it == S().overrides.end()) return -1;
  if (!it->second.first) return 0;
  out.data = it->second.second.data();
  out.size = it->second.second.size();
  return 1;
}

void Report(bool stop, const std::string& line) {
  S().said.push_back((stop ? "stop: " : "missing: ") + line);
}

// The shared code's calls to the system, refused as a real system might refuse them.
int RefuseCall(const char* what) {
  std::string call = what;
  if (call == "timer" && Failing(Failure::kTimer)) return EAGAIN;
  if (call == "single-copy lock" && Failing(Failure::kSingleCopyLock)) return EACCES;
  return 0;
}

void DispatchOrQuit(const platform::Message& m) {
  if (m.type == platform::kMsgQuit) {
    S().quit = true;
    S().quitCode = int32_t(m.wParam);
    return;
  }
  platform::DispatchMessage(m);
}

}  // namespace

void Reset(uint32_t startMs) {
  platform::ResetWindowState();
  platform::DialogReset();
  platform::MenuBarReset();
  platform::ReleaseSingleCopy();
  ResetAudio();
  ResetSettingsPlace();
  platform::ResetSettings();
  State& s = S();
  s = State();
  s.clock = startMs;
  s.display = "headless-" + std::to_string(getpid());
  platform::SetResourceHook(OverrideHook);
  platform::SetTraceHook(RecordEvent);
  platform::SetReportHook(Report);
  platform::SetFaultHook(RefuseCall);
  platform::ForgetReports();
}

const std::vector<std::string>& Events() {
  return S().events;
}
void RecordEvent(const char* event) {
  S().events.push_back(event);
}

void AdvanceClock(uint32_t ms) {
  S().clock += ms;
}

void KeyDown(uint32_t key) {
  platform::InputKeyDown(key);
}
void KeyUp(uint32_t key) {
  platform::InputKeyUp(key);
}
void SetActive(bool active) {
  platform::InputActivate(active);
}
void Command(uint32_t id) {
  platform::InputCommand(id);
}
void KeyDownWith(uint32_t key, bool ctrl, bool alt, bool shift) {
  if (platform::WindowKey(key, ctrl, alt, shift, false)) {
    platform::MenuBarCancelAltTap();
    return;
  }
  platform::InputKeyDown(key);
}

int Pump() {
  int count = 0;
  platform::Message m;
  while (!S().quit && platform::TakeMessage(S().clock, m)) {
    DispatchOrQuit(m);
    ++count;
  }
  return count;
}

void Tick(int n) {
  for (int i = 0; i < n; ++i) {
    AdvanceClock(54);
    Pump();
  }
}

void SetIdleHook(IdleHook hook) {
  S().idleHook = hook;
}

void SetDisplayName(const std::string& name) {
  S().display = name;
}

bool WindowExists() {
  return platform::Window().exists;
}
const platform::WindowDesc& Window() {
  return platform::Window().desc;
}
const platform::Surface& WindowPicture() {
  return platform::Window().picture;
}
const platform::Surface& WindowFrame() {
  return S().frame.frame;
}

// The whole frame anew: after the window's size or its chrome changed.
void ComposeAll() {
  platform::WindowFrame& f = S().frame;
  platform::RedrawChrome(f);
  platform::ComposeWindowFrame(f, {0, 0, f.frame.width, f.frame.height});
}

void FitFrame() {
  if (platform::Window().desc.clientWidth <= 0) return;  // no window yet
  const platform::WindowDesc& d = platform::Window().desc;
  platform::SizeWindowFrame(S().frame, d.clientWidth, d.clientHeight);
  ComposeAll();
}

void StripChanged() {
  platform::WindowFrame& f = S().frame;
  if (f.frame.pixels.empty()) return;
  platform::RedrawStrip(f);
  platform::ComposeWindowFrame(f, platform::StripArea(f));
}
platform::Rect LastPaintedRect() {
  return S().lastPainted;
}

bool QuitPosted(int32_t* exitCode) {
  const platform::WindowState& w = platform::Window();
  bool posted = S().quit || w.quitPosted;
  if (exitCode) *exitCode = S().quit ? S().quitCode : w.quitCode;
  return posted;
}

bool DialogOpen() {
  return platform::DialogIsOpen();
}
std::string DialogName() {
  return platform::DialogOpenName();
}

void OverrideResource(const char* type, const char* name, std::vector<uint8_t> bytes) {
  S().overrides[Key(type, name)] = {true, std::move(bytes)};
}

void HideResource(const char* type, const char* name) {
  S().overrides[Key(type, name)] = {false, {}};
}

void MakeFail(Failure failure) {
  S().failures.insert(failure);
}

bool Failing(Failure failure) {
  return S().failures.count(failure) > 0;
}

const std::vector<std::string>& Said() {
  return S().said;
}

}  // namespace quillorn::headless

namespace quillorn::platform::backend {

uint32_t Now() {
  return headless::S().clock;
}

std::string DisplayName() {
  return headless::S().display;
}

void PollInput() {}

bool WaitForInput(int32_t timeoutMs) {
  headless::State& s = headless::S();
  if (s.idleHook && s.idleHook()) return true;
  if (timeoutMs < 0) return false;
  // Waiting is time passing.
  s.clock += uint32_t(timeoutMs);
  return true;
}

bool CreateWindow(const WindowDesc& desc) {
  using headless::Failing, headless::Failure;
  if (Failing(Failure::kWindow)) SayNoWindow("the test made the headless window fail");
  if (Failing(Failure::kPicture)) SayNoPicture("the test made the headless picture fail");
  if (Failing(Failure::kWindow) || Failing(Failure::kPicture)) return false;
  MenuBarLoad(desc.menuName);
  headless::S().frame = WindowFrame();
  headless::FitFrame();
  return true;
}

void ShowWindow() {}
void DestroyWindow() {}

void Present(const Surface&, const Rect& dirty) {
  headless::S().lastPainted = dirty;
  WindowFrame& f = headless::S().frame;
  ComposeWindowFrame(
      f, {dirty.left, dirty.top + f.barHeight, dirty.right, dirty.bottom + f.barHeight});
}

void ChromeChanged() {
  headless::ComposeAll();
}

}  // namespace quillorn::platform::backend

namespace quillorn::platform {

void RunMessageLoop(LoopStep step) {
  WaitingMessageLoop(step);
}

}  // namespace quillorn::platform
