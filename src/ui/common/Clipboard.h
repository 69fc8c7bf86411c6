#pragma once

#include <QByteArray>
#include <QStringList>

namespace zrn::ui {

//! The names under which the clipboard carries rich text on this platform: "text/rtf" (what
//! word processors read on X11 and Wayland), "application/rtf", and on Windows the registered
//! "Rich Text Format" clipboard format.
QStringList RichTextFormat();

//! Puts the bytes of stream on the clipboard under every name of format, as its only content:
//! whatever the clipboard held before is gone. Throws zrn::Error "Out of memory" when the copy
//! cannot be made.
void CopyStreamToClipboard(const QStringList& format, const QByteArray& stream);

} // namespace zrn::ui
