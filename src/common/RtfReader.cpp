#include "common/RtfReader.h"

#include "rtl/Cp1252.h"
#include "rtl/Error.h"

#include <algorithm>
#include <iterator>
#include <cstdint>
#include <vector>

namespace zrn::common {

namespace {

// Deeper nesting than this is no document a word processor wrote; refusing it keeps the
// group stack small whatever the input.
constexpr std::size_t MaxGroupDepth = 1000;

constexpr int Cp1252 = 1252;

// Destinations whose content is not document text. Groups marked with \* are skipped too.
constexpr std::string_view SkippedDestinations[] = {"aftncn",
                                                    "aftnsep",
                                                    "aftnsepc",
                                                    "annotation",
                                                    "atnauthor",
                                                    "atndate",
                                                    "atnicn",
                                                    "atnid",
                                                    "atnparent",
                                                    "atnref",
                                                    "atntime",
                                                    "atrfend",
                                                    "atrfstart",
                                                    "author",
                                                    "buptim",
                                                    "category",
                                                    "colortbl",
                                                    "comment",
                                                    "company",
                                                    "creatim",
                                                    "doccomm",
                                                    "docvar",
                                                    "filetbl",
                                                    "fldinst",
                                                    "fonttbl",
                                                    "footer",
                                                    "footerf",
                                                    "footerl",
                                                    "footerr",
                                                    "footnote",
                                                    "ftncn",
                                                    "ftnsep",
                                                    "ftnsepc",
                                                    "generator",
                                                    "header",
                                                    "headerf",
                                                    "headerl",
                                                    "headerr",
                                                    "info",
                                                    "keywords",
                                                    "listoverridetable",
                                                    "listtable",
                                                    "manager",
                                                    "nonshppict",
                                                    "objdata",
                                                    "operator",
                                                    "pict",
                                                    "pn",
                                                    "printim",
                                                    "private",
                                                    "revtbl",
                                                    "revtim",
                                                    "rsidtbl",
                                                    "stylesheet",
                                                    "subject",
                                                    "tc",
                                                    "template",
                                                    "title"};

// Control words that stand for one Windows-1252 character.
struct CharWord {
    std::string_view word;
    char byte;
};
constexpr CharWord CharWords[] = {{"tab", '\t'},         {"cell", '\t'},     {"nestcell", '\t'},
                                  {"emdash", '\x97'},    {"endash", '\x96'}, {"bullet", '\x95'},
                                  {"lquote", '\x91'},    {"rquote", '\x92'}, {"ldblquote", '\x93'},
                                  {"rdblquote", '\x94'}, {"emspace", ' '},   {"enspace", ' '},
                                  {"qmspace", ' '}};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The Windows-1252 byte of a UTF-16 code unit outside the surrogate range, or '?'.
char unicodeToCp1252(char32_t cp) {
    std::string utf8;
    if (cp < 0x80) {
        utf8 += static_cast<char>(cp);
    } else if (cp < 0x800) {
        utf8 += static_cast<char>(0xC0 | (cp >> 6));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        utf8 += static_cast<char>(0xE0 | (cp >> 12));
        utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (cp & 0x3F));
    }
    const std::string byte = rtl::Utf8ToCp1252(utf8);
    return byte.size() == 1 ? byte[0] : '?';
}

std::string describedSource(std::string_view sourceName) {
    return sourceName.empty() ? std::string() : ": " + std::string(sourceName);
}

// What a group inherits from its parent and forgets when it closes.
struct GroupState {
    bool skip = false;   // inside a destination that holds no document text
    bool hidden = false; // hidden text (\v)
    int unicodeSkip = 1; // characters of fallback after \uN (\ucN)
};

// One pass over the document: a tokenizer (groups, control words with their optional
// parameter and delimiting space, control symbols, text) feeding the plain text it finds
// into lines. Never reads past the input: a truncated document yields the text read so far.
class PlainTextReader {
public:
    PlainTextReader(std::string_view rtf, std::string_view sourceName)
        : in_(rtf), sourceName_(sourceName) {}

    std::string run(std::size_t start) {
        pos_ = start;
        while (pos_ < in_.size() && !finished_) {
            const char c = in_[pos_];
            if (c == '{') {
                ++pos_;
                openGroup();
            } else if (c == '}') {
                ++pos_;
                closeGroup();
            } else if (c == '\\') {
                control();
            } else {
                ++pos_;
                if (c == '\r' || c == '\n' || c == '\0')
                    continue; // line breaks of the file itself are not text
                if (!skipFallback())
                    emit(c == '\t' ? '\t' : mapByte(c));
            }
        }
        if (!line_.empty())
            lines_.push_back(line_);
        return joined();
    }

private:
    GroupState& group() { return groups_.back(); }

    void openGroup() {
        fallbackLeft_ = 0;
        if (groups_.size() >= MaxGroupDepth)
            throw Error("The Rich Text Format document is nested too deeply" +
                        describedSource(sourceName_));
        groups_.push_back(groups_.empty() ? GroupState{} : group());
    }

    void closeGroup() {
        fallbackLeft_ = 0;
        if (!groups_.empty())
            groups_.pop_back();
        // Whatever follows the closing brace of the document is not part of it.
        if (groups_.empty())
            finished_ = true;
    }

    // After \uN the next characters are the fallback for readers without Unicode.
    bool skipFallback() {
        if (fallbackLeft_ == 0)
            return false;
        --fallbackLeft_;
        return true;
    }

    void control() {
        if (pos_ + 1 >= in_.size()) {
            pos_ = in_.size();
            return;
        }
        const char next = in_[pos_ + 1];
        if (isLetter(next)) {
            controlWord();
        } else if (next == '\'') {
            hexCharacter();
        } else {
            pos_ += 2;
            if (!skipFallback())
                controlSymbol(next);
        }
    }

    void controlWord() {
        const std::size_t begin = ++pos_;
        while (pos_ < in_.size() && isLetter(in_[pos_]))
            ++pos_;
        const std::string_view word = in_.substr(begin, pos_ - begin);

        bool hasParam = false;
        bool negative = false;
        std::int64_t value = 0;
        if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && isDigit(in_[pos_])) {
            hasParam = true;
            value = std::min<std::int64_t>(value * 10 + (in_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ')
            ++pos_;
        const int param = static_cast<int>(negative ? -value : value);

        if (word == "bin") {
            // Binary data of the given length follows; it is never text.
            if (hasParam && param > 0)
                pos_ += std::min<std::size_t>(static_cast<std::size_t>(param), in_.size() - pos_);
            skipFallback();
            return;
        }
        if (skipFallback())
            return;
        applyWord(word, hasParam, param);
    }

    void hexCharacter() {
        pos_ += 2;
        int value = -1;
        if (pos_ + 1 < in_.size()) {
            const int high = hexValue(in_[pos_]);
            const int low = hexValue(in_[pos_ + 1]);
            if (high >= 0 && low >= 0) {
                value = high * 16 + low;
                pos_ += 2;
            }
        }
        if (skipFallback() || value < 0)
            return;
        const char byte = static_cast<char>(value);
        if (byte != '\r' && byte != '\n')
            emit(mapByte(byte));
    }

    void controlSymbol(char symbol) {
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            emit(symbol);
            break;
        case '~':
            emit('\xA0'); // non-breaking space
            break;
        case '_':
            emit('-'); // non-breaking hyphen
            break;
        case '*':
            group().skip = true; // a destination this reader need not know
            break;
        case '\r':
        case '\n':
            endLine(); // a backslash before a line break of the file is a paragraph mark
            break;
        case '\t':
            emit('\t');
            break;
        default:
            break; // optional hyphen \-, formula \|, index subentry \: and the like
        }
    }

    void applyWord(std::string_view word, bool hasParam, int param) {
        if (word == "par" || word == "line" || word == "sect" || word == "page") {
            endLine();
        } else if (word == "row") {
            // A row is its cells separated by tabs; the last cell's tab does not end a cell.
            if (!line_.empty() && line_.back() == '\t' && visible())
                line_.pop_back();
            endLine();
        } else if (word == "u" && hasParam) {
            unicodeCharacter(param);
        } else if (word == "uc" && hasParam) {
            group().unicodeSkip = std::max(0, param);
        } else if (word == "ansicpg" && hasParam) {
            codePage_ = param;
        } else if (word == "ansi") {
            codePage_ = Cp1252;
        } else if (word == "mac" || word == "pc" || word == "pca") {
            codePage_ = 0; // not Windows-1252: high bytes cannot be mapped
        } else if (word == "v") {
            group().hidden = !hasParam || param != 0;
        } else if (word == "plain") {
            group().hidden = false;
        } else if (std::find(std::begin(SkippedDestinations), std::end(SkippedDestinations),
                             word) != std::end(SkippedDestinations)) {
            group().skip = true;
        } else {
            for (const auto& charWord : CharWords)
                if (charWord.word == word) {
                    emit(charWord.byte);
                    break;
                }
        }
    }

    void unicodeCharacter(int param) {
        // The parameter is a signed 16-bit UTF-16 code unit.
        const auto unit = static_cast<char32_t>(param < 0 ? param + 65536 : param) & 0xFFFF;
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (low && afterHighSurrogate_) {
            afterHighSurrogate_ = false; // second half of a pair already shown as "?"
        } else if (high || low) {
            emit('?');
            afterHighSurrogate_ = high;
        } else if (unit != '\r' && unit != '\n' && unit != 0) {
            emit(unicodeToCp1252(unit));
        }
        fallbackLeft_ = group().unicodeSkip;
    }

    char mapByte(char c) const {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x80 || codePage_ == Cp1252 ? c : '?';
    }

    bool visible() const {
        return !groups_.empty() && !groups_.back().skip && !groups_.back().hidden;
    }

    void emit(char c) {
        if (!visible())
            return;
        afterHighSurrogate_ = false;
        line_ += c;
    }

    void endLine() {
        if (!visible())
            return;
        afterHighSurrogate_ = false;
        lines_.push_back(std::move(line_));
        line_.clear();
    }

    std::string joined() const {
        std::string out;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (i > 0)
                out += "\r\n";
            out += lines_[i];
        }
        return out;
    }

    std::string_view in_;
    std::string_view sourceName_;
    std::size_t pos_ = 0;
    bool finished_ = false;
    std::vector<GroupState> groups_;
    std::size_t fallbackLeft_ = 0;
    bool afterHighSurrogate_ = false;
    int codePage_ = Cp1252;
    std::string line_;
    std::vector<std::string> lines_;
};

} // namespace

std::string RtfToText(std::string_view rtf, std::string_view sourceName) {
    std::size_t start = 0;
    while (start < rtf.size() &&
           (rtf[start] == ' ' || rtf[start] == '\t' || rtf[start] == '\r' || rtf[start] == '\n'))
        ++start;
    if (rtf.substr(start, 5) != "{\\rtf") {
        if (sourceName.empty())
            throw Error("The text is not a Rich Text Format document");
        throw Error("The file is not a Rich Text Format document: " + std::string(sourceName));
    }
    return PlainTextReader(rtf, sourceName).run(start);
}

} // namespace zrn::common
