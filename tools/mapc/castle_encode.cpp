// Writes the castle as the MAP resource: 32 records of 552 bytes, no header.
#include "castle.h"

namespace mapc {

std::vector<uint8_t> EncodeCastle(const Castle& castle) {
  std::vector<uint8_t> out(kMapBytes, 0);
  for (int n = 0; n < kRooms; ++n) {
    const Room& r = castle.rooms[n];
    uint8_t* rec = out.data() + n * kRoomBytes;
    for (int k = 0; k < kSlots; ++k) rec[1 + k] = static_cast<uint8_t>(r.people[k]);
    for (int e = 1; e <= 7; ++e) {
      if (!r.exits[e].defined) continue;
      rec[8 + 4 * e] = static_cast<uint8_t>(r.exits[e].dest);
      rec[9 + 4 * e] = static_cast<uint8_t>(r.exits[e].x);
      rec[10 + 4 * e] = static_cast<uint8_t>(r.exits[e].y);
    }
    uint8_t* cells = rec + 40;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        cells[2 * (y * kSize + x)] = r.tile[y][x];
        // The exit layer lies transposed: the exit of (x, y) is in cell x * 16 + y.
        cells[2 * (x * kSize + y) + 1] = r.exitAt[y][x];
      }
    }
  }
  return out;
}

}  // namespace mapc
