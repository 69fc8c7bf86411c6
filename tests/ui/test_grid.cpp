#include "UiTestSupport.h"

#include "rtl/Error.h"
#include "ui/common/DataControl.h"
#include "ui/common/TDBGrid.h"
#include "ui/common/TableModel.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zrn::ui::test {
namespace {

//! A grid on the zones of the first input row, the cursor on zone 1.
class GridTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        grid = new TDBGrid;
        grid->setTable(&t.zones);
        layout->addWidget(grid);
        Activate(window);
        grid->setFocus();
    }

    //! Opens the editor of a cell, types text into it and presses Enter.
    QLineEdit* TypeInto(int row, int column, const QString& text) {
        const QModelIndex cell = grid->model()->index(row, column);
        grid->setCurrentIndex(cell);
        grid->edit(cell);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
        if (!editor)
            return nullptr;
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the delegate commits after the key
        return editor;
    }

    Tables t;
    QWidget window;
    TDBGrid* grid = nullptr;
};

TEST_F(GridTest, EditingACellWritesTheFieldOfItsRow) {
    ASSERT_NE(TypeInto(1, 1, "9.5"), nullptr);
    EXPECT_EQ(t.zones.recNo(), 2);
    EXPECT_DOUBLE_EQ(t.zoneLengte.asFloat(), 9.5);
    EXPECT_FALSE(grid->isEditing());
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), "9.5");
}

TEST_F(GridTest, RefusedValueKeepsTheEditorWithTheTypedText) {
    MessageCatcher catcher;
    t.zoneLengte.onValidate = [](ds::Field& f) {
        if (f.asFloat() > 100)
            throw Error("Zone te lang");
    };
    QLineEdit* editor = TypeInto(0, 1, "500");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(catcher.messages, QStringList{"Zone te lang"});
    EXPECT_TRUE(grid->isEditing());
    EXPECT_EQ(grid->indexWidget(grid->model()->index(0, 1)), editor);
    EXPECT_EQ(editor->text(), "500");
    EXPECT_DOUBLE_EQ(t.zoneLengte.asFloat(), 5);

    // Correcting the value finishes the edit.
    editor->selectAll();
    QTest::keyClicks(editor, "6");
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_FALSE(grid->isEditing());
    EXPECT_DOUBLE_EQ(t.zoneLengte.asFloat(), 6);
}

TEST_F(GridTest, RefusedValueKeepsTheCellWhenAnotherCellIsChosen) {
    MessageCatcher catcher;
    t.zoneLengte.onValidate = [](ds::Field& f) {
        if (f.asFloat() > 100)
            throw Error("Zone te lang");
    };
    const QModelIndex first = grid->model()->index(0, 1);
    grid->setCurrentIndex(first);
    grid->edit(first);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(first));
    ASSERT_NE(editor, nullptr);
    editor->setText("500");
    grid->setCurrentIndex(grid->model()->index(1, 1));
    EXPECT_EQ(catcher.messages.size(), 1);
    EXPECT_EQ(grid->currentIndex(), first);
    EXPECT_EQ(t.zones.recNo(), 1);
    EXPECT_EQ(grid->indexWidget(first), editor);
    EXPECT_EQ(editor->text(), "500");
    QTest::keyClick(editor, Qt::Key_Escape); // drops the typing
    EXPECT_FALSE(grid->isEditing());
    EXPECT_DOUBLE_EQ(t.zoneLengte.asFloat(), 5);
}

TEST_F(GridTest, CurrentCellAndTableCursorFollowEachOther) {
    grid->setCurrentIndex(grid->model()->index(0, 1));
    t.zones.next();
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(grid->currentIndex().column(), 1); // the column stays
    grid->setCurrentIndex(grid->model()->index(0, 0));
    EXPECT_EQ(t.zones.recNo(), 1);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(t.zones.recNo(), 2);

    t.invoer.next(); // no zones in the second row
    EXPECT_EQ(grid->model()->rowCount(), 0);
    t.invoer.first();
    EXPECT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->currentIndex().row(), t.zones.recNo() - 1);
}

TEST_F(GridTest, PendingCellEditIsCommittedOnRequest) {
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setCurrentIndex(cell);
    grid->edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(cell));
    ASSERT_NE(editor, nullptr);
    editor->setText("3");
    EXPECT_EQ(FindDataControl(editor), grid);
    EXPECT_TRUE(grid->commitPendingEdit());
    EXPECT_DOUBLE_EQ(t.zoneLengte.asFloat(), 3);
    EXPECT_TRUE(grid->isEditing()); // the editor stays open
}

TEST_F(GridTest, ColumnsAreAsWideAsTheFieldsAndTheirTitles) {
    const QFontMetrics metrics(grid->font());
    t.zoneIndex.setDisplayWidth(40);
    grid->tableModel()->reload();
    EXPECT_GE(grid->columnWidth(0), 40 * metrics.horizontalAdvance('0'));
    EXPECT_GE(grid->columnWidth(1), metrics.horizontalAdvance("Lengte"));
    EXPECT_GE(grid->horizontalHeader()->sizeHint().height(), 2 * metrics.height());
}

} // namespace
} // namespace zrn::ui::test
