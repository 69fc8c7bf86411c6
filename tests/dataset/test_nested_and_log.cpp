#include "Helpers.h"

#include "dataset/Packet.h"
#include "dataset/Table.h"
#include "rtl/Error.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zrn::ds;
using zrn::ds::test::AddRow;
using zrn::ds::test::Column;
using zrn::ds::test::RecordingObserver;

namespace {

// The input record with its layout rows, the way a data module declares them.
struct InputRecord {
    Table invoer{"cds_invoer"};
    Field& project = invoer.addStringField("project", 50);
    Field& zonesField = invoer.addNestedField("zones");
    Table& zones = zonesField.nestedTable();
    Field& index;
    Field& lengte;
    Field& temp;
    Aggregate& somLengte;
    Aggregate& maxIndex;

    InputRecord()
        : index(zones.addIntegerField("index")), lengte(zones.addFloatField("lengte")),
          temp(zones.addFloatField("temp")),
          somLengte(zones.addAggregate("SomLengte", "sum(lengte)")),
          maxIndex(zones.addAggregate("MaxIndex", "max(index)")) {
        temp.setDefaultExpression("20");
        zones.setIndexFieldNames("index");
        invoer.open();
    }

    void addProject(const std::string& name, const std::vector<double>& lengths) {
        invoer.append();
        project.setAsString(name);
        for (size_t i = 0; i < lengths.size(); ++i) {
            zones.append();
            index.setAsInteger(static_cast<long long>(i + 1));
            lengte.setAsFloat(lengths[i]);
            zones.post();
        }
        invoer.post();
    }
};

} // namespace

TEST(NestedTable, DetailShowsTheRowsOfTheMastersCurrentRow) {
    InputRecord r;
    r.addProject("p1", {10, 5});
    r.addProject("p2", {7});
    RecordingObserver grid;
    r.zones.attach(grid);
    r.invoer.first();
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"10", "5"}));
    EXPECT_TRUE(grid.saw("refresh"));
    r.invoer.next();
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"7"}));
    EXPECT_DOUBLE_EQ(r.somLengte.value().asFloat(), 7);
    EXPECT_EQ(r.temp.asFloat(), 20); // default of a new detail row
}

TEST(NestedTable, EditingADetailRowEditsTheMasterAndCancelOfTheMasterDropsIt) {
    InputRecord r;
    r.addProject("p1", {10, 5});
    EXPECT_EQ(r.invoer.state(), TableState::Browse);
    r.zones.first();
    r.zones.edit();
    EXPECT_EQ(r.invoer.state(), TableState::Edit);
    r.lengte.setAsFloat(11);
    r.zones.post();
    EXPECT_EQ(r.invoer.state(), TableState::Edit); // the master holds the change
    EXPECT_DOUBLE_EQ(r.somLengte.value().asFloat(), 16);
    r.invoer.cancel();
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"10", "5"}));

    r.zones.first();
    r.zones.deleteRecord();
    r.invoer.post();
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"5"}));
    // Moving the master posts an open detail edit into it first.
    r.zones.edit();
    r.lengte.setAsFloat(6);
    r.invoer.first();
    EXPECT_EQ(r.invoer.state(), TableState::Browse);
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"6"}));
}

TEST(NestedTable, NewMasterRowGetsItsLayoutRowsFromTheNewRecordRule) {
    InputRecord r;
    r.invoer.onNewRecord = [&](Table&) {
        for (int i = 1; i <= 10; ++i) {
            r.zones.append();
            r.index.setAsInteger(i);
            r.zones.post();
        }
    };
    r.invoer.edit(); // empty: inserts the record
    EXPECT_EQ(r.invoer.state(), TableState::Insert);
    EXPECT_EQ(r.zones.recordCount(), 10);
    EXPECT_TRUE(r.somLengte.value().isNull()); // no row has a length yet
    EXPECT_EQ(r.maxIndex.value().asInteger(), 10);
    r.invoer.post();
    EXPECT_EQ(r.zones.recordCount(), 10);
    r.maxIndex.setActive(false);
    EXPECT_TRUE(r.maxIndex.value().isNull());
}

TEST(NestedTable, BindingsSurviveReloadAndCloseOfTheMaster) {
    InputRecord r;
    r.addProject("p1", {10, 5});
    std::string saved = SaveToXml(r.invoer);
    r.invoer.first();
    r.invoer.edit();
    r.project.setAsString("changed");
    r.invoer.post();

    RecordingObserver grid;
    r.zones.attach(grid);
    Table* bound = &r.invoer.fieldByName("zones").nestedTable();
    LoadFromXml(r.invoer, saved, "project.xml");
    EXPECT_EQ(bound, &r.zones);
    EXPECT_EQ(r.project.asString(), "p1");
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"10", "5"}));
    EXPECT_EQ(grid.observedTables().size(), 1u);

    r.invoer.close();
    EXPECT_FALSE(r.zones.isActive());
    EXPECT_EQ(r.zones.recordCount(), 0);
    EXPECT_THROW(r.zones.open(), zrn::Error);
    r.invoer.open();
    EXPECT_TRUE(r.zones.isActive());
    EXPECT_EQ(r.zones.recordCount(), 2);
}

TEST(NestedTable, ScrollRuleMayEditAndPostTheRowItMovedTo) {
    InputRecord r;
    r.addProject("p1", {10, 5, 0});
    r.invoer.first();
    r.zones.last();
    r.zones.edit();
    r.lengte.clear();
    r.zones.post();
    // The last zone takes the rest of a 20 m conveyor; rows past zone 2 are locked.
    r.zones.afterScroll = [&](Table& z) {
        z.setReadOnly(false);
        if (r.index.asInteger() == 3 && r.lengte.isNull() && !r.somLengte.value().isNull()) {
            z.edit();
            r.lengte.setAsFloat(20 - r.somLengte.value().asFloat());
            z.post();
        }
        z.setReadOnly(r.index.asInteger() > 2);
    };
    r.zones.first();
    EXPECT_FALSE(r.zones.readOnly());
    r.zones.last();
    EXPECT_DOUBLE_EQ(r.lengte.asFloat(), 5);
    EXPECT_TRUE(r.zones.readOnly());
    EXPECT_TRUE(r.zones.eof());
    EXPECT_DOUBLE_EQ(r.somLengte.value().asFloat(), 20);
    EXPECT_EQ(r.invoer.state(), TableState::Edit);
}

TEST(ChangeLog, MergeAndCancelUpdates) {
    InputRecord r;
    r.addProject("p1", {10});
    EXPECT_EQ(r.invoer.changeCount(), 1);
    r.invoer.mergeChangeLog();
    EXPECT_EQ(r.zones.changeCount(), 0);
    Bookmark mark = r.invoer.bookmark();

    r.addProject("p2", {});
    r.invoer.first();
    r.invoer.edit();
    r.project.setAsString("p1x");
    r.zones.first();
    r.zones.edit();
    r.lengte.setAsFloat(99);
    r.invoer.post();
    EXPECT_EQ(r.invoer.changeCount(), 2);
    r.invoer.last();
    r.invoer.deleteRecord();
    EXPECT_EQ(r.invoer.changeCount(), 3);

    r.invoer.cancelUpdates();
    EXPECT_EQ(r.invoer.changeCount(), 0);
    EXPECT_EQ(Column(r.invoer, "project"), (std::vector<std::string>{"p1"}));
    r.invoer.gotoBookmark(mark);
    EXPECT_EQ(Column(r.zones, "lengte"), (std::vector<std::string>{"10"}));
}

TEST(Observers, AreToldBeforeAndAfterRowsComeAndGo) {
    Table t;
    t.addIntegerField("i");
    t.open();
    AddRow(t, {1});
    AddRow(t, {2});
    RecordingObserver o;
    t.attach(o);
    t.first();
    t.insert();
    EXPECT_EQ(o.events[0], "scroll");
    EXPECT_TRUE(o.saw("before insert 0+1"));
    EXPECT_TRUE(o.saw("inserted 0+1"));
    o.events.clear();
    t.cancel();
    EXPECT_EQ(o.events[0], "before remove 0+1");
    EXPECT_EQ(o.events[1], "removed 0+1");
    o.events.clear();
    t.last();
    t.deleteRecord();
    EXPECT_TRUE(o.saw("before remove 1+1") && o.saw("removed 1+1"));

    o.events.clear();
    t.disableControls();
    t.disableControls();
    AddRow(t, {3});
    t.first();
    t.enableControls();
    EXPECT_TRUE(o.events.empty());
    t.enableControls();
    EXPECT_EQ(o.events, (std::vector<std::string>{"refresh"}));
}

TEST(Observers, EitherSideMayGoFirst) {
    auto observer = std::make_unique<RecordingObserver>();
    {
        Table t;
        t.attach(*observer);
        t.attach(*observer);
        EXPECT_EQ(observer->observedTables().size(), 1u);
    }
    EXPECT_TRUE(observer->saw("destroyed"));
    EXPECT_TRUE(observer->observedTables().empty());

    Table t;
    t.addIntegerField("i");
    t.open();
    t.attach(*observer);
    observer.reset();
    AddRow(t, {1}); // nobody left to tell; must not touch the gone observer
    EXPECT_EQ(t.recordCount(), 1);
}
