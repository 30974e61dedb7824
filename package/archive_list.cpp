#include "package/archive_list.h"

namespace pavona::package {

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Decodes UTF-8 into UTF-16 code units; a malformed byte counts as one unit of its own value.
template <typename Fn>
void ForEachUtf16Unit(const std::string& text, Fn fn) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::uint32_t cp = c;
    std::size_t length = 1;
    if (c >= 0xC0 && c < 0xE0) cp = c & 0x1F, length = 2;
    else if (c >= 0xE0 && c < 0xF0) cp = c & 0x0F, length = 3;
    else if (c >= 0xF0 && c < 0xF8) cp = c & 0x07, length = 4;
    if (length > 1 && i + length <= text.size()) {
      for (std::size_t k = 1; k < length; ++k) cp = cp << 6 | (text[i + k] & 0x3F);
    } else {
      cp = c;
      length = 1;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      fn(0xD800 + (cp >> 10));
      fn(0xDC00 + (cp & 0x3FF));
    } else {
      fn(cp);
    }
    i += length;
  }
}

}  // namespace

int TArchiveList::Bucket(const std::string& name) {
  std::uint32_t h = 0;
  ForEachUtf16Unit(name, [&h](std::uint32_t c) {
    if (c >= 'a' && c <= 'z') c -= 32;
    h = (h << 4) + c;
    const std::uint32_t g = h & 0xF0000000u;
    if (g != 0) h ^= g >> 24;
    h &= ~g;
  });
  return static_cast<int>(h % kBuckets);
}

void TArchiveList::Link(int index) {
  TArchiveItem& item = *FItems[static_cast<std::size_t>(index)];
  int& head = FBuckets[static_cast<std::size_t>(Bucket(item.FFileName))];
  item.NextItem = head;
  head = index;
}

void TArchiveList::Add(std::unique_ptr<TArchiveItem> item) {
  FItems.push_back(std::move(item));
  Link(Count() - 1);
}

void TArchiveList::Delete(int index) {
  FItems.erase(FItems.begin() + index);
  // Indices behind the deleted one shift, so the chains are rebuilt.
  FBuckets.fill(-1);
  for (int i = 0; i < Count(); ++i) Link(i);
}

void TArchiveList::Clear() {
  FItems.clear();
  FBuckets.fill(-1);
}

int TArchiveList::Find(const std::string& name) const {
  for (int i = FBuckets[static_cast<std::size_t>(Bucket(name))]; i >= 0;
       i = FItems[static_cast<std::size_t>(i)]->NextItem) {
    if (SameName(FItems[static_cast<std::size_t>(i)]->FFileName, name)) return i;
  }
  return -1;
}

}  // namespace pavona::package
