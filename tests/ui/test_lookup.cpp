#include "UiTestSupport.h"

#include "ui/common/TDBLookupComboBox.h"
#include "ui/common/TableModel.h"
#include "ui/common/u_lookup.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace zrn::ui::test {
namespace {

//! A window with a lookup combo writing mat.mattype into invoer.mattype, showing mat.oms.
class LookupTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit;
        combo = new TDBLookupComboBox;
        combo->setTable(&t.invoer);
        combo->setDataField("mattype");
        combo->setListSource(&t.mat, "mattype", "oms");
        layout->addWidget(before);
        layout->addWidget(combo);
        Activate(window);
        TypeAheadBuffer().clear();
    }

    std::string key() const { return t.mattype.asString(); }
    std::string listRow() const { return t.matOms.asString(); }

    Tables t;
    QWidget window;
    QLineEdit* before = nullptr;
    TDBLookupComboBox* combo = nullptr;
};

TEST_F(LookupTest, ShowsTheListTextOfTheKeyAndPositionsTheList) {
    ASSERT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->itemText(2), "Bravo");
    EXPECT_EQ(combo->currentText(), "Beta");
    EXPECT_EQ(listRow(), "Beta");

    t.invoer.edit();
    t.mattype.setAsString("C30"); // a change from elsewhere
    EXPECT_EQ(combo->currentText(), "Charlie");
    EXPECT_EQ(listRow(), "Charlie");
    t.mattype.setAsString("Z99"); // no such row
    EXPECT_EQ(combo->currentIndex(), -1);
    t.invoer.cancel();
    t.invoer.next(); // empty key
    EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(LookupTest, ChoosingARowWritesItsKey) {
    std::vector<std::string> seenByRule;
    t.mattype.onChange = [&](ds::Field&) { seenByRule.push_back(listRow()); };
    TabInto(*combo);
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(key(), "B25");
    EXPECT_EQ(listRow(), "Bravo");
    EXPECT_EQ(combo->currentText(), "Bravo");
    EXPECT_EQ(t.invoer.state(), ds::TableState::Edit);
    // The change rule already sees the chosen list row.
    EXPECT_EQ(seenByRule, std::vector<std::string>{"Bravo"});

    emit combo->activated(2); // the same row again changes nothing
    EXPECT_EQ(seenByRule.size(), 1u);
}

TEST_F(LookupTest, ListFilterChangesTheRowsOffered) {
    ModelTesterLog log;
    QAbstractItemModelTester tester(combo->listModel(),
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    t.mat.setFilter("mattype <> 'A10' and mattype <> 'B20'");
    t.mat.setFiltered(true);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), -1); // B20 is not offered any more
    t.mat.setFiltered(false);
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentText(), "Beta");
    t.mat.append();
    t.matKey.setAsString("D40");
    t.matOms.setAsString("Delta");
    t.mat.post();
    EXPECT_EQ(combo->count(), 5);
    EXPECT_EQ(combo->itemText(4), "Delta");
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join('\n').toStdString();
}

TEST_F(LookupTest, EnteringAnEmptyComboSelectsTheFirstRow) {
    t.invoer.next(); // mattype empty
    t.mat.last();
    TypeAheadBuffer() = "xyz";
    TabInto(*combo);
    EXPECT_EQ(key(), "A10");
    EXPECT_EQ(listRow(), "Alpha");
    EXPECT_EQ(combo->currentText(), "Alpha");
    EXPECT_TRUE(TypeAheadBuffer().isEmpty());
}

TEST_F(LookupTest, EnteringAComboWithAValueOnlyEmptiesTheBuffer) {
    TypeAheadBuffer() = "xyz";
    TabInto(*combo);
    EXPECT_EQ(key(), "B20");
    EXPECT_EQ(t.invoer.state(), ds::TableState::Browse);
    EXPECT_TRUE(TypeAheadBuffer().isEmpty());
}

TEST_F(LookupTest, TypeAheadShortensTheBufferFromTheFront) {
    struct Case {
        const char* typed;
        const char* key;
        const char* buffer;
    };
    const Case cases[] = {
        {"b", "B20", "b"},   {"br", "B25", "br"}, {"BR", "B25", "BR"},
        {"brx", "B25", ""},  {"bc", "C30", "c"},  {"brc", "C30", "c"},
        {"b ", "B20", "b "}, {"b a", "A10", "a"}, {"q", "B20", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        t.invoer.cancel();
        before->setFocus(Qt::TabFocusReason);
        TabInto(*combo); // empties the buffer
        QTest::keyClicks(combo, c.typed);
        EXPECT_EQ(key(), c.key);
        EXPECT_EQ(combo->currentText().toStdString(), listRow());
        EXPECT_EQ(TypeAheadBuffer(), c.buffer);
    }
}

TEST_F(LookupTest, ReadOnlyFieldIsNotChanged) {
    t.mattype.setReadOnly(true);
    TabInto(*combo);
    QTest::keyClicks(combo, "c");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(key(), "B20");
    EXPECT_EQ(combo->currentText(), "Beta");
    EXPECT_EQ(t.invoer.state(), ds::TableState::Browse);
}

TEST(TypeAhead, PlainCombosAndListsSearchTheirItems) {
    const QStringList items{"Alpha", "Beta", "Bravo", "Charlie"};
    QComboBox combo;
    combo.addItems(items);
    QListWidget list;
    list.addItems(items);
    installTypeAhead(&combo);
    installTypeAhead(&list);

    TypeAheadBuffer().clear();
    QTest::keyClicks(&combo, "brx");
    EXPECT_EQ(combo.currentText(), "Bravo");
    TypeAheadBuffer().clear();
    QTest::keyClicks(&list, "bc");
    EXPECT_EQ(list.currentItem()->text(), "Charlie");
    EXPECT_TRUE(list.currentItem()->isSelected());
    EXPECT_EQ(TypeAheadBuffer(), "c");

    EXPECT_FALSE(TypeAheadLookup(&combo, QChar(8))); // control characters are not handled
}

} // namespace
} // namespace zrn::ui::test
