// Entities and character references of XML values.
#pragma once

#include <string>
#include <string_view>

namespace pavona::settings {

// One decoding pass, left to right: "&amp;", "&lt;", "&gt;", "&apos;", "&quot;" (any letter
// case), "&#N;" (N in the integer-text rules, not negative) and "&#xH;" (one to eight hex
// digits) become the character they stand for; any other "&" stays as written. A reference to
// a surrogate pairs up with a following one; an unpaired surrogate becomes U+FFFD.
std::string DecodeXMLValue(std::string_view text);

// Text that one decoding pass turns back into text: the five markup characters as entities,
// control characters and U+0080 to U+00FF as "&#xHH;", characters above as "&#xHHHH;" per UTF-16
// unit. Text made only of blanks gets its first one as a reference, since the reader drops
// text runs of blanks.
std::string EncodeXMLValue(std::string_view text);

// Like EncodeXMLValue, for an element's value, which the reader decodes twice: an "&" that
// starts a reference is escaped twice, so the second pass leaves it as written.
std::string EncodeXMLElementValue(std::string_view value);

}  // namespace pavona::settings
