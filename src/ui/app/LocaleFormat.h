#pragma once

class QLocale;

namespace zrn::ui {

//! Sets the program's number format (zrn::rtl::FormatSettings()) from a locale: its decimal
//! separator, its thousands separator and its short date pattern. A separator that is not a
//! single plain character keeps the previous one, except that the no-break spaces many
//! locales group digits with become a plain space and a typographic apostrophe a plain one.
void ApplyLocaleNumberFormat(const QLocale& locale);

} // namespace zrn::ui
