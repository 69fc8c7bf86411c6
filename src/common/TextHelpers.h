#pragma once

#include <string>
#include <string_view>

// Fixed-width text for the text reports. Report text is single-byte Windows-1252 (one char
// is one column of the fixed-pitch report font), so these helpers count bytes; convert
// UTF-8 texts with rtl::Utf8ToCp1252 before padding them.

namespace zrn::common {

//! The text right-aligned in exactly `width` columns, `fill` in front; a longer text is cut
//! to its first `width` characters.
std::string PadLeft(std::string_view text, int width, char fill);

//! The text left-aligned in exactly `width` columns, spaces behind; a longer text is cut.
std::string PadRight(std::string_view text, int width);

//! The text centred in exactly `width` columns; an odd surplus puts the extra space on the
//! right; a longer text is cut to its first `width` characters.
std::string CenterText(std::string_view text, int width);

//! The text with its first character upper-cased when it is one of a to z.
std::string CapitalizeFirst(std::string_view text);

//! `count` copies of `c`; empty for a count of 0 or less.
std::string RepeatChar(char c, int count);

} // namespace zrn::common
