// The settings in force and the ones stored: read once at start, put into effect, and
// written whole whenever the player changes one of them.
#include <algorithm>
#include <utility>

#include "platform/audio/audio.h"
#include "platform/cues/cue_strip.h"
#include "platform/settings/settings.h"
#include "platform/settings/settings_backend.h"

namespace quillorn::platform {

namespace {

struct State {
  Settings stored;   // what the place holds, or will once written
  Settings current;  // stored, with this run's flags on top
  bool unsavedSaid = false;
};
State g_settings;

void Say(const std::string& line) {
  settings_backend::Say("quillorn: " + line + "\n", true);
}

// The loudness is the mixer's, shared by every backend.
void ApplySound(const Settings& s) {
  SetGroupVolume(SoundGroup::kMusic, s.musicVolume);
  SetGroupVolume(SoundGroup::kEffects, s.effectsVolume);
  SetMuted(s.muted);
}

// Copies each setting that differs between a and b from a into out.
void CopyChanged(const Settings& a, const Settings& b, Settings& out) {
  if (a.scale != b.scale) out.scale = a.scale;
  if (a.fullscreen != b.fullscreen) out.fullscreen = a.fullscreen;
  if (a.musicVolume != b.musicVolume) out.musicVolume = a.musicVolume;
  if (a.effectsVolume != b.effectsVolume) out.effectsVolume = a.effectsVolume;
  if (a.muted != b.muted) out.muted = a.muted;
  if (a.visualBeep != b.visualBeep) out.visualBeep = a.visualBeep;
  if (a.rumble != b.rumble) out.rumble = a.rumble;
}

}  // namespace

std::vector<MenuCheck> SettingsMenuChecks(const Settings& s) {
  std::vector<MenuCheck> checks = {
      {kCmdMute, s.muted}, {kCmdVisualBeep, s.visualBeep}, {kCmdRumble, s.rumble}};
  for (int32_t level = 0; level <= kMaxVolume; ++level) {
    checks.push_back({kCmdMusicVolume + uint32_t(level), level == s.musicVolume});
    checks.push_back({kCmdEffectsVolume + uint32_t(level), level == s.effectsVolume});
  }
  return checks;
}

int StartSettings(int argc, const char* const* argv) {
  ResetSettings();
  RunFlags flags;
  std::string error;
  if (!ParseCommandLine(argc, argv, flags, error)) {
    settings_backend::Say("quillorn: " + error + "\n" + UsageText(), true);
    return 2;
  }
  if (flags.help) {
    settings_backend::Say(
        UsageText() + "Settings are kept in " + settings_backend::StoredPlace() + ".\n", false);
    return 0;
  }
  if (flags.version) {
    settings_backend::Say("Quillorn " QUILLORN_VERSION "\n", false);
    return 0;
  }
  std::vector<std::string> problems;
  settings_backend::ExtraFlags(flags, problems);
  for (const std::string& p : problems) Say(p);

  std::string text, problem;
  if (settings_backend::ReadStored(text, problem)) {
    problems.clear();
    g_settings.stored = ReadSettingsText(text, problems);
    for (const std::string& p : problems) Say(settings_backend::StoredPlace() + ": " + p);
  } else if (!problem.empty()) {
    Say(problem + "; every setting has its default");
  }
  g_settings.current = WithFlags(g_settings.stored, flags);
  ApplySound(g_settings.current);
  return -1;
}

void ResetSettings() {
  g_settings = State();
  ApplySound(g_settings.current);
  ResetCueStrip();
}

const Settings& CurrentSettings() {
  return g_settings.current;
}

const Settings& StoredSettings() {
  return g_settings.stored;
}

void ChangeSettings(const Settings& wanted) {
  const Settings before = g_settings.current;
  if (wanted == before) return;
  // In force from here on: the window reads it while it takes the change.
  g_settings.current = wanted;
  if (wanted.visualBeep != before.visualBeep) ResetCueStrip();
  const Settings taken = settings_backend::Apply(wanted, before);
  g_settings.current = taken;
  ApplySound(taken);

  const Settings stored = g_settings.stored;
  CopyChanged(taken, before, g_settings.stored);
  if (g_settings.stored == stored) return;
  std::string problem;
  if (!settings_backend::WriteStored(WriteSettingsText(g_settings.stored), problem) &&
      !std::exchange(g_settings.unsavedSaid, true))
    Say(problem + "; the settings hold for this run only");
}

bool SettingsCommand(uint32_t id) {
  Settings s = g_settings.current;
  if (id == kCmdMute)
    s.muted = !s.muted;
  else if (id == kCmdVisualBeep)
    s.visualBeep = !s.visualBeep;
  else if (id == kCmdRumble)
    s.rumble = !s.rumble;
  else if (id >= kCmdMusicVolume && id <= kCmdMusicVolume + kMaxVolume)
    s.musicVolume = int32_t(id - kCmdMusicVolume);
  else if (id >= kCmdEffectsVolume && id <= kCmdEffectsVolume + kMaxVolume)
    s.effectsVolume = int32_t(id - kCmdEffectsVolume);
  else
    return false;
  ChangeSettings(s);
  return true;
}

bool WindowKey(uint32_t key, bool ctrl, bool alt, bool shift, bool repeat) {
  constexpr uint32_t kNumpad1 = 0x61;  // the keypad's digits, as the desktop numbers them
  int32_t digit = 0;
  if (key >= '1' && key <= '3') digit = int32_t(key - '0');
  if (key >= kNumpad1 && key < kNumpad1 + 3) digit = int32_t(key - kNumpad1 + 1);
  const bool ctrlOnly = ctrl && !alt && !shift;
  const bool scale = digit && ctrlOnly;
  const bool fullscreen = key == kKeyReturn && alt && !ctrl && !shift;
  const bool mute = key == 'M' && ctrlOnly;
  if (!scale && !fullscreen && !mute) return false;
  if (repeat) return true;  // held down: once is enough
  Settings s = g_settings.current;
  if (scale) s.scale = digit;
  if (fullscreen) s.fullscreen = !s.fullscreen;
  if (mute) s.muted = !s.muted;
  ChangeSettings(s);
  return true;
}

}  // namespace quillorn::platform
