#include "UiTestSupport.h"

#include "rtl/Error.h"
#include "ui/common/TableModel.h"

#include <QAbstractItemModelTester>
#include <QGuiApplication>
#include <QPalette>
#include <QSignalSpy>

namespace zrn::ui::test {
namespace {

//! The texts of one column, top to bottom.
QStringList Column(const QAbstractItemModel& model, int column, int role = Qt::DisplayRole) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data(role).toString();
    return texts;
}

class TableModelTest : public UiTest {
protected:
    Tables t;
};

TEST_F(TableModelTest, ShowsTheVisibleFieldsAndRows) {
    TableModel model;
    model.setTable(&t.invoer);
    // The nested field is no column.
    ASSERT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "lengte");
    EXPECT_EQ(Column(model, 0), (QStringList{"Eerste", "Tweede"}));
    EXPECT_EQ(Column(model, 1), (QStringList{"12.50", "3.00"}));
    EXPECT_EQ(Column(model, 1, Qt::EditRole), (QStringList{"12.5", "3"}));
    EXPECT_EQ(Column(model, 2), (QStringList{"True", "False"}));
    EXPECT_EQ(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);

    t.project.setVisible(false);
    model.reload();
    EXPECT_EQ(model.columnCount(), 3);
    model.setFieldNames({"mattype", "PROJECT"});
    EXPECT_EQ(Column(model, 0), (QStringList{"B20", ""}));
    EXPECT_EQ(Column(model, 1), (QStringList{"Eerste", "Tweede"}));
    EXPECT_EQ(model.columnOf("project"), 1);
}

TEST_F(TableModelTest, StaysConsistentWhileRowsComeAndGo) {
    ModelTesterLog log;
    TableModel model;
    model.setTable(&t.zones);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    auto lengths = [&] { return Column(model, 1); };
    ASSERT_EQ(lengths(), (QStringList{"5", "7.5"}));

    t.zones.first();
    t.zones.insert(); // before the first row
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    t.zoneLengte.setAsFloat(1);
    t.zones.post();
    EXPECT_EQ(lengths(), (QStringList{"1", "5", "7.5"}));

    t.zones.append();
    t.zones.cancel(); // the new row goes again
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(lengths(), (QStringList{"1", "5", "7.5"}));

    t.zones.setRecNo(2);
    t.zones.deleteRecord();
    EXPECT_EQ(removed.size(), 2);
    EXPECT_EQ(removed.at(1).at(1).toInt(), 1);
    EXPECT_EQ(lengths(), (QStringList{"1", "7.5"}));

    t.zones.setFilter("lengte > 2");
    t.zones.setFiltered(true);
    EXPECT_EQ(lengths(), (QStringList{"7.5"}));
    t.zones.setFiltered(false);
    t.zones.setIndexFieldNames("lengte");
    EXPECT_EQ(lengths(), (QStringList{"1", "7.5"}));

    t.invoer.next(); // the detail now shows the second row's zones: none
    EXPECT_EQ(model.rowCount(), 0);
    t.invoer.first();
    EXPECT_EQ(model.rowCount(), 2);
    t.zones.disableControls();
    t.zones.append();
    t.zones.post();
    t.zones.enableControls();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_GE(reset.size(), 4);

    t.invoer.close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join('\n').toStdString();
}

TEST_F(TableModelTest, FieldChangesAreAnnouncedForTheCurrentRow) {
    TableModel model;
    model.setTable(&t.zones);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    t.zones.last();
    t.zones.edit();
    t.zoneLengte.setAsFloat(9);
    ASSERT_FALSE(changed.isEmpty());
    EXPECT_EQ(changed.last().at(0).toModelIndex().row(), 1);
    EXPECT_EQ(model.index(1, 1).data().toString(), "9"); // the edit buffer is shown
    EXPECT_EQ(model.index(0, 1).data().toString(), "5");
}

TEST_F(TableModelTest, TitleWithATildeHasTwoLines) {
    TableModel model;
    model.setTable(&t.zones);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Lengte\n[m]");
    QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);
    t.zoneLengte.setDisplayLabel("Length~[ft]");
    EXPECT_FALSE(header.isEmpty());
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Length\n[ft]");
}

TEST_F(TableModelTest, ReadOnlyCellsAreNotEditableAndGreyed) {
    TableModel model;
    model.setTable(&t.invoer);
    const QColor grey = QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
    auto editable = [&](int column) {
        return model.flags(model.index(0, column)).testFlag(Qt::ItemIsEditable);
    };
    EXPECT_TRUE(editable(0));
    EXPECT_FALSE(model.index(0, 0).data(Qt::ForegroundRole).isValid());

    t.project.setReadOnly(true);
    EXPECT_FALSE(editable(0));
    EXPECT_TRUE(editable(1));
    EXPECT_EQ(model.index(1, 0).data(Qt::ForegroundRole).value<QColor>(), grey);
    t.project.setReadOnly(false);

    t.invoer.setReadOnly(true);
    EXPECT_FALSE(editable(0));
    EXPECT_FALSE(editable(1));
    t.invoer.setReadOnly(false);

    model.setReadOnly(true); // a results grid: nothing editable, nothing greyed
    EXPECT_FALSE(editable(1));
    EXPECT_FALSE(model.index(0, 1).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model.setData(model.index(0, 1), "1"));
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 12.5);
}

TEST_F(TableModelTest, WritingACellGoesThroughTheFieldOnThatRow) {
    MessageCatcher catcher;
    TableModel model;
    model.setTable(&t.invoer);
    t.lengte.onValidate = [](ds::Field& f) {
        if (f.asFloat() < 0)
            throw Error("Lengte negatief");
    };
    ASSERT_TRUE(model.setData(model.index(1, 1), "4.5"));
    EXPECT_EQ(t.invoer.recNo(), 2);
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 4.5);
    EXPECT_EQ(model.index(1, 1).data().toString(), "4.50");

    EXPECT_FALSE(model.setData(model.index(1, 1), "-1"));
    EXPECT_TRUE(model.lastWriteRefused());
    EXPECT_EQ(catcher.messages, QStringList{"Lengte negatief"});
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 4.5);

    // Going to another row posts the edited one.
    ASSERT_TRUE(model.setData(model.index(0, 0), "Nieuw"));
    EXPECT_EQ(t.invoer.recNo(), 1);
    EXPECT_EQ(model.index(1, 1).data().toString(), "4.50");
    EXPECT_EQ(model.index(0, 0).data().toString(), "Nieuw");
}

TEST_F(TableModelTest, CellStyleHookReadsTheCellsRow) {
    TableModel model;
    model.setTable(&t.invoer);
    model.setCellStyleHook([&](const ds::Field& field, int row, CellStyle& style) {
        if (field.name() == "lengte" && t.lengte.asFloat() > 10) {
            style.background = Qt::red;
            style.bold = true;
        }
    });
    EXPECT_EQ(model.index(0, 1).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
    EXPECT_TRUE(model.index(0, 1).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(model.index(1, 1).data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(model.index(0, 0).data(Qt::BackgroundRole).isValid());
    EXPECT_EQ(t.invoer.recNo(), 1); // reading another row leaves the cursor alone
}

TEST_F(TableModelTest, CurrentRowBothWays) {
    TableModel model;
    model.setTable(&t.invoer);
    QSignalSpy moved(&model, &TableModel::currentRowChanged);
    EXPECT_EQ(model.currentRow(), 0);
    t.invoer.next();
    ASSERT_EQ(moved.size(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 1);
    EXPECT_TRUE(model.setCurrentRow(0));
    EXPECT_EQ(t.invoer.recNo(), 1);

    // A refused post keeps the cursor where it is.
    MessageCatcher catcher;
    t.invoer.beforePost = [](ds::Table&) { throw Error("Niet compleet"); };
    t.invoer.edit();
    t.project.setAsString("x");
    EXPECT_FALSE(model.setCurrentRow(1));
    EXPECT_EQ(catcher.messages, QStringList{"Niet compleet"});
    EXPECT_EQ(t.invoer.recNo(), 1);
}

TEST_F(TableModelTest, TableDestroyedFirstEmptiesTheModel) {
    ModelTesterLog log;
    auto own = std::make_unique<Tables>();
    TableModel model;
    model.setTable(&own->zones);
    QAbstractItemModelTester tester(&model,
                                    QAbstractItemModelTester::FailureReportingMode::Warning);
    own.reset();
    EXPECT_EQ(model.table(), nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_TRUE(log.lines().isEmpty());
}

} // namespace
} // namespace zrn::ui::test
