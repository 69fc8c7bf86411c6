#include "dataset/Value.h"

#include "dataset/Row.h"
#include "dataset/TextUtil.h"

namespace zrn::ds {

std::string Value::toString() const {
    switch (kind()) {
    case ValueKind::Null:
        return {};
    case ValueKind::Boolean:
        return asBoolean() ? "TRUE" : "FALSE";
    case ValueKind::Integer:
        return std::to_string(asInteger());
    case ValueKind::Float:
        return text::FileNumber(asFloat());
    case ValueKind::String:
        return asString();
    }
    return {};
}

namespace detail {
unsigned long long NextRowId() {
    // The program runs on one thread; a plain counter gives every row its own identity.
    static unsigned long long next = 0;
    return ++next;
}
} // namespace detail

} // namespace zrn::ds
