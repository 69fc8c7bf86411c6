#include "Helpers.h"

#include "dataset/Table.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

using namespace zrn::ds;
using zrn::ds::test::AddRow;
using zrn::ds::test::Column;

namespace {

// Sprocket bores: a text series that holds digits, a whole number, a real and a yes/no.
struct Bores : ::testing::Test {
    Table t{"cds_matserie_boring"};
    void SetUp() override {
        t.addStringField("boring", 8);
        t.addStringField("matserie", 5);
        t.addIntegerField("tanden");
        t.addFloatField("Dp");
        t.addBooleanField("ind_mat");
        t.open();
        AddRow(t, {"a", "12", 10, 81.23, true});
        AddRow(t, {"b", "12", 12, 97.5, false});
        AddRow(t, {"c", "07", 10, 81.23, true});
        AddRow(t, {"d", "x1", 16, nullptr, nullptr});
        AddRow(t, {"e's", "12", 16, 130.0, true});
    }
    std::vector<std::string> visible() { return Column(t, "boring"); }
};

struct FilterCase {
    const char* expression;
    std::vector<std::string> rows;
};

} // namespace

TEST_F(Bores, FilterExpressions) {
    const FilterCase cases[] = {
        // a text field compared with a number compares as a number when it reads as one
        {"matserie = 12", {"a", "b", "e's"}},
        {"matserie = 7", {"c"}},
        {"MATSERIE = '12' and tanden = 10 and dp = 81.23", {"a"}},
        {"matserie = 12 and tanden = 10 and dp = 81,23", {"a"}}, // decimal comma
        {"(10 >= tanden) and (10 < Dp)", {"a", "c"}},
        {"(tanden > 10) or (boring = 'c')", {"b", "c", "d", "e's"}},
        {"not (tanden = 10)", {"b", "d", "e's"}},
        {"boring = 'e''s'", {"e's"}},
        {"ind_mat = TRUE", {"a", "c", "e's"}},
        {"ind_mat", {"a", "c", "e's"}},
        // comparisons with null are unknown, and so are their negations
        {"Dp < 100", {"a", "b", "c"}},
        {"not (Dp < 100)", {"e's"}},
        {"Dp is null", {"d"}},
        {"Dp = null", {"d"}},
        {"Dp is not null and boring <> 'a'", {"b", "c", "e's"}},
        {"tanden >= -1e1", {"a", "b", "c", "d", "e's"}},
        {"", {"a", "b", "c", "d", "e's"}},
    };
    t.setFiltered(true);
    for (const auto& c : cases) {
        t.setFilter(c.expression);
        EXPECT_EQ(visible(), c.rows) << c.expression;
        EXPECT_EQ(t.recordCount(), static_cast<int>(c.rows.size())) << c.expression;
    }
    t.setFiltered(false);
    EXPECT_EQ(t.recordCount(), 5);
}

TEST_F(Bores, BadFilterIsAnErrorNamingItAndKeepsThePreviousFilter) {
    t.setFilter("tanden = 10");
    t.setFiltered(true);
    const char* bad[] = {"tanden = ",      "(tanden = 10", "tanden == 10", "boring = 'open",
                         "tanden = 10 10", "and",          "tanden ! 3"};
    for (const char* expression : bad) {
        try {
            t.setFilter(expression);
            ADD_FAILURE() << "accepted: " << expression;
        } catch (const zrn::Error& e) {
            EXPECT_NE(std::string(e.what()).find(expression), std::string::npos) << e.what();
        }
    }
    try {
        t.setFilter("breedte > 3");
        ADD_FAILURE();
    } catch (const zrn::Error& e) {
        EXPECT_NE(std::string(e.what()).find("breedte"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("breedte > 3"), std::string::npos);
    }
    EXPECT_EQ(t.filter(), "tanden = 10");
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "c"}));
    // An unknown field in a filter set while not filtering shows when filtering starts.
    t.setFiltered(false);
    t.setFilter("breedte > 3");
    EXPECT_THROW(t.setFiltered(true), zrn::Error);
    EXPECT_FALSE(t.filtered());
}

TEST_F(Bores, HandlerAndExpressionFilterTogetherAndAPostedRowLeavesTheFilter) {
    t.setFilterHandler([](Table& table) { return table.fieldByName("ind_mat").asBoolean(); });
    t.setFilter("tanden = 10");
    t.setFiltered(true);
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "c"}));
    t.first();
    t.edit();
    t.fieldByName("ind_mat").setAsBoolean(false);
    t.post();
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.fieldByName("boring").asString(), "c");
}

// Tables share a parsed filter text; each must still read its own fields, and a filter on
// a calculated field must see the value worked out for each row.
TEST_F(Bores, SameFilterOnAnotherLayoutWithACalculatedField) {
    t.setFilter("tanden = 10");
    t.setFiltered(true);
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "c"}));

    Table other{"other"};
    other.addFloatField("stap");
    other.addStringField("boring", 8);
    other.addIntegerField("tanden").setFieldKind(FieldKind::Calculated);
    other.onCalcFields = [](Table& table) {
        table.fieldByName("tanden").setAsInteger(
            static_cast<long long>(table.fieldByName("stap").asFloat() * 2));
    };
    other.open();
    AddRow(other, {2.5, "p"});
    AddRow(other, {5.0, "q"});
    AddRow(other, {5.0, "r"});
    other.setFilter("tanden = 10");
    other.setFiltered(true);
    EXPECT_EQ(Column(other, "boring"), (std::vector<std::string>{"q", "r"}));
    other.setFilter("(tanden = 10) and (boring <> 'q')");
    EXPECT_EQ(Column(other, "boring"), (std::vector<std::string>{"r"}));
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(Bores, IndexOrdersStablyByKindWithNullsFirst) {
    t.setIndexFieldNames("Dp");
    EXPECT_EQ(visible(), (std::vector<std::string>{"d", "a", "c", "b", "e's"}));
    t.setIndexFieldNames("tanden;boring");
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "c", "b", "d", "e's"}));
    t.setIndexFieldNames("matserie");
    EXPECT_EQ(visible(), (std::vector<std::string>{"c", "a", "b", "e's", "d"}));
    EXPECT_THROW(t.setIndexFieldNames("nope"), zrn::Error);
    EXPECT_EQ(t.indexFieldNames(), "matserie");
    // A changed key moves the row to its place, with the cursor on it.
    t.locate("boring", {"d"});
    t.edit();
    t.fieldByName("matserie").setAsString("00");
    t.post();
    EXPECT_EQ(t.recNo(), 1);
    EXPECT_EQ(t.fieldByName("boring").asString(), "d");
    t.setIndexFieldNames("");
    EXPECT_EQ(visible(), (std::vector<std::string>{"a", "b", "c", "d", "e's"}));
}

TEST_F(Bores, LocateExactCaseInsensitiveAndPrefix) {
    struct Case {
        const char* fields;
        std::vector<Value> values;
        LocateOptions options;
        const char* found; // nullptr: not found, cursor stays
    };
    const Case cases[] = {
        {"tanden", {12}, {}, "b"},
        {"tanden", {"16"}, {}, "d"},
        {"matserie;tanden", {"12", 16}, {}, "e's"},
        {"Dp", {97.5}, {}, "b"},
        {"Dp", {nullptr}, {}, "d"},
        {"boring", {"E'S"}, {}, nullptr},
        {"boring", {"E'S"}, {true, false}, "e's"},
        {"boring", {"E"}, {true, true}, "e's"},
        {"boring", {"E"}, {false, true}, nullptr},
        {"matserie", {"1"}, {false, true}, "a"},
        {"ind_mat", {false}, {}, "b"},
    };
    for (const auto& c : cases) {
        t.locate("boring", {"c"});
        bool found = t.locate(c.fields, c.values, c.options);
        EXPECT_EQ(found, c.found != nullptr) << c.fields;
        EXPECT_EQ(t.fieldByName("boring").asString(), c.found ? c.found : "c") << c.fields;
    }
    EXPECT_THROW(t.locate("tanden;boring", {1}), zrn::Error);
    EXPECT_THROW(t.locate("breedte", {1}), zrn::Error);
}

TEST_F(Bores, BookmarksSurviveEditsOrderAndFilterButNotDeletion) {
    t.locate("boring", {"c"});
    Bookmark mark = t.bookmark();
    t.setIndexFieldNames("boring");
    t.setFilter("tanden = 10");
    t.setFiltered(true);
    t.last();
    t.edit();
    t.fieldByName("boring").setAsString("cc");
    t.post();
    t.first();
    t.gotoBookmark(mark);
    EXPECT_EQ(t.fieldByName("boring").asString(), "cc");
    t.deleteRecord();
    EXPECT_FALSE(t.bookmarkValid(mark));
    EXPECT_THROW(t.gotoBookmark(mark), zrn::Error);
    EXPECT_EQ(t.fieldByName("boring").asString(), "a");
}

TEST_F(Bores, CursorFlags) {
    t.first();
    EXPECT_TRUE(t.bof());
    EXPECT_FALSE(t.eof());
    t.prior();
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.recNo(), 1);
    t.last();
    EXPECT_TRUE(t.eof());
    t.setRecNo(3);
    EXPECT_EQ(t.fieldByName("boring").asString(), "c");
    EXPECT_FALSE(t.eof() || t.bof());
    EXPECT_THROW(t.setRecNo(6), zrn::Error);
    t.setFilter("tanden = 99");
    t.setFiltered(true);
    EXPECT_TRUE(t.isEmpty());
    EXPECT_TRUE(t.eof() && t.bof());
    EXPECT_EQ(t.recNo(), 0);
    EXPECT_TRUE(t.fieldByName("boring").isNull());
}
