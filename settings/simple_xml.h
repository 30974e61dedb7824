// The in-memory XML document of the settings store, with its reader and writer.
//
// The reader is small and lenient rather than validating: it reads the prolog, then the root
// element, and stops at the root's end tag; a document that ends early ends quietly with what
// was read. Values are decoded on reading ("&amp;" and the other four entities, "&#N;",
// "&#xH;"), and an element whose only content is one text run takes that text as its value,
// decoded once more. All strings are UTF-8.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace pavona::settings {

// Every syntax error of the reader, with the character position in its message.
class ESimpleXMLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TStringEncoding { seAnsi, seUTF8, seUTF16, seAuto };

enum class TSimpleXMLElemKind {
  Classic,                // an element with a name, attributes, items and a value
  Text,                   // a run of text among other items
  CData,                  // <![CDATA[...]]>, kept undecoded
  Comment,                // <!--...-->
  ProcessingInstruction,  // <?name attributes?>
  Header,                 // <?xml ...?> in the prolog
  Sheet,                  // <?xml-stylesheet ...?> in the prolog
  MSOApplication,         // <?mso-application ...?> in the prolog
  DocType,                // <!DOCTYPE ...> in the prolog, kept as written
};

struct TSimpleXMLProp {
  std::string Name;
  std::string NameSpace;
  std::string Value;  // decoded
};

class TSimpleXMLElem {
 public:
  TSimpleXMLElem(TSimpleXMLElemKind kind, TSimpleXMLElem* parent) : Kind(kind), Parent(parent) {}
  TSimpleXMLElem(const TSimpleXMLElem&) = delete;
  TSimpleXMLElem& operator=(const TSimpleXMLElem&) = delete;

  TSimpleXMLElemKind Kind;
  TSimpleXMLElem* Parent;
  std::string Name;       // without the namespace prefix; empty for text items
  std::string NameSpace;  // the prefix before ":", or empty
  // Classic: the decoded value; Text: the decoded text; CData, Comment, DocType: the raw text.
  std::string Value;
  std::vector<TSimpleXMLProp> Properties;
  std::vector<std::unique_ptr<TSimpleXMLElem>> Items;

  // The last classic child whose name matches, ASCII letter case ignored; nullptr when none.
  TSimpleXMLElem* ItemNamed(std::string_view name) const;
  // The first attribute with this exact name; nullptr when none.
  const TSimpleXMLProp* PropertyNamed(std::string_view name) const;
  TSimpleXMLElem& AddItem(TSimpleXMLElemKind kind);
  // "prefix:name", or the name alone.
  std::string FullName() const;
  // Removes the items and attributes; name and value stay.
  void Clear();
};

class TSimpleXML {
 public:
  TSimpleXML() = default;
  TSimpleXML(const TSimpleXML&) = delete;
  TSimpleXML& operator=(const TSimpleXML&) = delete;

  TSimpleXMLElem& Root() { return FRoot; }
  const TSimpleXMLElem& Root() const { return FRoot; }
  std::vector<std::unique_ptr<TSimpleXMLElem>>& Prolog() { return FProlog; }
  const std::vector<std::unique_ptr<TSimpleXMLElem>>& Prolog() const { return FProlog; }
  // The prolog's header, or nullptr.
  const TSimpleXMLElem* Header() const;

  // The encoding in force when reading ended; writing uses it when no header says otherwise.
  TStringEncoding Encoding() const { return FEncoding; }
  int CodePage() const { return FCodePage; }

  // Replaces the prolog and the root's content and attributes with the document in bytes.
  // seAuto finds the encoding from a byte-order mark and the header; codePage selects the
  // text's code page for seAnsi (0: the system's ANSI code page). Raises ESimpleXMLError on a
  // syntax error, keeping what was read up to it.
  void LoadFromString(std::string_view bytes, TStringEncoding encoding = TStringEncoding::seAuto,
                      int codePage = 0);
  void LoadFromStream(platform::TStream& stream,
                      TStringEncoding encoding = TStringEncoding::seAuto, int codePage = 0);
  // Raises platform::EStreamError when the file cannot be read.
  void LoadFromFile(const std::string& path, TStringEncoding encoding = TStringEncoding::seAuto,
                    int codePage = 0);

  // The document as file bytes, in the header's encoding (or the one read with), with a
  // header always. Reading the result gives back every name, value and attribute.
  std::string SaveToString() const;

 private:
  friend class TXMLReader;

  TSimpleXMLElem FRoot{TSimpleXMLElemKind::Classic, nullptr};
  std::vector<std::unique_ptr<TSimpleXMLElem>> FProlog;
  TStringEncoding FEncoding = TStringEncoding::seAnsi;
  int FCodePage = 0;
};

}  // namespace pavona::settings
