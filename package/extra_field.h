// The extra field of a ZIP header: sub-fields of (id 16 bits, size 16 bits, data).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/stream.h"

namespace pavona::package {

class TExtraField {
 public:
  TExtraField() = default;
  // Takes the raw bytes; a last sub-field that claims more than remains is cut down in the buffer.
  explicit TExtraField(std::vector<std::uint8_t> buffer);

  // The data of the first sub-field with this id, or nothing.
  std::optional<std::string_view> Get(std::uint16_t id) const;
  // A fresh memory stream over a copy of that data, at position 0; null when absent.
  std::unique_ptr<platform::TMemoryStream> GetStream(std::uint16_t id) const;

  const std::vector<std::uint8_t>& Buffer() const { return FBuffer; }

 private:
  std::vector<std::uint8_t> FBuffer;
};

}  // namespace pavona::package
