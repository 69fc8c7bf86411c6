#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace zrn::ui {

//! What one file dialog of a window asks for: open or save, the filter in the program's
//! "Description|patterns|Description|patterns" form, the extension added to a name typed
//! without one, the folder it starts in and the file name it proposes.
struct TFileDialogRequest {
    bool save = false;            //!< a save dialog (else an open dialog)
    QString filter;               //!< e.g. "MAT-Files|*.MAT|All files|*.*"
    QString defaultExtension;     //!< without the dot, e.g. "MAT"
    QString initialDirectory;     //!< the folder shown first
    QString fileName;             //!< the proposed file (a full path or a bare name)
    bool confirmOverwrite = true; //!< a save dialog asks before replacing a file
};

//! Replaces the dialog (for tests and batch runs): the hook gets the dialog's description
//! and returns the chosen file, or an empty text for a cancelled dialog. An empty hook
//! restores the real dialog. Returns the previous hook.
using FileDialogHook = std::function<QString(const TFileDialogRequest&)>;
FileDialogHook SetFileDialogHook(FileDialogHook hook);

//! Shows the dialog over parent and returns the chosen file with its extension completed,
//! or an empty text when the user cancels.
QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request);

//! The program's filter form as Qt's ("MAT-Files (*.MAT *.mat);;All files (*)"). Patterns
//! match without regard to case, as users of the program's files expect.
QString QtFilter(const QString& filter);

//! The file name with the default extension added when the name has none.
QString WithDefaultExtension(const QString& fileName, const QString& extension);

} // namespace zrn::ui
