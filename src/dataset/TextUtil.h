#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Small text helpers of the table engine (not part of its interface).
namespace zrn::ds::text {

//! ASCII lower case of a text.
std::string Lower(std::string_view s);
//! Equal without regard to ASCII case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
//! True when s begins with prefix, optionally without regard to ASCII case.
bool StartsWith(std::string_view s, std::string_view prefix, bool ignoreCase);
//! s without leading and trailing spaces and tabs.
std::string_view Trim(std::string_view s);
//! Number of characters (code points) of a UTF-8 text.
int CharCount(std::string_view s);
//! The first `chars` characters of a UTF-8 text (whole text when shorter or chars <= 0).
std::string CutToChars(std::string s, int chars);
//! True when the bytes are valid UTF-8.
bool IsValidUtf8(std::string_view s);
//! A number written with "." (an optional sign, digits, fraction, exponent), or none.
std::optional<double> ParseFileNumber(std::string_view s);
//! A whole number written in decimal digits with an optional sign, or none.
std::optional<long long> ParseFileInteger(std::string_view s);
//! The shortest text that reads back to exactly the same double, with ".".
std::string FileNumber(double value);
//! The fields of "a;b;c" (spaces around names dropped, empty parts skipped).
std::vector<std::string> SplitNames(std::string_view names);

} // namespace zrn::ds::text
