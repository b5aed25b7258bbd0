// The settings file's text: plain "key = value" lines a person can read and edit. Reading
// never fails: a line it cannot use is said and left out, and its key keeps its default.
#include <algorithm>
#include <cstdio>

#include "platform/settings/settings.h"

namespace quillorn::platform {

namespace {

constexpr std::string_view kHeader =
    "# Quillorn's settings: one \"key = value\" a line. A bad value falls back to its default.";

std::string_view Trim(std::string_view s) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

// A value as it may be shown in one line: short, every odd byte as \xNN.
std::string Shown(std::string_view s) {
  std::string out;
  for (char c : s.substr(0, 40)) {
    if (c >= 0x20 && c < 0x7F) {
      out += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(uint8_t(c)));
      out += hex;
    }
  }
  return s.size() > 40 ? out + "..." : out;
}

bool ReadBool(std::string_view value, bool& out) {
  const std::string v = Lower(value);
  if (v == "true" || v == "yes" || v == "on" || v == "1") return out = true, true;
  if (v == "false" || v == "no" || v == "off" || v == "0") return out = false, true;
  return false;
}

bool ReadNumber(std::string_view value, int32_t lo, int32_t hi, int32_t& out) {
  if (value.empty() || value.size() > 3) return false;
  int32_t n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  if (n < lo || n > hi) return false;
  out = n;
  return true;
}

const char* Bool(bool b) {
  return b ? "true" : "false";
}

// One key of the file: how to read its value into a record and write it back.
struct Key {
  const char* name;
  const char* wanted;  // what a good value is, for the message about a bad one
  bool (*read)(std::string_view value, Settings& s);
  std::string (*write)(const Settings& s);
};

const Key kKeys[] = {
    {"scale", "auto, 1, 2 or 3",
     [](std::string_view v, Settings& s) {
       if (Lower(v) == "auto") return s.scale = 0, true;
       return ReadNumber(v, 1, 3, s.scale);
     },
     [](const Settings& s) { return s.scale ? std::to_string(s.scale) : std::string("auto"); }},
    {"fullscreen", "true or false",
     [](std::string_view v, Settings& s) { return ReadBool(v, s.fullscreen); },
     [](const Settings& s) { return std::string(Bool(s.fullscreen)); }},
    {"music_volume", "a whole number from 0 to 10",
     [](std::string_view v, Settings& s) { return ReadNumber(v, 0, kMaxVolume, s.musicVolume); },
     [](const Settings& s) { return std::to_string(s.musicVolume); }},
    {"effects_volume", "a whole number from 0 to 10",
     [](std::string_view v, Settings& s) { return ReadNumber(v, 0, kMaxVolume, s.effectsVolume); },
     [](const Settings& s) { return std::to_string(s.effectsVolume); }},
    {"mute", "true or false", [](std::string_view v, Settings& s) { return ReadBool(v, s.muted); },
     [](const Settings& s) { return std::string(Bool(s.muted)); }},
    {"visual_beep", "true or false",
     [](std::string_view v, Settings& s) { return ReadBool(v, s.visualBeep); },
     [](const Settings& s) { return std::string(Bool(s.visualBeep)); }},
    {"rumble", "true or false",
     [](std::string_view v, Settings& s) { return ReadBool(v, s.rumble); },
     [](const Settings& s) { return std::string(Bool(s.rumble)); }},
};

// A file of another kind altogether (a picture, a program) is not read line by line: one
// message says so, rather than one for each of its "lines".
bool LooksLikeText(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    return uint8_t(c) < 0x20 && c != '\n' && c != '\r' && c != '\t';
  });
}

}  // namespace

std::string WriteSettingsText(const Settings& s) {
  std::string text(kHeader);
  text += '\n';
  for (const Key& k : kKeys) text += std::string(k.name) + " = " + k.write(s) + "\n";
  return text;
}

Settings ReadSettingsText(std::string_view text, std::vector<std::string>& problems) {
  Settings s;
  if (text.size() > kMaxSettingsBytes) {
    problems.push_back("larger than " + std::to_string(kMaxSettingsBytes / 1024) +
                       " KiB, not read; every setting has its default");
    return s;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);  // an editor's UTF-8 mark
  if (!LooksLikeText(text)) {
    problems.push_back("not a text file, not read; every setting has its default");
    return s;
  }
  int line = 0;
  while (!text.empty()) {
    ++line;
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view whole = Trim(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (whole.empty() || whole[0] == '#' || whole[0] == ';') continue;
    const size_t equals = whole.find('=');
    if (equals == std::string_view::npos) {
      problems.push_back("line " + std::to_string(line) + " is not \"key = value\": '" +
                         Shown(whole) + "' left out");
      continue;
    }
    const std::string key = Lower(Trim(whole.substr(0, equals)));
    const std::string_view value = Trim(whole.substr(equals + 1));
    const Key* k = std::find_if(std::begin(kKeys), std::end(kKeys),
                                [&](const Key& known) { return key == known.name; });
    if (k == std::end(kKeys)) {
      problems.push_back("unknown key '" + Shown(key) + "' left out");
      continue;
    }
    Settings read = s;
    if (k->read(value, read)) {
      s = read;
    } else {
      // The default, even when an earlier line of the same key was good: the last one counts.
      k->read(Trim(std::string_view(k->write(Settings()))), s);
      problems.push_back(std::string(k->name) + ": '" + Shown(value) + "' is not " + k->wanted +
                         "; it is " + k->write(Settings()));
    }
  }
  return s;
}

}  // namespace quillorn::platform
