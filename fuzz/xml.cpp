// Reads arbitrary bytes as a settings document. A document that reads must write out as bytes
// that read again and write out unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/codepage.h"
#include "settings/simple_xml.h"

using pavona::settings::ESimpleXMLError;
using pavona::settings::TSimpleXML;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  TSimpleXML xml;
  try {
    xml.LoadFromString(input);
  } catch (const ESimpleXMLError&) {
    return 0;
  }
  std::string written;
  try {
    written = xml.SaveToString();
  } catch (const ESimpleXMLError&) {
    return 0;  // a code page this host cannot write
  }
  TSimpleXML again;
  again.LoadFromString(written);  // throwing here is a finding
  if (again.SaveToString() != written) std::abort();
  return 0;
}
