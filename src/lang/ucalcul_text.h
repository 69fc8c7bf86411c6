#pragma once

// Character-level text work of the formula evaluator. Its texts are UTF-8; positions and
// lengths count characters (code points). A byte that is not part of valid UTF-8 counts as
// one character of its own and survives every operation unchanged.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zrn::lang::calc {

//! The characters of a UTF-8 text; a stray byte b becomes U+DC00 + b.
std::u32string DecodeChars(std::string_view text);

//! The UTF-8 text of characters made by DecodeChars (stray bytes restored).
std::string EncodeChars(std::u32string_view chars);

//! Number of characters of a UTF-8 text.
std::size_t CharCount(std::string_view text);

//! Upper and lower case of one character by the Western (Windows-1252) case rules.
char32_t UpperChar(char32_t c);
char32_t LowerChar(char32_t c);

//! A text in upper or lower case.
std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);

//! The Windows-1252 code (0..255) of a character; 63 ("?") when it has none.
int CharCode(char32_t c);

//! The character of a Windows-1252 code (0..255), as UTF-8.
std::string CodeChar(int code);

//! Finds one text in others in linear time (Knuth-Morris-Pratt).
class TextFinder {
public:
    //! Prepares the search for needle, which must not be empty.
    explicit TextFinder(std::u32string_view needle);
    //! Position of the first occurrence at or after from, or npos.
    std::size_t Find(std::u32string_view haystack, std::size_t from) const;

private:
    std::u32string needle_;
    std::vector<std::size_t> fallback_;
};

//! Outcome of a mask match.
enum class MaskResult { NoMatch, Match, BadMask, TooLong };

//! Matches text against a mask without regard to case: "*" any run of characters, "?" one
//! character, "[...]" one character of a set ("a-z" ranges, a leading "!" negates). An
//! unclosed "[" is a bad mask; more than maxSteps comparison steps give TooLong.
MaskResult MatchMask(std::u32string_view text, std::u32string_view mask, long long maxSteps,
                     long long& steps);

} // namespace zrn::lang::calc
