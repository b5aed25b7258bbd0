// The page's settings: kept in the browser's storage for this page (localStorage), the same
// text as the desktop's file; the query's flags; lines for the player on the console; the
// controller's rumble. The page's half is page_settings.js.
#include <emscripten.h>

#include <string>

#include "platform/settings/settings_backend.h"
#include "platform/web/web.h"

namespace quillorn::platform {

namespace {

// clang-format off
EM_JS(int, PageTextLength, (int which), {
  var t = quillornSettings.text(which);
  return t === null ? -1 : lengthBytesUTF8(t);
});
EM_JS(void, PageTextCopy, (int which, char* out, int size), {
  stringToUTF8(quillornSettings.text(which) || "", out, size);
});
EM_JS(int, PageStoreText, (const char* text), {
  return quillornSettings.store(UTF8ToString(text));
});
EM_JS(void, PageSay, (const char* text, int problem), {
  (problem ? console.warn : console.log)(UTF8ToString(text));
});
EM_JS(void, PageRumble, (double strength, int ms), { quillornSettings.rumble(strength, ms); });
// clang-format on

enum : int { kStored = 0, kQuery = 1, kWhyNot = 2 };

// False when the page has no such text.
bool PageText(int which, std::string& out) {
  int length = PageTextLength(which);
  if (length < 0) return false;
  out.assign(size_t(length) + 1, '\0');
  PageTextCopy(which, out.data(), length + 1);
  out.resize(size_t(length));
  return true;
}

}  // namespace

namespace settings_backend {

bool ReadStored(std::string& text, std::string& problem) {
  if (PageText(kStored, text)) return true;
  PageText(kWhyNot, problem);
  return false;
}

bool WriteStored(const std::string& text, std::string& problem) {
  if (PageStoreText(text.c_str())) return true;
  PageText(kWhyNot, problem);
  return false;
}

std::string StoredPlace() {
  return "the browser's storage for this page";
}

void ExtraFlags(RunFlags& flags, std::vector<std::string>& problems) {
  std::string query;
  if (PageText(kQuery, query)) ParseQuery(query, flags, problems);
}

Settings Apply(const Settings& wanted, const Settings& before) {
  return web::ApplySettings(wanted, before);
}

void Say(const std::string& text, bool problem) {
  PageSay(text.c_str(), problem ? 1 : 0);
}

void Rumble(float strength, uint32_t ms) {
  PageRumble(double(strength), int(ms));
}

void CueStripChanged() {
  web::StripChanged();
}

}  // namespace settings_backend

}  // namespace quillorn::platform

// The browser left fullscreen (or entered it) by its own means: the setting follows.
extern "C" EMSCRIPTEN_KEEPALIVE void quillorn_web_fullscreen(int on) {
  using namespace quillorn::platform;
  if (CurrentSettings().fullscreen == (on != 0)) return;
  Settings s = CurrentSettings();
  s.fullscreen = on != 0;
  ChangeSettings(s);
}
