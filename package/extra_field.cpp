#include "package/extra_field.h"

#include "package/little_endian.h"

namespace pavona::package {

TExtraField::TExtraField(std::vector<std::uint8_t> buffer) : FBuffer(std::move(buffer)) {
  std::size_t at = 0;
  while (FBuffer.size() - at >= 4) {
    const std::size_t size = GetU16(&FBuffer[at + 2]);
    const std::size_t room = FBuffer.size() - at - 4;
    if (size > room) {
      FBuffer[at + 2] = static_cast<std::uint8_t>(room);
      FBuffer[at + 3] = static_cast<std::uint8_t>(room >> 8);
      break;
    }
    at += 4 + size;
  }
}

std::optional<std::string_view> TExtraField::Get(std::uint16_t id) const {
  std::size_t at = 0;
  while (FBuffer.size() - at >= 4) {
    const std::size_t size = GetU16(&FBuffer[at + 2]);
    if (GetU16(&FBuffer[at]) == id) {
      return std::string_view(reinterpret_cast<const char*>(FBuffer.data()) + at + 4, size);
    }
    at += 4 + size;
  }
  return std::nullopt;
}

std::unique_ptr<platform::TMemoryStream> TExtraField::GetStream(std::uint16_t id) const {
  const auto data = Get(id);
  if (!data) return nullptr;
  return std::make_unique<platform::TMemoryStream>(
      std::vector<std::uint8_t>(data->begin(), data->end()));
}

}  // namespace pavona::package
