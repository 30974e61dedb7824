#include "settings/simple_xml.h"

#include "base/ascii.h"

namespace pavona::settings {

namespace {


}  // namespace

TSimpleXMLElem* TSimpleXMLElem::ItemNamed(std::string_view name) const {
  // From the back: of several children with one name, the last one counts.
  for (auto it = Items.rbegin(); it != Items.rend(); ++it) {
    if ((*it)->Kind == TSimpleXMLElemKind::Classic && base::SameAsciiText((*it)->Name, name)) {
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
  for (const auto& item : FProlog) {
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
