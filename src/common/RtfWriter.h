#pragma once

#include <string>
#include <string_view>

namespace zrn::common {

//! The report text as a complete Rich Text Format document: every line one paragraph in
//! "Courier New" 8 point with a first-line indent of 800 twips, on a page wide enough that the
//! longest line is not wrapped. `text` is Windows-1252; its lines are separated by CR LF, LF
//! or CR, so a text that ends with a line break ends with an empty paragraph. The result is
//! plain ASCII.
std::string TextToRtf(std::string_view text);

} // namespace zrn::common
