#pragma once

#include <string>

namespace zrn::rtl {

//! The folder the running program lives in, ending in the path separator.
//! data/, taal/ and opslag/ are looked for beside it.
std::string ExeDirectory();

//! Overrides ExeDirectory() (tests and tools that run from elsewhere); empty restores it.
void SetExeDirectory(const std::string& dir);

//! The path separator of this system.
inline constexpr char PathDelim = '/';

//! True when the path names a location on its own, not relative to the program folder.
bool IsAbsolutePath(const std::string& path);

//! The path with a trailing separator.
std::string IncludeTrailingPathDelimiter(const std::string& path);

} // namespace zrn::rtl
