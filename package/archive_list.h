// The entries of an archive in directory order, with a hash of their names for Find.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "package/archive_item.h"

namespace pavona::package {

class TArchiveList {
 public:
  static constexpr int kBuckets = 1021;

  TArchiveList() { FBuckets.fill(-1); }

  void Add(std::unique_ptr<TArchiveItem> item);
  void Delete(int index);
  void Clear();
  // The index of the entry with this name (ASCII letters without case), or -1.
  int Find(const std::string& name) const;

  int Count() const { return static_cast<int>(FItems.size()); }
  TArchiveItem& Items(int index) const { return *FItems.at(static_cast<std::size_t>(index)); }

  // The hash bucket of a name: its UTF-16 code units, upper-cased, through the ELF hash.
  static int Bucket(const std::string& name);

 private:
  void Link(int index);

  std::vector<std::unique_ptr<TArchiveItem>> FItems;
  std::array<int, kBuckets> FBuckets;  // index of the newest item of each bucket, or -1
};

}  // namespace pavona::package
