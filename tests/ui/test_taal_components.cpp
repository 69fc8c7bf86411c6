#include "UiTestSupport.h"
#include "test_shell_support.h"

#include "lang/MetricField.h"
#include "lang/TaalComponent.h"
#include "lang/TaalObserver.h"
#include "rtl/Error.h"
#include "ui/common/TDBCheckBox.h"
#include "ui/common/TDBEdit.h"
#include "ui/common/TDBLookupComboBox.h"
#include "ui/common/WindowHelpers.h"
#include "ui/lang/ChangeEenheidAction.h"
#include "ui/lang/ChangeTaalAction.h"
#include "ui/lang/SetTaalComponent.h"
#include "ui/lang/TaalAction.h"
#include "ui/lang/TaalLabel.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <memory>

namespace zrn::ui::test {
namespace {

//! A service on the "program" fixture in language "engels", metric.
class TaalComponentsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        Open(service, ShellFixture("program/taal").toStdString());
    }

    static void Open(lang::TTaalComponent& service, const std::string& directory) {
        service.SetLoading(true);
        service.SetTaal("engels");
        service.SetLoading(false);
        service.SetTaalDirectory(directory);
    }

    //! An observer of the service that counts its notifications.
    int CountNotifications() {
        counter = std::make_unique<lang::TTaalObserver>();
        counter->OnTaalChange = [this](lang::TTaalObserver&, lang::ITaalSubject&) {
            ++notifications;
        };
        counter->SetTaalComponent(&service);
        notifications = 0;
        return notifications;
    }

    lang::TTaalComponent service;
    std::unique_ptr<lang::TTaalObserver> counter;
    int notifications = 0;
};

TEST_F(TaalComponentsTest, ActionCaptionIsTheTextAndItsHintLosesTheFirstAmpersand) {
    const struct {
        const char* key;
        const char* caption;
        const char* hint;
    } cases[] = {
        {"S_FILE", "&File", "File"},
        {"S_SAVE_AND_CLOSE", "&Save && close", "Save && close"},
        {"S_LENGTH", "length", "length"},
        {"S_NOT_IN_THE_FILE", "", ""},
    };
    for (const auto& c : cases) {
        TTaalAction action(c.key, QStringLiteral("designed"));
        action.SetTaalComponent(&service);
        EXPECT_EQ(action.text(), "designed") << c.key << ": relabels at the next notification";
        lang::TaalNotify(service);
        EXPECT_EQ(action.text(), c.caption) << c.key;
        EXPECT_EQ(action.toolTip(), c.hint) << c.key;
        EXPECT_EQ(action.statusTip(), c.hint) << c.key;
        EXPECT_TRUE(action.isEnabled());
    }
}

TEST_F(TaalComponentsTest, LabelShowsTextCapitalisedTextOrUnitLabel) {
    const struct {
        bool isTaal;
        const char* code;
        bool firstCharUpper;
        const char* metric;
        const char* imperial;
    } cases[] = {
        {true, "S_LENGTH", false, "length", "length"},
        {true, "S_LENGTH", true, "Length", "Length"},
        {true, "S_ACCENT", true, "élan", "élan"}, // only a to z change
        {true, "S_MARKUP", false, "<b>bold</b>", "<b>bold</b>"},
        {false, "MM", false, "mm", "inch"},
        {false, "", false, "", ""},
    };
    std::vector<std::unique_ptr<TTaalLabel>> labels;
    for (const auto& c : cases) {
        auto label = std::make_unique<TTaalLabel>();
        label->SetIsTaal(c.isTaal);
        (c.isTaal ? label->SetTaalCode(c.code) : label->SetEenhCode(c.code));
        label->SetFirstCharUpper(c.firstCharUpper);
        label->SetTaalComponent(&service);
        labels.push_back(std::move(label));
    }
    lang::TaalNotify(service);
    for (std::size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels[i]->text(), QString::fromUtf8(cases[i].metric)) << i;
    EXPECT_EQ(labels[3]->textFormat(), Qt::PlainText) << "language texts are never markup";

    service.SetEenheid(lang::ehImperial);
    for (std::size_t i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels[i]->text(), QString::fromUtf8(cases[i].imperial)) << i;

    service.SetTaal("nederlands");
    EXPECT_EQ(labels[1]->text(), "Lengte");
}

TEST_F(TaalComponentsTest, SwitchActionsAreRadioItemsPerGroup) {
    QObject list;
    auto* engels = new TChangeTaalAction(&list);
    engels->SetTaal("engels");
    auto* nederlands = new TChangeTaalAction(&list);
    nederlands->SetTaal("nederlands");
    auto* metric = new TChangeEenheidAction(&list);
    metric->SetEenheid(lang::ehMetrisch);
    auto* imperial = new TChangeEenheidAction(&list);
    imperial->SetEenheid(lang::ehImperial);
    for (TSwitchAction* action :
         {static_cast<TSwitchAction*>(engels), static_cast<TSwitchAction*>(nederlands)}) {
        action->SetGroupIndex(2, &list);
        action->SetTaalComponent(&service);
    }
    for (TSwitchAction* action :
         {static_cast<TSwitchAction*>(metric), static_cast<TSwitchAction*>(imperial)}) {
        action->SetGroupIndex(1, &list);
        action->SetTaalComponent(&service);
    }
    // Attaching shows at once which choice is current.
    EXPECT_TRUE(engels->isChecked());
    EXPECT_FALSE(nederlands->isChecked());
    EXPECT_TRUE(metric->isChecked());
    CountNotifications();

    nederlands->trigger();
    EXPECT_EQ(service.Taal(), "nederlands");
    EXPECT_EQ(notifications, 1);
    EXPECT_FALSE(engels->isChecked());
    EXPECT_TRUE(nederlands->isChecked());
    EXPECT_TRUE(metric->isChecked()) << "another group";

    imperial->trigger();
    imperial->trigger();
    EXPECT_EQ(notifications, 3) << "the current choice again rereads and notifies";
    EXPECT_TRUE(imperial->isChecked());
    EXPECT_FALSE(metric->isChecked());
    EXPECT_TRUE(nederlands->isChecked());
}

TEST_F(TaalComponentsTest, FailingSwitchShowsItsMessageAndMarksFollowTheService) {
    ProgramFolder folder("program");
    lang::TTaalComponent own;
    Open(own, folder.path() + "taal");
    QObject list;
    auto* metric = new TChangeEenheidAction(&list);
    metric->SetEenheid(lang::ehMetrisch);
    auto* imperial = new TChangeEenheidAction(&list);
    imperial->SetEenheid(lang::ehImperial);
    metric->SetGroupIndex(1, &list);
    imperial->SetGroupIndex(1, &list);
    metric->SetTaalComponent(&own);
    imperial->SetTaalComponent(&own);
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.path() + "taal/eenheden.xml")));

    MessageCatcher catcher;
    imperial->trigger();
    EXPECT_EQ(catcher.messages, QStringList({"Taaldirectory niet gevonden"}));
    EXPECT_EQ(imperial->isChecked(), own.Eenheid() == lang::ehImperial);
    EXPECT_EQ(metric->isChecked(), own.Eenheid() == lang::ehMetrisch);

    // An observer that fails ends the switch with its message, not with a crash.
    lang::TTaalObserver failing;
    failing.OnTaalChange = [](lang::TTaalObserver&, lang::ITaalSubject&) {
        throw Error("relabel failed");
    };
    EXPECT_THROW(failing.SetTaalComponent(&service), Error);
    auto* nederlands = new TChangeTaalAction(&list);
    nederlands->SetTaal("nederlands");
    nederlands->SetTaalComponent(&service);
    nederlands->trigger();
    EXPECT_EQ(catcher.messages.last(), "relabel failed");
    EXPECT_EQ(nederlands->isChecked(), service.Taal() == "nederlands");
}

//! A length in mm shown in an edit, on the fixture's unit file.
class UnitSwitchActionTest : public TaalComponentsTest {
protected:
    void SetUp() override {
        TaalComponentsTest::SetUp();
        length = &table.add<lang::TMetricField>("breedte", "MM");
        length->setDisplayFormat("0.00");
        table.open();
        table.append();
        length->SetMetricValue(254);
        table.post();
        length->SetTaalComponent(&service);
        auto* layout = new QVBoxLayout(&window);
        edit = new TDBEdit;
        edit->setTable(&table);
        edit->setDataField("breedte");
        layout->addWidget(edit);
        layout->addWidget(new QLineEdit);
        imperial.SetEenheid(lang::ehImperial);
        imperial.SetTaalComponent(&service);
        Activate(window);
        TabInto(*edit);
        edit->selectAll();
    }

    ds::Table table{"maten"};
    lang::TMetricField* length = nullptr;
    QWidget window;
    TDBEdit* edit = nullptr;
    TChangeEenheidAction imperial;
};

TEST_F(UnitSwitchActionTest, HalfTypedValueIsStoredInTheOldSystemThenShownInTheNew) {
    QTest::keyClicks(edit, "508");
    imperial.trigger();
    EXPECT_EQ(service.Eenheid(), lang::ehImperial);
    EXPECT_DOUBLE_EQ(length->MetricValue(), 508);
    EXPECT_EQ(edit->text(), "20.00");
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(imperial.isChecked());
}

TEST_F(UnitSwitchActionTest, RefusedHalfTypedValueStopsTheSwitch) {
    MessageCatcher catcher;
    QTest::keyClicks(edit, "x");
    imperial.trigger();
    EXPECT_EQ(catcher.messages.size(), 1);
    EXPECT_EQ(service.Eenheid(), lang::ehMetrisch);
    EXPECT_FALSE(imperial.isChecked());
    EXPECT_DOUBLE_EQ(length->MetricValue(), 254);
}

TEST_F(TaalComponentsTest, SetTaalComponentBindsEveryLabelAndActionAndNotifiesOnce) {
    QWidget window;
    auto* inner = new QWidget(&window);
    auto* label = new TTaalLabel("S_LENGTH", QStringLiteral("designed"), inner);
    auto* unit = new TTaalLabel(inner);
    unit->SetIsTaal(false);
    unit->SetEenhCode("MM");
    auto* action = new TTaalAction("S_FILE", QStringLiteral("designed"), inner);
    auto* plain = new QLabel(QStringLiteral("plain"), &window);
    lang::TTaalObserver observer;
    int relabels = 0;
    observer.OnTaalChange = [&relabels](lang::TTaalObserver&, lang::ITaalSubject&) { ++relabels; };
    CountNotifications();

    SetTaalComponent(&window, &service, &observer);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(relabels, 2) << "once on attaching, once by the notification";
    EXPECT_EQ(label->TaalComponent(), &service);
    EXPECT_EQ(label->text(), "length");
    EXPECT_EQ(unit->text(), "mm");
    EXPECT_EQ(action->text(), "&File");
    EXPECT_EQ(plain->text(), "plain");

    // Bound again: attached once, so one more relabel each.
    SetTaalComponent(&window, &service, &observer);
    EXPECT_EQ(notifications, 2);
    EXPECT_EQ(service.ObserverCount(), 5);
}

TEST_F(TaalComponentsTest, SetTaalComponentRaisesAFailingNotification) {
    QWidget window;
    new TTaalLabel("S_LENGTH", QString(), &window);
    lang::TTaalObserver failing;
    failing.SetLoading(true); // attach without the immediate relabel
    failing.OnTaalChange = [](lang::TTaalObserver&, lang::ITaalSubject&) {
        throw Error("relabel failed");
    };
    failing.SetTaalComponent(&service);
    failing.SetLoading(false);
    try {
        SetTaalComponent(&window, &service);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "relabel failed");
    }
}

//! A window with language labels pointing at bound controls, and one label pointing at a
//! control of another table's field of the same name first in line.
class HighlightTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        auto addRow = [&](QWidget* control) {
            auto* label = new TTaalLabel("S_LABEL", QStringLiteral("label"), &window);
            label->setBuddy(control);
            layout->addWidget(label);
            layout->addWidget(control);
            return label;
        };
        auto* otherEdit = new TDBEdit;
        otherEdit->setTable(&other.invoer);
        otherEdit->setDataField("project");
        otherLabel = addRow(otherEdit);
        projectEdit = new TDBEdit;
        projectEdit->setTable(&t.invoer);
        projectEdit->setDataField("project");
        projectLabel = addRow(projectEdit);
        typeCombo = new TDBLookupComboBox;
        typeCombo->setTable(&t.invoer);
        typeCombo->setDataField("mattype");
        typeCombo->setListSource(&t.mat, "mattype", "oms");
        typeLabel = addRow(typeCombo);
        centralCheck = new TDBCheckBox;
        centralCheck->setTable(&t.invoer);
        centralCheck->setDataField("centraal");
        centralLabel = addRow(centralCheck);
        plainLabel = addRow(new QLineEdit);
        Activate(window);
    }

    QList<TTaalLabel*> Labels() const {
        return {otherLabel, projectLabel, typeLabel, centralLabel, plainLabel};
    }
    //! Makes every label look highlighted in its own way before the helper resets them.
    void Decorate() {
        for (TTaalLabel* label : Labels()) {
            QFont font = label->font();
            font.setBold(true);
            font.setItalic(true);
            label->setFont(font);
            QPalette look = label->palette();
            look.setColor(QPalette::WindowText, Qt::blue);
            label->setPalette(look);
        }
    }
    static bool Highlighted(const TTaalLabel* label) {
        return label->font().bold() && label->palette().color(QPalette::WindowText) == Qt::red;
    }
    static bool Regular(const TTaalLabel* label) {
        return !label->font().bold() && !label->font().italic() &&
               label->palette().color(QPalette::WindowText) ==
                   QApplication::palette().color(QPalette::WindowText);
    }

    Tables t;
    Tables other;
    QWidget window;
    TTaalLabel* otherLabel = nullptr;
    TTaalLabel* projectLabel = nullptr;
    TTaalLabel* typeLabel = nullptr;
    TTaalLabel* centralLabel = nullptr;
    TTaalLabel* plainLabel = nullptr;
    TDBEdit* projectEdit = nullptr;
    TDBLookupComboBox* typeCombo = nullptr;
    TDBCheckBox* centralCheck = nullptr;
};

TEST_F(HighlightTest, TheLabelOfTheFieldTurnsBoldRedAndItsControlGetsTheFocus) {
    const struct {
        const ds::Field* field;
        const TTaalLabel* label;
        QWidget* control;
    } cases[] = {
        {&t.project, projectLabel, projectEdit},
        {&t.mattype, typeLabel, typeCombo},
        {&t.centraal, centralLabel, centralCheck},
    };
    for (const auto& c : cases) {
        Decorate();
        HighlightFieldLabel(&window, c.field);
        for (const TTaalLabel* label : Labels())
            EXPECT_TRUE(label == c.label ? Highlighted(label) : Regular(label)) << c.field->name();
        EXPECT_TRUE(c.control->hasFocus()) << c.field->name();
    }
}

TEST_F(HighlightTest, WithoutAMatchingLabelOnlyTheLabelsAreReset) {
    for (const ds::Field* field :
         {static_cast<const ds::Field*>(&t.lengte), static_cast<const ds::Field*>(nullptr)}) {
        Decorate();
        TabInto(*centralCheck);
        HighlightFieldLabel(&window, field);
        for (const TTaalLabel* label : Labels())
            EXPECT_TRUE(Regular(label));
        EXPECT_TRUE(centralCheck->hasFocus());
    }
}

TEST(InsertActionMenuItem, PutsTheActionIntoTheMenuAtThePosition) {
    QMainWindow window;
    QMenu* first = window.menuBar()->addMenu(QStringLiteral("A"));
    first->addAction(QStringLiteral("x"));
    first->addAction(QStringLiteral("y"));
    QMenu* second = window.menuBar()->addMenu(QStringLiteral("B"));
    QAction load(QStringLiteral("Load"));
    QAction save(QStringLiteral("Save"));
    QAction last(QStringLiteral("Last"));

    InsertActionMenuItem(&window, 0, 1, &load);
    InsertActionMenuItem(&window, 0, 3, &last);
    InsertActionMenuItem(&window, 1, 0, &save);
    QStringList entries;
    for (const QAction* entry : first->actions())
        entries << entry->text();
    EXPECT_EQ(entries, QStringList({"x", "Load", "y", "Last"}));
    EXPECT_EQ(second->actions(), QList<QAction*>({&save}));

    EXPECT_THROW(InsertActionMenuItem(&window, 2, 0, &save), Error);
    EXPECT_THROW(InsertActionMenuItem(&window, 0, 9, &save), Error);
    QWidget bare;
    EXPECT_THROW(InsertActionMenuItem(&bare, 0, 0, &save), Error);
}

} // namespace
} // namespace zrn::ui::test
