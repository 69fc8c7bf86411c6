#pragma once

#include <QString>

#include <string>

namespace zrn::ui {

//! A text of the language or unit files as Qt shows it: UTF-8 decoded, and the CR LF line
//! breaks the files carry turned into plain line breaks.
QString TaalToQt(const std::string& text);

} // namespace zrn::ui
