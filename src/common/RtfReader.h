#pragma once

#include <string>
#include <string_view>

namespace zrn::common {

//! The plain text of a Rich Text Format document as any word processor writes it: one line
//! per paragraph (and per line, section or page break, and table row), Windows-1252 bytes,
//! lines separated by CR LF. Fonts, styles, pictures, headers, footers, document information
//! and every other destination are left out; characters without a Windows-1252 form become
//! "?". A final paragraph mark does not add an empty last line. Throws zrn::Error when `rtf`
//! is not a Rich Text Format document or nests its groups deeper than any word processor
//! does; `sourceName` (a file name, or empty) names the document in the message.
std::string RtfToText(std::string_view rtf, std::string_view sourceName = {});

} // namespace zrn::common
