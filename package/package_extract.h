// The player's one use of the archive reader: unpack a show's package, flat, into a folder.
#pragma once

#include <functional>
#include <string>

#include "package/archive_item.h"

namespace pavona::package {

// Called for each entry that could not be extracted, with the reason.
using TExtractFailure = std::function<void(const TArchiveItem& Item, const std::string& Message)>;

// Opens archivePath (a plain ZIP file, or the player followed by its package) for reading,
// loads its directory and extracts every entry matching "*.*" into folder under the last
// component of its name: folder parts are dropped, directory entries skipped, existing files
// replaced, later entries of the same name win. A failing entry is skipped (and passed to
// onFailure when given) while the others go on. Raises what opening, loading or the extraction
// loop raise: file-open errors, EZipInvalid, ENoSuchDirectory, and EUnsafeDirectory when folder
// is a symbolic link or belongs to another user.
void ExtractPackage(const std::string& archivePath, const std::string& folder,
                    const TExtractFailure& onFailure = nullptr);

}  // namespace pavona::package
