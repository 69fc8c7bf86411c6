#pragma once

#include "dataset/Value.h"

#include <string>

namespace zrn::ds {

class Table;

//! A maintained summary over the visible, posted rows of a table: "sum(lengte)",
//! "max(index)", "min(x)" or "count(x)". Inactive aggregates yield null; so does an
//! aggregate over rows that hold no value in its field (count gives 0 then).
class Aggregate {
public:
    //! Name the aggregate is found by (case-insensitively).
    const std::string& name() const { return name_; }
    //! The expression it was defined with.
    const std::string& expression() const { return expression_; }
    //! True when value() computes the summary.
    bool active() const { return active_; }
    //! Switches the summary on or off.
    void setActive(bool active) { active_ = active; }
    //! The summary now; null when inactive, the table is closed, or no row has a value.
    Value value() const;

private:
    friend class Table;
    enum class Function { Sum, Max, Min, Count };
    Aggregate(Table& table, std::string name, std::string expression);

    Table* table_;
    std::string name_;
    std::string expression_;
    Function function_ = Function::Sum;
    std::string fieldName_;
    bool active_ = true;
};

} // namespace zrn::ds
