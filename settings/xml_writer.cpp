// The writer of TSimpleXML: the document as file bytes, indented two spaces per level, lines
// ending in CR LF.
#include <algorithm>
#include <string>

#include "platform/codepage.h"
#include "settings/charsets.h"
#include "settings/simple_xml.h"
#include "settings/xml_value.h"

namespace pavona::settings {

namespace {

std::string Properties(const TSimpleXMLElem& elem) {
  std::string out;
  for (const TSimpleXMLProp& property : elem.Properties) {
    out += ' ';
    if (!property.NameSpace.empty()) out += property.NameSpace + ":";
    out += property.Name + "=\"" + EncodeXMLValue(property.Value) + "\"";
  }
  return out;
}

std::string HeaderLine(const TSimpleXMLElem* header, const std::string& charset) {
  const TSimpleXMLProp* version = header ? header->PropertyNamed("version") : nullptr;
  const TSimpleXMLProp* standalone = header ? header->PropertyNamed("standalone") : nullptr;
  return "<?xml version=\"" + EncodeXMLValue(version ? version->Value : "1.0") +
         "\" encoding=\"" + EncodeXMLValue(charset) + "\" standalone=\"" +
         (standalone && standalone->Value == "yes" ? "yes" : "no") + "\"?>";
}

void WriteElement(std::string& out, const TSimpleXMLElem& elem, int level, bool inlined);

// Inlined items get no indentation and no line breaks: inside an element that holds text, any
// added blank would become part of that text when read back.
void WriteItem(std::string& out, const TSimpleXMLElem& item, int level, bool inlined) {
  if (item.Kind == TSimpleXMLElemKind::Classic) {
    WriteElement(out, item, level, inlined);
    return;
  }
  if (!inlined) out.append(static_cast<std::size_t>(level) * 2, ' ');
  switch (item.Kind) {
    case TSimpleXMLElemKind::Text: out += EncodeXMLValue(item.Value); break;
    case TSimpleXMLElemKind::CData: out += "<![CDATA[" + item.Value + "]]>"; break;
    case TSimpleXMLElemKind::Comment: out += "<!--" + item.Value + "-->"; break;
    case TSimpleXMLElemKind::DocType: out += "<!DOCTYPE" + item.Value + ">"; break;
    default: {
      std::string properties = Properties(item);
      // "<?xml " starts a header: another instruction named xml keeps a different blank.
      if (item.FullName() == "xml" && !properties.empty()) properties[0] = '\t';
      out += "<?" + item.FullName() + properties + "?>";
      break;
    }
  }
  if (!inlined) out += "\r\n";
}

void WriteElement(std::string& out, const TSimpleXMLElem& elem, int level, bool inlined) {
  const std::string indent = inlined ? std::string() : std::string(level * 2, ' ');
  const std::string name = elem.FullName();
  out += indent + "<" + name + Properties(elem);
  // A lone text item is left only where reading stopped inside the element, whose value then
  // is empty; written out, it would read back as the value.
  const bool loneText = elem.Items.size() == 1 && elem.Items[0]->Kind == TSimpleXMLElemKind::Text;
  if (elem.Items.empty() || loneText) {
    out += elem.Value.empty() ? "/>" : ">" + EncodeXMLElementValue(elem.Value) + "</" + name + ">";
  } else {
    bool mixed = inlined;
    for (const auto& item : elem.Items) mixed = mixed || item->Kind == TSimpleXMLElemKind::Text;
    out += mixed ? ">" : ">\r\n";
    for (const auto& item : elem.Items) WriteItem(out, *item, level + 1, mixed);
    out += (mixed ? std::string() : indent) + "</" + name + ">";
  }
  if (!inlined) out += "\r\n";
}

}  // namespace

std::string TSimpleXML::SaveToString() const {
  const TSimpleXMLElem* header = Header();
  const TSimpleXMLProp* named = header ? header->PropertyNamed("encoding") : nullptr;
  int codePage = FEncoding == TStringEncoding::seUTF8    ? kCodePageUtf8
                 : FEncoding == TStringEncoding::seUTF16 ? kCodePageUtf16
                                                         : FCodePage;
  std::string charset = CharsetOfCodePage(codePage);
  if (named != nullptr && !named->Value.empty()) {
    const auto found = CodePageOfCharset(named->Value);
    if (!found) throw ESimpleXMLError("No matching charset");
    codePage = *found;
    charset = named->Value;
  }

  // The reader takes everything up to the header in the ANSI code page (after a byte-order
  // mark, in its encoding) and the rest in the header's; so is it written.
  std::string lead;
  std::string body;
  if (header == nullptr) {
    lead = HeaderLine(nullptr, charset);
    body = "\r\n";
  }
  std::string* out = header == nullptr ? &body : &lead;
  for (const auto& item : FProlog) {
    if (item->Kind == TSimpleXMLElemKind::Header) {
      // Every header names the encoding the rest is written in.
      *out += HeaderLine(item.get(), charset);
      out = &body;
      body += "\r\n";
    } else {
      WriteItem(*out, *item, 0, false);
    }
  }
  if (!FRoot.Name.empty()) WriteElement(body, FRoot, 0, false);

  if (codePage == kCodePageUtf8) return "\xEF\xBB\xBF" + lead + body;
  if (codePage == kCodePageUtf16) return "\xFF\xFE" + platform::FromUtf8(lead + body, platform::kUtf16CodePage);
  const auto converter = ConverterOfCodePage(codePage);
  if (!converter) {
    throw ESimpleXMLError("Code page " + std::to_string(codePage) +
                          " is not supported on this system");
  }
  // Prolog items before the header that ANSI cannot hold go after a UTF-8 mark instead.
  const bool ascii = std::all_of(lead.begin(), lead.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return (ascii ? lead : "\xEF\xBB\xBF" + lead) + platform::FromUtf8(body, converter->CodePage);
}

}  // namespace pavona::settings
