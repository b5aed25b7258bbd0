// The player's settings: the file's text written and read back, spoilt files and values, the
// file kept through a rename and read at the next start, a place that cannot be written, the
// flags of one run (in-process and on the real program, exit status 2) and the page's query.
#include "platform/settings/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/audio.h"
#include "platform/headless/headless.h"
#include "platform/settings/settings_file.h"
#include "process.h"
#include "shell/win_main.h"

namespace quillorn::platform {
namespace {

namespace fs = std::filesystem;

// Every problem is one line naming what was wrong; each good key is kept. What is read is
// written as a comment line and one line a key, which reads back the same without a word.
TEST(SettingsText, SpoiltFilesAndBadValuesFallBackKeyByKeyAndWhatIsReadIsWrittenBack) {
  const std::string huge(kMaxSettingsBytes + 1, '#');
  const struct {
    std::string text;
    Settings want;
    std::vector<std::string> problems;  // a part of each line said
  } cases[] = {
      {"", {}, {}},
      {"\n\n# only a comment\n; and another\n", {}, {}},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), {}, {"not a text file"}},
      {std::string("mute = true\0", 12), {}, {"not a text file"}},
      {huge, {}, {"larger than 64 KiB"}},
      {"music_volume = 11\nmute = true\n",
       {.muted = true},
       {"music_volume: '11' is not a whole number from 0 to 10; it is 10"}},
      {"scale = 4\nfullscreen = maybe\nrumble = on\n",
       {.rumble = true},
       {"scale: '4' is not auto, 1, 2 or 3", "fullscreen: 'maybe' is not true or false"}},
      {"colour = red\neffects_volume = 3\n",
       {.effectsVolume = 3},
       {"unknown key 'colour' left out"}},
      {"visual_beep\nmute = 1\n", {.muted = true}, {"line 1 is not \"key = value\""}},
      {"\xEF\xBB\xBFMUTE = Yes\r\nVisual_Beep = ON\r\nscale = auto\r\n",
       {.muted = true, .visualBeep = true},
       {}},
      {"  music_volume   =   7  \n\tscale=2\n", {.scale = 2, .musicVolume = 7}, {}},
      {"effects_volume = 3\neffects_volume = 5\n", {.effectsVolume = 5}, {}},
      {"effects_volume = 3\neffects_volume = loud\n", {}, {"effects_volume: 'loud'"}},
      {"music_volume = -1\nmusic_volume = 1000\n", {}, {"'-1'", "'1000'"}},
      {"scale = 2\xFF\n", {}, {"scale: '2\\xFF'"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 60));
    std::vector<std::string> problems;
    EXPECT_EQ(ReadSettingsText(c.text, problems), c.want);
    ASSERT_EQ(problems.size(), c.problems.size());
    for (size_t i = 0; i < problems.size(); ++i)
      EXPECT_NE(problems[i].find(c.problems[i]), std::string::npos) << problems[i];
    const std::string written = WriteSettingsText(c.want);
    problems.clear();
    EXPECT_TRUE(ReadSettingsText(written, problems) == c.want && problems.empty()) << written;
    EXPECT_EQ(
        written.substr(0, 2) + std::to_string(std::count(written.begin(), written.end(), '\n')),
        "# 8");
  }
}

// A folder of the test's own, gone afterwards.
class SettingsFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quillorn-settings-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  // A fresh start of the program with these flags, its settings in folder.
  int Start(const fs::path& folder, std::vector<const char*> args = {}) {
    headless::Reset(1000);
    headless::SetSettingsFolder(folder.string());
    args.insert(args.begin(), "quillorn");
    return StartSettings(int(args.size()), args.data());
  }
  // The game on top, as the program starts it after its settings.
  static void Launch() {
    ASSERT_TRUE(StartUp());
    headless::SetActive(true);
    headless::Pump();
  }
  std::string File() const { return Read(folder_ / "settings.ini"); }
  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path folder_;
};

// A spoilt file is said key by key and its good keys hold; it stays as it is until a change,
// which is written whole through a rename and found at the next start.
TEST_F(SettingsFolder, AChangeIsWrittenWholeThroughARenameAndTheNextStartFindsIt) {
  const std::string spoilt = "# mine\nmute = true\nmusic_volume = loud\nshoe_size = 44\n";
  std::ofstream(folder_ / "settings.ini") << spoilt;
  ASSERT_EQ(Start(folder_), -1);
  EXPECT_EQ(CurrentSettings(), Settings{.muted = true});
  const std::string said = headless::SaidText();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_NE(said.find("settings.ini: music_volume: 'loud'"), std::string::npos) << said;
  EXPECT_NE(said.find("settings.ini: unknown key 'shoe_size'"), std::string::npos) << said;
  EXPECT_EQ(headless::SettingsWrites(), 0);  // nothing changed, nothing written
  EXPECT_EQ(File(), spoilt);
  Launch();
  for (uint32_t id : {uint32_t(kCmdMute), kCmdMusicVolume + 4u, uint32_t(kCmdRumble),
                      uint32_t(kCmdRumble), uint32_t(kCmdVisualBeep), uint32_t(kCmdMute)})
    headless::Command(id);
  headless::KeyDownWith('2', true);
  headless::KeyDownWith(kKeyReturn, false, true);
  headless::Command(kCmdMusicVolume + 4);  // already so: not written again
  EXPECT_EQ(headless::SettingsWrites(), 8);
  const std::string text = File();
  EXPECT_EQ(text, WriteSettingsText(StoredSettings()));
  // Nothing but the file is left in the folder: the temporary one was renamed.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

  ASSERT_EQ(Start(folder_), -1);
  const Settings want = {
      .scale = 2, .fullscreen = true, .musicVolume = 4, .muted = true, .visualBeep = true};
  EXPECT_EQ(CurrentSettings(), want);
  EXPECT_TRUE(Muted() && GroupVolume(SoundGroup::kMusic) == 4);
  EXPECT_EQ(headless::SaidText(), "");
}

// The place fails in one way or another; the game plays on with what it has.
TEST_F(SettingsFolder, APlaceThatCannotBeReadOrWrittenLeavesTheSettingsForThisRun) {
  std::ofstream(folder_ / "a-file") << "not a folder";
  fs::create_directories(folder_ / "dir" / "settings.ini");  // a folder where the file goes
  fs::create_directories(folder_ / "busy");
  std::ofstream(folder_ / "busy" / "settings.ini") << "effects_volume = 2\n";
  fs::create_directories(folder_ / "busy" / ("settings.ini.new-" + std::to_string(getpid())));
  const struct {
    fs::path folder;
    const char* readProblem;  // said at the start
    Settings start;
  } cases[] = {
      {folder_ / "a-file" / "sub", "Not a directory", {}},
      {folder_ / "dir", "not a file", {}},
      {folder_ / "busy", "", {.effectsVolume = 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder.string());
    ASSERT_EQ(Start(c.folder), -1);
    EXPECT_EQ(CurrentSettings(), c.start);
    EXPECT_NE(headless::SaidText().find(c.readProblem), std::string::npos) << headless::SaidText();
    Launch();
    headless::Command(kCmdMute);
    headless::Command(kCmdEffectsVolume + 9);
    EXPECT_TRUE(Muted() && GroupVolume(SoundGroup::kEffects) == 9);  // in force all the same
    const std::string said = headless::SaidText();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.readProblem[0] ? 2 : 1)
        << said;  // once
    EXPECT_NE(said.find("the settings hold for this run only"), std::string::npos) << said;
    headless::Tick(3);
    EXPECT_TRUE(headless::WindowExists());
  }
  // The file that was there is whole, as it was.
  EXPECT_EQ(Read(folder_ / "busy" / "settings.ini"), "effects_volume = 2\n");
}

TEST_F(SettingsFolder, FlagsHoldForOneRunAndABadOneEndsItWithTheUsageAndStatus2) {
  const struct {
    std::vector<const char*> args;
    int code;
    std::string said;  // a part of what the player is told
    Settings run;
  } cases[] = {
      {{}, -1, "", {}},
      {{"--scale", "2"}, -1, "", {.scale = 2}},
      {{"--scale=3", "--mute"}, -1, "", {.scale = 3, .muted = true}},
      {{"--fullscreen", "--visual-beep"}, -1, "", {.fullscreen = true, .visualBeep = true}},
      {{"--help"}, 0, "Usage: quillorn [flag...]", {}},
      {{"--version"}, 0, "Quillorn " QUILLORN_VERSION "\n", {}},
      {{"--scale"}, 2, "quillorn: --scale needs a value: 1, 2 or 3\nUsage:", {}},
      {{"--scale", "4"}, 2, "--scale takes 1, 2 or 3, not '4'", {}},
      {{"--scale=", "2"}, 2, "not ''", {}},
      {{"--mute=yes"}, 2, "--mute takes no value", {}},
      {{"--loud"}, 2, "unknown flag '--loud'\nUsage:", {}},
      {{"-m"}, 2, "unexpected argument '-m'", {}},
      {{"--mute", "game.sav"}, 2, "unexpected argument 'game.sav'", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    EXPECT_EQ(Start(folder_, c.args), c.code);
    EXPECT_NE(headless::SaidText().find(c.said), std::string::npos) << headless::SaidText();
    if (c.code == -1) {
      EXPECT_EQ(CurrentSettings(), c.run);
    }
  }
  // A flag changes nothing stored: with --mute, a change of the volume keeps the mute off.
  ASSERT_EQ(Start(folder_, {"--mute", "--scale", "3"}), -1);
  Launch();
  headless::Command(kCmdEffectsVolume + 6);
  EXPECT_TRUE(Muted());
  ASSERT_EQ(Start(folder_), -1);
  EXPECT_EQ(CurrentSettings(), Settings{.effectsVolume = 6});
}

TEST(Query, ThePagesQueryTakesTheSameFlagsByNameAndLeavesOutABadOne) {
  const struct {
    const char* query;
    int32_t scale;
    bool fullscreen, mute, visualBeep;
    size_t problems;
  } cases[] = {
      {"?scale=2&visual-beep=1", 2, false, false, true, 0},
      {"?mute&fullscreen=1", 0, true, true, false, 0},
      {"?clock=1000&utm_source=x&visual-beep=1", 0, false, false, true, 0},
      {"?scale=9&mute=yes&visual-beep=1", 0, false, false, true, 2},
      {"?scale=&&=&mute=1", 0, false, true, false, 1},
  };
  for (const auto& c : cases) {
    RunFlags f;
    std::vector<std::string> problems;
    ParseQuery(c.query, f, problems);
    EXPECT_EQ(std::vector<int32_t>({f.scale, f.fullscreen, f.mute, f.visualBeep}),
              std::vector<int32_t>({c.scale, c.fullscreen, c.mute, c.visualBeep}))
        << c.query;
    EXPECT_EQ(problems.size(), c.problems) << c.query;
  }
}

// The real program: the flags are looked at before anything else, so no display is needed.
TEST(RealProgram, AnswersVersionAndEndsWithStatus2OnABadFlag) {
  const struct {
    const char* args;
    int code;
    const char* out;  // a part of its standard output, or of its standard error when 2
  } cases[] = {
      {"--version", 0, "Quillorn " QUILLORN_VERSION},
      {"--no-such-flag", 2, "unknown flag '--no-such-flag'\nUsage:"},
  };
  for (const auto& c : cases) {
    int code = -1;
    const std::string out =
        test::Output(std::string("DISPLAY= XDG_CONFIG_HOME=/nonexistent ") + QUILLORN_EXE + " " +
                         c.args + (c.code ? " 2>&1 >/dev/null" : ""),
                     &code);
    EXPECT_EQ(code, c.code) << c.args;
    EXPECT_NE(out.find(c.out), std::string::npos) << c.args << ": " << out;
  }
}

}  // namespace
}  // namespace quillorn::platform
