#pragma once

#include "dataset/Value.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zrn::ds {

class Table;
class Expression;

//! The type of a field's values, as it appears in a data packet.
enum class FieldType {
    String,  //!< text of at most size() characters ("string", WIDTH)
    Float,   //!< real number ("r8")
    Integer, //!< 32-bit whole number ("i4")
    Boolean, //!< yes/no ("boolean", TRUE/FALSE)
    Nested   //!< rows with their own field list ("nested"), reached through nestedTable()
};

//! Where a field's value comes from.
enum class FieldKind {
    Data,        //!< stored with the row, read from and written to files
    Calculated,  //!< recomputed by Table::onCalcFields whenever a row is read; never stored
    InternalCalc //!< stored with the row, written by the table's calculation hook
};

//! How bound controls align the field's text.
enum class Alignment { Left, Right, Center };

//! One column of a Table, and the access to that column in the table's active row.
//!
//! A field belongs to exactly one table for its whole life. Reading a value reads the
//! table's active row (the current row, its edit buffer while editing, or a row being
//! peeked at). Writing a value runs, in this order: the read-only and state checks, the
//! range and constraint checks, the store, onValidate (which sees the new value; if it
//! throws, the old value is put back and the error passes on), the table's calculation hook
//! (Data fields only), the recomputation of calculated fields, onChange, and finally the
//! notification of the table's observers. onChange runs on every write, also when the
//! new value equals the old one.
//!
//! Subclasses (the unit-converting field) override asFloat/setAsFloat: every other
//! number path of the base class (asString, value, text, editText, setText) goes through
//! them, so the base class's own implementation is the unconverted, stored value.
class Field {
public:
    //! A field of the given type; size is the width in characters of a String field.
    Field(std::string name, FieldType type, int size = 0);
    virtual ~Field();
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    // ---- definition ----

    //! The name the field is addressed by (case-insensitively).
    const std::string& name() const { return name_; }
    //! The type of the values.
    FieldType type() const { return type_; }
    //! Width in characters of a String field; 0 for other types.
    int size() const { return size_; }
    //! Data, calculated or internally calculated.
    FieldKind fieldKind() const { return kind_; }
    //! Changes where the value comes from; only while the table is closed.
    void setFieldKind(FieldKind kind);
    //! True for Data and InternalCalc fields: their values live in the rows.
    bool isStored() const { return kind_ != FieldKind::Calculated; }
    //! The packet's SUBTYPE of this field ("" when it has none), kept for writing back.
    const std::string& subtype() const { return subtype_; }
    //! Sets the packet's SUBTYPE.
    void setSubtype(std::string subtype) { subtype_ = std::move(subtype); }

    //! True when a post needs a value in this field.
    bool required() const { return required_; }
    //! Makes the field required or optional; allowed at any time.
    void setRequired(bool required) { required_ = required; }
    //! True when the field refuses every write (also from program code).
    bool readOnly() const { return readOnly_; }
    //! Locks or unlocks the field for writing.
    void setReadOnly(bool readOnly);
    //! True when grids show the field.
    bool visible() const { return visible_; }
    //! Shows or hides the field in grids.
    void setVisible(bool visible) { visible_ = visible; }
    //! The title for users: the display label when set, else the name.
    const std::string& displayLabel() const { return label_.empty() ? name_ : label_; }
    //! Sets the title; "~" marks a line break in grid titles.
    void setDisplayLabel(std::string label);
    //! Width in characters that grids give the field (0: derived from the type).
    int displayWidth() const;
    //! Sets the grid width in characters.
    void setDisplayWidth(int width) { displayWidth_ = width; }
    //! Text alignment in controls.
    Alignment alignment() const;
    //! Sets the text alignment.
    void setAlignment(Alignment alignment) { alignment_ = alignment; }
    //! The FormatFloat pattern of the display text of a number ("" = general form).
    const std::string& displayFormat() const { return displayFormat_; }
    //! Sets the display pattern; bound controls redisplay.
    void setDisplayFormat(std::string format);
    //! The FormatFloat pattern of the edit text ("" = the display pattern).
    const std::string& editFormat() const { return editFormat_; }
    //! Sets the edit pattern.
    void setEditFormat(std::string format) { editFormat_ = std::move(format); }
    //! Texts of a Boolean field for true and false, "true text;false text" ("True;False").
    const std::string& displayValues() const { return displayValues_; }
    //! Sets the yes/no texts; either side may be empty.
    void setDisplayValues(std::string values);
    //! The value a new row gets, as file text ("100", "20", "TRUE", "'abc'"); "" = none.
    const std::string& defaultExpression() const { return defaultExpression_; }
    //! Sets the value of new rows; checked against the type when a row is inserted.
    void setDefaultExpression(std::string expression) {
        defaultExpression_ = std::move(expression);
    }
    //! Smallest accepted value of a number field (stored value), none by default.
    std::optional<double> minValue() const { return minValue_; }
    //! Largest accepted value of a number field (stored value), none by default.
    std::optional<double> maxValue() const { return maxValue_; }
    //! Sets the accepted range; an empty optional removes that side.
    void setRange(std::optional<double> minValue, std::optional<double> maxValue) {
        minValue_ = minValue;
        maxValue_ = maxValue;
    }
    //! Sets a condition every non-null value must meet, e.g. "X >= 0 and X <= 100", with
    //! the message of the error that refuses a value. Every name in the expression stands
    //! for this field's value. Checked on every write and when a row is posted.
    void setConstraint(std::string expression, std::string message);
    //! The constraint expression ("" = none).
    const std::string& constraint() const { return constraint_; }
    //! The message of a constraint failure.
    const std::string& constraintMessage() const { return constraintMessage_; }

    //! The table the field belongs to; null before it is added to one.
    Table* table() const { return table_; }
    //! Position in the table's field list; -1 before it is added to one.
    int index() const { return index_; }

    //! The detail table of a Nested field: the rows nested in the master's current row.
    //! The object lives as long as the field; throws for other types.
    Table& nestedTable() const;

    // ---- value of the active row ----

    //! True when the active row holds no value (also when there is no row).
    bool isNull() const;
    //! Stores null.
    void clear();
    //! The value as a Value (null stays null); a Float goes through asFloat().
    virtual Value value() const;
    //! Stores a Value, converting it to the field's type.
    virtual void setValue(const Value& value);
    //! The value as a text: numbers in the general form with the program's decimal
    //! separator, Boolean as its display value, "" for null.
    virtual std::string asString() const;
    //! Stores a text read in the program's number format; "" stores null. A text longer
    //! than a String field's width is cut to the width (in characters), as the classic
    //! engine does; files are read the same way.
    virtual void setAsString(const std::string& text);
    //! The value as a real number (0 for null); texts are read as numbers.
    virtual double asFloat() const;
    //! Stores a real number (rounded half to even for an Integer field).
    virtual void setAsFloat(double value);
    //! The value as a whole number (0 for null).
    virtual long long asInteger() const;
    //! Stores a whole number.
    virtual void setAsInteger(long long value);
    //! The value as a yes/no (false for null).
    virtual bool asBoolean() const;
    //! Stores a yes/no.
    virtual void setAsBoolean(bool value);

    //! The display text: onGetText when set, else the value through displayFormat.
    virtual std::string text() const;
    //! The edit text: onGetText when set, else the value through editFormat (or
    //! displayFormat when editFormat is empty).
    virtual std::string editText() const;
    //! User entry: onSetText when set, else setAsString (so "" stores null and a text that
    //! is not a number is refused with the conversion error).
    virtual void setText(const std::string& text);

    //! Tells the table's observers that this field's value must be shown again, without
    //! running any rule (the unit system changed, for instance).
    void notifyChanged() const;

    // ---- events ----

    //! Checks a new value; the field already holds it. Throw zrn::Error to refuse it.
    std::function<void(Field&)> onValidate;
    //! The field's change rule, after the store and the calculation hook.
    std::function<void(Field&)> onChange;
    //! Gives the text to show: (field, displayText) where displayText is false for editing.
    std::function<std::string(const Field&, bool)> onGetText;
    //! Takes a typed text in place of setAsString.
    std::function<void(Field&, const std::string&)> onSetText;

protected:
    //! The display or edit text of the value without onGetText.
    virtual std::string formatText(bool displayText) const;
    //! The stored value of the active row, unconverted.
    const Value& storedValue() const;
    //! Stores a value already of the field's type, running the whole change sequence.
    void storeValue(Value value);

private:
    friend class Table;
    friend class PacketAccess;
    void checkValue(const Value& value, bool withRange) const;
    void attachTo(Table* table, int index);

    std::string name_;
    FieldType type_;
    int size_ = 0;
    FieldKind kind_ = FieldKind::Data;
    std::string subtype_;
    bool required_ = false;
    bool readOnly_ = false;
    bool visible_ = true;
    bool declared_ = true;
    std::string label_;
    int displayWidth_ = 0;
    std::optional<Alignment> alignment_;
    std::string displayFormat_;
    std::string editFormat_;
    std::string displayValues_ = "True;False";
    std::string defaultExpression_;
    std::optional<double> minValue_;
    std::optional<double> maxValue_;
    std::string constraint_;
    std::string constraintMessage_;
    std::shared_ptr<const Expression> constraintExpr_;
    Table* table_ = nullptr;
    int index_ = -1;
    std::unique_ptr<Table> nested_;
};

} // namespace zrn::ds
