#include "platform/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace pavona::platform {

namespace {

struct TConverterRow {
  int CodePage;
  const char* IconvName;
  bool MultiByte;
};

// Windows code page numbers and the iconv encodings that hold them.
const TConverterRow kConverters[] = {
    {37, "IBM037", false},          {437, "IBM437", false},       {500, "IBM500", false},
    {708, "ASMO-708", false},       {737, "CP737", false},        {775, "IBM775", false},
    {850, "IBM850", false},         {852, "IBM852", false},       {855, "IBM855", false},
    {857, "IBM857", false},         {858, "IBM858", false},       {860, "IBM860", false},
    {861, "IBM861", false},         {862, "IBM862", false},       {863, "IBM863", false},
    {864, "IBM864", false},         {865, "IBM865", false},       {866, "IBM866", false},
    {869, "IBM869", false},         {870, "IBM870", false},       {874, "WINDOWS-874", false},
    {875, "IBM875", false},         {932, "WINDOWS-31J", true},   {936, "WINDOWS-936", true},
    {949, "CP949", true},           {950, "CP950", true},         {1026, "IBM1026", false},
    {1140, "IBM1140", false},       {1141, "IBM1141", false},     {1142, "IBM1142", false},
    {1143, "IBM1143", false},       {1144, "IBM1144", false},     {1145, "IBM1145", false},
    {1146, "IBM1146", false},       {1147, "IBM1147", false},     {1148, "IBM1148", false},
    {1149, "IBM1149", false},       {1200, "UTF-16LE", true},     {1201, "UTF-16BE", true},
    {1250, "WINDOWS-1250", false},  {1251, "WINDOWS-1251", false}, {1252, "WINDOWS-1252", false},
    {1253, "WINDOWS-1253", false},  {1254, "WINDOWS-1254", false}, {1255, "WINDOWS-1255", false},
    {1256, "WINDOWS-1256", false},  {1257, "WINDOWS-1257", false}, {1258, "WINDOWS-1258", false},
    {1361, "JOHAB", true},          {10000, "MACINTOSH", false},  {10007, "MAC-CYRILLIC", false},
    {10029, "MAC-CENTRALEUROPE", false}, {10079, "MAC-IS", false}, {20106, "ISO646-DE", false},
    {20107, "ISO646-SE", false},    {20108, "ISO646-NO", false},  {20127, "ANSI_X3.4-1968", false},
    {20273, "IBM273", false},       {20277, "IBM277", false},     {20278, "IBM278", false},
    {20280, "IBM280", false},       {20284, "IBM284", false},     {20285, "IBM285", false},
    {20290, "IBM290", false},       {20297, "IBM297", false},     {20420, "IBM420", false},
    {20423, "IBM423", false},       {20424, "IBM424", false},     {20866, "KOI8-R", false},
    {20871, "IBM871", false},       {20880, "IBM880", false},     {20905, "IBM905", false},
    {21025, "IBM1025", false},      {21866, "KOI8-U", false},     {28591, "ISO-8859-1", false},
    {28592, "ISO-8859-2", false},   {28593, "ISO-8859-3", false}, {28594, "ISO-8859-4", false},
    {28595, "ISO-8859-5", false},   {28596, "ISO-8859-6", false}, {28597, "ISO-8859-7", false},
    {28598, "ISO-8859-8", false},   {28599, "ISO-8859-9", false}, {28605, "ISO-8859-15", false},
    {38598, "ISO-8859-8", false},   {50220, "ISO-2022-JP", true}, {50221, "ISO-2022-JP", true},
    {50222, "ISO-2022-JP", true},   {50225, "ISO-2022-KR", true}, {50930, "IBM930", true},
    {50933, "IBM933", true},        {50935, "IBM935", true},      {50937, "IBM937", true},
    {50939, "IBM939", true},        {51932, "EUC-JP", true},      {51936, "EUC-CN", true},
    {51949, "EUC-KR", true},        {65000, "UTF-7", true},       {65001, "UTF-8", true},
};

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : FCd(::iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) ::iconv_close(FCd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return FCd != reinterpret_cast<iconv_t>(-1); }

  // Converts all of input; an unconvertible sequence is skipped byte by byte and replaced.
  std::string Run(std::string_view input, std::string_view replacement) {
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
      char* dst = buffer;
      std::size_t dstLeft = sizeof buffer;
      const std::size_t r = ::iconv(FCd, &in, &inLeft, &dst, &dstLeft);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL (truncated sequence): replace one byte and go on.
        out.append(replacement);
        ++in;
        --inLeft;
        ::iconv(FCd, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    ::iconv(FCd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return out;
  }

 private:
  iconv_t FCd;
};

const TConverterRow* FindConverter(int codePage) {
  for (const TConverterRow& row : kConverters) {
    if (row.CodePage == codePage) return &row;
  }
  return nullptr;
}

const char* IconvName(int codePage) {
  const TConverterRow* row = FindConverter(codePage);
  if (row == nullptr) throw ECodePageError("Unknown code page: " + std::to_string(codePage));
  return row->IconvName;
}

}  // namespace

std::optional<TCodePageInfo> CodePageInfo(int codePage) {
  const TConverterRow* row = FindConverter(codePage);
  if (row == nullptr || !Converter("UTF-8", row->IconvName).ok()) return std::nullopt;
  return TCodePageInfo{row->MultiByte};
}

std::string ToUtf8(std::string_view bytes, int codePage) {
  Converter converter("UTF-8", IconvName(codePage));
  if (!converter.ok()) throw ECodePageError("Unknown code page: " + std::to_string(codePage));
  return converter.Run(bytes, "\xEF\xBF\xBD");
}

std::string FromUtf8(std::string_view utf8, int codePage) {
  Converter converter(IconvName(codePage), "UTF-8");
  if (!converter.ok()) throw ECodePageError("Unknown code page: " + std::to_string(codePage));
  return converter.Run(utf8, "?");
}

}  // namespace pavona::platform
