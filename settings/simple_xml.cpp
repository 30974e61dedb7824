#include "settings/simple_xml.h"

namespace pavona::settings {

namespace {

bool SameAsciiText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i];
    char y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

TSimpleXMLElem* TSimpleXMLElem::ItemNamed(std::string_view name) const {
  // From the back: of several children with one name, the last one counts.
  for (auto it = Items.rbegin(); it != Items.rend(); ++it) {
    if ((*it)->Kind == TSimpleXMLElemKind::Classic && SameAsciiText((*it)->Name, name)) {
      return it->get();
    }
  }
  return nullptr;
}

const TSimpleXMLProp* TSimpleXMLElem::PropertyNamed(std::string_view name) const {
  for (const TSimpleXMLProp& property : Properties) {
    if (property.Name == name) return &property;
  }
  return nullptr;
}

TSimpleXMLElem& TSimpleXMLElem::AddItem(TSimpleXMLElemKind kind) {
  Items.push_back(std::make_unique<TSimpleXMLElem>(kind, this));
  return *Items.back();
}

std::string TSimpleXMLElem::FullName() const {
  return NameSpace.empty() ? Name : NameSpace + ":" + Name;
}

void TSimpleXMLElem::Clear() {
  Items.clear();
  Properties.clear();
}

const TSimpleXMLElem* TSimpleXML::Header() const {
  for (const auto& item : Prolog_) {
    if (item->Kind == TSimpleXMLElemKind::Header) return item.get();
  }
  return nullptr;
}

void TSimpleXML::LoadFromStream(platform::TStream& stream, TStringEncoding encoding,
                                int codePage) {
  std::string bytes;
  char buffer[16384];
  while (const std::size_t n = stream.Read(buffer, sizeof buffer)) bytes.append(buffer, n);
  LoadFromString(bytes, encoding, codePage);
}

void TSimpleXML::LoadFromFile(const std::string& path, TStringEncoding encoding, int codePage) {
  platform::TFileStream stream(path, platform::FileMode::Read);
  LoadFromStream(stream, encoding, codePage);
}

}  // namespace pavona::settings
