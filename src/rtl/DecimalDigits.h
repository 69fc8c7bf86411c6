#pragma once

#include <string>

namespace zrn::rtl {

//! A finite number as decimal digits: |value| = 0.d1 d2 d3 ... x 10^exponent.
//! The digits hold no leading or trailing zeros; zero has no digits, exponent 0 and no sign.
//! Every number-to-text routine of the program starts from this form, so that they all round
//! the same way.
struct DecimalDigits {
    bool negative = false; //!< the sign of a non-zero value
    std::string digits;    //!< significant digits, '1'..'9' at both ends
    int exponent = 0;      //!< decimal exponent of the digit string read as 0.ddd

    //! True when the value is zero (also after rounding).
    bool isZero() const { return digits.empty(); }
};

//! The finite value with at most `significant` (1..17) significant digits, rounded to nearest.
DecimalDigits ToDecimalDigits(double value, int significant = 15);

//! Keeps the first `count` significant digits, a dropped 5 or more rounding away from zero.
//! A count of 0 or less keeps only what a carry produces; a zero result loses its sign.
void RoundDigits(DecimalDigits& value, int count);

//! Rounds to `decimals` places after the point, halves away from zero.
void RoundToDecimals(DecimalDigits& value, int decimals);

//! The digits before the point; empty when the whole part is zero.
std::string IntegerDigits(const DecimalDigits& value);

//! Exactly `decimals` digits after the point, zeros past the last significant digit.
std::string FractionDigits(const DecimalDigits& value, int decimals);

//! Inserts `separator` between groups of three digits, counted from the right.
std::string GroupThousands(const std::string& digits, char separator);

//! Text for infinities and not-a-number ("INF", "-INF", "NAN"); empty for a finite value.
std::string NonFiniteText(double value);

//! "-ddd.dd": fixed decimals, optional thousands separator (0 for none). Value must be finite.
std::string FixedText(double value, int decimals, char decimalSeparator, char thousandSeparator);

//! "-d.ddddE+ddd": `digits` significant digits, exponent sign always, at least three
//! exponent digits. Value must be finite.
std::string ExponentText(double value, int digits, char decimalSeparator);

//! The shortest form with at most `precision` significant digits: fixed notation, or
//! "dE15" / "d.dE-7" when the exponent is at or above `precision` or below -5.
//! Value must be finite.
std::string GeneralText(double value, int precision, char decimalSeparator);

} // namespace zrn::rtl
