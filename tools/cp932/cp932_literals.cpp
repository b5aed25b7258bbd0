// Copies a C++ source, rewriting every non-ASCII character inside a string or character
// literal as the octal escapes of its Shift-JIS (code page 932) bytes. Clang has no
// -fexec-charset=CP932, so the fuzzing and browser builds compile these copies instead;
// octal escapes (never more than three digits) cannot run into the characters that follow
// them, and a second byte of 0x5C stays a byte instead of becoming an escape.
// Usage: cp932_literals IN OUT
#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "cp932_literals: %s\n", what.c_str());
  std::exit(1);
}

size_t Utf8Length(unsigned char lead) {
  if (lead >= 0xF0) return 4;
  if (lead >= 0xE0) return 3;
  return 2;
}

std::string ToCp932Escapes(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == iconv_t(-1)) Fail("iconv cannot convert UTF-8 to CP932");
  char out[16];
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size(), outLeft = sizeof out;
  char* dst = out;
  size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  if (r == size_t(-1) || inLeft != 0) Fail("no CP932 form for \"" + utf8 + "\"");
  std::string escaped;
  for (char* p = out; p != dst; ++p) {
    char octal[8];
    std::snprintf(octal, sizeof octal, "\\%03o", unsigned(static_cast<unsigned char>(*p)));
    escaped += octal;
  }
  return escaped;
}

bool IdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) Fail("usage: cp932_literals IN OUT");
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) Fail(std::string("cannot read ") + argv[1]);
  const std::string src((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  std::string out;
  out.reserve(src.size() + src.size() / 4);
  size_t i = 0;
  size_t tokenStart = 0;  // start of the identifier or number that ends at i
  while (i < src.size()) {
    char c = src[i];
    if (c == '/' && i + 1 < src.size() && src[i + 1] == '/') {  // line comment
      size_t end = src.find('\n', i);
      end = end == std::string::npos ? src.size() : end;
      out.append(src, i, end - i);
      i = end;
    } else if (c == '/' && i + 1 < src.size() && src[i + 1] == '*') {  // block comment
      size_t end = src.find("*/", i + 2);
      end = end == std::string::npos ? src.size() : end + 2;
      out.append(src, i, end - i);
      i = end;
    } else if (c == 'R' && i + 1 < src.size() && src[i + 1] == '"' &&
               (i == 0 || !IdentifierChar(src[i - 1]))) {  // raw string, copied as it stands
      size_t open = src.find('(', i);
      // Built by append: GCC 12 at -O3 warns, wrongly, of an overlapping copy in ")" + substr().
      std::string close = std::string(1, ')').append(src, i + 2, open - i - 2) + '"';
      size_t end = src.find(close, open);
      if (open == std::string::npos || end == std::string::npos) Fail("unended raw string");
      end += close.size();
      for (size_t k = i; k < end; ++k)
        if (static_cast<unsigned char>(src[k]) >= 0x80) Fail("non-ASCII text in a raw string");
      out.append(src, i, end - i);
      i = end;
    } else if (c == '"' ||
               (c == '\'' &&
                !(i > tokenStart && std::isdigit(static_cast<unsigned char>(src[tokenStart]))))) {
      // A literal; a quote inside a number is a digit separator.
      out += c;
      ++i;
      while (i < src.size() && src[i] != c) {
        unsigned char b = static_cast<unsigned char>(src[i]);
        if (b == '\\' && i + 1 < src.size()) {
          out.append(src, i, 2);
          i += 2;
        } else if (b >= 0x80) {
          size_t n = Utf8Length(b);
          out += ToCp932Escapes(src.substr(i, n));
          i += n;
        } else {
          out += src[i++];
        }
      }
      if (i < src.size()) out += src[i++];
    } else {
      if (!IdentifierChar(c)) {
        tokenStart = i + 1;
      } else if (i == 0 || !IdentifierChar(src[i - 1])) {
        tokenStart = i;
      }
      out += c;
      ++i;
    }
  }
  std::ofstream file(argv[2], std::ios::binary);
  file << out;
  if (!file) Fail(std::string("cannot write ") + argv[2]);
  return 0;
}
