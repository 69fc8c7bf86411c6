#pragma once

#include <QKeySequence>

#include <string>

class QGroupBox;
class QObject;
class QWidget;

namespace zrn::ui {

class TTaalAction;

//! The property of an action that names its image in the shared image list; SetImages of
//! the belt windows reads it.
inline constexpr const char* kImageIndex = "imageIndex";

//! A language action of a belt window: caption from its key (designed caption until the
//! language file answers), hint, optional image and a shortcut that works while the window
//! has the focus.
TTaalAction* NewAction(const char* name, const std::string& key, const char* caption,
                       QObject* parent, int image = -1,
                       const QKeySequence& shortcut = QKeySequence());

//! A group box with a bold heading.
QGroupBox* NewGroup(const char* name, QWidget* parent);

} // namespace zrn::ui
