#pragma once

#include "dataset/Table.h"

#include <string>
#include <vector>

namespace zrn::ds::test {

//! Appends one posted row with the given values, field by field in field order.
inline void AddRow(Table& t, const std::vector<Value>& values) {
    t.append();
    for (size_t i = 0; i < values.size(); ++i)
        t.field(static_cast<int>(i)).setValue(values[i]);
    t.post();
}

//! The text of one field for every visible row, in view order; the cursor ends on the last row.
inline std::vector<std::string> Column(Table& t, const std::string& field) {
    std::vector<std::string> out;
    for (t.first(); !t.eof(); t.next())
        out.push_back(t.fieldByName(field).asString());
    return out;
}

//! Records what a table tells its observers, one line per callback.
class RecordingObserver : public TableObserver {
public:
    std::vector<std::string> events;
    void fieldChanged(Table&, Field& f) override { events.push_back("field " + f.name()); }
    void recordChanged(Table&) override { events.push_back("record"); }
    void scrolled(Table&) override { events.push_back("scroll"); }
    void stateChanged(Table&) override { events.push_back("state"); }
    void rowsAboutToBeInserted(Table&, int first, int count) override {
        events.push_back("before insert " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsInserted(Table&, int first, int count) override {
        events.push_back("inserted " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsAboutToBeRemoved(Table&, int first, int count) override {
        events.push_back("before remove " + std::to_string(first) + "+" + std::to_string(count));
    }
    void rowsRemoved(Table&, int first, int count) override {
        events.push_back("removed " + std::to_string(first) + "+" + std::to_string(count));
    }
    void refreshed(Table&) override { events.push_back("refresh"); }
    void tableDestroyed(Table&) override { events.push_back("destroyed"); }

    //! True when the line was recorded.
    bool saw(const std::string& line) const {
        for (const auto& e : events)
            if (e == line)
                return true;
        return false;
    }
};

} // namespace zrn::ds::test
