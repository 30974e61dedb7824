#include "package/file_mask.h"

#include "base/ascii.h"

#include <algorithm>

namespace pavona::package {

namespace {

std::string Slashes(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// Position just after the folder part (the last "\" or ":"), 0 when there is none.
std::size_t FolderEnd(std::string_view path) {
  const std::size_t at = path.find_last_of("\\:");
  return at == std::string_view::npos ? 0 : at + 1;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Iterative glob match with backtracking to the last "*": linear in practice, never exponential.
bool Glob(std::string_view text, std::string_view pattern) {
  std::size_t t = 0, p = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++t;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchPattern(std::string_view text, std::string_view pattern) {
  if (text.empty()) return pattern.empty();
  if (pattern == "*.*" || pattern == "*") return true;
  return Glob(text, pattern);
}

bool MatchFileMask(const std::string& name, const std::string& mask) {
  const std::string n = base::AsciiUpperCase(name);
  const std::string m = base::AsciiUpperCase(mask);
  const std::size_t maskFolder = FolderEnd(m);
  const std::size_t nameFolder = FolderEnd(n);
  if (maskFolder > 0 && !MatchPattern(std::string_view(n).substr(0, nameFolder),
                                      std::string_view(m).substr(0, maskFolder))) {
    return false;
  }
  return MatchPattern(std::string_view(n).substr(nameFolder),
                      std::string_view(m).substr(maskFolder));
}

bool MatchesStoredName(const std::string& name, bool isDirectory, const std::string& mask) {
  std::string m = Slashes(mask);
  if (m.size() >= 2 && m[1] == ':') {
    m.erase(0, 2);
  } else if (m.rfind("\\\\", 0) == 0) {
    // \\server\share: drop up to the separator after the share name, keeping it.
    const std::size_t server = m.find('\\', 2);
    const std::size_t share = server == std::string::npos ? server : m.find('\\', server + 1);
    m.erase(0, share == std::string::npos ? m.size() : share);
  }
  std::string n = Slashes(name);
  if (isDirectory && !n.empty() && n.back() == '\\') n.pop_back();
  return MatchFileMask(n, m);
}

bool MatchesStoredNameEx(const std::string& name, bool isDirectory, const std::string& masks) {
  std::size_t start = 0;
  while (start <= masks.size()) {
    std::size_t end = masks.find(';', start);
    if (end == std::string::npos) end = masks.size();
    const std::string_view piece = Trim(std::string_view(masks).substr(start, end - start));
    if (!piece.empty() && MatchesStoredName(name, isDirectory, std::string(piece))) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace pavona::package
