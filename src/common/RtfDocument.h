#pragma once

#include <string>
#include <string_view>

// Report files: the report text stored as a Rich Text Format document (see RtfWriter.h and
// RtfReader.h for the document form).

namespace zrn::common {

//! Writes `text` (Windows-1252 report text) to `fileName` as a Rich Text Format document,
//! replacing the file. The new content goes to a temporary file beside it first and replaces
//! the old file only once it is completely written, so a failure leaves the old file as it
//! was. Throws zrn::Error naming the file when it cannot be written.
void SaveRtfDocument(const std::string& fileName, std::string_view text);

//! The plain text of the Rich Text Format file `fileName` (see RtfToText). Throws zrn::Error
//! naming the file when it cannot be read or is not a Rich Text Format document.
std::string LoadRtfDocumentText(const std::string& fileName);

} // namespace zrn::common
