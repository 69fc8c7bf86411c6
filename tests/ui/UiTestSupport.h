#pragma once

#include "dataset/Field.h"
#include "dataset/Table.h"
#include "rtl/NumberFormat.h"
#include "ui/common/ErrorDisplay.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zrn::ui::test {

//! Catches every message the controls show while it lives, instead of a message box.
class MessageCatcher {
public:
    MessageCatcher() {
        previous_ = setMessageHook([this](QWidget*, const QString& text) { messages << text; });
    }
    ~MessageCatcher() { setMessageHook(std::move(previous_)); }
    MessageCatcher(const MessageCatcher&) = delete;
    MessageCatcher& operator=(const MessageCatcher&) = delete;

    QStringList messages;

private:
    MessageHook previous_;
};

//! A belt-like input record and a lookup list, built in code:
//! invoer(project text 20, lengte float "0.00" edited as "0.###", centraal yes/no,
//! mattype text 10, zones nested(index, lengte)) with two rows, the first holding two
//! zones; mat(mattype, oms) with four belt types.
struct Tables {
    ds::Table invoer{"invoer"};
    ds::Field& project = invoer.addStringField("project", 20);
    ds::Field& lengte = invoer.addFloatField("lengte");
    ds::Field& centraal = invoer.addBooleanField("centraal");
    ds::Field& mattype = invoer.addStringField("mattype", 10);
    ds::Table& zones = invoer.addNestedField("zones").nestedTable();
    ds::Field& zoneIndex = zones.addIntegerField("index");
    ds::Field& zoneLengte = zones.addFloatField("lengte");

    ds::Table mat{"mat"};
    ds::Field& matKey = mat.addStringField("mattype", 10);
    ds::Field& matOms = mat.addStringField("oms", 30);

    Tables() {
        lengte.setDisplayFormat("0.00");
        lengte.setEditFormat("0.###");
        zoneLengte.setDisplayLabel("Lengte~[m]");
        invoer.open();
        AddInvoer("Eerste", 12.5, true, "B20", {5.0, 7.5});
        AddInvoer("Tweede", 3, false, "", {});
        invoer.first();
        mat.open();
        const std::vector<std::pair<const char*, const char*>> types = {
            {"A10", "Alpha"}, {"B20", "Beta"}, {"B25", "Bravo"}, {"C30", "Charlie"}};
        for (auto [key, oms] : types) {
            mat.append();
            matKey.setAsString(key);
            matOms.setAsString(oms);
            mat.post();
        }
        mat.first();
    }

    void AddInvoer(const char* name, double length, bool central, const char* type,
                   std::vector<double> zoneLengths) {
        invoer.append();
        project.setAsString(name);
        lengte.setAsFloat(length);
        centraal.setAsBoolean(central);
        mattype.setAsString(type);
        int index = 1;
        for (double zoneLength : zoneLengths) {
            zones.append();
            zoneIndex.setAsInteger(index++);
            zoneLengte.setAsFloat(zoneLength);
            zones.post();
        }
        invoer.post();
    }
};

//! Collects the complaints of QAbstractItemModelTester while it lives.
class ModelTesterLog {
public:
    ModelTesterLog() {
        Lines().clear();
        previous_ = qInstallMessageHandler(&ModelTesterLog::Handle);
    }
    ~ModelTesterLog() { qInstallMessageHandler(previous_); }
    const QStringList& lines() const { return Lines(); }

private:
    static QStringList& Lines() {
        static QStringList lines;
        return lines;
    }
    static void Handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (QByteArray(context.category) == "qt.modeltest")
            Lines() << message;
    }
    QtMessageHandler previous_ = nullptr;
};

//! Puts the program's number format back after each test.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().decimalSeparator = '.';
        rtl::FormatSettings().thousandSeparator = ',';
    }
    void TearDown() override { rtl::FormatSettings() = saved_; }

    //! Shows a window and makes it the active one, so its widgets can take the focus.
    static void Activate(QWidget& window) {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    //! Gives a widget the keyboard focus as tabbing into it would.
    static void TabInto(QWidget& widget) {
        widget.setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(widget.hasFocus());
    }

private:
    rtl::NumberFormat saved_;
};

} // namespace zrn::ui::test
