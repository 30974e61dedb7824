#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/codepage.h"
#include "settings/simple_xml.h"

namespace pavona::settings {
namespace {

// Values that a careless writer loses: entities that the reader's second decoding pass would
// expand, blanks the reader drops, characters outside the file's code page.
const std::vector<std::string> kTrickyValues = {
    "a.jpg,\"my slide.jpg\"",
    "a&b",
    "&amp;",
    "&lt;x&GT;",
    "&#65; &#x41; &#65",
    "&&amp;;&",
    "<tag attr='v'>",
    "  lead and trail  ",
    " ",
    "\t\r\n",
    "line1\r\nline2\n",
    "caf\xC3\xA9 \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80",
    "ctl\x01\x1F\x7F" "end",
    "\xC2\xA0",
};

std::string Saved(const std::string& source, const std::vector<std::string>& values) {
  TSimpleXML xml;
  xml.LoadFromString(source);
  xml.Root().Name = "Info";
  for (std::size_t i = 0; i < values.size(); ++i) {
    TSimpleXMLElem& elem = xml.Root().AddItem(TSimpleXMLElemKind::Classic);
    elem.Name = "V" + std::to_string(i);
    elem.Value = values[i];
    elem.Properties.push_back({"a", "", values[i]});
  }
  return xml.SaveToString();
}

TEST(XmlWriter, WrittenValuesReadBackUnchangedInEveryEncoding) {
  const std::string sources[] = {
      "",                                                         // ANSI, header added
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>",    // UTF-8
      "\xFF\xFE" + platform::FromUtf8("<Info/>", platform::kUtf16CodePage),     // UTF-16, header added
      "<?xml version=\"1.0\" encoding=\"iso-8859-2\"?>",
      "<?xml version=\"1.0\" encoding=\"shift_jis\"?>",
      "<?xml version=\"1.0\"?>",                                   // header without encoding
      "<!-- first --><?xml version=\"1.0\" encoding=\"ebcdic-cp-us\"?>",
      // A second header, and an instruction named xml that is no header (no space after it).
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><?xml\tv='1'?><?xml version=\"1.0\" "
      "encoding=\"koi8-r\"?>",
      // Read as UTF-8 up to the header; ANSI could not hold that comment.
      "\xEF\xBB\xBF<!-- \xE6\x97\xA5 --><?xml version=\"1.0\" encoding=\"iso-8859-2\"?>",
  };
  for (const std::string& source : sources) {
    SCOPED_TRACE("source: " + source);
    const std::string bytes = Saved(source, kTrickyValues);
    TSimpleXML again;
    ASSERT_NO_THROW(again.LoadFromString(bytes)) << bytes;
    ASSERT_EQ(again.Root().Items.size(), kTrickyValues.size());
    for (std::size_t i = 0; i < kTrickyValues.size(); ++i) {
      const TSimpleXMLElem& elem = *again.Root().Items[i];
      EXPECT_EQ(elem.Value, kTrickyValues[i]) << "value " << i;
      ASSERT_EQ(elem.Properties.size(), 1u);
      EXPECT_EQ(elem.Properties[0].Value, kTrickyValues[i]) << "attribute " << i;
    }
    // Writing what was read gives the same bytes: nothing drifts from flush to flush.
    EXPECT_EQ(again.SaveToString(), bytes);
  }
}

TEST(XmlWriter, WritesIndentedLinesWithAHeader) {
  TSimpleXML xml;
  xml.LoadFromString(
      "<Info a='1'><!-- c --><List>a.jpg</List><Empty/><Group><Loop>Y</Loop></Group>"
      "<![CDATA[raw <x>]]></Info>");
  EXPECT_EQ(xml.SaveToString(),
            "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"no\"?>\r\n"
            "<Info a=\"1\">\r\n"
            "  <!-- c -->\r\n"
            "  <List>a.jpg</List>\r\n"
            "  <Empty/>\r\n"
            "  <Group>\r\n"
            "    <Loop>Y</Loop>\r\n"
            "  </Group>\r\n"
            "  <![CDATA[raw <x>]]>\r\n"
            "</Info>\r\n");
}

TEST(XmlWriter, KeepsTheProlog) {
  TSimpleXML xml;
  xml.LoadFromString(
      "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
      "<!DOCTYPE Info><?pi x=\"1\"?><Info/>");
  EXPECT_EQ(xml.SaveToString(),
            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<!DOCTYPE Info>\r\n"
            "<?pi x=\"1\"?>\r\n"
            "<Info/>\r\n");
}

TEST(XmlWriter, WritesTextAmongElementsWithoutAddedBlanks) {
  TSimpleXML xml;
  xml.LoadFromString("<Info><P>one <b>two</b> three</P></Info>");
  const std::string bytes = xml.SaveToString();
  TSimpleXML again;
  again.LoadFromString(bytes);
  const TSimpleXMLElem* p = again.Root().ItemNamed("P");
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->Items.size(), 3u);
  EXPECT_EQ(p->Items[0]->Value, "one ");
  EXPECT_EQ(p->Items[2]->Value, " three");
  EXPECT_EQ(again.SaveToString(), bytes);
}

TEST(XmlWriter, AnEmptyDocumentStaysReadable) {
  TSimpleXML xml;
  xml.LoadFromString("");
  const std::string bytes = xml.SaveToString();
  EXPECT_EQ(bytes, "<?xml version=\"1.0\" encoding=\"Windows-1252\" standalone=\"no\"?>\r\n");
  TSimpleXML again;
  EXPECT_NO_THROW(again.LoadFromString(bytes));
}

}  // namespace
}  // namespace pavona::settings

namespace pavona::settings {
namespace {

TEST(XmlWriter, DocumentsThatEndEarlyWriteReadably) {
  const std::string texts[] = {
      "<Info><",
      "<Info><n:",
      "<Info>x<?Inf",
      "<Info><List>a</List><?pi a='1",
      "<Info><List a='1'>a.jpg",
      "<Info><List>a&amp;amp;b<",
      std::string("\xFF\xFE<\0I\0>\0x\0<\0?\0I\0", 16),
  };
  for (const std::string& text : texts) {
    TSimpleXML xml;
    xml.LoadFromString(text);
    const std::string bytes = xml.SaveToString();
    TSimpleXML again;
    EXPECT_NO_THROW(again.LoadFromString(bytes)) << bytes;
    EXPECT_EQ(again.SaveToString(), bytes);
    const TSimpleXMLElem* list = xml.Root().ItemNamed("List");
    if (list != nullptr) {
      EXPECT_EQ(again.Root().ItemNamed("List")->Value, list->Value) << text;
    }
  }
}

}  // namespace
}  // namespace pavona::settings
