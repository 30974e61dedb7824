#include "package/package_extract.h"

#include <exception>

#include "package/archive_error.h"
#include "package/unzip_item.h"
#include "package/zip_archive.h"
#include "platform/files.h"

namespace pavona::package {

void ExtractPackage(const std::string& archivePath, const std::string& folder,
                    const TExtractFailure& onFailure) {
  TZipArchive archive(archivePath, fmOpenRead | fmShareDenyNone);
  archive.SetBaseDirectory(folder);
  if (!platform::IsOwnedByCurrentUser(archive.BaseDirectory())) throw EUnsafeDirectory();
  archive.Load();
  archive.ExtractHelper = [&onFailure](TArchive& sender, TArchiveItem& item,
                                       const std::string& name) {
    if (!onFailure) return UnzipItem(sender, item, name);
    // The reason is taken here, on its way to the archive, which keeps only class and code.
    try {
      UnzipItem(sender, item, name);
    } catch (const std::exception& e) {
      onFailure(item, e.what());
      throw;
    } catch (...) {
      onFailure(item, "Unknown error");
      throw;
    }
  };
  archive.ExtractFiles("*.*");
}

}  // namespace pavona::package
