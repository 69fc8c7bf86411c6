#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace zrn::rtl {

//! One argument of Format: a whole number, a real number or a text.
using FormatArg = std::variant<long long, double, std::string>;

//! printf-like formatting with the classic rules: "%d", "%s"/"%S", "%f" ("%f" alone = 2
//! decimals), "%e", "%g", "%n", "%x", width, "-", precision (cuts texts), "%0:d" argument
//! indexes, "%%". The decimal separator comes from FormatSettings().
//! A pattern that asks for a missing or mismatched argument throws zrn::Error.
std::string Format(std::string_view pattern, const std::vector<FormatArg>& args);

//! A number shown through a display pattern: "0", "#", ".", ",", ";" sections,
//! "E+"/"E-", quoted literals ("#.##", "0.00", "#0.#", "###0.##", "##0").
std::string FormatFloat(std::string_view pattern, double value);

//! The general form: up to 15 significant digits, no trailing zeros.
std::string FloatToStr(double value);

//! Reads a number written with the program's decimal separator; throws zrn::Error
//! "'<text>' is not a valid floating point value" when it is not one.
double StrToFloat(std::string_view text);

//! As StrToFloat, but reports failure by its result and leaves value alone then.
bool TryStrToFloat(std::string_view text, double& value);

//! Rounds to a whole number; halves go to the even neighbour.
double RoundHalfEven(double value);

} // namespace zrn::rtl
