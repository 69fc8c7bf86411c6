#include "Helpers.h"

#include "dataset/Table.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

using namespace zrn::ds;
using zrn::ds::test::AddRow;
using zrn::ds::test::Column;

namespace {

struct LanguageTable {
    Table t{"Taal"};
    Field& code = t.addStringField("Taalcode", 50);
    Field& id = t.addStringField("TaalId", 50);
    Field& waarde = t.addStringField("Waarde", 255);
    LanguageTable() {
        id.setDefaultExpression("' '");
        waarde.setRequired(true);
        waarde.setDisplayLabel("Tekst");
        t.open();
    }
};

} // namespace

TEST(TableEditing, RequiredFieldRefusesPostNamingItsLabelAndKeepsTheRow) {
    LanguageTable lt;
    lt.t.append();
    lt.code.setAsString("S_YES");
    try {
        lt.t.post();
        FAIL() << "post without a required value accepted";
    } catch (const zrn::Error& e) {
        EXPECT_STREQ(e.what(), "Field 'Tekst' must have a value");
    }
    EXPECT_EQ(lt.t.state(), TableState::Insert);
    EXPECT_EQ(lt.code.asString(), "S_YES");
    lt.waarde.setRequired(false); // switched at run time
    lt.t.post();
    EXPECT_EQ(lt.t.recordCount(), 1);
    EXPECT_EQ(lt.id.asString(), " "); // the default of a new row
}

TEST(TableEditing, AnEmptiedRequiredTextIsNoValue) {
    LanguageTable lt;
    AddRow(lt.t, {"S_A", " ", "a"});
    lt.t.first();
    lt.t.edit();
    lt.waarde.setText("");
    EXPECT_TRUE(lt.waarde.isNull());
    EXPECT_THROW(lt.t.post(), zrn::Error);
    EXPECT_EQ(lt.t.state(), TableState::Edit);
    lt.waarde.setAsString("");
    EXPECT_TRUE(lt.waarde.isNull());
}

TEST(TableEditing, ReadOnlyFieldAndTableRefuseWrites) {
    LanguageTable lt;
    AddRow(lt.t, {"S_A", " ", "a"});
    lt.code.setReadOnly(true);
    lt.t.edit();
    EXPECT_THROW(lt.code.setAsString("x"), zrn::Error);
    lt.code.setReadOnly(false);
    lt.code.setAsString("x");
    lt.t.post();
    lt.t.setReadOnly(true);
    EXPECT_THROW(lt.t.edit(), zrn::Error);
    EXPECT_THROW(lt.t.append(), zrn::Error);
    EXPECT_THROW(lt.t.deleteRecord(), zrn::Error);
    EXPECT_EQ(Column(lt.t, "Taalcode"), (std::vector<std::string>{"x"}));
}

TEST(TableEditing, InsertGoesBeforeTheCurrentRowAppendAtTheEnd) {
    Table t;
    t.addStringField("k", 5);
    t.open();
    AddRow(t, {"a"});
    AddRow(t, {"c"});
    t.first();
    t.next();
    t.insert();
    t.field(0).setAsString("b");
    t.post();
    EXPECT_EQ(t.recNo(), 2);
    t.append();
    t.field(0).setAsString("d");
    t.post();
    EXPECT_EQ(Column(t, "k"), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TableEditing, CancelDropsTheBufferAndAnInsertedRow) {
    Table t;
    t.addStringField("k", 5);
    t.open();
    AddRow(t, {"a"});
    t.edit();
    t.field(0).setAsString("z");
    t.cancel();
    EXPECT_EQ(t.field(0).asString(), "a");
    t.append();
    EXPECT_EQ(t.recordCount(), 2);
    t.cancel();
    EXPECT_EQ(t.recordCount(), 1);
    EXPECT_EQ(t.field(0).asString(), "a");
}

TEST(TableEditing, MovingPostsAModifiedRowAndDropsAnUntouchedNewOne) {
    Table t;
    t.addStringField("k", 5);
    t.open();
    AddRow(t, {"a"});
    AddRow(t, {"b"});
    t.first();
    t.edit();
    t.field(0).setAsString("a2");
    t.next(); // posts
    EXPECT_EQ(t.state(), TableState::Browse);
    t.append(); // untouched: dropped by the move
    t.first();
    EXPECT_EQ(Column(t, "k"), (std::vector<std::string>{"a2", "b"}));
}

TEST(TableEditing, NewRecordRuleRunsAfterDefaultsAndEditOfAnEmptyTableAppends) {
    Table t;
    Field& n = t.addIntegerField("index");
    Field& temp = t.addFloatField("temp");
    temp.setDefaultExpression("20");
    t.onNewRecord = [&](Table&) { n.setAsInteger(static_cast<long long>(temp.asFloat()) + 1); };
    t.open();
    t.edit(); // empty table: a new row
    EXPECT_EQ(t.state(), TableState::Insert);
    EXPECT_EQ(n.asInteger(), 21);
    EXPECT_FALSE(t.modified()); // rows made by the new-record rule count as untouched
    t.post();
    EXPECT_EQ(t.recordCount(), 1);
}

TEST(TableEditing, DeleteKeepsTheCursorOnTheNextRowAndEndsAtEof) {
    Table t;
    t.addIntegerField("i");
    t.open();
    for (int i = 1; i <= 4; ++i)
        AddRow(t, {i});
    // Delete every even row the way the module loops do.
    t.first();
    while (!t.eof()) {
        if (t.field(0).asInteger() % 2 == 0)
            t.deleteRecord();
        else
            t.next();
    }
    EXPECT_EQ(Column(t, "i"), (std::vector<std::string>{"1", "3"}));
    t.emptyTable();
    EXPECT_TRUE(t.isEmpty());
    EXPECT_THROW(t.deleteRecord(), zrn::Error);
}

TEST(TableEditing, BeforePostMayFixTheRowBeforeTheRequiredCheck) {
    Table t;
    Field& temp = t.addFloatField("temp");
    temp.setRequired(true);
    t.beforePost = [&](Table&) {
        if (temp.isNull())
            temp.setAsFloat(20);
    };
    int afterPosts = 0;
    t.afterPost = [&](Table& table) {
        ++afterPosts;
        table.edit(); // the input record stays in edit
    };
    t.open();
    t.append();
    t.post();
    EXPECT_DOUBLE_EQ(temp.asFloat(), 20);
    EXPECT_EQ(afterPosts, 1);
    EXPECT_EQ(t.state(), TableState::Edit);
}

TEST(TableEditing, ClosedTableRefusesCursorWorkAndKeepsItsRows) {
    Table t;
    t.addIntegerField("i");
    t.open();
    AddRow(t, {1});
    t.close();
    EXPECT_EQ(t.state(), TableState::Inactive);
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_THROW(t.first(), zrn::Error);
    EXPECT_THROW(t.edit(), zrn::Error);
    EXPECT_TRUE(t.field(0).isNull());
    t.open();
    EXPECT_EQ(t.recordCount(), 1);
}
