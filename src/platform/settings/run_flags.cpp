// The flags of one run: from the command line, or from the page's query in the browser.
// They change what is in force for this run and are never stored.
#include <cstring>

#include "platform/settings/settings.h"

namespace quillorn::platform {

namespace {

// The flags that switch something on, by name without the dashes.
struct Switch {
  const char* name;
  bool RunFlags::*flag;
};
constexpr Switch kSwitches[] = {
    {"fullscreen", &RunFlags::fullscreen},
    {"mute", &RunFlags::mute},
    {"visual-beep", &RunFlags::visualBeep},
};

bool ReadScale(std::string_view value, int32_t& out) {
  if (value.size() != 1 || value[0] < '1' || value[0] > '3') return false;
  out = value[0] - '0';
  return true;
}

}  // namespace

std::string UsageText() {
  return "Usage: quillorn [flag...]\n"
         "Flags hold for this run only; the settings menu and the window's keys are kept.\n"
         "  --scale N       the window at N times its size: 1, 2 or 3\n"
         "  --fullscreen    fullscreen\n"
         "  --mute          the sound muted (Ctrl+M)\n"
         "  --visual-beep   every beep also shown, in a strip below the picture\n"
         "  --help          this text\n"
         "  --version       the version\n";
}

bool ParseCommandLine(int argc, const char* const* argv, RunFlags& out, std::string& error) {
  out = RunFlags();
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i] ? argv[i] : "";
    if (arg.substr(0, 2) != "--") {
      error = "unexpected argument '" + std::string(arg) + "'";
      return false;
    }
    const size_t equals = arg.find('=');
    const std::string_view name = arg.substr(2, equals == arg.npos ? arg.npos : equals - 2);
    const bool hasValue = equals != arg.npos;
    if (name == "scale") {
      std::string_view value;
      if (hasValue) {
        value = arg.substr(equals + 1);
      } else if (i + 1 < argc && argv[i + 1]) {
        value = argv[++i];
      } else {
        error = "--scale needs a value: 1, 2 or 3";
        return false;
      }
      if (!ReadScale(value, out.scale)) {
        error = "--scale takes 1, 2 or 3, not '" + std::string(value) + "'";
        return false;
      }
      continue;
    }
    bool known = false;
    for (const Switch& s : kSwitches)
      if (name == s.name) known = true, out.*s.flag = true;
    if (name == "help") known = true, out.help = true;
    if (name == "version") known = true, out.version = true;
    if (!known) {
      error = "unknown flag '" + std::string(arg) + "'";
      return false;
    }
    if (hasValue) {
      error = "--" + std::string(name) + " takes no value";
      return false;
    }
  }
  return true;
}

void ParseQuery(std::string_view query, RunFlags& out, std::vector<std::string>& problems) {
  if (!query.empty() && query[0] == '?') query.remove_prefix(1);
  while (!query.empty()) {
    const size_t amp = std::min(query.find('&'), query.size());
    const std::string_view pair = query.substr(0, amp);
    query.remove_prefix(std::min(amp + 1, query.size()));
    const size_t equals = pair.find('=');
    const std::string_view name = pair.substr(0, equals);
    const std::string_view value = equals == pair.npos ? "1" : pair.substr(equals + 1);
    if (name == "scale") {
      if (!ReadScale(value, out.scale))
        problems.push_back("scale takes 1, 2 or 3, not '" + std::string(value) + "'; left out");
      continue;
    }
    for (const Switch& s : kSwitches) {
      if (name != s.name) continue;
      if (value == "1")
        out.*s.flag = true;
      else if (value != "0")
        problems.push_back(std::string(s.name) + " takes 1 or 0, not '" + std::string(value) +
                           "'; left out");
    }
  }
}

Settings WithFlags(Settings s, const RunFlags& flags) {
  if (flags.scale) s.scale = flags.scale;
  s.fullscreen = s.fullscreen || flags.fullscreen;
  s.muted = s.muted || flags.mute;
  s.visualBeep = s.visualBeep || flags.visualBeep;
  return s;
}

}  // namespace quillorn::platform
