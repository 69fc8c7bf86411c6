#pragma once

#include "dataset/Field.h"

#include <QString>
#include <Qt>

namespace zrn::ui {

//! The text a control shows for a field of the table's active row: the display text, or the
//! edit text while the control is being edited. A field that cannot produce its text (a
//! failing conversion) shows nothing rather than breaking the redisplay.
QString FieldText(const ds::Field& field, bool displayText);

//! The Qt alignment of a field's alignment.
Qt::Alignment ToQtAlignment(ds::Alignment alignment);

} // namespace zrn::ui
