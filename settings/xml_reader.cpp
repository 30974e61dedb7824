// The reader of TSimpleXML: prolog, root element, content, attributes, and the items that may
// appear among them.
#include <initializer_list>
#include <string>
#include <utility>

#include "settings/char_class.h"

#include "base/ascii.h"
#include "settings/charsets.h"
#include "settings/simple_xml.h"
#include "settings/utf8.h"
#include "settings/xml_char_source.h"
#include "settings/xml_value.h"

namespace pavona::settings {

namespace {

constexpr char32_t kEnd = TXMLCharSource::kEnd;
// Deeper documents are refused rather than risking the stack; settings files are flat.
constexpr int kMaxDepth = 500;

// Unwinds the reader when the text ends where that is no error: reading ends quietly there.
struct TEndOfData {};

std::string Utf8Of(char32_t c) {
  std::string s;
  AppendUtf8(s, c);
  return s;
}

std::string ReplaceFirst(std::string text, std::string_view what, std::string_view by) {
  const std::size_t at = text.find(what);
  if (at != std::string::npos) text.replace(at, what.size(), by);
  return text;
}


enum class TPrologItem { RootBegins, Comment, Sheet, Header, DocType, MSOApplication, Other };

}  // namespace

class TXMLReader {
 public:
  TXMLReader(TSimpleXML& document, std::string_view bytes) : FDoc(document), FSource(bytes) {}

  void Read(TStringEncoding encoding, int codePage) {
    FDoc.FRoot.Clear();
    FDoc.FRoot.Name.clear();
    FDoc.FRoot.NameSpace.clear();
    FDoc.FRoot.Value.clear();
    FDoc.FProlog.clear();
    FAuto = encoding == TStringEncoding::seAuto;
    SelectStartEncoding(encoding, codePage);
    try {
      ReadProlog();
      ReadElement(FDoc.FRoot, 0);
    } catch (const TEndOfData&) {
    }
  }

 private:
  // --- characters ---

  char32_t Peek(std::size_t ahead = 0) { return FSource.Peek(ahead); }
  // The next character, which must exist for reading to go on.
  char32_t Require() {
    const char32_t c = Peek();
    if (c == kEnd) throw TEndOfData{};
    return c;
  }
  void Skip(std::size_t count = 1) { FSource.Skip(count); }
  void SkipBlanks() {
    while (IsBlank(Peek())) Skip();
  }
  bool LookingAt(std::u32string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (Peek(i) != text[i]) return false;
    }
    return true;
  }
  // Position of the next character, counted from 1 at the start of the text.
  long long NextPosition() const { return FSource.Consumed() + 1; }

  // Fills in the position first, then the texts, so that no text is taken for a placeholder.
  [[noreturn]] void Fail(std::string message, long long position,
                         std::initializer_list<std::pair<std::string_view, std::string>> texts = {}) {
    message = ReplaceFirst(std::move(message), "%d", std::to_string(position));
    std::size_t from = 0;
    for (const auto& [placeholder, text] : texts) {
      const std::size_t at = message.find(placeholder, from);
      if (at == std::string::npos) continue;
      message.replace(at, placeholder.size(), text);
      from = at + text.size();
    }
    throw ESimpleXMLError(message);
  }
  // A message about the next character, which is in the wrong place.
  [[noreturn]] void FailAtNext(const std::string& message) {
    Fail(message, NextPosition(), {{"%s", Utf8Of(Require())}});
  }
  // Consumes `opening`, or fails with a message naming what was expected and what was found.
  void Expect(std::u32string_view opening, const std::string& message) {
    if (!LookingAt(opening)) {
      std::string expected;
      std::string found;
      for (std::size_t i = 0; i < opening.size(); ++i) {
        expected += Utf8Of(opening[i]);
        if (Peek(i) != kEnd) found += Utf8Of(Peek(i));
      }
      Fail(message, NextPosition(), {{"%0:s", expected}, {"%1:s", found}});
    }
    Skip(opening.size());
  }

  // --- encodings ---

  void SelectStartEncoding(TStringEncoding encoding, int codePage) {
    switch (encoding) {
      case TStringEncoding::seAuto:
        if (FSource.SkipBytes("\xEF\xBB\xBF")) {
          SetEncoding(TStringEncoding::seUTF8, kCodePageUtf8);
        } else if (FSource.SkipBytes("\xFF\xFE")) {
          SetEncoding(TStringEncoding::seUTF16, kCodePageUtf16);
        } else {
          SetEncoding(TStringEncoding::seAnsi, kCodePageAnsi);
        }
        break;
      case TStringEncoding::seUTF8:
        FSource.SkipBytes("\xEF\xBB\xBF");
        SetEncoding(TStringEncoding::seUTF8, kCodePageUtf8);
        break;
      case TStringEncoding::seUTF16:
        FSource.SkipBytes("\xFF\xFE");
        SetEncoding(TStringEncoding::seUTF16, kCodePageUtf16);
        break;
      case TStringEncoding::seAnsi:
        SetEncoding(TStringEncoding::seAnsi, codePage);
        break;
    }
  }

  void SetEncoding(TStringEncoding encoding, int codePage, std::string_view charset = {}) {
    if (encoding == TStringEncoding::seUTF8) {
      FSource.SetUtf8();
    } else if (encoding == TStringEncoding::seUTF16) {
      FSource.SetUtf16();
    } else {
      const auto converter = ConverterOfCodePage(codePage);
      if (!converter) {
        const std::string number = std::to_string(codePage);
        throw ESimpleXMLError(
            (charset.empty() ? "Code page " + number
                             : "Charset \"" + std::string(charset) + "\" (code page " + number + ")") +
            " is not supported on this system");
      }
      FSource.SetCodePage(converter->CodePage, converter->MultiByte);
    }
    FDoc.FEncoding = encoding;
    FDoc.FCodePage = codePage;
  }

  // The header's encoding decides how everything after it is read.
  void ApplyHeaderEncoding(const TSimpleXMLElem& header) {
    if (!FAuto) return;
    const TSimpleXMLProp* property = header.PropertyNamed("encoding");
    int codePage = kCodePageAnsi;
    if (property != nullptr && !property->Value.empty()) {
      const auto found = CodePageOfCharset(property->Value);
      if (!found) throw ESimpleXMLError("No matching charset");
      codePage = *found;
    }
    if (codePage == kCodePageUtf16) {
      SetEncoding(TStringEncoding::seUTF16, codePage);
    } else if (codePage == kCodePageUtf8) {
      SetEncoding(TStringEncoding::seUTF8, codePage);
    } else {
      SetEncoding(TStringEncoding::seAnsi, codePage, property ? property->Value : "");
    }
  }

  // --- prolog ---

  void ReadProlog() {
    for (;;) {
      SkipBlanks();
      const char32_t c = Peek();
      if (c == kEnd) return;
      if (c != U'<') Fail("Invalid Document: Unexpected text in file prolog at position %d",
                          NextPosition());
      const TPrologItem kind = ClassifyPrologItem();
      if (kind == TPrologItem::RootBegins) return;
      // An item joins the prolog once it is complete.
      auto item = std::make_unique<TSimpleXMLElem>(PrologItemKind(kind), nullptr);
      switch (kind) {
        case TPrologItem::Comment: ReadComment(*item); break;
        case TPrologItem::DocType: ReadDocType(*item); break;
        default: ReadProcessingInstruction(*item); break;
      }
      FDoc.FProlog.push_back(std::move(item));
      if (kind == TPrologItem::Header) ApplyHeaderEncoding(*FDoc.FProlog.back());
    }
  }

  static TSimpleXMLElemKind PrologItemKind(TPrologItem kind) {
    switch (kind) {
      case TPrologItem::Comment: return TSimpleXMLElemKind::Comment;
      case TPrologItem::DocType: return TSimpleXMLElemKind::DocType;
      case TPrologItem::Header: return TSimpleXMLElemKind::Header;
      case TPrologItem::Sheet: return TSimpleXMLElemKind::Sheet;
      case TPrologItem::MSOApplication: return TSimpleXMLElemKind::MSOApplication;
      default: return TSimpleXMLElemKind::ProcessingInstruction;
    }
  }

  // Looks ahead from a "<" until the text seen names one kind of prolog item.
  TPrologItem ClassifyPrologItem() {
    static constexpr struct {
      std::u32string_view Text;
      TPrologItem Kind;
    } kOpenings[] = {{U"<![CDATA[", TPrologItem::RootBegins}, {U"<!--", TPrologItem::Comment},
                     {U"<?xml-stylesheet", TPrologItem::Sheet}, {U"<?xml ", TPrologItem::Header},
                     {U"<!DOCTYPE", TPrologItem::DocType},
                     {U"<?mso-application", TPrologItem::MSOApplication}};
    std::u32string seen = U"<";
    for (std::size_t i = 1;; ++i) {
      const char32_t c = Peek(i);
      if (c == kEnd) return TPrologItem::RootBegins;  // the root reader meets the end or fails
      seen += c;
      bool couldGrow = false;
      for (const auto& opening : kOpenings) {
        if (seen == opening.Text) return opening.Kind;
        couldGrow = couldGrow || opening.Text.starts_with(seen);
      }
      if (seen[1] == U'?') {
        if (seen.size() >= 4 && IsBlank(c)) return TPrologItem::Other;
      } else if (seen[1] != U'!' || !couldGrow) {
        // An element's start, or a "<!" construct that no opening matches, which the root
        // reader reports as a malformed tag.
        return TPrologItem::RootBegins;
      }
    }
  }

  // --- items ---

  void ReadComment(TSimpleXMLElem& comment) {
    Expect(U"<!--", "Invalid Comment: expected \"%0:s\" but found \"%1:s\" at position %d");
    std::string text;
    for (;;) {
      const char32_t c = Peek();
      if (c == U'-' && Peek(1) == U'-') {
        if (Peek(2) == U'>') {
          Skip(3);
          comment.Value = std::move(text);
          return;
        }
        Skip(2);
        if (Peek() != kEnd) {
          Fail("Invalid Comment: \"--\" not allowed inside comments at position %d",
               FSource.Consumed());
        }
      }
      if (Peek() == kEnd) {
        Fail("Invalid Comment: Unexpected end of data at position %d", FSource.Consumed());
      }
      text += Utf8Of(c);
      Skip();
    }
  }

  void ReadCData(TSimpleXMLElem& cdata) {
    Expect(U"<![CDATA[", "Invalid CDATA: expected \"%0:s\" but found \"%1:s\" at position %d");
    std::string text;
    while (!LookingAt(U"]]>")) {
      const char32_t c = Peek();
      if (c == kEnd) Fail("Invalid CDATA: Unexpected end of data at position %d", FSource.Consumed());
      text += Utf8Of(c);
      Skip();
    }
    Skip(3);
    cdata.Value = std::move(text);
  }

  // Kept as written up to its closing ">"; a ">" inside an internal subset "[...]" does not close it.
  void ReadDocType(TSimpleXMLElem& docType) {
    Expect(U"<!DOCTYPE", "Invalid Header: expected \"%0:s\" but found \"%1:s\" at position %d");
    std::string text;
    int depth = 0;
    for (char32_t c = Require(); c != U'>' || depth > 0; c = Require()) {
      if (c == U'[') ++depth;
      if (c == U']' && depth > 0) --depth;
      text += Utf8Of(c);
      Skip();
    }
    Skip();
    docType.Value = std::move(text);
  }

  // "<?", a name with at most one prefix, attributes, "?>".
  void ReadProcessingInstruction(TSimpleXMLElem& instruction) {
    Skip(2);
    std::string name;
    bool prefixed = false;
    for (char32_t c = Require(); !IsBlank(c) && c != U'?'; c = Require()) {
      if (c == U':' && !prefixed) {
        instruction.NameSpace = std::move(name);
        name.clear();
        prefixed = true;
      } else if (IsNameChar(c)) {
        name += Utf8Of(c);
      } else {
        Fail("Invalid XML Element: malformed tag found (no valid name) at position %d",
             NextPosition());
      }
      Skip();
    }
    if (name.empty()) {
      Fail("Invalid XML Element: malformed tag found (no valid name) at position %d",
           NextPosition());
    }
    instruction.Name = std::move(name);
    ReadProperties(instruction);
    if (Require() == U'?') {
      Skip();
      if (Require() == U'>') {
        Skip();
        return;
      }
    }
    FailAtNext("Invalid XML Element: Expected end of tag but \"%s\" found at position %d");
  }

  // Attributes up to "/", ">" or "?", which is left for the caller.
  void ReadProperties(TSimpleXMLElem& elem) {
    static const std::string kBadCharacter =
        "Invalid XML Element: Unexpected character in property declaration (\"%s\" found at "
        "position %d)";
    for (;;) {
      SkipBlanks();
      char32_t c = Require();
      if (c == U'/' || c == U'>' || c == U'?') return;
      if (!IsNameStart(c) && c != U'-' && c != U'.' && c != U'_') FailAtNext(kBadCharacter);
      TSimpleXMLProp property;
      bool prefixed = false;
      for (;; c = Require()) {
        if (c == U':' && !prefixed && !property.Name.empty()) {
          property.NameSpace = std::move(property.Name);
          property.Name.clear();
          prefixed = true;
        } else if (IsNameChar(c)) {
          property.Name += Utf8Of(c);
        } else {
          // One prefix at most, and a name after it: anything else could not be written back.
          if (IsBlank(c)) SkipBlanks();
          if (Require() != U'=' || property.Name.empty()) FailAtNext(kBadCharacter);
          break;
        }
        Skip();
      }
      Skip();  // '='
      SkipBlanks();
      const char32_t quote = Require();
      if (quote != U'"' && quote != U'\'') {
        FailAtNext(
            "Invalid XML Element: Unexpected character in property declaration. Expecting \" or "
            "' but \"%s\"  found at position %d");
      }
      Skip();
      std::string raw;
      for (c = Require(); c != quote; c = Require()) {
        raw += Utf8Of(c);
        Skip();
      }
      Skip();
      property.Value = DecodeXMLValue(raw);
      elem.Properties.push_back(std::move(property));
    }
  }

  // --- elements ---

  void ReadElement(TSimpleXMLElem& elem, int depth) {
    static const std::string kMalformed =
        "Invalid XML Element: malformed tag found (no valid name) at position %d";
    static const std::string kExpectedEnd =
        "Invalid XML Element: Expected end of tag but \"%s\" found at position %d";
    SkipBlanks();
    if (Require() != U'<') {
      FailAtNext("Invalid XML Element: Expected beginning of tag but \"%s\" found at position %d");
    }
    Skip();
    bool prefixed = false;
    for (char32_t c = Require(); !IsBlank(c) && c != U'/' && c != U'>'; c = Require()) {
      if (c == U':' && !prefixed) {
        elem.NameSpace = std::move(elem.Name);
        elem.Name.clear();
        prefixed = true;
      } else if (IsNameChar(c)) {
        elem.Name += Utf8Of(c);
      } else {
        Fail(kMalformed, NextPosition());
      }
      Skip();
    }
    if (elem.Name.empty()) Fail(kMalformed, NextPosition());
    if (IsBlank(Peek())) {
      ReadProperties(elem);
      SkipBlanks();
    }
    if (Require() == U'/') {
      Skip();
      if (Require() != U'>') FailAtNext(kExpectedEnd);
      Skip();
      return;
    }
    if (Require() != U'>') FailAtNext(kExpectedEnd);
    Skip();
    ReadContent(elem, depth);
    ReadEndTag(elem);
    if (elem.Items.size() == 1 && elem.Items[0]->Kind == TSimpleXMLElemKind::Text) {
      elem.Value = DecodeXMLValue(elem.Items[0]->Value);
      elem.Items.clear();
    }
  }

  // Items up to the "</" of the element's end tag.
  void ReadContent(TSimpleXMLElem& elem, int depth) {
    std::string text;
    bool textHasNonBlank = false;
    for (;;) {
      const char32_t c = Require();  // a pending text run is dropped at the end of the text
      if (c != U'<') {
        text += Utf8Of(c);
        textHasNonBlank = textHasNonBlank || !IsBlank(c);
        Skip();
        continue;
      }
      if (textHasNonBlank) elem.AddItem(TSimpleXMLElemKind::Text).Value = DecodeXMLValue(text);
      text.clear();
      textHasNonBlank = false;

      const char32_t next = Peek(1);
      if (next == U'/') return;
      if (LookingAt(U"<![CDATA[")) {
        ReadItem(elem, TSimpleXMLElemKind::CData, &TXMLReader::ReadCData);
      } else if (LookingAt(U"<!--")) {
        ReadItem(elem, TSimpleXMLElemKind::Comment, &TXMLReader::ReadComment);
      } else if (next == U'?') {
        ReadItem(elem, TSimpleXMLElemKind::ProcessingInstruction,
                 &TXMLReader::ReadProcessingInstruction);
      } else {
        if (depth + 1 >= kMaxDepth) {
          Fail("Invalid XML Element: elements nested too deeply at position %d", NextPosition());
        }
        // A child stays when reading stops inside it, so that what it holds can be found; one
        // without a name cannot be written and goes.
        TSimpleXMLElem& child = elem.AddItem(TSimpleXMLElemKind::Classic);
        try {
          ReadElement(child, depth + 1);
        } catch (...) {
          if (child.Name.empty()) elem.Items.pop_back();
          throw;
        }
      }
    }
  }

  // Other items join their element once they are complete.
  void ReadItem(TSimpleXMLElem& elem, TSimpleXMLElemKind kind,
                void (TXMLReader::*read)(TSimpleXMLElem&)) {
    auto item = std::make_unique<TSimpleXMLElem>(kind, &elem);
    (this->*read)(*item);
    elem.Items.push_back(std::move(item));
  }

  // "</name>": the name as the start tag had it (a prefixed name in any letter case).
  void ReadEndTag(const TSimpleXMLElem& elem) {
    Skip(2);
    std::string name;
    for (char32_t c = Require(); !IsBlank(c) && c != U'>'; c = Require()) {
      if (!IsNameChar(c) && c != U':') break;
      name += Utf8Of(c);
      Skip();
    }
    const std::string expected = elem.FullName();
    const bool same = elem.NameSpace.empty() ? name == expected
                                             : base::SameAsciiText(name, expected);
    if (!same) {
      Fail("Invalid XML Element: Erroneous end of tag, expecting </%0:s> but </%1:s> found at "
           "position %d",
           FSource.Consumed(), {{"%0:s", expected}, {"%1:s", name}});
    }
    SkipBlanks();
    if (Require() != U'>') {
      FailAtNext("Invalid XML Element: Expected end of tag but \"%s\" found at position %d");
    }
    Skip();
  }

  TSimpleXML& FDoc;
  TXMLCharSource FSource;
  bool FAuto = true;
};

void TSimpleXML::LoadFromString(std::string_view bytes, TStringEncoding encoding, int codePage) {
  TXMLReader(*this, bytes).Read(encoding, codePage);
}

}  // namespace pavona::settings
