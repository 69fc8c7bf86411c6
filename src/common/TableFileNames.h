#pragma once

#include <optional>
#include <string>

namespace zrn::common {

//! The name of the file that takes precedence over a table file: the same name with its
//! extension replaced by ".CDS" ("data/mat.xml" -> "data/mat.CDS"; appended when the name
//! has no extension).
std::string OverrideFileName(const std::string& fileName);

//! The existing file of that name, the last part of the name matched without regard to
//! (ASCII) case inside its folder: the data files are spelt "ketting.XML" while the program
//! asks for its own spelling. The exact spelling wins when it exists; among several other
//! spellings the first in name order. Nothing when no such file exists.
std::optional<std::string> FindFileIgnoringCase(const std::string& fileName);

} // namespace zrn::common
