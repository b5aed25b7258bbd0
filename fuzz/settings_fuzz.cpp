// The settings file's reader on arbitrary bytes: it never fails, says at most one line for
// each line of the text, and what it makes of them is written as a text that reads back to
// the same settings without a word. The same bytes as the page's query, and as a command
// line cut at its spaces.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  using namespace quillorn::platform;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  std::vector<std::string> problems;
  const Settings read = ReadSettingsText(text, problems);
  const size_t lines = size_t(std::count(text.begin(), text.end(), '\n')) + 1;
  if (problems.size() > lines) std::abort();
  if (read.scale < 0 || read.scale > 3 || read.musicVolume < 0 || read.musicVolume > kMaxVolume ||
      read.effectsVolume < 0 || read.effectsVolume > kMaxVolume)
    std::abort();
  std::vector<std::string> again;
  if (!(ReadSettingsText(WriteSettingsText(read), again) == read) || !again.empty()) std::abort();

  RunFlags flags;
  ParseQuery(text, flags, problems);
  if (flags.scale < 0 || flags.scale > 3) std::abort();
  std::vector<std::string> words{"quillorn"};
  for (char c : text) {
    if (c == ' ')
      words.emplace_back();
    else
      words.back() += c;
  }
  std::vector<const char*> argv;
  for (const std::string& w : words) argv.push_back(w.c_str());
  std::string error;
  if (!ParseCommandLine(int(argv.size()), argv.data(), flags, error) && error.empty()) std::abort();
  return 0;
}
