// The headless backend's settings: kept in memory, or in a folder a test gives, as the
// desktop program keeps them; the window takes every change; the rumble is a record.
#include <string>
#include <vector>

#include "platform/chrome/menu_bar.h"
#include "platform/cues/cue_strip.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_parts.h"
#include "platform/settings/settings_backend.h"
#include "platform/settings/settings_file.h"

namespace quillorn::headless {

namespace {

struct Place {
  std::string folder;  // "" : in memory
  bool stored = false;
  std::string text;
  int writes = 0;
  std::string said;
  std::vector<RumbleCall> rumble;
};
Place g_place;

}  // namespace

void ResetSettingsPlace() {
  g_place = Place();
}

void SetSettingsFolder(const std::string& folder) {
  g_place.folder = folder;
}

std::string SettingsFile() {
  return g_place.folder.empty() ? "" : g_place.folder + "/settings.ini";
}

bool StoredSettingsText(std::string& text) {
  if (!g_place.folder.empty()) {
    std::string problem;
    return platform::ReadSettingsFile(SettingsFile(), text, problem);
  }
  text = g_place.text;
  return g_place.stored;
}

void SetStoredSettingsText(const std::string& text) {
  g_place.stored = true;
  g_place.text = text;
}

int SettingsWrites() {
  return g_place.writes;
}

const std::string& SaidText() {
  return g_place.said;
}

const std::vector<RumbleCall>& RumbleCalls() {
  return g_place.rumble;
}

}  // namespace quillorn::headless

namespace quillorn::platform::settings_backend {

using headless::g_place;

bool ReadStored(std::string& text, std::string& problem) {
  if (!g_place.folder.empty()) return ReadSettingsFile(headless::SettingsFile(), text, problem);
  text = g_place.text;
  return g_place.stored;
}

bool WriteStored(const std::string& text, std::string& problem) {
  ++g_place.writes;
  if (!g_place.folder.empty()) return WriteSettingsFile(headless::SettingsFile(), text, problem);
  headless::SetStoredSettingsText(text);
  return true;
}

std::string StoredPlace() {
  return g_place.folder.empty() ? "memory" : headless::SettingsFile();
}

void ExtraFlags(RunFlags&, std::vector<std::string>&) {}

Settings Apply(const Settings& wanted, const Settings& before) {
  if (wanted.visualBeep != before.visualBeep) headless::FitFrame();
  MenuBarCheckSettings();
  return wanted;
}

void Say(const std::string& text, bool) {
  g_place.said += text;
}

void Rumble(float strength, uint32_t ms) {
  g_place.rumble.push_back({strength, ms, GetTickCount()});
}

void CueStripChanged() {
  headless::StripChanged();
}

}  // namespace quillorn::platform::settings_backend
