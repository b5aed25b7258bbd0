// What the game said on its standard error, read back from the file it went to.
#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace quillorn::test {

// The lines the game itself wrote ("quillorn: ..."), leaving out what the system's libraries
// write on their own.
inline std::vector<std::string> GameLines(const std::string& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.rfind("quillorn: ", 0) == 0) lines.push_back(line);
  return lines;
}

}  // namespace quillorn::test
