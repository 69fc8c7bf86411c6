#include "ui/common/FieldText.h"

#include <exception>

namespace zrn::ui {

QString FieldText(const ds::Field& field, bool displayText) {
    try {
        return QString::fromStdString(displayText ? field.text() : field.editText());
    } catch (const std::exception&) {
        return {};
    }
}

Qt::Alignment ToQtAlignment(ds::Alignment alignment) {
    switch (alignment) {
    case ds::Alignment::Right:
        return Qt::AlignRight;
    case ds::Alignment::Center:
        return Qt::AlignHCenter;
    case ds::Alignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

} // namespace zrn::ui
