#pragma once

#include <string>
#include <string_view>

namespace zrn::rtl {

//! Report text is single-byte Windows-1252; the rest of the program holds UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

//! Characters without a Windows-1252 form become "?".
std::string Utf8ToCp1252(std::string_view text);

} // namespace zrn::rtl
