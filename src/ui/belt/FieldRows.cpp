#include "ui/belt/FieldRows.h"

#include "ui/lang/TaalLabel.h"

#include <QGridLayout>
#include <QLabel>

namespace zrn::ui {

TTaalLabel* NewCaption(const std::string& taalCode, QWidget* parent) {
    auto* label = new TTaalLabel(taalCode, QString(), parent);
    label->setObjectName(QString::fromStdString("lbl_" + taalCode));
    label->SetFirstCharUpper(true);
    return label;
}

TTaalLabel* NewUnitLabel(const std::string& eenhCode, QWidget* parent) {
    auto* label = new TTaalLabel(parent);
    label->setObjectName(QString::fromStdString("unit_" + eenhCode));
    label->SetIsTaal(false);
    label->SetEenhCode(eenhCode);
    return label;
}

QLabel* NewFixedUnit(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

TTaalLabel* AddFieldRow(QGridLayout& grid, int row, const std::string& taalCode, QWidget* control,
                        QWidget* unit) {
    TTaalLabel* caption = NewCaption(taalCode, grid.parentWidget());
    caption->setBuddy(control);
    grid.addWidget(caption, row, 0);
    grid.addWidget(control, row, 1);
    if (unit)
        grid.addWidget(unit, row, 2);
    return caption;
}

} // namespace zrn::ui
