#include "UiTestSupport.h"

#include "lang/MetricField.h"
#include "lang/TaalComponent.h"
#include "rtl/Error.h"
#include "ui/common/DataControl.h"
#include "ui/common/TDBEdit.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace zrn::ui::test {
namespace {

//! A window with an edit on invoer.lengte and a plain edit after it to tab to.
class DBEditTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        edit = new TDBEdit;
        edit->setTable(&t.invoer);
        edit->setDataField("lengte");
        next = new QLineEdit;
        layout->addWidget(edit);
        layout->addWidget(next);
        Activate(window);
        next->setFocus();
    }

    Tables t;
    QWidget window;
    TDBEdit* edit = nullptr;
    QLineEdit* next = nullptr;
};

TEST_F(DBEditTest, ShowsDisplayTextAndEditsTheEditText) {
    EXPECT_EQ(edit->text(), "12.50");
    TabInto(*edit);
    EXPECT_EQ(edit->text(), "12.5");
    TabInto(*next);
    EXPECT_EQ(edit->text(), "12.50");
}

TEST_F(DBEditTest, TypingAndTabbingAwayStoresThroughTheField) {
    std::vector<std::string> changes;
    t.lengte.onChange = [&](ds::Field& f) { changes.push_back(f.asString()); };
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "7.25");
    EXPECT_TRUE(edit->hasPendingEdit());
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5); // nothing stored while typing
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 7.25);
    EXPECT_EQ(t.invoer.state(), ds::TableState::Edit); // auto edit started the edit
    EXPECT_EQ(changes, std::vector<std::string>{"7.25"});
    EXPECT_EQ(edit->text(), "7.25");
    EXPECT_FALSE(edit->hasPendingEdit());
}

TEST_F(DBEditTest, EnterStoresAndKeepsTheFocus) {
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "8");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 8);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "8"); // still the edit text while focused
}

TEST_F(DBEditTest, RefusedValueShowsItsMessageAndKeepsFocusAndOldValue) {
    t.lengte.onValidate = [](ds::Field& f) {
        if (f.asFloat() > 100)
            throw Error("Lengte te groot");
    };
    struct Case {
        const char* typed;
        bool exactMessage;
    };
    for (const Case& c : {Case{"150", true}, Case{"abc", false}}) {
        SCOPED_TRACE(c.typed);
        MessageCatcher catcher;
        TabInto(*edit);
        edit->selectAll();
        QTest::keyClicks(edit, c.typed);
        QTest::keyClick(edit, Qt::Key_Tab);
        ASSERT_EQ(catcher.messages.size(), 1);
        if (c.exactMessage)
            EXPECT_EQ(catcher.messages.front(), "Lengte te groot");
        else
            EXPECT_FALSE(catcher.messages.front().isEmpty());
        EXPECT_TRUE(edit->hasFocus());
        EXPECT_EQ(edit->text(), c.typed);
        EXPECT_TRUE(edit->hasPendingEdit());
        EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5);
        QTest::keyClick(edit, Qt::Key_Escape);
    }
}

TEST_F(DBEditTest, RefusedValueInARealMessageBox) {
    t.lengte.onValidate = [](ds::Field& f) {
        if (f.asFloat() > 100)
            throw Error("Lengte te groot");
    };
    QString shown;
    // Closes the message box as soon as it is up, noting its text.
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start();
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "150");
    QTest::keyClick(edit, Qt::Key_Tab);
    closer.stop();
    EXPECT_EQ(shown, "Lengte te groot");
    // The edit is the window's focus widget again; the offscreen platform leaves the
    // reactivation of the window to us.
    EXPECT_EQ(window.focusWidget(), edit);
    Activate(window);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_EQ(edit->text(), "150");
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5);
}

TEST_F(DBEditTest, EscapeDropsTheTyping) {
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "99");
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(edit->text(), "12.5");
    EXPECT_FALSE(edit->hasPendingEdit());
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5);
    EXPECT_EQ(t.invoer.state(), ds::TableState::Browse);
}

TEST_F(DBEditTest, ReadOnlyWheneverTheFieldCannotBeWritten) {
    EXPECT_FALSE(edit->isReadOnly());
    t.lengte.setReadOnly(true);
    EXPECT_TRUE(edit->isReadOnly());
    t.lengte.setReadOnly(false);
    EXPECT_FALSE(edit->isReadOnly());
    t.invoer.close();
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "");
    t.invoer.open();
    EXPECT_EQ(edit->text(), "12.50");
    edit->setDataField("bestaat_niet");
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->text(), "");
}

TEST_F(DBEditTest, FollowsTheFieldTheRowAndTheTable) {
    t.invoer.edit();
    t.lengte.setAsFloat(4);
    EXPECT_EQ(edit->text(), "4.00");
    t.invoer.cancel();
    EXPECT_EQ(edit->text(), "12.50");
    t.invoer.next();
    EXPECT_EQ(edit->text(), "3.00");
    edit->setDataField("project");
    EXPECT_EQ(edit->text(), "Tweede");
    EXPECT_EQ(edit->maxLength(), 20);
    t.invoer.setFilter("project = 'Eerste'");
    t.invoer.setFiltered(true);
    EXPECT_EQ(edit->text(), "Eerste");
}

TEST_F(DBEditTest, BoundToADataSourceWithoutAutoEdit) {
    MessageCatcher catcher;
    ds::DataSource source(&t.invoer);
    source.setAutoEdit(false);
    edit->setDataSource(&source);
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(catcher.messages.size(), 1); // the table is not being edited
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5);
    t.invoer.edit(); // shows the field again, as every change of the record does
    EXPECT_EQ(edit->text(), "12.5");
    edit->selectAll();
    QTest::keyClicks(edit, "1");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 1);
}

TEST_F(DBEditTest, TableDestroyedFirstLeavesAnEmptyEdit) {
    auto own = std::make_unique<Tables>();
    edit->setTable(&own->invoer);
    EXPECT_EQ(edit->text(), "12.50");
    own.reset();
    EXPECT_EQ(edit->text(), "");
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->table(), nullptr);
}

//! A length in mm on a unit service reading the fixture unit file.
class UnitSwitchTest : public DBEditTest {
protected:
    void SetUp() override {
        DBEditTest::SetUp();
        service.SetTaalDirectory(std::string(ZRN_FIXTURES_DIR) + "/ui/");
        metric = std::make_unique<ds::Table>("maten");
        length = &metric->add<lang::TMetricField>("breedte", "MM");
        length->setDisplayFormat("0.00");
        metric->open();
        metric->append();
        length->SetMetricValue(254);
        metric->post();
        length->SetTaalComponent(&service);
        edit->setTable(metric.get());
        edit->setDataField("breedte");
    }

    lang::TTaalComponent service;
    std::unique_ptr<ds::Table> metric;
    lang::TMetricField* length = nullptr;
};

TEST_F(UnitSwitchTest, HalfTypedValueIsStoredInTheOldSystemThenShownInTheNew) {
    TabInto(*edit);
    EXPECT_EQ(edit->text(), "254.00");
    edit->selectAll();
    QTest::keyClicks(edit, "508");
    // What the unit switch does around setting the unit system.
    ASSERT_TRUE(CommitFocusedControl());
    service.SetEenheid(lang::ehImperial);
    RefreshFocusedControl();
    EXPECT_DOUBLE_EQ(length->MetricValue(), 508);
    EXPECT_EQ(edit->text(), "20.00");
    EXPECT_TRUE(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(edit->text(), "20.00");
    service.SetEenheid(lang::ehMetrisch);
    EXPECT_EQ(edit->text(), "508.00"); // an unfocused edit follows the field's notice
}

TEST_F(UnitSwitchTest, RefusedHalfTypedValueStopsTheSwitch) {
    MessageCatcher catcher;
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClicks(edit, "x");
    EXPECT_FALSE(CommitFocusedControl());
    EXPECT_EQ(catcher.messages.size(), 1);
    EXPECT_EQ(edit->text(), "x");
    EXPECT_DOUBLE_EQ(length->MetricValue(), 254);
}

} // namespace
} // namespace zrn::ui::test
