#include "dataset/Aggregate.h"

#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"

#include <cctype>

namespace zrn::ds {

Aggregate::Aggregate(Table& table, std::string name, std::string expression)
    : table_(&table), name_(std::move(name)), expression_(std::move(expression)) {
    std::string_view e = text::Trim(expression_);
    size_t open = e.find('(');
    size_t close = e.rfind(')');
    std::string function =
        open == std::string_view::npos ? std::string() : text::Lower(text::Trim(e.substr(0, open)));
    if (open == std::string_view::npos || close != e.size() - 1 || close < open)
        throw Error("Invalid aggregate expression \"" + expression_ + "\"");
    if (function == "sum")
        function_ = Function::Sum;
    else if (function == "max")
        function_ = Function::Max;
    else if (function == "min")
        function_ = Function::Min;
    else if (function == "count")
        function_ = Function::Count;
    else
        throw Error("Invalid aggregate expression \"" + expression_ + "\"");
    fieldName_ = std::string(text::Trim(e.substr(open + 1, close - open - 1)));
    if (fieldName_.empty())
        throw Error("Invalid aggregate expression \"" + expression_ + "\"");
}

Value Aggregate::value() const {
    if (!active_ || !table_->isActive())
        return Value();
    const Field& field = table_->fieldByName(fieldName_);
    const detail::Rows* rows = table_->storage();
    long long count = 0;
    Value best;
    double sum = 0;
    if (rows) {
        for (int pos : table_->view_) {
            if (pos < 0)
                continue; // a row being inserted counts once it is posted
            const Value& v = (*rows)[pos].values[field.index()];
            if (v.isNull())
                continue;
            ++count;
            if (function_ == Function::Sum) {
                if (v.isNumber())
                    sum += v.asFloat();
            } else if (function_ == Function::Max || function_ == Function::Min) {
                bool better = false;
                if (best.isNull())
                    better = true;
                else if (v.isNumber() && best.isNumber())
                    better = function_ == Function::Max ? v.asFloat() > best.asFloat()
                                                        : v.asFloat() < best.asFloat();
                else if (v.kind() == ValueKind::String && best.kind() == ValueKind::String)
                    better = function_ == Function::Max ? v.asString() > best.asString()
                                                        : v.asString() < best.asString();
                if (better)
                    best = v;
            }
        }
    }
    switch (function_) {
    case Function::Count:
        return Value(count);
    case Function::Sum:
        if (count == 0)
            return Value();
        if (field.type() == FieldType::Integer)
            return Value(static_cast<long long>(sum));
        return Value(sum);
    default:
        return best;
    }
}

} // namespace zrn::ds
