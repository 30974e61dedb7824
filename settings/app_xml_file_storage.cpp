#include "settings/app_xml_file_storage.h"

#include "base/ascii.h"

#include <optional>

#include "platform/files.h"
#include "platform/stream.h"
#include "settings/comma_text.h"
#include "settings/utf8.h"

namespace pavona::settings {

namespace {

constexpr char kPathDelimiter = '\\';

bool IsNameWhiteSpace(char32_t c) { return (c >= 0x09 && c <= 0x0D) || c == U' '; }

bool IsAllowedNameChar(char32_t c) {
  return c == U'-' || c == U'.' || c == U':' || c == U'_' || (c >= U'0' && c <= U'9') ||
         (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
}


std::vector<std::string> UpperWords(const std::string& list) {
  return SplitCommaText(base::AsciiUpperCase(list));
}

bool HasFirstWord(const std::string& list) {
  const auto words = SplitCommaText(list);
  return !words.empty() && !words.front().empty();
}

void CheckReplacement(const std::string& value, const char* property, bool whiteSpaceProperty) {
  for (std::size_t i = 0; i < value.size();) {
    const std::size_t start = i;
    const char32_t c = DecodeUtf8(value, i);
    if (whiteSpaceProperty && IsNameWhiteSpace(c)) {
      throw EPropertyError("The WhiteSpaceReplacement property cannot contain any white spaces.");
    }
    if (!IsAllowedNameChar(c)) {
      throw EPropertyError("\"" + value.substr(start, i - start) +
                           "\" is not an allowed character for the " + property + " property.");
    }
  }
}

// A number as the float conversion reads it: spaces, sign, digits with an optional fraction
// and exponent, spaces. Yields whether it is not zero.
std::optional<bool> FloatIsNonZero(std::string_view s) {
  std::size_t p = 0;
  const auto skipSpaces = [&] {
    while (p < s.size() && s[p] == ' ') ++p;
  };
  const auto digits = [&](bool& nonZero) {
    const std::size_t start = p;
    for (; p < s.size() && s[p] >= '0' && s[p] <= '9'; ++p) nonZero = nonZero || s[p] != '0';
    return p - start;
  };
  skipSpaces();
  if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
  bool nonZero = false;
  std::size_t mantissa = digits(nonZero);
  if (p < s.size() && s[p] == '.') {
    ++p;
    mantissa += digits(nonZero);
  }
  if (mantissa == 0) return std::nullopt;
  if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
    ++p;
    if (p < s.size() && (s[p] == '+' || s[p] == '-')) ++p;
    bool ignored = false;
    if (digits(ignored) == 0) return std::nullopt;
  }
  skipSpaces();
  if (p != s.size()) return std::nullopt;
  return nonZero;
}

}  // namespace

void TAppXMLStorageOptions::SetBooleanStringTrueValues(const std::string& words) {
  FBooleanStringTrueValues = words;
  if (!HasFirstWord(words)) FBooleanAsString = false;
}

void TAppXMLStorageOptions::SetBooleanStringFalseValues(const std::string& words) {
  FBooleanStringFalseValues = words;
  if (!HasFirstWord(words)) FBooleanAsString = false;
}

void TAppXMLStorageOptions::SetBooleanAsString(bool value) {
  if (value && !(HasFirstWord(FBooleanStringTrueValues) && HasFirstWord(FBooleanStringFalseValues))) {
    return;
  }
  FBooleanAsString = value;
}

void TAppXMLStorageOptions::SetWhiteSpaceReplacement(const std::string& value) {
  CheckReplacement(value, "WhiteSpaceReplacement", true);
  FWhiteSpaceReplacement = value;
}

void TAppXMLStorageOptions::SetInvalidCharReplacement(const std::string& value) {
  CheckReplacement(value, "InvalidCharReplacement", false);
  FInvalidCharReplacement = value;
}

std::vector<std::string> TAppXMLStorageOptions::TrueWords() const {
  return UpperWords(FBooleanStringTrueValues);
}

std::vector<std::string> TAppXMLStorageOptions::FalseWords() const {
  return UpperWords(FBooleanStringFalseValues);
}

TAppXMLFileStorage::TAppXMLFileStorage() { SetRootNodeName("Configuration"); }

TAppXMLFileStorage::~TAppXMLFileStorage() {
  if (!FFlushOnDestroy) return;
  try {
    Flush();
  } catch (...) {
    // Only an error handler can throw here, and a destructor must not.
  }
}

void TAppXMLFileStorage::SetRootNodeName(const std::string& name) {
  if (name.empty()) throw EPropertyError("The node must be given a name");
  FXml.Root().Name = ElementName(name);
  FRoot = name;
}

std::string TAppXMLFileStorage::ElementName(std::string_view name) const {
  std::string result;
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t start = i;
    const char32_t c = DecodeUtf8(name, i);
    if (IsNameWhiteSpace(c)) {
      if (FStorageOptions.WhiteSpaceReplacement().empty()) {
        throw EAppStorageError(
            "XML Node names cannot contain white space and the WhiteSpaceReplacement property is "
            "empty. Please set the WhiteSpaceReplacementProperty to a non empty value.");
      }
      result += FStorageOptions.WhiteSpaceReplacement();
    } else if (!IsAllowedNameChar(c)) {
      if (FStorageOptions.InvalidCharReplacement().empty()) {
        throw EAppStorageError("XML Node names cannot contain invalid chars (\"" +
                               std::string(name) +
                               "\") and the InvalidCharReplacement property is empty. Please set "
                               "the InvalidCharReplacement to a non empty value.");
      }
      result += FStorageOptions.InvalidCharReplacement();
    } else {
      result.append(name.substr(start, i - start));
    }
  }
  return result;
}

void TAppXMLFileStorage::SetFileName(const std::string& value) {
  if (value == FFileName) return;
  FFileName = value;
  if (!value.empty() && platform::ExtensionOf(value).empty()) FFileName += ".xml";
  FFullFileName = FFileName;
  Reload();
}

void TAppXMLFileStorage::Reload() {
  FPhysicalReadOnly = !FFullFileName.empty() && platform::IsReadOnly(FFullFileName);
  FLoadFailed = false;
  if (FFullFileName.empty() || !platform::PathExists(FFullFileName)) {
    FXml.Root().Clear();
    FXml.Root().Value.clear();
    return;
  }
  // Until the load succeeds, the document is partial: writing it would cut the file short.
  FLoadFailed = true;
  FXml.LoadFromFile(FFullFileName, TStringEncoding::seAuto, 0);
  FLoadFailed = false;
}

std::string TAppXMLFileStorage::AbsolutePath(std::string_view path) const {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(kPathDelimiter, start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part.find_first_not_of('.') == std::string_view::npos) {
      // "..." steps back two parts: one part less than its dots.
      for (std::size_t up = part.size() - 1; up > 0 && !parts.empty(); --up) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result = FRoot;
  for (const std::string_view part : parts) {
    result += kPathDelimiter;
    result.append(part);
  }
  const std::size_t first = result.find_first_not_of(kPathDelimiter);
  return first == std::string::npos ? std::string() : result.substr(first);
}

const TSimpleXMLElem* TAppXMLFileStorage::FindValueElement(std::string_view path) const {
  const std::string full = AbsolutePath(path);
  const std::size_t last = full.rfind(kPathDelimiter);
  const std::string valueName =
      ElementName(last == std::string::npos ? std::string_view(full)
                                            : std::string_view(full).substr(last + 1));
  const std::string_view parentPath =
      last == std::string::npos ? std::string_view() : std::string_view(full).substr(0, last);

  const TSimpleXMLElem* parent = &FXml.Root();
  bool first = true;
  std::size_t start = 0;
  while (parent != nullptr && start < parentPath.size()) {
    std::size_t end = parentPath.find(kPathDelimiter, start);
    if (end == std::string_view::npos) end = parentPath.size();
    const std::string_view part = parentPath.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    const std::string name = ElementName(part);
    // The root counts as the path's first part only when its name matches in every letter.
    if (!(first && name == FXml.Root().Name)) parent = parent->ItemNamed(name);
    first = false;
  }
  return parent == nullptr ? nullptr : parent->ItemNamed(valueName);
}

std::string TAppXMLFileStorage::ReadString(std::string_view path, const std::string& defaultValue) {
  const TSimpleXMLElem* elem = FindValueElement(path);
  return elem != nullptr ? elem->Value : defaultValue;
}

bool TAppXMLFileStorage::ReadBoolean(std::string_view path, bool defaultValue) {
  const TSimpleXMLElem* elem = FindValueElement(path);
  if (elem == nullptr) return defaultValue;
  const std::string value = base::AsciiUpperCase(elem->Value);
  if (FStorageOptions.BooleanAsString()) {
    for (const std::string& word : FStorageOptions.TrueWords()) {
      if (value == word) return true;
    }
    for (const std::string& word : FStorageOptions.FalseWords()) {
      if (value == word) return false;
    }
  }
  if (const auto nonZero = FloatIsNonZero(value)) return *nonZero;
  return value == "TRUE";
}

void TAppXMLFileStorage::Flush() {
  if (FFullFileName.empty() || FReadOnly || FPhysicalReadOnly || FLoadFailed) return;
  try {
    const std::string folder = platform::FolderOf(FFullFileName);
    if (!folder.empty()) platform::CreateDirectories(folder);
    const std::string bytes = FXml.SaveToString();
    platform::TFileStream file(FFullFileName, platform::FileMode::Create);
    file.Write(bytes.data(), bytes.size());
  } catch (const std::exception& e) {
    if (OnError) OnError(e);
  }
}

}  // namespace pavona::settings
