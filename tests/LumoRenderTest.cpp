// Runs the built lumo-render from outside, as scripts do: the files it writes,
// its exit statuses and messages, and the glyph layout it prints.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "SettingsFile.h"
#include "TestSupport.h"

namespace lumo {

namespace fs = std::filesystem;
using test::Entries;
using test::WriteFileBytes;
using Args = std::vector<std::string>;
using Lines = std::vector<std::string>;

struct Outcome {
  int status = -1;
  std::string out, err;
};

Lines SplitLines(const std::string& text) {
  Lines lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string SettingsFile(const LabelSettings& settings) {
  const SettingsBytes bytes = EncodeSettings(settings);
  return {bytes.begin(), bytes.end()};
}

// 41 mm at 61 dpi: small files, quickly written.
Args Small(Args more) {
  more.insert(more.begin(), {"--diameter", "41", "--dpi", "61"});
  return more;
}

class LumoRender : public ::testing::Test {
 protected:
  // Runs lumo-render in work(), which holds only what it wrote; a hung run is ended.
  Outcome Run(const Args& args, const std::string& input = "", const std::string& env = "") {
    const fs::path io = io_.path();
    WriteFileBytes(io / "in", input);
    std::string command =
        "cd '" + work().string() + "' && " + env + " timeout 60 '" LUMO_RENDER_PATH "'";
    for (const std::string& arg : args) command += " '" + arg + "'";
    command += " <'" + (io / "in").string() + "' >'" + (io / "out").string() + "' 2>'" +
               (io / "err").string() + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::ReadFileBytes(io / "out"),
            test::ReadFileBytes(io / "err")};
  }
  [[nodiscard]] const fs::path& work() const { return work_.path(); }

 private:
  test::TempDir work_, io_;
};

// An error: its status, one line on standard error, nothing else written anywhere.
TEST_F(LumoRender, ErrorsAreOneLineWithTheirStatus) {
  WriteFileBytes(work() / "odd.lum", SettingsFile({120, 600, 150, 200, 1, 30}));
  WriteFileBytes(work() / "short.lum", std::string(10, '\0'));
  WriteFileBytes(work() / "huge.lum", SettingsFile({900, 600, 150, 45, 1, 30}));
  WriteFileBytes(work() / "nan.lum", SettingsFile({std::nan(""), 600, 150, 45, 1, 30}));
  WriteFileBytes(work() / "zero.lum", SettingsFile({-120, -600, 150, 45, 1, 30}));
  WriteFileBytes(work() / "tiny.lum", SettingsFile({0.01, 600, 150, 45, 1, 30}));
  WriteFileBytes(work() / "fraction.lum", SettingsFile({41, 2080.99, 150, 45, 1, 30}));
  // No fonts at all, and fonts that have no Japanese (DejaVu, which fontconfig
  // itself needs on Debian).
  WriteFileBytes(work() / "none.conf", "<fontconfig><dir>/nonexistent</dir></fontconfig>");
  WriteFileBytes(work() / "latin.conf",
                 "<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir></fontconfig>");
  const std::string fonts = "FONTCONFIG_FILE='" + work().string() + "/";
  fs::create_directory(work() / "x.txt");
  ASSERT_EQ(mkfifo((work() / "pipe.txt").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((work() / "pipe.lum").c_str(), 0600), 0);
  // The window's saved face choice, which lumo-render takes too.
  const std::string saved = "XDG_CONFIG_HOME='" + work().string() + "/config' ";
  fs::create_directories(work() / "config/lumo");
  WriteFileBytes(work() / "config/lumo/face", "Saved Nowhere\n");
  const Lines before = Entries(work());
  struct Case {
    Args args;
    int status;
    std::string part, env = {};
  };
  const Case cases[] = {
      {{"--diameter", "600"}, 2, "--diameter 600 refused: the diameter must be 41 to 599"},
      {{"--first-ring", "16"}, 2, "(16 + 30)"},
      {{"--rings", "80", "--used-rings", "30"}, 2, "--rings 80 --used-rings 30 refused"},
      {{"--diameter", "599", "--dpi", "23999"}, 2, "--diameter 599 --dpi 23999 refused"},
      // A file's own value that breaks a rule cannot be confirmed on the command line.
      {{"--settings", "odd.lum", "--rings", "200"}, 2, "1 to 79"},
      {{"--diameter", "12.5"}, 2, "needs a whole number"},
      {{"--dpi"}, 2, "needs a value"},
      {{"--colour", "red"}, 2, "unknown option --colour"},
      {{"--format", "jpg"}, 2, "--format jpg refused: the format must be one of"},
      {{"--format=PDF"}, 2, "one of bmp, png, pdf, svg"},
      {{"a.txt", "b.txt"}, 2, "more than one INPUT"},
      {{"--settings", "short.lum"}, 1, "10 bytes"},
      {{"--settings", "none.lum"}, 1, "none.lum: No such file"},
      {{"--settings", "huge.lum"}, 2, "8191"},
      {{"--settings", "nan.lum"}, 2, "must be finite numbers"},
      {{"--settings", "zero.lum"}, 2, "must be finite numbers greater than 0"},
      {{"--settings", "tiny.lum"}, 1, "no pixels"},
      {Small({"missing.txt"}), 1, "missing.txt: No such file"},
      {Small({"two\nlines.txt"}), 1, "two\\x0alines.txt"},         // one line whatever a name holds
      {Small({"esc\x1b[2J\x7f.txt"}), 1, "esc\\x1b[2J\\x7f.txt"},  // no escape reaches the terminal
      // Within the limit for 41 mm, not for 100: the file's fraction counts.
      {{"--settings", "fraction.lum", "--diameter", "100"}, 2, "8191 pixels"},
      {Small({""}), 2, "INPUT is empty"},
      {Small({"no/such/folder"}), 1, "no/such/folder: No such file"},
      {Small({"pipe.txt"}), 1, "pipe.txt: it is a named pipe"},
      {{"--settings", "pipe.lum"}, 1, "pipe.lum: it is a named pipe"},
      {Small({"x.txt"}), 1, "folder"},
      {Small({"-o", "missing"}), 1, "No such file"},
      {Small({}), 1, "lumo000.bmp", "ulimit -f 20;"},  // the cut-off file is not left behind
      {Small({}), 1, "cannot load the face pipe.lum", "LUMO_FONT=pipe.lum"},  // never waited for
      {Small({}), 1, "no Japanese face", fonts + "none.conf'"},
      // --font, then LUMO_FONT, then the saved choice.
      {Small({"--font", "No Such Font"}), 1, "no installed font family is called \"No Such Font\""},
      {Small({"--font", "/nonexistent.ttf"}), 1, "/nonexistent.ttf", "LUMO_FONT=pipe.lum"},
      {Small({}), 1, "pipe.lum", saved + "LUMO_FONT=pipe.lum"},
      {Small({}), 1, "\"Saved Nowhere\"", saved},
      {Small({"--font="}), 2, "--font needs a family or a font file"},
      {Small({"--sheet", "a4-2", "--positions", "1,3"}), 2, "sheet a4-2 has no position 3"},
      {Small({"--sheet", "a4-2", "--format", "png"}), 2, "--sheet writes a PDF page"},
      {Small({"--sheet", "nope"}), 2, "no such sheet; lumo-render --sheet list"},
      {Small({}), 1, "no Japanese face", fonts + "latin.conf'"},
      {Small({}), 1, "cannot write to standard output", R"(sh -c 'exec "$0" "$@" >/dev/full')"},
  };
  for (const auto& [args, status, part, env] : cases) {
    const Outcome outcome = Run(args, "", env);
    fs::remove(work() / "lumo000.bmp");  // written before standard output failed
    const std::string& err = outcome.err;
    EXPECT_TRUE(outcome.status == status && outcome.out.empty() &&
                err.find(part) != std::string::npos && err.find('\n') == err.size() - 1)
        << testing::PrintToString(args) << env << " gave " << outcome.status << ": " << outcome.out
        << outcome.err;
  }
  EXPECT_EQ(Entries(work()), before);
}

// Each case's standard output then standard error, line by line, hold the texts given.
TEST_F(LumoRender, InputsThatAreTaken) {
  WriteFileBytes(work() / "photo.jpg", "jpeg");
  fs::create_directory(work() / "photos");
  fs::create_directory(work() / "out");
  const std::string written = (fs::canonical(work()) / "lumo000.bmp").string();
  const std::tuple<Args, std::string, Lines> cases[] = {
      // Neither a ".txt" file nor a folder: an empty label, and a word on standard error.
      {Small({"photo.jpg"}), "", {written, "nothing could be listed"}},
      {Small({"photos"}), "", {written}},
      {Small({"--used-rings", "1", "-"}),
       "a\r\nb\r\nc\r\nd",
       {written,
        "lumo-render: warning: 2 characters (4 bytes) of the text did not fit on the label"}},
      {Small({"--font", "DejaVu Sans", "-"}), "x\xf3\xb0\x80\x80\xf3\xb0\x80\x81",
       {written, "lumo-render: warning: 2 characters have no glyph in any installed font"}},
      {Small({"-o", "out"}), "", {"out/lumo000.bmp"}},
  };
  for (const auto& [args, input, starts] : cases) {
    const Outcome outcome = Run(args, input);
    const Lines lines = SplitLines(outcome.out + outcome.err);
    bool match = outcome.status == 0 && lines.size() == starts.size();
    for (std::size_t i = 0; match && i < lines.size(); ++i)
      match = lines[i].find(starts[i]) != std::string::npos;
    EXPECT_TRUE(match) << testing::PrintToString(args) << " gave " << outcome.status << ": "
                       << outcome.out << outcome.err;
    fs::remove(work() / "lumo000.bmp");
  }
}

// Linux's forms of code page 932 characters fold onto them; characters
// beyond it keep their code points.
TEST_F(LumoRender, EveryCharacterOfPipedTextIsLaidOut) {
  const Outcome outcome = Run({"--layout", "-"}, "10時〜12時\nCafé €5 ™\n𠮷野家\n❤ ❤\uFE0F");
  std::string codes;
  for (const std::string& line : SplitLines(outcome.out)) codes += line.substr(line.rfind(' '));
  EXPECT_EQ(codes,
            " 31 30 8e9e 8160 31 32 8e9e 43 61 66 u+e9 20 u+20ac 35 20 u+2122 u+20bb7 96ec 89c6"
            " u+2764 20 u+2764+fe0f");
}

// The sheet's page with the label on its second place: every edge of the ink
// lies where the bitmap's does about that place's centre, (105, 218.3) mm.
TEST_F(LumoRender, SheetPagesPutTheLabelAtItsPlaces) {
  const std::string text = "円盤のラベル\n一行目\n二行目\n三行目\n下の半分です\nもう一行";
  const Args label = {"--diameter", "60", "--dpi", "300",         "--chars-per-circle", "40",
                      "--rings",    "12", "--first-ring", "0", "--used-rings",       "4"};
  Args png = label, sheet = label;
  png.insert(png.end(), {"--format", "png", "-"});
  sheet.insert(sheet.end(), {"--sheet", "a4-2", "--positions", "2", "-"});
  ASSERT_EQ(Run(png, text).status, 0);
  ASSERT_EQ(Run(sheet, text).status, 0);
  const test::Grey bitmap = test::DecodePng(work() / "lumo000.png");
  const test::Grey page = test::RasterisePdf(work() / "lumo000.pdf", 300);
  const auto mm = [](double pixels) { return pixels * 25.4 / 300; };
  EXPECT_NEAR(mm(page.width), 210, 0.2);
  const test::InkBox ink = test::InkOf(bitmap), printed = test::InkOf(page);
  const double middle = bitmap.width / 2.0;
  EXPECT_NEAR(mm(printed.left), 105.0 + mm(ink.left - middle), 0.2);
  EXPECT_NEAR(mm(printed.right + 1), 105.0 + mm(ink.right + 1 - middle), 0.2);
  EXPECT_NEAR(mm(printed.top), 218.3 + mm(ink.top - middle), 0.2);
  EXPECT_NEAR(mm(printed.bottom + 1), 218.3 + mm(ink.bottom + 1 - middle), 0.2);
  // The known sheets: the built-in ones, then the user's.
  fs::create_directories(work() / "config/lumo");
  WriteFileBytes(work() / "config/lumo/sheets.conf",
                 "[mine]\npage = 100 100\ndisc = 80\nposition = 50 50\n");
  const Outcome list = Run({"--sheet", "list"}, "", "XDG_CONFIG_HOME='" + work().string() + "/config'");
  const Lines lines = SplitLines(list.out);
  ASSERT_EQ(lines.size(), 6u) << list.out << list.err;
  EXPECT_TRUE(lines[0].starts_with("a4-2  210 x 297 mm, 2 discs of 117 mm, hole 41 mm"));
  EXPECT_EQ(lines[5], "mine  100 x 100 mm, 1 disc of 80 mm, hole 15 mm");
}

// Deeper than PATH_MAX the current directory has no absolute name a system
// call takes; the label goes there all the same, and the path is printed.
TEST_F(LumoRender, WritesIntoACurrentDirectoryDeeperThanPathMax) {
  const std::string name(250, 'd');
  const std::string descend =
      "for i in $(seq 20); do mkdir " + name + " && cd -P " + name + "; done;";
  const Outcome outcome = Run(Small({}), "", descend);
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(outcome.out.ends_with(name + "/lumo000.bmp\n") && outcome.out.size() > 5000);
  // Removed here: the test's own clean-up goes by absolute names.
  EXPECT_EQ(std::system(("cd '" + work().string() + "' && rm -rf " + name).c_str()), 0);
}

// Settings whose capacity wraps to about 2^31 and a 2 GB file: only a bounded
// start of it is read.
TEST_F(LumoRender, HugeInputsAreReadOnlyAsFarAsALabelCanReach) {
  { std::ofstream huge(work() / "huge.txt", std::ios::binary); }
  fs::resize_file(work() / "huge.txt", std::uintmax_t{2} << 30);  // sparse: NUL bytes
  // A layout needs no canvas, not even one of 8173 x 8173 pixels (267 MB).
  for (const Args& args : {Args{"--layout", "--rings", "79", "--first-ring", "-536870911",
                                "--used-rings", "536870911", "huge.txt"},
                           Args{"--layout", "--diameter", "346", "--dpi", "600", "huge.txt"}})
    EXPECT_EQ(Run(args).status, 0) << testing::PrintToString(args);
  // What did not fit is counted, up to 64 MiB of it, from a file and from
  // standard input alike.
  const Outcome huge = Run(Small({"huge.txt"}));
  EXPECT_TRUE(huge.err.starts_with("lumo-render: warning: more than 671")) << huge.err;
  const std::string text = test::Repeat("円盤のラベル\n", 100000);
  WriteFileBytes(work() / "big.txt", text);
  const Outcome file = Run(Small({"big.txt"})), piped = Run(Small({"-"}), text);
  EXPECT_EQ(file.err, piped.err);
  EXPECT_NE(file.err.find(" characters (1"), std::string::npos) << file.err;
  rusage last{};
  ::getrusage(RUSAGE_CHILDREN, &last);
  EXPECT_LT(last.ru_maxrss, 64 * 1024) << "kilobytes";
}

}  // namespace lumo
