// The settings file on a POSIX system (the desktop program and the tests): under the user's
// configuration folder, written through a temporary file and a rename in the same folder, so
// that a crash leaves the old file or the new one, never half of one.
#pragma once

#include <string>

namespace quillorn::platform {

// $XDG_CONFIG_HOME/quillorn/settings.ini, or ~/.config/quillorn/settings.ini when that is
// unset or not an absolute path; empty when neither can be told.
std::string XdgSettingsPath();

// False when there is no file (nothing said) or it cannot be read (problem says why). A file
// larger than kMaxSettingsBytes gives only its first kMaxSettingsBytes + 1 bytes.
bool ReadSettingsFile(const std::string& path, std::string& text, std::string& problem);
// Creates the folders as needed. False, with problem, when the file could not be replaced;
// the old file then stays as it was.
bool WriteSettingsFile(const std::string& path, const std::string& text, std::string& problem);

}  // namespace quillorn::platform
