// mapc: compiles the readable castle source into the MAP resource.
// Usage: mapc TILES.txt CASTLE_DIR OUT.bin
// Refuses, and writes nothing, when any room breaks a rule of the castle.
#include <cstdio>
#include <fstream>

#include "castle.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mapc TILES.txt CASTLE_DIR OUT.bin\n");
    return 2;
  }
  mapc::Castle castle;
  std::vector<std::string> errors;
  if (mapc::ReadCastle(argv[1], argv[2], castle, errors)) mapc::CheckCastle(castle, errors);
  if (!errors.empty()) {
    for (const std::string& e : errors) std::fprintf(stderr, "mapc: %s\n", e.c_str());
    std::remove(argv[3]);
    return 1;
  }
  std::vector<uint8_t> bytes = mapc::EncodeCastle(castle);
  std::ofstream out(argv[3], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
