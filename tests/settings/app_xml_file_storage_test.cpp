#include "settings/app_xml_file_storage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/files.h"
#include "platform/stream.h"
#include "settings/show_settings.h"

namespace pavona::settings {
namespace {

class StorageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    FFolder = platform::JoinPath(::testing::TempDir(),
                                 "pavona-settings-" + std::to_string(random()) + "-" +
                                     std::to_string(random()));
    ASSERT_TRUE(platform::CreateDirectories(FFolder));
  }
  void TearDown() override { platform::RemoveTree(FFolder); }

  std::string Path(const std::string& name) const { return platform::JoinPath(FFolder, name); }

  std::string Write(const std::string& name, const std::string& content) const {
    const std::string path = Path(name);
    platform::TFileStream file(path, platform::FileMode::Create);
    file.Write(content.data(), content.size());
    return path;
  }

  static std::string Read(const std::string& path) {
    platform::TFileStream file(path, platform::FileMode::Read);
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    file.ReadExact(bytes.data(), bytes.size());
    return bytes;
  }

  std::string FFolder;
};

TEST_F(StorageTest, ResolvesKeysUnderTheRoot) {
  const struct {
    const char* what;
    std::string file;
    std::string list;
  } cases[] = {
      {"root Info", "<Info><List>a.jpg</List></Info>", "a.jpg"},
      {"root info in lower case is not skipped", "<info><List>a.jpg</List></info>", "default"},
      {"root Settings holding Info", "<Settings><info><List>a.jpg</List></info></Settings>", "a.jpg"},
      {"root Settings without Info", "<Settings><List>a.jpg</List></Settings>", "default"},
      {"name in capitals", "<Info><LIST>a.jpg</LIST></Info>", "a.jpg"},
      {"two elements of one name", "<Info><List>a.jpg</List><List>b.jpg</List></Info>", "b.jpg"},
      {"empty element", "<Info><List/></Info>", ""},
      {"value with blanks", "<Info><List> a.jpg </List></Info>", " a.jpg "},
      {"value not a single text", "<Info><List>a<!--x--></List></Info>", ""},
      {"attributes are not values", "<Info List='a.jpg'/>", "default"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    store.SetFlushOnDestroy(false);
    store.SetFileName(Write("s.xml", c.file));
    EXPECT_EQ(store.ReadString("List", "default"), c.list);
  }
}

TEST_F(StorageTest, ReadsBooleanWordsAndNumbers) {
  const struct {
    std::string text;
    bool value;
  } cases[] = {
      {"yes", true},   {"Y", true},       {"true", true},    {"TRUE", true},  {"n", false},
      {"FALSE", false}, {"No", false},    {"1", true},       {"0", false},    {"2.5", true},
      {"-0.0", false}, {"1e3", true},     {" 1 ", true},     {"0x1", false},  {"", false},
      {"maybe", false}, {" TRUE ", false}, {"\n    TRUE\n  ", false},          {".", false},
  };
  for (const auto& c : cases) {
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    store.SetFlushOnDestroy(false);
    store.SetFileName(Write("b.xml", "<Info><Loop>" + c.text + "</Loop></Info>"));
    EXPECT_EQ(store.ReadBoolean("Loop", !c.value), c.value) << "text: [" << c.text << "]";
  }
}

TEST_F(StorageTest, MissingValuesGiveTheDefault) {
  TAppXMLFileStorage store;
  ConfigureViewerStorage(store);
  store.SetFileName(Path("none.xml"));
  EXPECT_EQ(store.ReadString("List", "d"), "d");
  EXPECT_TRUE(store.ReadBoolean("Loop", true));
  EXPECT_FALSE(store.ReadBoolean("Loop", false));
  EXPECT_EQ(store.ReadString("Missing\\Deeper\\Key", "d"), "d");
}

TEST_F(StorageTest, JoinsKeyPaths) {
  TAppXMLFileStorage store;
  ConfigureViewerStorage(store);
  store.SetFlushOnDestroy(false);
  store.SetFileName(Write("p.xml", "<Info><Group><Key>g</Key></Group><Key>top</Key></Info>"));
  EXPECT_EQ(store.ReadString("Group\\Key", ""), "g");
  EXPECT_EQ(store.ReadString("\\Group\\.\\\\Key", ""), "g");
  EXPECT_EQ(store.ReadString("Group\\..\\Key", ""), "top");
  EXPECT_EQ(store.ReadString("Group\\Other\\...\\Key", ""), "top");
}

TEST_F(StorageTest, ReadFlushReadKeepsEveryValue) {
  const std::string source = Write(
      "r.xml",
      "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<Info><List>a.jpg,\"my slide.jpg\","
      "caf\xE9.jpg</List><Loop>No</Loop><Mouse>N</Mouse><Seconds>$A</Seconds>"
      "<Sound>a&amp;amp;lt;b.mp3</Sound><Extra a='1'><Inner>x</Inner></Extra></Info>");
  TShowSettings before;
  {
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    store.SetFileName(source);
    before = ReadShowSettings(store);
    store.Flush();
  }
  const std::string written = Read(source);
  TAppXMLFileStorage store;
  ConfigureViewerStorage(store);
  store.SetFileName(source);
  const TShowSettings after = ReadShowSettings(store);
  EXPECT_EQ(after.ImageList, before.ImageList);
  EXPECT_EQ(before.ImageList.back(), "caf\xC3\xA9.jpg");
  EXPECT_EQ(after.IsLooped, before.IsLooped);
  EXPECT_EQ(after.Mouse, before.Mouse);
  EXPECT_EQ(after.Seconds, "$A");
  EXPECT_EQ(after.Sound, "a&lt;b.mp3");
  EXPECT_EQ(store.ReadString("Extra\\Inner", ""), "x");
  store.Flush();
  EXPECT_EQ(Read(source), written);
}

TEST_F(StorageTest, FlushCreatesTheFileAndItsFolders) {
  const std::string path = Path("new/deeper/settings.xml");
  {
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    store.SetFileName(path);
    EXPECT_EQ(store.FullFileName(), path);
  }  // flushed on destruction
  ASSERT_TRUE(platform::PathExists(path));
  EXPECT_EQ(Read(path),
            "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"no\"?>\r\n<Info/>\r\n");
}

TEST_F(StorageTest, AddsTheXmlExtension) {
  TAppXMLFileStorage store;
  store.SetFlushOnDestroy(false);
  store.SetFileName(Path("plain"));
  EXPECT_EQ(store.FileName(), Path("plain.xml"));
  store.SetFileName(Path("other.cfg"));
  EXPECT_EQ(store.FileName(), Path("other.cfg"));
}

TEST_F(StorageTest, ReadOnlyFileIsNeverWritten) {
  const std::string content = "<Info><List>a.jpg</List></Info>";
  const std::string path = Write("ro.xml", content);
  ASSERT_TRUE(platform::SetReadOnly(path, true));
  {
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    store.SetFileName(path);
    EXPECT_EQ(store.ReadString("List", ""), "a.jpg");
    store.Flush();
  }
  platform::SetReadOnly(path, false);
  EXPECT_EQ(Read(path), content);
}

TEST_F(StorageTest, EmptyFileNameForgetsTheFile) {
  const std::string content = "<Info><List>a.jpg</List></Info>";
  const std::string path = Write("e.xml", content);
  TAppXMLFileStorage store;
  ConfigureViewerStorage(store);
  store.SetFileName(path);
  store.SetFileName("");
  EXPECT_EQ(store.ReadString("List", "d"), "d");
  EXPECT_EQ(store.RootNodeName(), "Info");
  store.Flush();
  EXPECT_EQ(Read(path), content);
}

TEST_F(StorageTest, AFailedLoadKeepsTheNameAndNeverOverwritesTheFile) {
  const std::string content = "<Info><List>a.jpg</List><Loop>x</Lop></Info>";
  const std::string path = Write("bad.xml", content);
  {
    TAppXMLFileStorage store;
    ConfigureViewerStorage(store);
    EXPECT_THROW(store.SetFileName(path), ESimpleXMLError);
    EXPECT_EQ(store.FileName(), path);
    EXPECT_EQ(store.ReadString("List", ""), "a.jpg");
    store.Flush();
  }
  EXPECT_EQ(Read(path), content);
}

TEST_F(StorageTest, FlushAbsorbsWriteErrors) {
  const std::string blocker = Write("file", "x");
  std::string error;
  TAppXMLFileStorage store;
  store.OnError = [&](const std::exception& e) { error = e.what(); };
  store.SetFileName(platform::JoinPath(blocker, "s.xml"));  // a folder that is a file
  EXPECT_NO_THROW(store.Flush());
  EXPECT_FALSE(error.empty());
}

TEST(StorageProperties, ValidateTheirValues) {
  TAppXMLFileStorage store;
  EXPECT_EQ(store.RootNodeName(), "Configuration");
  try {
    store.SetRootNodeName("");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "The node must be given a name");
  }
  auto& options = store.StorageOptions();
  try {
    options.SetWhiteSpaceReplacement("a b");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "The WhiteSpaceReplacement property cannot contain any white spaces.");
  }
  try {
    options.SetInvalidCharReplacement("?");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "\"?\" is not an allowed character for the InvalidCharReplacement property.");
  }
  // The class default has no white-space replacement: a blank in a name cannot be stored.
  EXPECT_THROW(store.SetRootNodeName("My Root"), EAppStorageError);
  options.SetWhiteSpaceReplacement("_");
  store.SetRootNodeName("My Root/x");
  EXPECT_EQ(store.RootNodeName(), "My_Root_x");

  options.SetBooleanStringTrueValues(", ON");
  EXPECT_FALSE(options.BooleanAsString());
  options.SetBooleanAsString(true);
  EXPECT_FALSE(options.BooleanAsString());
  options.SetBooleanStringTrueValues("ON");
  options.SetBooleanAsString(true);
  EXPECT_TRUE(options.BooleanAsString());
}

}  // namespace
}  // namespace pavona::settings
