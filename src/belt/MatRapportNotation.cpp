#include "belt/MatRapportNotation.h"

#include "common/TextHelpers.h"
#include "lang/TaalComponent.h"
#include "lang/ucalcul_text.h"
#include "rtl/Cp1252.h"

namespace zrn::belt {

std::string TReportNotation::Utf8Text(const std::string& key) const {
    return service_ ? lang::TaalText(*service_, key) : key;
}

std::string TReportNotation::Text(const std::string& key) const {
    return Report(Utf8Text(key));
}

std::string TReportNotation::Cap(const std::string& key) const {
    return common::CapitalizeFirst(Text(key));
}

std::string TReportNotation::Upper(const std::string& key) const {
    // A title in capitals keeps its accents: "DONNÉES", not "DONNéES".
    return Report(lang::calc::UpperText(Utf8Text(key)));
}

std::string TReportNotation::Unit(const std::string& code) const {
    return service_ ? Report(lang::TaalUnitLabel(*service_, code)) : std::string();
}

std::string TReportNotation::Rule(int count) {
    return common::RepeatChar(kRuleChar, count);
}

std::string TReportNotation::Centre(std::string_view text, int width) {
    return common::CenterText(text, width);
}

std::string TReportNotation::Report(std::string_view utf8) {
    return rtl::Utf8ToCp1252(utf8);
}

} // namespace zrn::belt
