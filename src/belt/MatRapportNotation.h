#pragma once

#include "rtl/Format.h"

#include <string>
#include <string_view>
#include <vector>

namespace zrn::lang {
class TTaalComponent;
}

namespace zrn::belt {

//! The rule character of the reports: an em dash in Windows-1252.
inline constexpr char kRuleChar = '\x97';
//! The degree sign in Windows-1252.
inline constexpr char kDegreeSign = '\xB0';

//! The words the belt reports are made of, in the current language and unit system, as
//! Windows-1252 report text: language texts in three casings, unit labels, rules and centred
//! titles. Without a language service a text is its key and a unit label is empty, as in the
//! rest of the module.
class TReportNotation {
public:
    //! Words from the given service (or none).
    explicit TReportNotation(lang::TTaalComponent* service) : service_(service) {}

    //! The language text of the key.
    std::string Text(const std::string& key) const;
    //! The language text with its first character upper-cased.
    std::string Cap(const std::string& key) const;
    //! The language text wholly upper-cased (accented letters too).
    std::string Upper(const std::string& key) const;
    //! The label of the unit code in the current unit system.
    std::string Unit(const std::string& code) const;
    //! `count` rule characters.
    static std::string Rule(int count);
    //! The text centred in `width` columns.
    static std::string Centre(std::string_view text, int width);
    //! A program text (UTF-8) as report text.
    static std::string Report(std::string_view utf8);
    //! Format with the classic rules; texts among the arguments must be report text already.
    static std::string F(std::string_view pattern, const std::vector<rtl::FormatArg>& args) {
        return rtl::Format(pattern, args);
    }

private:
    std::string Utf8Text(const std::string& key) const;

    lang::TTaalComponent* service_;
};

} // namespace zrn::belt
