#include "settings/comma_text.h"

#include "settings/char_class.h"
#include "settings/utf8.h"

namespace pavona::settings {

namespace {

constexpr char kDelimiter = ',';
constexpr char kQuote = '"';

bool IsListBlank(char c) { return c >= 0x01 && c <= 0x20; }

// Steps past the character at p and the non-spacing marks that ride on it, so that a mark after
// a separator is dropped with the separator instead of starting an item.
std::size_t NextChar(std::string_view text, std::size_t p) {
  DecodeUtf8(text, p);
  while (p < text.size()) {
    std::size_t q = p;
    if (!IsNonSpacingMark(DecodeUtf8(text, q))) break;
    p = q;
  }
  return p;
}

std::size_t SkipBlanks(std::string_view text, std::size_t p) {
  while (p < text.size() && IsListBlank(text[p])) p = NextChar(text, p);
  return p;
}

// Reads the quoted item whose opening quote is at p; p ends after the closing quote.
std::string ReadQuoted(std::string_view text, std::size_t& p) {
  std::string item;
  ++p;
  while (p < text.size()) {
    const std::size_t quote = text.find(kQuote, p);
    if (quote == std::string_view::npos) break;
    item.append(text.substr(p, quote - p));
    if (quote + 1 < text.size() && text[quote + 1] == kQuote) {
      item += kQuote;
      p = quote + 2;
      continue;
    }
    p = quote + 1;
    return item;
  }
  item.append(text.substr(p));
  p = text.size();
  return item;
}

}  // namespace

std::vector<std::string> SplitCommaText(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::vector<std::string> items;
  std::size_t p = SkipBlanks(text, 0);
  while (p < text.size()) {
    if (text[p] == kQuote) {
      items.push_back(ReadQuoted(text, p));
    } else {
      const std::size_t start = p;
      while (p < text.size() && !IsListBlank(text[p]) && text[p] != kDelimiter) ++p;
      items.emplace_back(text.substr(start, p - start));
    }
    p = SkipBlanks(text, p);
    if (p < text.size() && text[p] == kDelimiter) {
      if (p + 1 == text.size()) items.emplace_back();
      p = SkipBlanks(text, NextChar(text, p));
    }
  }
  return items;
}

std::string MakeCommaText(const std::vector<std::string>& items) {
  std::string text;
  bool first = true;
  for (const std::string& item : items) {
    if (!first) text += kDelimiter;
    first = false;
    // A leading non-spacing mark would be dropped with the separator before it.
    std::size_t lead = 0;
    bool quote = item.empty() || IsNonSpacingMark(DecodeUtf8(item, lead));
    for (char c : item) quote = quote || IsListBlank(c) || c == kDelimiter || c == kQuote;
    if (!quote) {
      text += item;
      continue;
    }
    text += kQuote;
    for (char c : item) {
      if (c == kQuote) text += kQuote;
      text += c;
    }
    text += kQuote;
  }
  return text;
}

}  // namespace pavona::settings
