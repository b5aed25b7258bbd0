// The desktop program's settings: the file under the user's configuration folder, lines for
// the player on the terminal, the window that takes them, and the controllers' rumble.
#include <cstdio>

#include "platform/sdl/sdl_window.h"
#include "platform/settings/settings_backend.h"
#include "platform/settings/settings_file.h"

namespace quillorn::platform::settings_backend {

bool ReadStored(std::string& text, std::string& problem) {
  const std::string path = XdgSettingsPath();
  return !path.empty() && ReadSettingsFile(path, text, problem);
}

bool WriteStored(const std::string& text, std::string& problem) {
  const std::string path = XdgSettingsPath();
  if (path.empty()) {
    problem = "neither XDG_CONFIG_HOME nor HOME names a folder to keep the settings in";
    return false;
  }
  return WriteSettingsFile(path, text, problem);
}

std::string StoredPlace() {
  const std::string path = XdgSettingsPath();
  return path.empty() ? "no file (neither XDG_CONFIG_HOME nor HOME is set)" : path;
}

void ExtraFlags(RunFlags&, std::vector<std::string>&) {}

Settings Apply(const Settings& wanted, const Settings& before) {
  return sdl::ApplySettings(wanted, before);
}

void Say(const std::string& text, bool problem) {
  std::fputs(text.c_str(), problem ? stderr : stdout);
}

void Rumble(float strength, uint32_t ms) {
  sdl::RumbleGamepads(strength, ms);
}

void CueStripChanged() {
  sdl::StripChanged();
}

}  // namespace quillorn::platform::settings_backend
