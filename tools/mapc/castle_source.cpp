// Reads the readable castle source: a legend of characters and one grid per room.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "castle.h"

namespace mapc {
namespace {

std::string Where(int room, int x, int y) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "room %d, tile (%d, %d): ", room, x, y);
  return buf;
}

std::string RoomWhere(int room) {
  return "room " + std::to_string(room) + ": ";
}

std::string StripComment(const std::string& line) {
  size_t p = line.find("//");
  std::string s = p == std::string::npos ? line : line.substr(0, p);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.pop_back();
  return s;
}

bool ReadTileNames(const std::string& file, std::map<std::string, int>& names,
                   std::vector<std::string>& errors) {
  std::ifstream in(file);
  if (!in) {
    errors.push_back("cannot read " + file);
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream ss(line);
    int id;
    std::string name;
    if (ss >> id >> name && id >= 0 && id < 256) names[name] = id;
  }
  return !names.empty();
}

using Legend = std::map<char, int>;

// "C name" lines: the character C stands for the tile called name.
bool ParseLegendLine(const std::string& text, const std::map<std::string, int>& names,
                     Legend& legend, std::string& problem) {
  if (text.size() < 3 || text[1] != ' ') {
    problem = "a legend line is a character, a space and a tile name";
    return false;
  }
  char c = text[0];
  if (c >= '1' && c <= '7') {
    problem = "the digits 1 to 7 mark doorways and cannot stand for a tile";
    return false;
  }
  std::string name = text.substr(2);
  while (!name.empty() && name.front() == ' ') name.erase(name.begin());
  auto it = names.find(name);
  if (it == names.end()) {
    problem = "unknown tile name '" + name + "'";
    return false;
  }
  legend[c] = it->second;
  return true;
}

void ReadRoom(const std::string& file, int n, const std::map<std::string, int>& names,
              const Legend& common, Room& room, std::vector<std::string>& errors) {
  std::ifstream in(file);
  if (!in) {
    errors.push_back(RoomWhere(n) + "cannot read " + file);
    return;
  }
  Legend legend = common;
  std::array<int, 8> doorTile{};  // tile under each exit's doorway, floor by default
  std::vector<std::string> grid;
  bool inGrid = false;
  std::string line;
  int slot = 0;
  while (std::getline(in, line)) {
    if (inGrid) {
      std::string row = line;
      while (!row.empty() && row.back() == '\r') row.pop_back();
      if (row.empty()) continue;
      grid.push_back(row);
      continue;
    }
    std::string text = StripComment(line);
    if (text.empty()) continue;
    std::istringstream ss(text);
    std::string key;
    ss >> key;
    if (key == "title") {
      std::getline(ss, room.title);
    } else if (key == "people") {
      int t;
      while (ss >> t) {
        if (slot >= kSlots) {
          errors.push_back(RoomWhere(n) + "more than 7 person slots");
          break;
        }
        if (t < 0 || t > 8) errors.push_back(RoomWhere(n) + "person type must be 0 to 8");
        room.people[slot++] = t;
      }
    } else if (key == "exit") {
      int e, dest, x, y;
      if (!(ss >> e >> dest >> x >> y) || e < 1 || e > 7 || dest < 0 || dest >= kRooms || x < 0 ||
          x >= kSize || y < 0 || y >= kSize) {
        errors.push_back(RoomWhere(n) + "an exit line is: exit N ROOM X Y [tile name]");
        continue;
      }
      if (room.exits[e].defined)
        errors.push_back(RoomWhere(n) + "exit " + std::to_string(e) + " given twice");
      room.exits[e] = {true, dest, x, y};
      std::string tileName;
      if (ss >> tileName) {
        auto it = names.find(tileName);
        if (it == names.end())
          errors.push_back(RoomWhere(n) + "unknown tile name '" + tileName + "'");
        else
          doorTile[e] = it->second;
      }
    } else if (key == "legend") {
      std::string problem;
      size_t at = text.find("legend") + 6;
      std::string rest = at < text.size() ? text.substr(at + 1) : "";
      if (!ParseLegendLine(rest, names, legend, problem)) errors.push_back(RoomWhere(n) + problem);
    } else if (key == "grid") {
      inGrid = true;
    } else {
      errors.push_back(RoomWhere(n) + "unknown line '" + text + "'");
    }
  }
  if (grid.size() != kSize) {
    errors.push_back(RoomWhere(n) + "the grid must have 16 rows, it has " +
                     std::to_string(grid.size()));
    return;
  }
  for (int y = 0; y < kSize; ++y) {
    if (grid[y].size() != kSize) {
      errors.push_back(Where(n, 0, y) + "row " + std::to_string(y) + " must be 16 characters");
      continue;
    }
    for (int x = 0; x < kSize; ++x) {
      char c = grid[y][x];
      if (c >= '1' && c <= '7') {
        int e = c - '0';
        room.exitAt[y][x] = static_cast<uint8_t>(e);
        room.tile[y][x] = static_cast<uint8_t>(doorTile[e]);
        continue;
      }
      auto it = legend.find(c);
      if (it == legend.end()) {
        errors.push_back(Where(n, x, y) + "character '" + std::string(1, c) +
                         "' is not in the legend");
        continue;
      }
      room.tile[y][x] = static_cast<uint8_t>(it->second);
    }
  }
  room.defined = true;
}

}  // namespace

bool ReadCastle(const std::string& tilesFile, const std::string& dir, Castle& castle,
                std::vector<std::string>& errors) {
  size_t before = errors.size();
  std::map<std::string, int> names;
  if (!ReadTileNames(tilesFile, names, errors)) return false;
  Legend legend;
  std::ifstream in(dir + "/legend.txt");
  if (!in) {
    errors.push_back("cannot read " + dir + "/legend.txt");
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    std::string text = StripComment(line);
    if (text.empty()) continue;
    std::string problem;
    if (!ParseLegendLine(text, names, legend, problem)) errors.push_back("legend: " + problem);
  }
  for (int n = 0; n < kRooms; ++n) {
    char file[32];
    std::snprintf(file, sizeof file, "/room%02d.txt", n);
    ReadRoom(dir + file, n, names, legend, castle.rooms[n], errors);
  }
  return errors.size() == before;
}

const char* DirectionName(int d) {
  static const char* const kNames[4] = {"up", "right", "down", "left"};
  return d >= 0 && d < 4 ? kNames[d] : "none";
}

}  // namespace mapc
