#include <iconv.h>

#include "screenplay.h"

namespace screenplay {

namespace {

// Converts bytes with an open descriptor; false when the input has no code in the target.
bool Convert(iconv_t cd, const std::string& in, std::string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char buffer[16];
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = buffer;
  size_t dstLeft = sizeof buffer;
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == size_t(-1) || srcLeft != 0) return false;
  out.assign(buffer, dst);
  return true;
}

int Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 0;
}

}  // namespace

bool ToShiftJis(const std::string& utf8, std::vector<Character>& out, std::string& bad) {
  iconv_t toSjis = iconv_open("CP932", "UTF-8");
  iconv_t back = iconv_open("UTF-8", "CP932");
  bool ok = toSjis != iconv_t(-1) && back != iconv_t(-1);
  for (size_t at = 0; ok && at < utf8.size();) {
    int length = Utf8Length(static_cast<unsigned char>(utf8[at]));
    Character c;
    c.utf8 = utf8.substr(at, length > 0 ? length : 1);
    std::string again;
    // glibc maps some look-alikes onto the code of another character; only a character
    // that comes back as itself has a code of its own.
    if (length == 0 || at + length > utf8.size() || !Convert(toSjis, c.utf8, c.sjis) ||
        !Convert(back, c.sjis, again) || again != c.utf8) {
      bad = c.utf8;
      ok = false;
      break;
    }
    out.push_back(c);
    at += length;
  }
  if (toSjis != iconv_t(-1)) iconv_close(toSjis);
  if (back != iconv_t(-1)) iconv_close(back);
  return ok;
}

}  // namespace screenplay
