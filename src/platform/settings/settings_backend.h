// What the shared settings code needs of each backend: the place the settings are kept, the
// window that puts them into effect, the player's ear for a line of text, and the game
// controller's rumble. Only the platform folder sees this header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings/settings.h"

namespace quillorn::platform::settings_backend {

// The stored text. False when there is none: a first run, or a place that cannot be read
// (problem then says why).
bool ReadStored(std::string& text, std::string& problem);
// Replaces the stored text whole, or leaves the old text whole: false, with problem, when the
// new text could not be kept.
bool WriteStored(const std::string& text, std::string& problem);
// Where the text is kept, as a player would look for it.
std::string StoredPlace();
// Flags from elsewhere than the command line: the page's query.
void ExtraFlags(RunFlags& flags, std::vector<std::string>& problems);

// Puts the settings into effect on the window once it exists (its scale, fullscreen, the
// beep strip and the 設定 menu's checks); returns what it took, which may keep before's
// fullscreen when the window system refuses the change.
Settings Apply(const Settings& wanted, const Settings& before);

// Text for the player: the usage, the version (problem false), or a problem in one line.
void Say(const std::string& text, bool problem);

// The game controller's rumble at strength 0 to 1 for ms milliseconds. Nothing, and no
// error, where no controller can rumble.
void Rumble(float strength, uint32_t ms);

// The beep strip's look changed (cues/cue_strip.h): the window shows it anew.
void CueStripChanged();

}  // namespace quillorn::platform::settings_backend
