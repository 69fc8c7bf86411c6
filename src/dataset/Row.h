#pragma once

#include "dataset/Value.h"

#include <vector>

namespace zrn::ds::detail {

//! The stored form of one row, shared by the table and its packet readers and writers.
//! values and nested have one entry per field of the owning table: a stored field's value
//! sits in values, a Nested field's rows in nested; the other entries stay empty.
struct Row {
    std::vector<Value> values;
    std::vector<std::vector<Row>> nested;
    //! Identity of the row for bookmarks; unique within the program run.
    unsigned long long id = 0;
};

using Rows = std::vector<Row>;

//! A fresh row identity.
unsigned long long NextRowId();

} // namespace zrn::ds::detail
