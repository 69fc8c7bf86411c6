#include "ui/belt/FileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace zrn::ui {

namespace {

FileDialogHook& Hook() {
    static FileDialogHook hook;
    return hook;
}

//! One pattern of the program's filters in the forms Qt needs to match it on any file
//! system: "*.*" means every file, and an extension matches in either case.
QStringList QtPatterns(const QString& patterns) {
    QStringList result;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (trimmed == QLatin1String("*.*") || trimmed == QLatin1String("*")) {
            result << QStringLiteral("*");
            continue;
        }
        for (const QString& variant : {trimmed, trimmed.toUpper(), trimmed.toLower()})
            if (!result.contains(variant))
                result << variant;
    }
    return result;
}

} // namespace

FileDialogHook SetFileDialogHook(FileDialogHook hook) {
    FileDialogHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

QString QtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // A description that names its patterns already ("Bitmap-files (*.BMP)") shows them
        // once.
        QString description = parts[i].trimmed();
        const int open = description.lastIndexOf(QLatin1Char('('));
        if (open > 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        entries << description + QStringLiteral(" (") +
                       QtPatterns(parts[i + 1]).join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& fileName, const QString& extension) {
    if (fileName.isEmpty() || extension.isEmpty() || !QFileInfo(fileName).suffix().isEmpty())
        return fileName;
    return fileName + QLatin1Char('.') + extension;
}

QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request) {
    QString chosen;
    if (Hook()) {
        chosen = Hook()(request);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilter(QtFilter(request.filter));
        dialog.setDefaultSuffix(request.defaultExtension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
        if (!request.initialDirectory.isEmpty())
            dialog.setDirectory(request.initialDirectory);
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        chosen = dialog.selectedFiles().constFirst();
    }
    return WithDefaultExtension(chosen, request.defaultExtension);
}

} // namespace zrn::ui
