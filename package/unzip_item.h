// Writing one archive entry to a file: the per-entry extraction the viewer installs as the
// archive's ExtractHelper.
#pragma once

#include <string>

#include "package/zip_archive.h"

namespace pavona::package {

// Writes Item of the ZIP archive Sender to the file UseName, or creates the folder UseName for a
// directory entry. The data is decoded into a temporary file beside UseName that replaces it
// only once decoding and the CRC check have passed, so a failed entry leaves no partial file and
// an older file of the same name intact. A read-only file of that name is never replaced. Then
// the entry's time and read-only attribute are applied; an invalid stored time stamp raises
// EConvertError with the written file kept.
void UnzipItem(TArchive& Sender, TArchiveItem& Item, const std::string& UseName);

}  // namespace pavona::package
