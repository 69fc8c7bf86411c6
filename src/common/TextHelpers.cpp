#include "common/TextHelpers.h"

namespace zrn::common {

namespace {

std::size_t columns(int width) {
    return width > 0 ? static_cast<std::size_t>(width) : 0;
}

} // namespace

std::string PadLeft(std::string_view text, int width, char fill) {
    const std::size_t size = columns(width);
    std::string result(text.substr(0, size));
    result.insert(0, size - result.size(), fill);
    return result;
}

std::string PadRight(std::string_view text, int width) {
    const std::size_t size = columns(width);
    std::string result(text.substr(0, size));
    result.append(size - result.size(), ' ');
    return result;
}

std::string CenterText(std::string_view text, int width) {
    const std::size_t size = columns(width);
    if (text.size() >= size)
        return std::string(text.substr(0, size));
    const std::size_t before = (size - text.size()) / 2;
    return PadRight(std::string(before, ' ') + std::string(text), width);
}

std::string CapitalizeFirst(std::string_view text) {
    std::string result(text);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z')
        result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

std::string RepeatChar(char c, int count) {
    return std::string(columns(count), c);
}

} // namespace zrn::common
