// The .deb that cpack made from this build, read back with dpkg-deb: exactly the files a
// player's system should get, with Debian's owners and modes; control fields whose
// dependencies came from dpkg-shlibdeps; and the project's version in every place that shows
// it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "process.h"

namespace {

using quillorn::test::Output;

const std::string kDeb = QUILLORN_DEB, kVersion = QUILLORN_VERSION, kId = QUILLORN_APP_ID;

// One file of the package, gzip-decompressed when asked.
std::string Member(const std::string& path, bool gunzip = false) {
  return Output("dpkg-deb --fsys-tarfile '" + kDeb + "' | tar -xOf - './" + path + "'" +
                (gunzip ? " | gzip -dc" : ""));
}

TEST(Package, HoldsTheGameItsDesktopFilesManualCopyrightAndChangelogOwnedByRoot) {
  const std::string file = "-rw-r--r-- root/root", share = "./usr/share/";
  std::map<std::string, std::string> expected = {
      {"./usr/games/quillorn", "-rwxr-xr-x root/root"},
      {share + "applications/" + kId + ".desktop", file},
      {share + "metainfo/" + kId + ".metainfo.xml", file},
      {share + "man/man6/quillorn.6.gz", file},
      {share + "doc/quillorn/copyright", file},
      {share + "doc/quillorn/changelog.gz", file},
  };
  for (const std::string size : {"16", "32", "48", "64", "128", "256"})
    expected[share + "icons/hicolor/" + size + "x" + size + "/apps/" + kId + ".png"] = file;
  // Every folder on the way to a file, and no other.
  for (auto [path, mode] : std::map(expected))
    for (size_t slash = 1; (slash = path.find('/', slash + 1)) != std::string::npos;)
      expected[path.substr(0, slash + 1)] = "drwxr-xr-x root/root";

  std::istringstream lines(Output("dpkg-deb -c '" + kDeb + "' | awk '{print $6, $1, $2}'"));
  std::map<std::string, std::string> found;
  for (std::string path, mode, owner; lines >> path >> mode >> owner;)
    found[path] = mode + " " + owner;
  for (const auto& [path, mode] : expected) EXPECT_EQ(found[path], mode) << path;  // "": missing
  for (const auto& [path, mode] : found) EXPECT_TRUE(expected.count(path)) << "extra " << path;
}

// The control fields, the dependencies dpkg-shlibdeps found among them, and the version in
// every file that shows it; the metainfo's release date is the day of the changelog's newest
// entry.
TEST(Package, ControlFieldsAndEveryPlaceThatShowsTheVersionShowTheProjects) {
  const auto field = [](const char* name) { return Output("dpkg-deb -f '" + kDeb + "' " + name); };
  const std::string changelog = Member("usr/share/doc/quillorn/changelog.gz", true);
  // The newest entry's day, as date(1) reads its " -- name <mail>  Mon, 07 Dec 2026 19:00:00
  // +0000" line (the offset left out, so that the day is the one written).
  const size_t from = changelog.find(">  "), to = changelog.rfind(' ', changelog.find('\n', from));
  ASSERT_LT(from, to) << changelog;
  const std::string day = Output("date -d '" + changelog.substr(from + 3, to - from - 3) + "' +%F");
  ASSERT_EQ(day.size(), 11u) << changelog;
  const std::pair<std::string, std::string> shown[] = {
      {field("Package"), "quillorn"},
      {field("Version"), kVersion},
      {field("Section"), "games"},
      {field("Maintainer"), "@"},
      {field("Description"), "invisible king"},
      // Versioned dependencies are what dpkg-shlibdeps writes; a hand-written list would not
      // know each library's least version.
      {field("Depends"), "libc6 (>= "},
      {field("Depends"), "libsdl2-2.0-0 (>= "},
      {Member("usr/share/metainfo/" + kId + ".metainfo.xml"),
       "<release version=\"" + kVersion + "\" date=\"" + day.substr(0, 10) + "\"/>"},
      {changelog, "quillorn (" + kVersion + ") "},
      {Member("usr/share/man/man6/quillorn.6.gz", true), "\"Quillorn " + kVersion + "\""},
  };
  for (const auto& [text, part] : shown)
    EXPECT_NE(text.find(part), std::string::npos) << part << " is not in:\n" << text;
}

}  // namespace
