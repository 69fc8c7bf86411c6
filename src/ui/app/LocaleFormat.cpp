#include "ui/app/LocaleFormat.h"

#include "rtl/NumberFormat.h"

#include <QLocale>

namespace zrn::ui {

namespace {

//! The single byte a separator is written with, or 0 when it has none.
char SeparatorChar(const QString& separator) {
    if (separator.size() != 1)
        return 0;
    const char16_t c = separator.at(0).unicode();
    if (c == u'\u00A0' || c == u'\u202F')
        return ' ';
    // The Swiss group their digits with a typographic apostrophe.
    if (c == u'\u2019' || c == u'\u02BC')
        return '\'';
    return c >= 0x20 && c < 0x7F ? static_cast<char>(c) : 0;
}

//! A Qt date pattern in the program's notation: "d", "dd", "m", "mm", "yy", "yyyy".
std::string ShortDatePattern(const QString& qtPattern) {
    std::string pattern;
    for (const QChar ch : qtPattern) {
        if (ch == QLatin1Char('M'))
            pattern += 'm';
        else if (ch.unicode() < 0x80)
            pattern += static_cast<char>(ch.unicode());
    }
    return pattern;
}

} // namespace

void ApplyLocaleNumberFormat(const QLocale& locale) {
    rtl::NumberFormat& format = rtl::FormatSettings();
    if (const char decimal = SeparatorChar(locale.decimalPoint()))
        format.decimalSeparator = decimal;
    if (const char thousand = SeparatorChar(locale.groupSeparator()))
        format.thousandSeparator = thousand;
    const std::string date = ShortDatePattern(locale.dateFormat(QLocale::ShortFormat));
    if (!date.empty())
        format.shortDateFormat = date;
}

} // namespace zrn::ui
