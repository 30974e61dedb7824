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
    FDir = fs::temp_directory_path() / ("pavona-pack-" + std::to_string(random()));
    fs::create_directories(FDir);
    for (int i = 0; i < 4000; ++i) FNoise.push_back(static_cast<char>(random()));
    FPlayer = "#!/bin/sh\necho player\n" + FNoise.substr(0, 1000);
    WriteFile(FDir / "viewer", FPlayer);
    // Real pictures, since pack decodes each one: a PNG of noise that Deflate cannot shrink and
    // a JPEG whose tables it can.
    Picture("a.jpg", "-size 32x24 xc: +noise Random");
    Picture("my slide.png", "-size 64x64 xc: +noise Random");
    Picture("x,y.BMP", "-size 8x8 xc:red", "bmp3:");
    Picture("caf\xC3\xA9.tif", "-size 8x8 xc:green -compress none");
    Picture("say \"hi\".ico", "-size 16x16 xc:blue");
    WriteFile(FDir / "loop.wav", "RIFF" + FNoise.substr(0, 300));
  }
  ~PackTest() override { fs::remove_all(FDir); }

  // Runs a command line in the test folder.
  Result Shell(const std::string& command) {
    const std::string out = (FDir / ".out").string(), err = (FDir / ".err").string();
    const std::string code = (FDir / ".code").string();
    const std::string line = "cd " + ShellQuote(FDir.string()) + " && (" + command + ") >" +
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

  // A picture drawn by ImageMagick from its arguments; format overrides the name's extension.
  void Picture(const std::string& name, const std::string& drawing,
               const std::string& format = "") {
    const Result made = Shell("convert " + drawing + " " + ShellQuote(format + name));
    ASSERT_EQ(made.code, 0) << name << ": " << made.err;
  }

  fs::path FDir;
  std::string FNoise, FPlayer;
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

  const std::string show = ReadFile(FDir / "show");
  EXPECT_EQ(show.substr(0, FPlayer.size()), FPlayer);
  EXPECT_NE(fs::status(FDir / "show").permissions() & fs::perms::owner_exec, fs::perms::none);
  // unzip warns (exit 1) about offsets that do not count from the start of the file.
  const Result tested = Shell("unzip -tqq show");
  EXPECT_EQ(tested.code, 0) << tested.out << tested.err;

  const Result listed = Shell("unzip -Z1 show");
  std::string expected;
  for (const std::string& name : kPictures) expected += name + "\n";
  EXPECT_EQ(listed.out, expected + "loop.wav\npavona.xml\n");
  EXPECT_EQ(Shell("unzip -p show a.jpg").out, ReadFile(FDir / "a.jpg"));
  EXPECT_EQ(Shell("unzip -p show 'my slide.png'").out, ReadFile(FDir / "my slide.png"));
  const Result methods = Shell("unzip -v show");
  std::istringstream lines(methods.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("my slide") != std::string::npos) {
      EXPECT_NE(line.find("Stored"), std::string::npos);
    }
    if (line.find("a.jpg") != std::string::npos) {
      EXPECT_NE(line.find("Defl"), std::string::npos);
    }
  }

  // The viewer's own package reader, through the tool's extract command.
  const Result extracted = Shell(ShellQuote(PAVONA_TOOL) + " extract show out");
  ASSERT_EQ(extracted.code, 0) << extracted.err;
  for (const std::string& name : kPictures) {
    EXPECT_EQ(ReadFile(FDir / "out" / name), ReadFile(FDir / name)) << name;
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
            "\"advance_error\": null, \"sound\": \"loop.wav\", \"style\": 119, "
            "\"style_name\": \"Fade\"}\n");

  // A package without settings reads as the defaults, as in the viewer.
  ASSERT_EQ(Shell("zip -q plain.zip a.jpg").code, 0);
  const Result plain = Shell(tool + " info plain.zip --json");
  ASSERT_EQ(plain.code, 0) << plain.err;
  EXPECT_EQ(plain.out,
            "{\"slides\": [], \"loop\": true, \"advance_ms\": null, \"advance_error\": "
            "\"mouse\", \"sound\": \"\", \"style\": 119, \"style_name\": \"Fade\"}\n");
}

// --style is stored as the viewer reads it back, and `info` reports what the viewer will play.
TEST_F(PackTest, StyleIsStoredAndReportedByInfo) {
  struct Case {
    const char* given;
    const char* stored;
    const char* json;
    const char* text;
  };
  const Case cases[] = {
      {"7", "7", "\"style\": 7, \"style_name\": \"Expand in from right\"",
       "style: 7 Expand in from right"},
      {"fade", "119", "\"style\": 119, \"style_name\": \"Fade\"", "style: 119 Fade"},
      {"RANDOM", "random", "\"style\": \"random\", \"style_name\": null", "style: random"},
  };
  const std::string tool = ShellQuote(PAVONA_TOOL);
  for (const Case& c : cases) {
    ASSERT_EQ(Pack({"-o", "show", "--player", "viewer", "--style", c.given, "a.jpg"}).code, 0);
    pavona::settings::TSimpleXML xml;
    xml.LoadFromString(Shell("unzip -p show pavona.xml").out);
    const auto* style = xml.Root().ItemNamed("Style");
    ASSERT_NE(style, nullptr) << c.given;
    EXPECT_EQ(style->Value, c.stored);
    EXPECT_NE(Shell(tool + " info show --json").out.find(c.json), std::string::npos) << c.given;
    EXPECT_NE(Shell(tool + " info show").out.find(c.text), std::string::npos) << c.given;
  }
  // A hand-written value that names no style plays the fade; info says so.
  WriteFile(FDir / "pavona.xml", "<Info><List>a.jpg</List><Style>swirl</Style></Info>");
  EXPECT_NE(Shell(tool + " info pavona.xml").out.find("style: 119 Fade ('swirl' names no style)"),
            std::string::npos);
}

TEST_F(PackTest, RefusesBadInputWithoutTouchingAnOlderShow) {
  fs::create_directories(FDir / "sub");
  fs::create_directories(FDir / "folder.png");
  WriteFile(FDir / "sub" / "a.jpg", "other");
  WriteFile(FDir / "A.JPG", "upper");
  WriteFile(FDir / "notes.txt", "text");
  WriteFile(FDir / "a:b.jpg", "colon");
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
      {with({"folder.png"}), "the folder 'folder.png' holds no pictures"},
      {with({"a:b.jpg"}), "file name containing"},
      {with({"--sound", "missing.wav", "a.jpg"}), "sound 'missing.wav' not found"},
      {with({"--sound", "notes.txt", "a.jpg"}), "plays no sound of this type"},
      {with({"--sound", "sub/a.jpg", "a.jpg"}), "plays no sound of this type"},
      {with({"--seconds", "0", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--seconds", "2147484", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--seconds", "5s", "a.jpg"}), "--seconds needs a whole number"},
      {with({"--bogus", "a.jpg"}), "unknown option '--bogus'"},
      {with({"--style", "0", "a.jpg"}), "unknown style '0'"},
      {with({"--style", "177", "a.jpg"}), "unknown style '177'"},
      {with({"--style", "swirl", "a.jpg"}), "unknown style 'swirl'"},
      {with({"--style", "1", "--style", "2", "a.jpg"}), "--style given twice"},
      {with({}), "no pictures given"},
      {with({"a.jpg", "--sound"}), "--sound needs a value"},
      {{"--player", "viewer", "a.jpg"}, "name the show with -o SHOW"},
      {{"-o", "show", "--player", "gone", "a.jpg"}, "player 'gone' not found"},
      {{"-o", "a.jpg", "--player", "viewer", "a.jpg"}, "is one of the files it is made of"},
      {{"-o", "sub", "--player", "viewer", "a.jpg"}, "is a folder"},
  };
  WriteFile(FDir / "show", "older show");
  for (const Case& c : cases) {
    const Result result = Pack(c.args);
    EXPECT_EQ(result.code, 2) << c.message;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
  }
  EXPECT_EQ(ReadFile(FDir / "show"), "older show");
  EXPECT_EQ(ReadFile(FDir / "a.jpg").substr(0, 2), "\xFF\xD8");
  for (const auto& entry : fs::directory_iterator(FDir)) {
    EXPECT_EQ(entry.path().filename().string().rfind(".show", 0), std::string::npos)
        << "left behind: " << entry.path();
  }
}

TEST_F(PackTest, DefaultPlayerIsTheViewerBesideTheTool) {
  fs::create_directories(FDir / "bin");
  fs::copy_file(PAVONA_TOOL, FDir / "bin" / "pavona");
  fs::permissions(FDir / "bin" / "pavona", fs::perms::owner_all);
  const std::string tool = (FDir / "bin" / "pavona").string();

  const Result missing = Pack({"-o", "show", "a.jpg"}, tool);
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("bin/pavona-viewer' was not found; name one with --player"),
            std::string::npos)
      << missing.err;

  WriteFile(FDir / "bin" / "pavona-viewer", "the viewer");
  ASSERT_EQ(Pack({"-o", "show", "a.jpg"}, tool).code, 0);
  EXPECT_EQ(ReadFile(FDir / "show").substr(0, 10), "the viewer");
}

}  // namespace

namespace {

TEST_F(PackTest, AFolderGivesItsPicturesInNaturalOrderWithoutSubFolders) {
  fs::create_directories(FDir / "album" / "deeper");
  for (const char* name : {"10.png", "2.png", "Img9.png", "img10.png", "img009b.png", "1.PNG"}) {
    fs::copy_file(FDir / "my slide.png", FDir / "album" / name);
  }
  fs::copy_file(FDir / "my slide.png", FDir / "album" / "deeper" / "0.png");
  WriteFile(FDir / "album" / "notes.txt", "not a picture");
  fs::create_directories(FDir / "album" / "dir.png");
  const Result packed = Pack({"-o", "show", "--player", "viewer", "a.jpg", "album"});
  ASSERT_EQ(packed.code, 0) << packed.err;
  EXPECT_EQ(Shell("unzip -Z1 show").out,
            "a.jpg\n1.PNG\n2.png\n10.png\nImg9.png\nimg009b.png\nimg10.png\npavona.xml\n");

  fs::create_directories(FDir / "empty");
  const Result empty = Pack({"-o", "other", "--player", "viewer", "empty"});
  EXPECT_EQ(empty.code, 2);
  EXPECT_NE(empty.err.find("the folder 'empty' holds no pictures"), std::string::npos) << empty.err;
}

// Every picture is decoded before anything is written; one that fails stops the pack.
TEST_F(PackTest, APictureTheViewerCannotDecodeIsRefusedBeforeAnyOutput) {
  WriteFile(FDir / "broken.png", "\x89PNG\r\n\x1a\n" + FNoise.substr(0, 200));
  const std::string jpeg = ReadFile(FDir / "a.jpg");
  WriteFile(FDir / "cut.jpg", jpeg.substr(0, 20));
  for (const char* bad : {"broken.png", "cut.jpg"}) {
    const Result result = Pack({"-o", "show", "--player", "viewer", "my slide.png", bad});
    EXPECT_EQ(result.code, 2) << bad;
    EXPECT_NE(result.err.find(std::string("'") + bad + "': the viewer cannot show this picture: "),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("pavona pack: show"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(FDir / "show"));
    for (const auto& entry : fs::directory_iterator(FDir)) {
      EXPECT_EQ(entry.path().filename().string().rfind(".show", 0), std::string::npos)
          << "left behind: " << entry.path();
    }
  }
}

}  // namespace

namespace {

// --fit: larger pictures come out within the box with their aspect ratio, averaged (a one-pixel
// checkerboard halves to even grey, where dropping pixels would keep black or white), JPEG
// again as a JPEG that decodes, other kinds as PNG; smaller ones unchanged.
TEST_F(PackTest, FitScalesLargePicturesDownKeepingTheirAspect) {
  Picture("wide.jpg", "-size 400x300 gradient:red-blue");
  Picture("tall.png", "-size 64x128 pattern:gray50");
  Picture("flat.bmp", "-size 1000x10 xc:blue", "bmp3:");
  const std::string small = ReadFile(FDir / "my slide.png");
  const Result packed = Pack({"-o", "show", "--player", "viewer", "--fit", "200x64", "wide.jpg",
                              "tall.png", "flat.bmp", "my slide.png"});
  ASSERT_EQ(packed.code, 0) << packed.err;
  EXPECT_NE(packed.err.find("--fit made 3 pictures smaller: "), std::string::npos) << packed.err;
  EXPECT_NE(packed.err.find(" bytes saved"), std::string::npos) << packed.err;
  EXPECT_EQ(Shell("unzip -Z1 show").out, "wide.jpg\ntall.png\nflat.png\nmy slide.png\npavona.xml\n");
  ASSERT_EQ(Shell(ShellQuote(PAVONA_TOOL) + " extract show out").code, 0);
  const auto described = [&](const char* name) {
    return Shell("identify -format '%m %wx%h' out/" + ShellQuote(name)).out;
  };
  EXPECT_EQ(described("wide.jpg"), "JPEG 85x64");
  EXPECT_EQ(described("tall.png"), "PNG 32x64");
  EXPECT_EQ(described("flat.png"), "PNG 200x2");
  EXPECT_EQ(ReadFile(FDir / "out" / "my slide.png"), small);
  const Result grey = Shell("convert out/tall.png -format '%[fx:minima.r*255] %[fx:maxima.r*255]' info:");
  std::istringstream levels(grey.out);
  double low = 0, high = 0;
  levels >> low >> high;
  EXPECT_GE(low, 120) << grey.out;
  EXPECT_LE(high, 135) << grey.out;
  // The viewer's own decoder reads the new JPEG: packing it again decodes it.
  EXPECT_EQ(Pack({"-o", "again", "--player", "viewer", "out/wide.jpg"}).code, 0);

  for (const char* bad : {"200", "0x10", "x10", "10x", "10x99999", "ax2"}) {
    const Result refused = Pack({"-o", "bad", "--player", "viewer", "--fit", bad, "a.jpg"});
    EXPECT_EQ(refused.code, 2) << bad;
    EXPECT_NE(refused.err.find("--fit needs WIDTHxHEIGHT"), std::string::npos) << refused.err;
  }
}

// Progress goes to a terminal only; help explains every command; --version answers.
TEST_F(PackTest, HelpVersionAndNoProgressOffATerminal) {
  const std::string tool = ShellQuote(PAVONA_TOOL);
  const Result packed = Pack({"-o", "show", "--player", "viewer", "a.jpg", "my slide.png"});
  ASSERT_EQ(packed.code, 0);
  EXPECT_EQ(packed.err.find('\r'), std::string::npos);
  EXPECT_EQ(packed.err.find("\033["), std::string::npos);

  const Result version = Shell(tool + " --version");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("pavona ", 0), 0u) << version.out;
  struct HelpCase {
    const char* command;
    std::vector<const char*> mentions;
  };
  const HelpCase cases[] = {
      {"pack", {"--output", "--no-loop", "--seconds", "--sound", "--style", "--fit", "--player",
                "FOLDER", "Examples:"}},
      {"render", {"--style", "--progress", "-o", "--frames", "--step", "--seed", "--sheet",
                  "Examples:"}},
      {"info", {"--json", "Examples:"}},
      {"list", {"Example:"}},
      {"extract", {"Example:"}},
      {"styles", {"Example:"}},
  };
  for (const HelpCase& c : cases) {
    const Result help = Shell(tool + " help " + c.command);
    EXPECT_EQ(help.code, 0) << c.command;
    for (const char* mention : c.mentions) {
      EXPECT_NE(help.out.find(mention), std::string::npos) << c.command << ": " << mention;
    }
  }
  EXPECT_EQ(Shell(tool + " help bogus").code, 2);
}

}  // namespace

namespace {

// play packs into a private file, runs it with the player's exit code, and removes it after.
TEST_F(PackTest, PlayRunsATemporaryShowAndDeletesIt) {
  WriteFile(FDir / "echo-viewer", "#!/bin/sh\necho \"$0\"\nexit 3\n");
  fs::permissions(FDir / "echo-viewer", fs::perms::owner_all);
  const std::string tool = ShellQuote(PAVONA_TOOL);
  const Result played = Shell(tool + " play --player echo-viewer --style 5 a.jpg");
  EXPECT_EQ(played.code, 3) << played.err;
  ASSERT_FALSE(played.out.empty()) << played.err;
  const std::string show = played.out.substr(0, played.out.size() - 1);
  EXPECT_FALSE(fs::exists(show)) << show;
  EXPECT_FALSE(fs::exists(fs::path(show).parent_path())) << show;

  const Result refused = Shell(tool + " play -o kept --player echo-viewer a.jpg");
  EXPECT_EQ(refused.code, 2);
  EXPECT_FALSE(fs::exists(FDir / "kept"));
  WriteFile(FDir / "bad.png", "not a picture");
  EXPECT_EQ(Shell(tool + " play --player echo-viewer bad.png").code, 2);
}

}  // namespace
