// Runs the built `pavona pack` and reads its shows back with unzip and the settings reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "settings/comma_text.h"
#include "settings/simple_xml.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int code = -1;
  std::string out, err;
};

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class PackTest : public ::testing::Test {
 protected:
  PackTest() {
    std::mt19937 random(std::random_device{}());
    dir_ = fs::temp_directory_path() / ("pavona-pack-" + std::to_string(random()));
    fs::create_directories(dir_);
    for (int i = 0; i < 4000; ++i) noise_.push_back(static_cast<char>(random()));
    player_ = "#!/bin/sh\necho player\n" + noise_.substr(0, 1000);
    WriteFile(dir_ / "viewer", player_);
    WriteFile(dir_ / "a.jpg", noise_);
    WriteFile(dir_ / "my slide.png", std::string(5000, '\0'));
    WriteFile(dir_ / "x,y.BMP", "BM" + noise_.substr(0, 100));
    WriteFile(dir_ / "caf\xC3\xA9.tif", "II*" + noise_.substr(0, 50));
    WriteFile(dir_ / "say \"hi\".ico", noise_.substr(0, 10));
    WriteFile(dir_ / "loop.wav", "RIFF" + noise_.substr(0, 300));
  }
  ~PackTest() override { fs::remove_all(dir_); }

  // Runs a command line in the test folder.
  Result Shell(const std::string& command) {
    const std::string out = (dir_ / ".out").string(), err = (dir_ / ".err").string();
    const std::string code = (dir_ / ".code").string();
    const std::string line = "cd " + ShellQuote(dir_.string()) + " && (" + command + ") >" +
                             ShellQuote(out) + " 2>" + ShellQuote(err) + "; echo $? >" +
                             ShellQuote(code);
    EXPECT_EQ(std::system(line.c_str()), 0);
    Result result{std::stoi(ReadFile(code)), ReadFile(out), ReadFile(err)};
    fs::remove(out), fs::remove(err), fs::remove(code);
    return result;
  }

  Result Pack(const std::vector<std::string>& args, const std::string& tool = PAVONA_TOOL) {
    std::string command = ShellQuote(tool) + " pack";
    for (const std::string& arg : args) command += " " + ShellQuote(arg);
    return Shell(command);
  }

  fs::path dir_;
  std::string noise_, player_;
};

const std::vector<std::string> kPictures = {"a.jpg", "my slide.png", "x,y.BMP",
                                            "caf\xC3\xA9.tif", "say \"hi\".ico"};

TEST_F(PackTest, ShowIsThePlayerFollowedByAPackageTheViewerReadsBack) {
  std::vector<std::string> args = {"-o",      "show",     "--no-loop", "--seconds", "5",
                                   "--sound", "loop.wav", "--player",  "viewer"};
  args.insert(args.end(), kPictures.begin(), kPictures.end());
  const Result packed = Pack(args);
  ASSERT_EQ(packed.code, 0) << packed.err;
  for (const std::string& name : kPictures) EXPECT_NE(packed.err.find(name), std::string::npos);

  const std::string show = ReadFile(dir_ / "show");
  EXPECT_EQ(show.substr(0, player_.size()), player_);
  EXPECT_NE(fs::status(dir_ / "show").permissions() & fs::perms::owner_exec, fs::perms::none);
  // unzip warns (exit 1) about offsets that do not count from the start of the file.
  const Result tested = Shell("unzip -tqq show");
  EXPECT_EQ(tested.code, 0) << tested.out << tested.err;

  const Result listed = Shell("unzip -Z1 show");
  std::string expected;
  for (const std::string& name : kPictures) expected += name + "\n";
  EXPECT_EQ(listed.out, expected + "loop.wav\npavona.xml\n");
  EXPECT_EQ(Shell("unzip -p show a.jpg").out, noise_);
  EXPECT_EQ(Shell("unzip -p show 'my slide.png'").out, std::string(5000, '\0'));
  const Result methods = Shell("unzip -v show");
  std::istringstream lines(methods.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("a.jpg") != std::string::npos) {
      EXPECT_NE(line.find("Stored"), std::string::npos);
    }
    if (line.find("my slide") != std::string::npos) {
      EXPECT_NE(line.find("Defl"), std::string::npos);
    }
  }

  // The viewer's own package reader, through the tool's extract command.
  const Result extracted = Shell(ShellQuote(PAVONA_TOOL) + " extract show out");
  ASSERT_EQ(extracted.code, 0) << extracted.err;
  for (const std::string& name : kPictures) {
    EXPECT_EQ(ReadFile(dir_ / "out" / name), ReadFile(dir_ / name)) << name;
  }

  pavona::settings::TSimpleXML xml;
  xml.LoadFromString(Shell("unzip -p show pavona.xml").out);
  const auto& info = xml.Root();
  EXPECT_EQ(info.Name, "Info");
  const auto value = [&](const char* key) {
    const auto* item = info.ItemNamed(key);
    return item == nullptr ? std::string("(missing)") : item->Value;
  };
  EXPECT_EQ(pavona::settings::SplitCommaText(value("List")), kPictures);
  EXPECT_EQ(value("Loop"), "False");
  EXPECT_EQ(value("Mouse"), "False");
  EXPECT_EQ(value("Seconds"), "5");
  EXPECT_EQ(value("Sound"), "loop.wav");
}

TEST_F(PackTest, SettingsWithoutOptionsLoopAndWaitForTheUser) {
  ASSERT_EQ(Pack({"-o", "show", "--player", "viewer", "a.jpg"}).code, 0);
  pavona::settings::TSimpleXML xml;
  xml.LoadFromString(Shell("unzip -p show pavona.xml").out);
  const auto& info = xml.Root();
  ASSERT_NE(info.ItemNamed("Loop"), nullptr);
  EXPECT_EQ(info.ItemNamed("Loop")->Value, "True");
  ASSERT_NE(info.ItemNamed("Mouse"), nullptr);
  EXPECT_EQ(info.ItemNamed("Mouse")->Value, "True");
  EXPECT_EQ(info.ItemNamed("Seconds"), nullptr);
  EXPECT_EQ(info.ItemNamed("Sound"), nullptr);
  EXPECT_EQ(Shell("unzip -Z1 show").out, "a.jpg\npavona.xml\n");
}

// `pavona info` reads a show, and a plain package, as the viewer does after extracting it.
TEST_F(PackTest, InfoReadsTheSettingsOfAShowAndOfAPlainPackage) {
  ASSERT_EQ(Pack({"-o", "show", "--player", "viewer", "--no-loop", "--seconds", "7", "--sound",
                  "loop.wav", "my slide.png", "x,y.BMP"})
                .code,
            0);
  const std::string tool = ShellQuote(PAVONA_TOOL);
  const Result show = Shell(tool + " info show --json");
  ASSERT_EQ(show.code, 0) << show.err;
  EXPECT_EQ(show.out,
            "{\"slides\": [\"my slide.png\", \"x,y.BMP\"], \"loop\": false, \"advance_ms\": 7000, "
            "\"advance_error\": null, \"sound\": \"loop.wav\"}\n");

  // A package without settings reads as the defaults, as in the viewer.
  ASSERT_EQ(Shell("zip -q plain.zip a.jpg").code, 0);
  const Result plain = Shell(tool + " info plain.zip --json");
  ASSERT_EQ(plain.code, 0) << plain.err;
  EXPECT_EQ(plain.out,
            "{\"slides\": [], \"loop\": true, \"advance_ms\": null, \"advance_error\": "
            "\"mouse\", \"sound\": \"\"}\n");
}

TEST_F(PackTest, RefusesBadInputWithoutTouchingAnOlderShow) {
  fs::create_directories(dir_ / "sub");
  fs::create_directories(dir_ / "folder.png");
  WriteFile(dir_ / "sub" / "a.jpg", "other");
  WriteFile(dir_ / "A.JPG", "upper");
  WriteFile(dir_ / "notes.txt", "text");
  WriteFile(dir_ / "a:b.jpg", "colon");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<std::string> base = {"-o", "show", "--player", "viewer"};
  const auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), base.begin(), base.end());
    return more;
  };
  const Case cases[] = {
      {with({"notes.txt"}), "cannot show pictures of type '.txt'"},
      {with({"a.jpg", "noext"}), "cannot show files without an extension"},
      {with({"a.jpg", "sub/a.jpg"}), "another file of the show is also named 'a.jpg'"},
      {with({"a.jpg", "A.JPG"}), "another file of the show is also named 'a.jpg'"},
      {with({"a.jpg", "missing.png"}), "picture 'missing.png' not found"},
      {with({"folder.png"}), "picture 'folder.png' is not a file"},
      {with({"a:b.jpg"}), "file name containing"},
      {with({"--sound", "missing.wav", "a.jpg"}), "sound 'missing.wav' not found"},
      {with({"--sound", "notes.txt", "a.jpg"}), "plays no sound of this type"},
      {with({"--sound", "sub/a.jpg", "a.jpg"}), "plays no sound of this type"},
      {with({"--seconds", "0", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--seconds", "2147484", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--seconds", "5s", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--bogus", "a.jpg"}), "unknown option '--bogus'"},
      {with({}), "no pictures given"},
      {with({"a.jpg", "--sound"}), "--sound needs a value"},
      {{"--player", "viewer", "a.jpg"}, "name the show with -o SHOW"},
      {{"-o", "show", "--player", "gone", "a.jpg"}, "player 'gone' not found"},
      {{"-o", "a.jpg", "--player", "viewer", "a.jpg"}, "is one of the files it is made of"},
      {{"-o", "sub", "--player", "viewer", "a.jpg"}, "is a folder"},
  };
  WriteFile(dir_ / "show", "older show");
  for (const Case& c : cases) {
    const Result result = Pack(c.args);
    EXPECT_EQ(result.code, 2) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(ReadFile(dir_ / "show"), "older show");
  EXPECT_EQ(ReadFile(dir_ / "a.jpg"), noise_);
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().filename().string().rfind(".show", 0), std::string::npos)
        << "left behind: " << entry.path();
  }
}

TEST_F(PackTest, DefaultPlayerIsTheViewerBesideTheTool) {
  fs::create_directories(dir_ / "bin");
  fs::copy_file(PAVONA_TOOL, dir_ / "bin" / "pavona");
  fs::permissions(dir_ / "bin" / "pavona", fs::perms::owner_all);
  const std::string tool = (dir_ / "bin" / "pavona").string();

  const Result missing = Pack({"-o", "show", "a.jpg"}, tool);
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("bin/pavona-viewer' was not found; name one with --player"),
            std::string::npos)
      << missing.err;

  WriteFile(dir_ / "bin" / "pavona-viewer", "the viewer");
  ASSERT_EQ(Pack({"-o", "show", "a.jpg"}, tool).code, 0);
  EXPECT_EQ(ReadFile(dir_ / "show").substr(0, 10), "the viewer");
}

}  // namespace
