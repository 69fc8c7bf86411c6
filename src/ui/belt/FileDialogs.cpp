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

QString RunFileDialog(QWidget* parent, const TFileDialogSpec& spec) {
    QString chosen;
    if (Hook()) {
        chosen = Hook()(spec);
    } else {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(spec.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilter(QtFilter(spec.filter));
        dialog.setDefaultSuffix(spec.defaultExtension);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
        if (!spec.initialDirectory.isEmpty())
            dialog.setDirectory(spec.initialDirectory);
        if (!spec.fileName.isEmpty())
            dialog.selectFile(spec.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return {};
        chosen = dialog.selectedFiles().constFirst();
    }
    return WithDefaultExtension(chosen, spec.defaultExtension);
}

} // namespace zrn::ui
