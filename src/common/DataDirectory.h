#pragma once

#include <string>

namespace zrn::common {

//! The folder a directory setting names, as the program uses it: a relative value is taken
//! beside the executable (rtl::ExeDirectory() in front), an absolute one is kept (a leading
//! "/", or the forms stored files from elsewhere may carry: a drive colon or a leading
//! "\\"), and the result always ends in the path separator. An empty value names the
//! executable's folder itself.
std::string CompleteDirectory(const std::string& value);

//! The `DataDirectory` (or `TaalDirectory`) setting of a data module or the table catalogue.
//!
//! A write of a value different from the stored one stores it completed by
//! CompleteDirectory; the stored value is always a completed path (or empty before the first
//! write). Reading tables is the owner's business: the property never reads anything.
class DataDirectoryProperty {
public:
    //! The stored, completed path ("" before the first write).
    const std::string& value() const { return value_; }
    //! Stores a value different from the stored one, completed. True when the stored path
    //! changed.
    bool set(const std::string& value);

private:
    std::string value_;
};

} // namespace zrn::common
