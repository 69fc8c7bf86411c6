#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zrn::belt {

class Tdm_mat;

// The report file commands of the results window without their dialogs: a report file is a
// Rich Text Format document holding the report lines (common/RtfDocument.h), always written
// whole and atomically, so a failed write leaves the old file as it was.

//! The text of a report file with `addition` appended, as the append commands build it: the
//! old lines, then the addition on the next line (no empty line in between). Blank lines in
//! front of the first line are dropped (a new file starts with the addition itself); the
//! first line keeps its leading blanks, so a centred title stays centred however often the
//! file grows.
std::string AppendedReportText(std::string_view existing, std::string_view addition);

//! Appends to a report file, creating it when missing. `build` gets true when the file is new
//! or holds no text, and returns the text to add. A file that exists but cannot be read as a
//! report file is an error, and the file is left alone.
void AppendToReportFile(const std::string& fileName,
                        const std::function<std::string(bool emptyFile)>& build);

//! Save text report: the module's text report replaces the file's content.
void SaveTextReport(Tdm_mat& module, const std::string& fileName);
//! Add to text report: the module's text report is appended to the file.
void AppendTextReport(Tdm_mat& module, const std::string& fileName);
//! Make columnar report: the header and the module's columnar line replace the file's content.
void MakeColumnarReport(Tdm_mat& module, const std::string& fileName);
//! Add to columnar report: the module's columnar line is appended, after the header when the
//! file is new or empty.
void AppendColumnarReport(Tdm_mat& module, const std::string& fileName);

} // namespace zrn::belt
