// The player's settings: what they are, the text they are kept in, the flags of one run, and
// the settings in force. They are the window's business, as its scale is: the game never
// reads them. Each backend keeps the text in its own place (settings_backend.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio/audio.h"

namespace quillorn::platform {

struct Settings {
  int32_t scale = 0;  // the window's scale, 1 to 3; 0: the one the screen's density suggests
  bool fullscreen = false;
  int32_t musicVolume = kMaxVolume;  // 0 to 10: the ending's music and the staff roll
  int32_t effectsVolume = kMaxVolume;
  bool muted = false;
  bool visualBeep = false;  // every sound shown in a strip below the picture
  bool rumble = false;      // every proximity beep felt in the game controller
  bool operator==(const Settings&) const = default;
};

// Commands of the 設定 menu (data/ui/settings_menu.txt). The window carries them out; they
// never reach the game.
enum : uint32_t {
  kCmdMute = 41001,
  kCmdVisualBeep = 41002,
  kCmdRumble = 41003,
  kCmdMusicVolume = 41100,    // + the level, 0 to 10
  kCmdEffectsVolume = 41200,  // + the level
};

// Each command of the 設定 menu with whether its entry shows a check: the mute, the two
// toggles, and the level each volume stands at.
struct MenuCheck {
  uint32_t id;
  bool checked;
};
std::vector<MenuCheck> SettingsMenuChecks(const Settings& s);

// The text of the settings file: a comment line, then one "key = value" line a key.
std::string WriteSettingsText(const Settings& s);
// Reads what it can: every good key is kept, every bad value leaves its key at the default;
// each problem is one line in problems, naming the key or the line.
Settings ReadSettingsText(std::string_view text, std::vector<std::string>& problems);
// Larger than this, a settings file is not read at all.
constexpr size_t kMaxSettingsBytes = 64 * 1024;

// The flags of one run: they change the settings in force, never the stored ones.
struct RunFlags {
  int32_t scale = 0;  // 0: not given
  bool fullscreen = false, mute = false, visualBeep = false;
  bool help = false, version = false;
};
// The command line (argv[0] is the program). False with error set when a flag is unknown or
// a value is bad.
bool ParseCommandLine(int argc, const char* const* argv, RunFlags& out, std::string& error);
// The page's query ("?scale=2&visual-beep=1"): the same flags by name, booleans as 1 or 0.
// A bad value is left out with a line in problems; other names belong to the page.
void ParseQuery(std::string_view query, RunFlags& out, std::vector<std::string>& problems);
std::string UsageText();
Settings WithFlags(Settings s, const RunFlags& flags);

// Start: this run's flags, then the stored settings with each problem said in one line.
// Returns -1 to play on, else the exit code: 0 after --help or --version, 2 after a bad flag.
int StartSettings(int argc, const char* const* argv);
// Forgets everything: the defaults in force and stored, nothing written yet.
void ResetSettings();

const Settings& CurrentSettings();
const Settings& StoredSettings();

// A change the player made: carried out, and kept when the stored text changes by it.
void ChangeSettings(const Settings& wanted);
// A command of the 設定 menu: true when id is one and it has been carried out.
bool SettingsCommand(uint32_t id);
// The window's own keys (virtual-key codes): Ctrl+1, 2, 3 the scale, Alt+Enter fullscreen,
// Ctrl+M the mute. True when the key is one of them; a repeat is taken but does nothing.
bool WindowKey(uint32_t key, bool ctrl, bool alt, bool shift, bool repeat);

}  // namespace quillorn::platform
