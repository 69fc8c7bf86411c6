#pragma once

#include <string>

namespace zrn::rtl {

//! The program-wide number format: how numbers and dates look to the user.
//! The windows set it from the user's locale at start; tests set it explicitly.
struct NumberFormat {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string shortDateFormat = "dd-mm-yyyy";
};

//! The one program-wide number format.
NumberFormat& FormatSettings();

//! Forces "." and "," for its lifetime and puts the previous separators back when it ends,
//! also when an exception passes. Table files are read and written under it.
class FileNumberFormat {
public:
    FileNumberFormat();
    ~FileNumberFormat();
    FileNumberFormat(const FileNumberFormat&) = delete;
    FileNumberFormat& operator=(const FileNumberFormat&) = delete;

private:
    char decimal_;
    char thousand_;
};

} // namespace zrn::rtl
