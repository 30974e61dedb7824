#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"
#include "settings/simple_xml.h"

namespace pavona::settings {
namespace {

// The value of the root's child `name`, or "<missing>".
std::string ChildValue(const TSimpleXML& xml, const std::string& name) {
  const TSimpleXMLElem* elem = xml.Root().ItemNamed(name);
  return elem ? elem->Value : "<missing>";
}

TEST(XmlReader, FindsTheEncoding) {
  const std::string bom8 = "\xEF\xBB\xBF";
  const struct {
    const char* what;
    std::string bytes;
    std::string value;
    TStringEncoding encoding;
    int codePage;
  } cases[] = {
      {"UTF-8 mark and header", bom8 + "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Info><List>\xC3\xA9</List></Info>",
       "\xC3\xA9", TStringEncoding::seUTF8, 65001},
      {"UTF-16LE mark and header",
       "\xFF\xFE" + platform::FromUtf8("<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<Info><List>\xE6\x97\xA5\xF0\x9F\x98\x80</List></Info>", platform::kUtf16CodePage),
       "\xE6\x97\xA5\xF0\x9F\x98\x80", TStringEncoding::seUTF16, 1200},
      {"UTF-16LE mark, no header",
       "\xFF\xFE" + platform::FromUtf8("<Info><List>\xC3\xA9</List></Info>", platform::kUtf16CodePage),
       "\xC3\xA9", TStringEncoding::seUTF16, 1200},
      {"header names windows-1252",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?><Info><List>caf\xE9 \x80</List></Info>",
       "caf\xC3\xA9 \xE2\x82\xAC", TStringEncoding::seAnsi, 1252},
      {"no mark, no header: ANSI", "<Info><List>caf\xE9 \x80</List></Info>",
       "caf\xC3\xA9 \xE2\x82\xAC", TStringEncoding::seAnsi, 0},
      {"UTF-8 mark, header without encoding: ANSI after it",
       bom8 + "<?xml version=\"1.0\"?><Info><List>\xC3\xA9</List></Info>", "\xC3\x83\xC2\xA9",
       TStringEncoding::seAnsi, 0},
      {"latin1 is ISO-8859-1, not 1252",
       "<?xml version=\"1.0\" encoding=\"LATIN1\"?><Info><List>\x80</List></Info>", "\xC2\x80",
       TStringEncoding::seAnsi, 28591},
      {"iso-8859-2", "<?xml version=\"1.0\" encoding=\"iso-8859-2\"?><Info><List>\xB1</List></Info>",
       "\xC4\x85", TStringEncoding::seAnsi, 28592},
      {"multi-byte shift_jis",
       "<?xml version=\"1.0\" encoding=\"shift_jis\"?><Info><List>\x93\xFA\x96\x7B</List></Info>",
       "\xE6\x97\xA5\xE6\x9C\xAC", TStringEncoding::seAnsi, 932},
      {"a comment before the header is read before the switch",
       "<!--\xE9--><?xml version=\"1.0\" encoding=\"utf-8\"?><Info><List>\xC3\xA9</List></Info>",
       "\xC3\xA9", TStringEncoding::seUTF8, 65001},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TSimpleXML xml;
    xml.LoadFromString(c.bytes);
    EXPECT_EQ(xml.Root().Name, "Info");
    EXPECT_EQ(ChildValue(xml, "List"), c.value);
    EXPECT_EQ(xml.Encoding(), c.encoding);
    EXPECT_EQ(xml.CodePage(), c.codePage);
  }
}

TEST(XmlReader, RejectsAnUnknownCharset) {
  TSimpleXML xml;
  try {
    xml.LoadFromString("<?xml version=\"1.0\" encoding=\"klingon\"?><Info><List>a</List></Info>");
    FAIL() << "no error";
  } catch (const ESimpleXMLError& e) {
    EXPECT_STREQ(e.what(), "No matching charset");
  }
  // The header that named it was read; nothing after it was.
  ASSERT_EQ(xml.Prolog().size(), 1u);
  EXPECT_EQ(xml.Root().Name, "");
  // Named in the table, but this host has no converter for it.
  try {
    xml.LoadFromString("<?xml version=\"1.0\" encoding=\"x-iscii-de\"?><Info/>");
    FAIL() << "no error";
  } catch (const ESimpleXMLError& e) {
    EXPECT_STREQ(e.what(), "Charset \"x-iscii-de\" (code page 57002) is not supported on this system");
  }
}

TEST(XmlReader, ReportsSyntaxErrorsWithPositions) {
  const struct {
    std::string text;
    std::string message;
  } cases[] = {
      {"hello<a/>", "Invalid Document: Unexpected text in file prolog at position 1"},
      {"  \n x", "Invalid Document: Unexpected text in file prolog at position 5"},
      {"<a>x</b>",
       "Invalid XML Element: Erroneous end of tag, expecting </a> but </b> found at position 7"},
      {"<n:a>x</n:b>",
       "Invalid XML Element: Erroneous end of tag, expecting </n:a> but </n:b> found at position 11"},
      {"<A>x</a>",
       "Invalid XML Element: Erroneous end of tag, expecting </A> but </a> found at position 7"},
      {"<a b=1/>",
       "Invalid XML Element: Unexpected character in property declaration. Expecting \" or ' but "
       "\"1\"  found at position 6"},
      {"<a b/>",
       "Invalid XML Element: Unexpected character in property declaration (\"/\" found at position 5)"},
      {"<a b c='1'/>",
       "Invalid XML Element: Unexpected character in property declaration (\"c\" found at position 6)"},
      {"<a 1='x'/>",
       "Invalid XML Element: Unexpected character in property declaration (\"1\" found at position 4)"},
      {"<a n:b:c='1'/>",
       "Invalid XML Element: Unexpected character in property declaration (\":\" found at position 7)"},
      {"<a n:='1'/>",
       "Invalid XML Element: Unexpected character in property declaration (\"=\" found at position 6)"},
      {"<a/x>", "Invalid XML Element: Expected end of tag but \"x\" found at position 4"},
      {"<a b='1'?>", "Invalid XML Element: Expected end of tag but \"?\" found at position 9"},
      {"<a></a x>", "Invalid XML Element: Expected end of tag but \"x\" found at position 8"},
      {"<a><>", "Invalid XML Element: malformed tag found (no valid name) at position 5"},
      {"<a><!x/></a>", "Invalid XML Element: malformed tag found (no valid name) at position 5"},
      {"<a>< b/></a>", "Invalid XML Element: malformed tag found (no valid name) at position 5"},
      {"<a:b:c/>", "Invalid XML Element: malformed tag found (no valid name) at position 5"},
      {"<a\xA7/>", "Invalid XML Element: malformed tag found (no valid name) at position 3"},
      {"<!doctype a><a/>", "Invalid XML Element: malformed tag found (no valid name) at position 2"},
      {"<?pi x='1'!><a/>",
       "Invalid XML Element: Unexpected character in property declaration (\"!\" found at position 11)"},
      {"<?pi x='1'><a/>", "Invalid XML Element: Expected end of tag but \">\" found at position 11"},
      {"<!-- a -- b --><a/>", "Invalid Comment: \"--\" not allowed inside comments at position 9"},
      {"<!-- abc", "Invalid Comment: Unexpected end of data at position 8"},
      {"<a><!-- x --", "Invalid Comment: Unexpected end of data at position 12"},
      {"<a><![CDATA[abc", "Invalid CDATA: Unexpected end of data at position 15"},
      // Characters count, not bytes: the é takes two bytes in UTF-8 and one position.
      {"\xEF\xBB\xBF<\xC3\xA9>x</e>",
       "Invalid XML Element: Erroneous end of tag, expecting </\xC3\xA9> but </e> found at position 7"},
  };
  for (const auto& c : cases) {
    TSimpleXML xml;
    try {
      xml.LoadFromString(c.text);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const ESimpleXMLError& e) {
      EXPECT_EQ(e.what(), c.message) << "text: " << c.text;
    }
  }
}

// A second header switching a shifting encoding again: converting the text read so far back
// gives more bytes than were read, and the reader must stay inside the document.
TEST(XmlReader, StaysInsideTheDocumentWhenAShiftingEncodingIsNamedTwice) {
  const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-7\" standalone=\"no\"?>";
  TSimpleXML xml;
  try {
    xml.LoadFromString("\xEF\xBB\xBF" + header + header + "\r\n\r\n<3<<?pi >\x05\n");
  } catch (const ESimpleXMLError&) {
    // A syntax error is a fine answer; anything else escaping is not.
  }
}

TEST(XmlReader, KeepsWhatWasReadBeforeAnError) {
  TSimpleXML xml;
  EXPECT_THROW(xml.LoadFromString("<Info><List>a.jpg</List><Loop>x</Lop></Info>"), ESimpleXMLError);
  EXPECT_EQ(xml.Root().Name, "Info");
  EXPECT_EQ(ChildValue(xml, "List"), "a.jpg");
  ASSERT_NE(xml.Root().ItemNamed("Loop"), nullptr);
}

TEST(XmlReader, EndsQuietlyWhereTheTextEnds) {
  const struct {
    std::string text;
    std::string list;
  } cases[] = {
      {"", "<missing>"},
      {"   ", "<missing>"},
      {"<Info><List>a.jpg", ""},
      {"<Info><List>a.jpg</List", ""},
      {"<Info><List>a.jpg</List>", "a.jpg"},
      {"<Info><List a='1", ""},
  };
  for (const auto& c : cases) {
    TSimpleXML xml;
    EXPECT_NO_THROW(xml.LoadFromString(c.text)) << c.text;
    EXPECT_EQ(ChildValue(xml, "List"), c.list) << c.text;
  }
}

TEST(XmlReader, FormsValues) {
  const struct {
    std::string content;
    std::string value;
  } cases[] = {
      {"a.jpg", "a.jpg"},
      {"  a.jpg  ", "  a.jpg  "},
      {"\n    a.jpg\n  ", "\n    a.jpg\n  "},
      {"<![CDATA[a.jpg]]>", ""},
      {"a.jpg<!-- note -->", ""},
      {"", ""},
      {"   \r\n ", ""},
      // Decoded once as a text item and once more as the value.
      {"a&amp;amp;b", "a&b"},
      {"&lt;&GT;&Apos;&quot;&amp;", "<>'\"&"},
      {"&#65;&#x41;&#X41;&#$41;&# 65;&#0x41;", "AAAAAA"},
      {"&#xyz; &#65 &#-1; &#; &#x; &bogus; &", "&#xyz; &#65 &#-1; &#; &#x; &bogus; &"},
      {"&#xE9;&#233;&#x20AC;", "\xC3\xA9\xC3\xA9\xE2\x82\xAC"},
      {"&#xD83D;&#xDE00;&#x1F600;", "\xF0\x9F\x98\x80\xF0\x9F\x98\x80"},
      {"&#xD83D;x&#xDE00;", "\xEF\xBF\xBDx\xEF\xBF\xBD"},
      {"&#x10041;", "\xF0\x90\x81\x81"},
      {"&#x110041;", "A"},  // beyond Unicode: the low 16 bits
  };
  for (const auto& c : cases) {
    TSimpleXML xml;
    xml.LoadFromString("<Info><V>" + c.content + "</V></Info>");
    EXPECT_EQ(ChildValue(xml, "V"), c.value) << "content: " << c.content;
  }
}

TEST(XmlReader, DecodesAttributesAndTextItemsOnce) {
  TSimpleXML xml;
  xml.LoadFromString(
      "<Info a = \"x&amp;amp;y\" n:b='it&apos;s \"q\"\n<>'><V>t&amp;amp;u<W/></V></Info>");
  const auto& props = xml.Root().Properties;
  ASSERT_EQ(props.size(), 2u);
  EXPECT_EQ(props[0].Name, "a");
  EXPECT_EQ(props[0].Value, "x&amp;y");
  EXPECT_EQ(props[1].NameSpace, "n");
  EXPECT_EQ(props[1].Name, "b");
  EXPECT_EQ(props[1].Value, "it's \"q\"\n<>");
  const TSimpleXMLElem* v = xml.Root().ItemNamed("V");
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->Items.size(), 2u);
  EXPECT_EQ(v->Items[0]->Kind, TSimpleXMLElemKind::Text);
  EXPECT_EQ(v->Items[0]->Value, "t&amp;u");
  EXPECT_EQ(v->Value, "");
}

TEST(XmlReader, ReadsPrologItemsAndStopsAfterTheRoot) {
  TSimpleXML xml;
  xml.LoadFromString(
      "<?xml version=\"1.1\" encoding=\"utf-8\" standalone=\"yes\"?>\n"
      "<!-- about -->\n"
      "<?xml-stylesheet href=\"s.css\"?>\n"
      "<!DOCTYPE Info [<!ENTITY e \"a>b\">]>\n"
      "<?pi x='1'?>\n"
      "<?mso-application progid=\"p\"?>\n"
      "<Info><List>a</List></Info>\n"
      "<Second><List>b</List></Second> garbage <");
  ASSERT_EQ(xml.Prolog().size(), 6u);
  EXPECT_EQ(xml.Prolog()[0]->Kind, TSimpleXMLElemKind::Header);
  EXPECT_EQ(xml.Header()->PropertyNamed("version")->Value, "1.1");
  EXPECT_EQ(xml.Header()->PropertyNamed("standalone")->Value, "yes");
  EXPECT_EQ(xml.Prolog()[1]->Kind, TSimpleXMLElemKind::Comment);
  EXPECT_EQ(xml.Prolog()[1]->Value, " about ");
  EXPECT_EQ(xml.Prolog()[2]->Kind, TSimpleXMLElemKind::Sheet);
  EXPECT_EQ(xml.Prolog()[3]->Kind, TSimpleXMLElemKind::DocType);
  EXPECT_EQ(xml.Prolog()[3]->Value, " Info [<!ENTITY e \"a>b\">]");
  EXPECT_EQ(xml.Prolog()[4]->Kind, TSimpleXMLElemKind::ProcessingInstruction);
  EXPECT_EQ(xml.Prolog()[4]->Name, "pi");
  EXPECT_EQ(xml.Prolog()[5]->Kind, TSimpleXMLElemKind::MSOApplication);
  EXPECT_EQ(xml.Root().Name, "Info");
  EXPECT_EQ(ChildValue(xml, "List"), "a");
}

TEST(XmlReader, FindsChildrenByNameTheLastOneWinning) {
  TSimpleXML xml;
  xml.LoadFromString(
      "<Info><Loop>1</Loop><!--Loop--><LOOP>2</LOOP>text<ns:List>x</ns:List><?Loop?></Info>");
  EXPECT_EQ(ChildValue(xml, "loop"), "2");
  EXPECT_EQ(ChildValue(xml, "List"), "x");
  EXPECT_EQ(xml.Root().ItemNamed("List")->NameSpace, "ns");
  EXPECT_EQ(xml.Root().ItemNamed("Sound"), nullptr);
  EXPECT_EQ(xml.Root().ItemNamed(""), nullptr);
}

TEST(XmlReader, AcceptsEndTagsWithBlanksAndPrefixesInAnyCase) {
  TSimpleXML xml;
  xml.LoadFromString("<Info><n:List>a</N:LIST \r\n><Loop>b</Loop\t></Info >");
  EXPECT_EQ(ChildValue(xml, "List"), "a");
  EXPECT_EQ(ChildValue(xml, "Loop"), "b");
  EXPECT_EQ(xml.Root().Items.size(), 2u);
}

TEST(XmlReader, RefusesNestingBeyondItsLimit) {
  std::string deep;
  for (int i = 0; i < 5000; ++i) deep += "<a>";
  TSimpleXML xml;
  EXPECT_THROW(xml.LoadFromString(deep), ESimpleXMLError);
}

TEST(XmlReader, LoadsAFileOrReportsWhyNot) {
  TSimpleXML xml;
  xml.LoadFromFile(std::string(PAVONA_TEST_DATA) + "/data/viewer.xml");
  EXPECT_EQ(ChildValue(xml, "List"), "a.jpg,\"my slide.jpg\"");
  EXPECT_THROW(xml.LoadFromFile(std::string(PAVONA_TEST_DATA) + "/data/missing.xml"),
               platform::EStreamError);
}

}  // namespace
}  // namespace pavona::settings
