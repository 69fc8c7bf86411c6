#include "UiTestSupport.h"

#include "rtl/Error.h"
#include "ui/common/TDBCheckBox.h"
#include "ui/common/TDBMemo.h"
#include "ui/common/TDBText.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace zrn::ui::test {
namespace {

class BoundControlsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        auto* layout = new QVBoxLayout(&window);
        check = new TDBCheckBox;
        check->setTable(&t.invoer);
        check->setDataField("centraal");
        text = new TDBText;
        text->setTable(&t.invoer);
        text->setDataField("lengte");
        memo = new TDBMemo;
        memo->setTable(&t.invoer);
        memo->setDataField("project");
        other = new QLineEdit;
        for (QWidget* w : std::initializer_list<QWidget*>{check, text, memo, other})
            layout->addWidget(w);
        Activate(window);
    }

    Tables t;
    QWidget window;
    TDBCheckBox* check = nullptr;
    TDBText* text = nullptr;
    TDBMemo* memo = nullptr;
    QLineEdit* other = nullptr;
};

TEST_F(BoundControlsTest, CheckBoxStoresAtOnceWhenClicked) {
    int changes = 0;
    t.centraal.onChange = [&](ds::Field&) { ++changes; };
    EXPECT_TRUE(check->isChecked());
    check->click();
    EXPECT_FALSE(t.centraal.asBoolean());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.invoer.state(), ds::TableState::Edit);
    t.invoer.next();
    EXPECT_FALSE(check->isChecked());
}

TEST_F(BoundControlsTest, CheckBoxKeepsARefusedOrReadOnlyState) {
    MessageCatcher catcher;
    t.centraal.onValidate = [](ds::Field& f) {
        if (!f.asBoolean())
            throw Error("Alleen centraal");
    };
    check->click();
    EXPECT_EQ(catcher.messages, QStringList{"Alleen centraal"});
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(t.centraal.asBoolean());

    t.centraal.onValidate = nullptr;
    t.centraal.setReadOnly(true);
    check->click();
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(t.centraal.asBoolean());
}

TEST_F(BoundControlsTest, TextShowsTheDisplayText) {
    EXPECT_EQ(text->text(), "12.50");
    t.invoer.edit();
    t.lengte.setAsFloat(1.005e3);
    EXPECT_EQ(text->text(), "1005.00");
    text->setDataField("project");
    EXPECT_EQ(text->text(), "Eerste");
}

TEST_F(BoundControlsTest, MemoCommitsWhenLeftAndKeepsLineBreaks) {
    memo->setFocus(Qt::TabFocusReason);
    memo->selectAll();
    QTest::keyClicks(memo, "a");
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, "b");
    EXPECT_EQ(t.project.asString(), "Eerste");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(t.project.asString(), "a\nb");

    t.project.setAsString("r1\r\nr2");
    EXPECT_EQ(memo->toPlainText(), "r1\nr2");
    memo->setFocus(Qt::TabFocusReason);
    memo->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo, "x");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(t.project.asString(), "r1\r\nr2x");
}

TEST_F(BoundControlsTest, MemoReadOnlyAndEscape) {
    memo->setMemoReadOnly(true);
    EXPECT_TRUE(memo->isReadOnly());
    memo->setMemoReadOnly(false);
    EXPECT_FALSE(memo->isReadOnly());
    memo->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(memo, "zz");
    QTest::keyClick(memo, Qt::Key_Escape);
    EXPECT_EQ(memo->toPlainText(), "Eerste");
    other->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(t.invoer.state(), ds::TableState::Browse);
}

} // namespace
} // namespace zrn::ui::test
