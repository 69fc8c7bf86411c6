#include "dataset/Field.h"

#include "dataset/Expression.h"
#include "dataset/Table.h"
#include "dataset/TextUtil.h"
#include "rtl/Error.h"
#include "rtl/Format.h"

#include <climits>
#include <cmath>

namespace zrn::ds {

namespace {

const Value& NullValue() {
    static const Value null;
    return null;
}

std::string RangeText(double v) {
    return rtl::FloatToStr(v);
}

} // namespace

Field::Field(std::string name, FieldType type, int size)
    : name_(std::move(name)), type_(type), size_(type == FieldType::String ? size : 0) {
    if (type_ == FieldType::Nested)
        nested_ = std::make_unique<Table>(name_);
}

Field::~Field() = default;

void Field::attachTo(Table* table, int index) {
    table_ = table;
    index_ = index;
    if (nested_) {
        nested_->master_ = table;
        nested_->masterFieldIndex_ = index;
    }
}

void Field::setFieldKind(FieldKind kind) {
    if (table_ && table_->active_)
        throw Error("Cannot change the kind of field '" + name_ + "' of an open table");
    if (type_ == FieldType::Nested && kind != FieldKind::Data)
        throw Error("Field '" + name_ + "' is nested and can only hold data");
    kind_ = kind;
}

void Field::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    notifyChanged();
}

void Field::setDisplayLabel(std::string label) {
    label_ = std::move(label);
    notifyChanged();
}

int Field::displayWidth() const {
    if (displayWidth_ > 0)
        return displayWidth_;
    switch (type_) {
    case FieldType::String:
        return size_ > 0 ? size_ : 20;
    case FieldType::Boolean:
        return 5;
    default:
        return 10;
    }
}

Alignment Field::alignment() const {
    if (alignment_)
        return *alignment_;
    return (type_ == FieldType::Float || type_ == FieldType::Integer) ? Alignment::Right
                                                                      : Alignment::Left;
}

void Field::setDisplayFormat(std::string format) {
    displayFormat_ = std::move(format);
    notifyChanged();
}

void Field::setDisplayValues(std::string values) {
    displayValues_ = std::move(values);
    notifyChanged();
}

void Field::setConstraint(std::string expression, std::string message) {
    constraintExpr_ = expression.empty() ? nullptr : Expression::Parse(expression, "constraint");
    constraint_ = std::move(expression);
    constraintMessage_ = std::move(message);
}

Table& Field::nestedTable() const {
    if (!nested_)
        throw Error("Field '" + name_ + "' is not a nested field");
    return *nested_;
}

// ---- reading ----

const Value& Field::storedValue() const {
    if (!table_ || index_ < 0)
        return NullValue();
    if (kind_ == FieldKind::Calculated) {
        const std::vector<Value>* calc = table_->activeCalc();
        return calc && index_ < static_cast<int>(calc->size()) ? (*calc)[index_] : NullValue();
    }
    const detail::Row* row = table_->activeRow();
    return row ? row->values[index_] : NullValue();
}

bool Field::isNull() const {
    return storedValue().isNull();
}

Value Field::value() const {
    const Value& v = storedValue();
    if (v.isNull())
        return v;
    if (type_ == FieldType::Float)
        return Value(asFloat());
    return v;
}

namespace {
std::string BoolText(const std::string& displayValues, bool b) {
    size_t semi = displayValues.find(';');
    if (semi == std::string::npos)
        return b ? displayValues : std::string();
    return b ? displayValues.substr(0, semi) : displayValues.substr(semi + 1);
}
} // namespace

std::string Field::asString() const {
    const Value& v = storedValue();
    if (v.isNull())
        return {};
    switch (type_) {
    case FieldType::String:
        return v.asString();
    case FieldType::Float:
        return rtl::FloatToStr(asFloat());
    case FieldType::Integer:
        return std::to_string(v.asInteger());
    case FieldType::Boolean:
        return BoolText(displayValues_, v.asBoolean());
    case FieldType::Nested:
        return "(DATASET)";
    }
    return {};
}

double Field::asFloat() const {
    const Value& v = storedValue();
    switch (v.kind()) {
    case ValueKind::Null:
        return 0;
    case ValueKind::Boolean:
        return v.asBoolean() ? 1 : 0;
    case ValueKind::Integer:
    case ValueKind::Float:
        return v.asFloat();
    case ValueKind::String:
        return rtl::StrToFloat(v.asString());
    }
    return 0;
}

long long Field::asInteger() const {
    const Value& v = storedValue();
    switch (v.kind()) {
    case ValueKind::Null:
        return 0;
    case ValueKind::Boolean:
        return v.asBoolean() ? 1 : 0;
    case ValueKind::Integer:
        return v.asInteger();
    case ValueKind::Float:
        return static_cast<long long>(
            rtl::RoundHalfEven(type_ == FieldType::Float ? asFloat() : v.asFloat()));
    case ValueKind::String: {
        auto i = text::ParseFileInteger(v.asString());
        if (!i)
            throw Error("'" + v.asString() + "' is not a valid integer value");
        return *i;
    }
    }
    return 0;
}

bool Field::asBoolean() const {
    const Value& v = storedValue();
    switch (v.kind()) {
    case ValueKind::Null:
        return false;
    case ValueKind::Boolean:
        return v.asBoolean();
    case ValueKind::Integer:
    case ValueKind::Float:
        return v.asFloat() != 0;
    case ValueKind::String: {
        const std::string& s = v.asString();
        if (text::EqualsIgnoreCase(s, "true") ||
            text::EqualsIgnoreCase(s, BoolText(displayValues_, true)))
            return true;
        if (text::EqualsIgnoreCase(s, "false") || s.empty())
            return false;
        throw Error("'" + s + "' is not a valid boolean value");
    }
    }
    return false;
}

// ---- writing ----

void Field::clear() {
    storeValue(Value());
}

void Field::setValue(const Value& value) {
    if (value.isNull()) {
        clear();
        return;
    }
    switch (type_) {
    case FieldType::String:
        if (value.kind() == ValueKind::String)
            storeValue(value);
        else if (value.kind() == ValueKind::Float)
            storeValue(Value(rtl::FloatToStr(value.asFloat())));
        else if (value.kind() == ValueKind::Boolean)
            storeValue(Value(BoolText(displayValues_, value.asBoolean())));
        else
            storeValue(Value(value.toString()));
        return;
    case FieldType::Float:
        if (value.kind() == ValueKind::String)
            setAsString(value.asString());
        else
            setAsFloat(value.kind() == ValueKind::Boolean ? (value.asBoolean() ? 1.0 : 0.0)
                                                          : value.asFloat());
        return;
    case FieldType::Integer:
        if (value.kind() == ValueKind::String)
            setAsString(value.asString());
        else if (value.kind() == ValueKind::Float)
            setAsFloat(value.asFloat());
        else if (value.kind() == ValueKind::Boolean)
            setAsInteger(value.asBoolean() ? 1 : 0);
        else
            setAsInteger(value.asInteger());
        return;
    case FieldType::Boolean:
        if (value.kind() == ValueKind::String)
            setAsString(value.asString());
        else if (value.kind() == ValueKind::Boolean)
            setAsBoolean(value.asBoolean());
        else
            setAsBoolean(value.asFloat() != 0);
        return;
    case FieldType::Nested:
        throw Error("Field '" + displayLabel() + "' holds rows, not a value");
    }
}

void Field::setAsString(const std::string& textValue) {
    std::string_view trimmed = text::Trim(textValue);
    switch (type_) {
    case FieldType::String:
        // An emptied text is no value: a required text must not pass as filled in.
        if (textValue.empty())
            clear();
        else
            storeValue(Value(textValue));
        return;
    case FieldType::Float:
        if (trimmed.empty())
            clear();
        else
            setAsFloat(rtl::StrToFloat(textValue));
        return;
    case FieldType::Integer: {
        if (trimmed.empty()) {
            clear();
            return;
        }
        auto i = text::ParseFileInteger(trimmed);
        if (!i)
            throw Error("'" + textValue + "' is not a valid integer value");
        setAsInteger(*i);
        return;
    }
    case FieldType::Boolean: {
        if (trimmed.empty()) {
            clear();
            return;
        }
        std::string t(trimmed);
        std::string yes = BoolText(displayValues_, true);
        std::string no = BoolText(displayValues_, false);
        if ((!yes.empty() && text::EqualsIgnoreCase(t, yes)) || text::EqualsIgnoreCase(t, "true"))
            setAsBoolean(true);
        else if ((!no.empty() && text::EqualsIgnoreCase(t, no)) ||
                 text::EqualsIgnoreCase(t, "false"))
            setAsBoolean(false);
        else
            throw Error("'" + textValue + "' is not a valid boolean value for field '" +
                        displayLabel() + "'");
        return;
    }
    case FieldType::Nested:
        throw Error("Field '" + displayLabel() + "' holds rows, not a value");
    }
}

void Field::setAsFloat(double value) {
    if (!std::isfinite(value))
        throw Error("Invalid floating point value for field '" + displayLabel() + "'");
    switch (type_) {
    case FieldType::Float:
        storeValue(Value(value));
        return;
    case FieldType::Integer:
        setAsInteger(static_cast<long long>(rtl::RoundHalfEven(value)));
        return;
    case FieldType::String:
        storeValue(Value(rtl::FloatToStr(value)));
        return;
    case FieldType::Boolean:
        storeValue(Value(value != 0));
        return;
    case FieldType::Nested:
        throw Error("Field '" + displayLabel() + "' holds rows, not a value");
    }
}

void Field::setAsInteger(long long value) {
    switch (type_) {
    case FieldType::Integer:
        if (value < INT_MIN || value > INT_MAX)
            throw Error(std::to_string(value) + " is not a valid value for field '" +
                        displayLabel() + "'. The allowed range is " + std::to_string(INT_MIN) +
                        " to " + std::to_string(INT_MAX));
        storeValue(Value(value));
        return;
    case FieldType::Float:
        setAsFloat(static_cast<double>(value));
        return;
    case FieldType::String:
        storeValue(Value(std::to_string(value)));
        return;
    case FieldType::Boolean:
        storeValue(Value(value != 0));
        return;
    case FieldType::Nested:
        throw Error("Field '" + displayLabel() + "' holds rows, not a value");
    }
}

void Field::setAsBoolean(bool value) {
    switch (type_) {
    case FieldType::Boolean:
        storeValue(Value(value));
        return;
    case FieldType::String:
        storeValue(Value(BoolText(displayValues_, value)));
        return;
    case FieldType::Nested:
        throw Error("Field '" + displayLabel() + "' holds rows, not a value");
    default:
        setAsInteger(value ? 1 : 0);
        return;
    }
}

// ---- texts ----

std::string Field::formatText(bool displayText) const {
    if (isNull())
        return {};
    const std::string& format = (displayText || editFormat_.empty()) ? displayFormat_ : editFormat_;
    switch (type_) {
    case FieldType::Float:
        return format.empty() ? rtl::FloatToStr(asFloat()) : rtl::FormatFloat(format, asFloat());
    case FieldType::Integer:
        return format.empty() ? std::to_string(asInteger())
                              : rtl::FormatFloat(format, static_cast<double>(asInteger()));
    default:
        return asString();
    }
}

std::string Field::text() const {
    return onGetText ? onGetText(*this, true) : formatText(true);
}

std::string Field::editText() const {
    return onGetText ? onGetText(*this, false) : formatText(false);
}

void Field::setText(const std::string& textValue) {
    if (onSetText)
        onSetText(*this, textValue);
    else
        setAsString(textValue);
}

void Field::notifyChanged() const {
    if (table_)
        table_->notifyField(const_cast<Field&>(*this));
}

// ---- the change sequence ----

void Field::checkValue(const Value& value, bool withRange) const {
    if (value.isNull())
        return;
    if (withRange && value.isNumber() && (minValue_ || maxValue_)) {
        double v = value.asFloat();
        if ((minValue_ && v < *minValue_) || (maxValue_ && v > *maxValue_)) {
            std::string msg = RangeText(v) + " is not a valid value for field '" + displayLabel() +
                              "'. The allowed range is ";
            if (minValue_ && maxValue_)
                msg += RangeText(*minValue_) + " to " + RangeText(*maxValue_);
            else if (minValue_)
                msg += "at least " + RangeText(*minValue_);
            else
                msg += "at most " + RangeText(*maxValue_);
            throw Error(msg);
        }
    }
    if (constraintExpr_ && !constraintExpr_->accepts([&](int) { return value; }))
        throw Error(constraintMessage_.empty()
                        ? "Field '" + displayLabel() + "' does not meet \"" + constraint_ + "\""
                        : constraintMessage_);
}

void Field::storeValue(Value value) {
    if (!table_)
        throw Error("Field '" + name_ + "' belongs to no table");
    Table& t = *table_;
    if (type_ == FieldType::String && !value.isNull())
        value = Value(text::CutToChars(value.asString(), size_));
    if (kind_ == FieldKind::Calculated) {
        if (!t.inCalcFields_)
            throw Error("Field '" + displayLabel() + "' cannot be modified");
        (*t.activeCalc())[index_] = std::move(value);
        return;
    }
    t.ensureActive();
    if (!t.isEditing())
        throw Error(t.messagePrefix() + "Dataset not in edit or insert mode");
    if (t.readOnly_)
        throw Error(t.messagePrefix() + "Cannot modify a read-only dataset");
    if (readOnly_)
        throw Error("Field '" + displayLabel() + "' cannot be modified");
    checkValue(value, true);

    detail::Row* row = t.writableActiveRow();
    Value old = row->values[index_];
    bool wasModified = t.modified_;
    row->values[index_] = std::move(value);
    t.modified_ = true;
    if (onValidate) {
        try {
            onValidate(*this);
        } catch (...) {
            if (t.isEditing()) {
                t.writableActiveRow()->values[index_] = std::move(old);
                t.modified_ = wasModified;
                t.recalc();
            }
            throw;
        }
    }
    if (kind_ == FieldKind::Data && t.calculationHook)
        t.calculationHook(t, *this);
    t.recalc();
    if (onChange)
        onChange(*this);
    t.notifyField(*this);
}

} // namespace zrn::ds
