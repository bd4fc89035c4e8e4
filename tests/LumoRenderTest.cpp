// Runs the built lumo-render from outside, as scripts do: the files it writes,
// its exit statuses and messages, and the glyph layout it prints.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "LabelSettings.h"
#include "TestSupport.h"

namespace lumo {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  const std::vector<unsigned char> bytes = ReadFileBytes(path);
  return {bytes.begin(), bytes.end()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Entries(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string SettingsBytesOf(const LabelSettings& settings) {
  const SettingsBytes bytes = EncodeSettings(settings);
  return {bytes.begin(), bytes.end()};
}

class LumoRender : public ::testing::Test {
 protected:
  // Runs lumo-render in work() with `stdinBytes` on its standard input; its
  // output goes to files outside work(), so work() holds only what it wrote.
  Outcome Run(const std::vector<std::string>& args, const std::string& stdinBytes = "") {
    const fs::path in = io_.path() / "stdin";
    const fs::path out = io_.path() / "stdout";
    const fs::path err = io_.path() / "stderr";
    WriteFileBytes(in, stdinBytes);
    std::vector<char*> argv;
    std::string program = LUMO_RENDER_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
      const bool ready = ::chdir(work_.path().c_str()) == 0 &&
                         ::dup2(::open(in.c_str(), O_RDONLY), 0) == 0 &&
                         ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1) == 1 &&
                         ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2) == 2;
      if (ready) ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    Outcome outcome;
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return outcome;
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = ReadText(out);
    outcome.err = ReadText(err);
    return outcome;
  }

  [[nodiscard]] const fs::path& work() const { return work_.path(); }

  // An error is one line on standard error, and nothing goes to standard output.
  static void ExpectOneErrorLine(const Outcome& outcome, int status, const std::string& part) {
    EXPECT_EQ(outcome.status, status) << outcome.err;
    EXPECT_TRUE(outcome.out.empty()) << outcome.out;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_TRUE(outcome.err.ends_with("\n")) << outcome.err;
    EXPECT_NE(outcome.err.find(part), std::string::npos) << outcome.err;
  }

 private:
  TempDir work_;
  TempDir io_;
};

const std::vector<std::string> kSmall = {"--diameter", "41", "--dpi", "61"};

std::vector<std::string> Small(std::vector<std::string> more) {
  std::vector<std::string> args = kSmall;
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST_F(LumoRender, PromptAtDefaultsGoesToNumberedFilesInTheCurrentDirectory) {
  const fs::path here = fs::canonical(work());
  const Outcome first = Run({});
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, (here / "lumo000.bmp").string() + "\n");
  EXPECT_TRUE(first.err.empty()) << first.err;
  EXPECT_EQ(fs::file_size(work() / "lumo000.bmp"), 32'126'278u);

  const Outcome second = Run({});
  EXPECT_EQ(second.out, (here / "lumo001.bmp").string() + "\n");
}

TEST_F(LumoRender, LayoutOfThePromptWritesNoFile) {
  const Outcome outcome = Run({"--layout"});
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::vector<std::string> lines = Lines(outcome.out);
  // Four LF leave rings 1 to 4 empty; 14 glyphs on ring 5, 20 on ring 6; the
  // prompt ends with its last line break, so the lower half is empty.
  ASSERT_EQ(lines.size(), 34u);
  EXPECT_EQ(lines[0], "upper 5 157 1417 900 31 23 8140");
  EXPECT_EQ(lines[14], "upper 6 188 1417 900 31 23 8374");
  EXPECT_TRUE(Entries(work()).empty());
}

TEST_F(LumoRender, LayoutFirstGlyphOfEachHalfAtDefaults) {
  // あいう CR LF えお, pasted as UTF-8.
  const std::string text = "\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\r\n\xe3\x81\x88\xe3\x81\x8a";
  const Outcome pasted = Run({"--layout", "-"}, text);
  ASSERT_EQ(pasted.status, 0) << pasted.err;
  const std::vector<std::string> lines = Lines(pasted.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "upper 1 31 1417 900 31 26 82a0");
  EXPECT_EQ(lines[3], "lower 1 2802 1416 2700 31 26 82a6");

  // The same text from a UTF-8 ".txt" file.
  WriteFileBytes(work() / "Notes.TXT", text);
  const Outcome file = Run({"--layout", "Notes.TXT"});
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, pasted.out);
  EXPECT_EQ(Entries(work()), std::vector<std::string>{"Notes.TXT"});
}

TEST_F(LumoRender, SettingsFileOverridesAndOutputDirectory) {
  WriteFileBytes(work() / "small.lum", SettingsBytesOf({41, 61, 150, 45, 1, 30}));
  fs::create_directory(work() / "out");
  const Outcome fromFile = Run({"--settings", "small.lum", "-o", "out"});
  EXPECT_EQ(fromFile.status, 0) << fromFile.err;
  EXPECT_EQ(fromFile.out, "out/lumo000.bmp\n");
  EXPECT_EQ(fs::file_size(work() / "out/lumo000.bmp"), 54u + 98u * 98u * 4u);

  const Outcome fromOptions = Run(Small({"--output-dir=out", "--chars-per-circle", "300"}));
  EXPECT_EQ(fromOptions.status, 0) << fromOptions.err;
  EXPECT_EQ(fromOptions.out, "out/lumo001.bmp\n");
  EXPECT_EQ(ReadFileBytes(work() / "out/lumo001.bmp").size(), 54u + 98u * 98u * 4u);

  // A value from the file that is not whole stays exact: 41.9 mm gives 100 px.
  WriteFileBytes(work() / "fraction.lum", SettingsBytesOf({41.9, 61, 150, 45, 1, 30}));
  const Outcome fraction = Run({"--settings", "fraction.lum", "--rings", "40", "-o", "out"});
  EXPECT_EQ(fraction.status, 0) << fraction.err;
  EXPECT_EQ(fs::file_size(work() / "out/lumo002.bmp"), 54u + 100u * 100u * 4u);
}

TEST_F(LumoRender, ValuesThatBreakARuleAreRefused) {
  ExpectOneErrorLine(Run({"--diameter", "40"}), 2, "--diameter 40");
  ExpectOneErrorLine(Run({"--diameter", "600"}), 2, "41 to 599");
  ExpectOneErrorLine(Run({"--dpi", "60"}), 2, "--dpi 60");
  ExpectOneErrorLine(Run({"--chars-per-circle", "1"}), 2, "2 to 300");
  ExpectOneErrorLine(Run({"--first-ring", "16"}), 2, "(16 + 30)");
  ExpectOneErrorLine(Run({"--rings", "80", "--used-rings", "30"}), 2, "--rings 80 --used-rings 30");
  ExpectOneErrorLine(Run({"--used-rings", "0"}), 2, "--used-rings 0");
  ExpectOneErrorLine(Run({"--diameter", "599", "--dpi", "23999"}), 2, "--diameter 599 --dpi 23999");
  ExpectOneErrorLine(Run({"--dpi", "1800"}), 2, "120 mm label at 1800 dpi");
  // A file's own value that breaks a rule cannot be confirmed on the command line.
  WriteFileBytes(work() / "odd.lum", SettingsBytesOf({120, 600, 150, 200, 1, 30}));
  ExpectOneErrorLine(Run({"--settings", "odd.lum", "--rings", "200"}), 2, "1 to 79");
  EXPECT_EQ(Entries(work()), std::vector<std::string>{"odd.lum"});

  // The boundaries that pass.
  const Outcome edge = Run({"--diameter", "41", "--dpi", "61", "--chars-per-circle", "2",
                            "--first-ring", "15", "--rings", "45", "--used-rings", "30"});
  EXPECT_EQ(edge.status, 0) << edge.err;
}

TEST_F(LumoRender, UsageErrors) {
  ExpectOneErrorLine(Run({"--diameter", "12.5"}), 2, "needs a whole number");
  ExpectOneErrorLine(Run({"--dpi"}), 2, "needs a value");
  ExpectOneErrorLine(Run({"--colour", "red"}), 2, "unknown option --colour");
  ExpectOneErrorLine(Run({"a.txt", "b.txt"}), 2, "more than one INPUT");
  EXPECT_TRUE(Entries(work()).empty());

  const Outcome help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: lumo-render")) << help.out;
  const Outcome version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("lumo-render ")) << version.out;
}

TEST_F(LumoRender, SettingsFilesThatCannotBeUsed) {
  WriteFileBytes(work() / "short.lum", std::string(10, '\0'));
  ExpectOneErrorLine(Run({"--settings", "short.lum"}), 1, "10 bytes");
  ExpectOneErrorLine(Run({"--settings", "none.lum"}), 1, "none.lum");

  WriteFileBytes(work() / "huge.lum", SettingsBytesOf({900, 600, 150, 45, 1, 30}));
  ExpectOneErrorLine(Run({"--settings", "huge.lum"}), 2, "8191");
  WriteFileBytes(work() / "nan.lum", SettingsBytesOf({std::nan(""), 600, 150, 45, 1, 30}));
  ExpectOneErrorLine(Run({"--settings", "nan.lum"}), 2, "finite");

  // A diameter of 0 gives a label without pixels: nothing can be written.
  WriteFileBytes(work() / "zero.lum", SettingsBytesOf({0, 600, 150, 45, 1, 30}));
  ExpectOneErrorLine(Run({"--settings", "zero.lum"}), 1, "no pixels");
  EXPECT_EQ(Entries(work()).size(), 4u) << "a label file was written";
}

TEST_F(LumoRender, InputThatCannotBeRead) {
  ExpectOneErrorLine(Run(Small({"missing.txt"})), 1, "missing.txt: No such file");
  fs::create_directory(work() / "x.txt");
  ExpectOneErrorLine(Run(Small({"x.txt"})), 1, "folder");
  EXPECT_EQ(Entries(work()), std::vector<std::string>{"x.txt"});
}

TEST_F(LumoRender, OutputDirectoryThatCannotTakeTheFile) {
  ExpectOneErrorLine(Run(Small({"-o", "missing"})), 1, "No such file");
  WriteFileBytes(work() / "plain", "x");
  ExpectOneErrorLine(Run(Small({"-o", "plain"})), 1, "Not a directory");
  EXPECT_EQ(Entries(work()), std::vector<std::string>{"plain"});

  if (::geteuid() != 0) {  // the superuser writes into read-only folders
    fs::create_directory(work() / "locked");
    fs::permissions(work() / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    ExpectOneErrorLine(Run(Small({"-o", "locked"})), 1, "Permission denied");
    fs::permissions(work() / "locked", fs::perms::owner_all);
    EXPECT_TRUE(Entries(work() / "locked").empty());
  }
}

TEST_F(LumoRender, AllThousandNamesTaken) {
  for (int n = 0; n < 1000; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "lumo%03d.bmp", n);
    WriteFileBytes(work() / name, "");
  }
  ExpectOneErrorLine(Run(Small({})), 1, "taken");
  EXPECT_EQ(Entries(work()).size(), 1000u);
  EXPECT_EQ(fs::file_size(work() / "lumo999.bmp"), 0u);
}

TEST_F(LumoRender, FoldersAndPastes) {
  // Neither a ".txt" file nor a folder: an empty listing and an empty label,
  // with a word on standard error.
  WriteFileBytes(work() / "photo.jpg", "jpeg");
  const Outcome notFolder = Run(Small({"photo.jpg"}));
  EXPECT_EQ(notFolder.status, 0);
  EXPECT_EQ(notFolder.out, (fs::canonical(work()) / "lumo000.bmp").string() + "\n");
  EXPECT_EQ(std::count(notFolder.err.begin(), notFolder.err.end(), '\n'), 1) << notFolder.err;
  EXPECT_NE(notFolder.err.find("nothing could be listed"), std::string::npos) << notFolder.err;

  fs::create_directory(work() / "photos");
  WriteFileBytes(work() / "photos/a.png", "png");
  const Outcome folder = Run(Small({"photos"}));
  EXPECT_EQ(folder.status, 0) << folder.err;
  EXPECT_TRUE(folder.err.empty()) << folder.err;
  EXPECT_TRUE(fs::exists(work() / "lumo001.bmp"));

  const Outcome emptyPaste = Run(Small({"-"}), "");
  EXPECT_EQ(emptyPaste.status, 0) << emptyPaste.err;
  EXPECT_TRUE(fs::exists(work() / "lumo002.bmp"));

  // Text after a NUL byte is not part of the paste.
  const Outcome cut = Run({"--layout", "-"}, std::string("a\r\nb\0c", 6));
  EXPECT_EQ(cut.status, 0) << cut.err;
  const std::vector<std::string> lines = Lines(cut.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("upper 1 ")) << lines[0];
  EXPECT_TRUE(lines[1].starts_with("lower 1 ") && lines[1].ends_with(" 62")) << lines[1];
}

}  // namespace
}  // namespace lumo
