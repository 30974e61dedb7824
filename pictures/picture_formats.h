// The process-wide registry of picture file formats: extension -> graphic kind. Lookup compares
// the lower-cased extension with the registered ones from the newest registration back to the
// oldest, so a later registration of an extension overrides an earlier one.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "pictures/graphic.h"

namespace pavona::pictures {

// Creates an empty graphic of one kind.
using TGraphicClass = std::unique_ptr<TGraphic> (*)();

struct TFileFormat {
  std::string Extension;  // lower case, without the dot
  std::string Description;
  TGraphicClass GraphicClass = nullptr;
  int DescResID = 0;
};

class TFileFormatsList {
 public:
  // Registers the built-in formats: wmf, emf, ico, tiff, tif, bmp, png, jpeg, jpg in that order.
  TFileFormatsList();

  void Add(const std::string& extension, const std::string& description, int descResID,
           TGraphicClass graphicClass);
  // The graphic kind of an extension written without its dot, in any case; null when none.
  TGraphicClass FindExt(const std::string& extension) const;
  // All entries in registration order.
  std::vector<TFileFormat> Formats() const;

 private:
  mutable std::mutex FMutex;
  std::vector<TFileFormat> FFormats;
};

// The registry, created with its built-in formats on first use.
TFileFormatsList& FileFormats();

}  // namespace pavona::pictures
