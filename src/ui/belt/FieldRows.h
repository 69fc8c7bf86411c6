#pragma once

#include <QString>

#include <string>

class QGridLayout;
class QLabel;
class QWidget;

namespace zrn::ui {

class TTaalLabel;

//! A caption of a belt window: the text of a language key with its first letter upper-cased.
TTaalLabel* NewCaption(const std::string& taalCode, QWidget* parent);

//! A unit label showing the label of a unit code in the current unit system.
TTaalLabel* NewUnitLabel(const std::string& eenhCode, QWidget* parent);

//! A fixed unit text such as "%" or "1/min", the same in every language and unit system.
QLabel* NewFixedUnit(const QString& text, QWidget* parent);

//! Adds one row to a form grid: the caption in column 0 pointing at control (its buddy, which
//! HighlightFieldLabel uses), the control in column 1 and the unit, if any, in column 2.
//! Returns the caption.
TTaalLabel* AddFieldRow(QGridLayout& grid, int row, const std::string& taalCode, QWidget* control,
                        QWidget* unit = nullptr);

} // namespace zrn::ui
