#include "ui/common/Clipboard.h"

#include "rtl/Error.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>
#include <new>

namespace zrn::ui {

QStringList RichTextFormat() {
    QStringList names = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf")};
#ifdef Q_OS_WIN
    // Qt registers a clipboard format of this name with the window system on first use.
    names << QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"");
#endif
    return names;
}

void CopyStreamToClipboard(const QStringList& format, const QByteArray& stream) {
    // No plain-text form goes with it: a report is copied as rich text only, so that wherever
    // it is pasted it keeps its fixed-pitch font and with it the columns of its lines. A
    // program that takes plain text only would lay the same lines out in its own font, with
    // the columns out of line.
    try {
        auto data = std::make_unique<QMimeData>();
        for (const QString& name : format)
            data->setData(name, stream);
        QGuiApplication::clipboard()->setMimeData(data.release());
    } catch (const std::bad_alloc&) {
        throw Error("Out of memory");
    }
}

} // namespace zrn::ui
