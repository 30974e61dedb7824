// `pavona list ARCHIVE`: the entries of a ZIP file or a show, one line each.
#include <cstdio>
#include <string>
#include <vector>

#include "package/zip_archive.h"
#include "package/zip_methods.h"
#include "tools/command.h"

namespace pavona::tools {

namespace {

using package::TZipItem;

std::string MethodName(const TZipItem& item) {
  static const char kDeflateLevel[] = {'N', 'X', 'F', 'S'};
  const std::uint16_t number = item.CompressionMethod();
  const package::TZipMethod* method = package::FindZipMethod(number);
  if (method == nullptr) return "Unk:" + std::to_string(number);
  // Deflate's two option bits say how hard the writer tried.
  if (number == package::zip_method::kDeflated) {
    return std::string("Defl:") + kDeflateLevel[(item.GeneralPurposeBitFlag() >> 1) & 3];
  }
  return method->Name;
}

// Saved space in percent, as a whole number.
int Ratio(std::int64_t compressed, std::int64_t size) {
  if (size <= 0) return 0;
  return static_cast<int>((size - compressed) * 100 / size);
}

int Run(const std::vector<std::string>& args) {
  if (args.size() != 1) throw UsageError{"expected one ARCHIVE"};
  package::TZipArchive archive(args[0], package::fmOpenRead | package::fmShareDenyNone);
  archive.Load();

  std::printf(" Length   Method    Size  Cmpr    Date    Time   CRC-32   Name\n");
  std::printf("--------  ------  ------- ---- ---------- ----- --------  ----\n");
  std::int64_t totalSize = 0, totalCompressed = 0;
  for (int i = 0; i < archive.Count(); ++i) {
    const TZipItem& item = archive.Items(i);
    const unsigned date = item.FLastModFileDate, time = item.FLastModFileTime;
    // The stored fields as they are: a damaged time stamp shows as such instead of failing.
    std::printf("%8lld  %-7s%8lld %3d%% %04u-%02u-%02u %02u:%02u %08x  %s\n",
                static_cast<long long>(item.FUncompressedSize), MethodName(item).c_str(),
                static_cast<long long>(item.FCompressedSize),
                Ratio(item.FCompressedSize, item.FUncompressedSize), 1980 + (date >> 9),
                (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63,
                static_cast<unsigned>(item.FCRC32), item.FFileName.c_str());
    totalSize += item.FUncompressedSize;
    totalCompressed += item.FCompressedSize;
  }
  std::printf("--------          ------- ----                            -------\n");
  std::printf("%8lld        %8lld %3d%%                            %d file%s\n",
              static_cast<long long>(totalSize), static_cast<long long>(totalCompressed),
              Ratio(totalCompressed, totalSize), archive.Count(), archive.Count() == 1 ? "" : "s");
  return kExitOk;
}

}  // namespace

constexpr const char* kHelp =
    R"(Lists every entry of ARCHIVE (a show or a plain ZIP file) as the player's package
reader sees it: compression method, sizes, CRC-32, time and name, then the totals. There are no
options.

Example:
  pavona list holiday.show
)";

PAVONA_COMMAND("list", "ARCHIVE",
                "list the entries of a ZIP file or show: method, sizes, CRC-32, time, name",
                &Run, kHelp);

}  // namespace pavona::tools
