#include "UiTestSupport.h"

#include "ui/common/TDBEdit.h"
#include "ui/common/u_KeybInput.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zrn::ui::test {
namespace {

class KeypadTest : public UiTest {};

TEST_F(KeypadTest, KeypadDecimalKeyTypesTheProgramsSeparator) {
    struct Case {
        char separator;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* typed;
    };
    const Case cases[] = {
        {',', Qt::Key_Period, Qt::KeypadModifier, "1,"},
        {',', Qt::Key_Comma, Qt::KeypadModifier, "1,"},
        {'.', Qt::Key_Comma, Qt::KeypadModifier, "1."},
        {'.', Qt::Key_Period, Qt::KeypadModifier, "1."},
        {',', Qt::Key_Period, Qt::NoModifier, "1."}, // the main keyboard's key stays itself
    };
    TKeyConverter converter(QCoreApplication::instance());
    QLineEdit edit;
    QPlainTextEdit memo;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        rtl::FormatSettings().decimalSeparator = c.separator;
        edit.setText("1");
        QTest::keyClick(&edit, c.key, c.modifiers);
        EXPECT_EQ(edit.text(), c.typed);
        memo.setPlainText("1");
        memo.moveCursor(QTextCursor::End);
        QTest::keyClick(&memo, c.key, c.modifiers);
        EXPECT_EQ(memo.toPlainText(), c.typed);
    }
}

TEST_F(KeypadTest, NumberTypedOnTheKeypadIsStoredWithADecimalComma) {
    rtl::FormatSettings().decimalSeparator = ',';
    rtl::FormatSettings().thousandSeparator = '.';
    TKeyConverter converter(QCoreApplication::instance());
    Tables t;
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new TDBEdit;
    edit->setTable(&t.invoer);
    edit->setDataField("lengte");
    layout->addWidget(edit);
    Activate(window);
    TabInto(*edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_7, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(edit, Qt::Key_2, Qt::KeypadModifier);
    EXPECT_EQ(edit->text(), "7,2");
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(t.lengte.asFloat(), 7.2);
}

TEST_F(KeypadTest, EndsWithTheConverter) {
    rtl::FormatSettings().decimalSeparator = ',';
    QLineEdit edit;
    { TKeyConverter converter(QCoreApplication::instance()); }
    QTest::keyClick(&edit, Qt::Key_Period, Qt::KeypadModifier);
    EXPECT_EQ(edit.text(), ".");
}

} // namespace
} // namespace zrn::ui::test
