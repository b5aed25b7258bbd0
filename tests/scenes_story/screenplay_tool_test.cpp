// The screenplay compiler refuses a line that the message box cannot show, naming file, line
// number and line; it warns of a row that would begin with punctuation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

namespace screenplay_test {
namespace {

namespace fs = std::filesystem;

// The screenplay files are UTF-8, and so are the compiler's messages; this file is compiled
// with Shift-JIS as its execution character set, so its Japanese texts are written as u8.
#define U8(text) reinterpret_cast<const char*>(u8##text)

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class ScreenplayCompiler : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("screenplay_" + std::to_string(getpid()) + "_" + test);
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Compiles one file of the given UTF-8 text; returns the exit status.
  int Compile(const std::string& text, int limit = 48, int count = 3) {
    std::ofstream(dir / "scene.txt", std::ios::binary) << text;
    return Run("Scene " + std::to_string(limit) + " " + std::to_string(count) + " \"" +
               (dir / "scene.txt").string() + "\"");
  }
  int Run(const std::string& args) {
    out = dir / "lines.cpp";
    fs::path err = dir / "errors.txt";
    std::string cmd = std::string("\"") + SCREENPLAY_PATH + "\" \"" + out.string() + "\" " + args +
                      " 2> \"" + err.string() + "\"";
    int status = std::system(cmd.c_str());
    errors = ReadText(err);
    return status;
  }

  fs::path dir, out;
  std::string errors;
};

// Three good lines around one bad line 3 (after a comment on line 1).
std::string With(const std::string& bad) {
  return U8("# a comment\nking: よいかのう\n") + bad + U8("\nqueen: ダメです！\n");
}

struct Refusal {
  const char* name;
  const char* line;  // UTF-8
  const char* reason;
};

void PrintTo(const Refusal& r, std::ostream* os) {
  *os << r.name;
}

const Refusal kRefusals[] = {
    {"OverTheByteLimit", U8("king: あいうえおかきくけこさしすせそたちつてとなにぬねの"),
     "50 bytes"},
    {"NoShiftJisCode", U8("king: 😀おやつ"), "has no Shift-JIS code"},
    // U+301C converts to the code of U+FF5E and back to that: no code of its own.
    {"LookAlikeWaveDash", U8("king: う〜ん"), "has no Shift-JIS code"},
    {"NoGlyphInTheFont", U8("king: ①おやつ"), "has no glyph"},
    // 41 half-width marks fit 48 bytes but need 20 pixels each: three rows.
    {"ThirdRowWithinTheByteLimit", "king: !!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!", "third row"},
    {"TheLetterBBreaksTheRow", "king: bonbon", "not allowed"},
    {"UnknownSpeaker", U8("kign: あ"), "expected king, queen or guard"},
    {"NoColon", U8("king あ"), "expected king, queen or guard"},
    {"EmptyLine", "queen:   ", "empty line"},
};

class Refusals : public ScreenplayCompiler, public ::testing::WithParamInterface<Refusal> {};

TEST_P(Refusals, FailTheBuildNamingFileLineAndText) {
  const Refusal& r = GetParam();
  EXPECT_NE(Compile(With(r.line)), 0);
  EXPECT_NE(errors.find((dir / "scene.txt").string() + ":3: error: "), std::string::npos) << errors;
  EXPECT_NE(errors.find(r.reason), std::string::npos) << errors;
  EXPECT_NE(errors.find(r.line), std::string::npos) << errors;
  EXPECT_FALSE(fs::exists(out));
}

INSTANTIATE_TEST_SUITE_P(Lines, Refusals, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScreenplayCompiler, TwentyFourFullWidthCharactersFillTwoRowsExactly) {
  std::string line = "king: ";
  for (int i = 0; i < 24; ++i) line += U8("王");
  EXPECT_EQ(Compile(With(line)), 0) << errors;
  EXPECT_NE(Compile(With(line + U8("様")), 50), 0) << errors;  // the 25th is on a third row
  EXPECT_NE(errors.find(U8("third row from \"様\"")), std::string::npos) << errors;
}

TEST_F(ScreenplayCompiler, TheByteLimitIsTheScenes) {
  EXPECT_EQ(Compile(With(U8("king: あいうえおかきくけこさしすせそたちつて"))), 0) << errors;
  EXPECT_NE(Compile(With(U8("king: あいうえおかきくけこさしすせそたちつて")), 36), 0);
  EXPECT_NE(errors.find("38 bytes, over the limit of 36"), std::string::npos) << errors;
}

TEST_F(ScreenplayCompiler, TheCountOfLinesMustBeTheScenes) {
  EXPECT_NE(Compile(With(U8("king: ふむ")), 48, 5), 0);
  EXPECT_NE(errors.find("3 lines, but the scene speaks 5"), std::string::npos) << errors;
}

TEST_F(ScreenplayCompiler, ARowBeginningWithPunctuationIsOnlyWarnedOf) {
  // Twelve full-width characters fill the first row, so the comma would begin the second.
  EXPECT_EQ(Compile(With(U8("king: あいうえおかきくけこさし、すせそ"))), 0);
  EXPECT_NE(errors.find(U8(":3: warning: the second row begins with \"、\"")), std::string::npos)
      << errors;
  EXPECT_TRUE(fs::exists(out));
}

TEST_F(ScreenplayCompiler, WritesShiftJisBytesWithTheSpeaker) {
  ASSERT_EQ(Compile(U8("guard: はっ！\n"), 40, 1), 0) << errors;
  std::string table = ReadText(out);
  // は 82CD, っ 82C1, ！ 8149
  EXPECT_NE(table.find("{kSpeakerGuard, \"\\202\\315\\202\\301\\201\\111\"}"), std::string::npos)
      << table;
  EXPECT_NE(table.find("kSceneLines[kSceneLineCount]"), std::string::npos) << table;
}

// The game's own screenplay compiles without a single warning.
TEST_F(ScreenplayCompiler, TheGamesScreenplayIsClean) {
  std::string dirs = std::string(SCREENPLAY_DIR);
  EXPECT_EQ(Run("Story 48 50 \"" + dirs + "/story.txt\" Ending 40 41 \"" + dirs + "/ending.txt\""),
            0);
  EXPECT_EQ(errors, "");
}

}  // namespace
}  // namespace screenplay_test
