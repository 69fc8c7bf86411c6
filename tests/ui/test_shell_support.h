#pragma once

#include "lang/TaalComponent.h"
#include "rtl/NumberFormat.h"
#include "rtl/Paths.h"
#include "ui/app/ModuleRegistry.h"
#include "ui/app/Warrenty.h"
#include "ui/lang/TaalLabel.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace zrn::ui::test {

//! The fixture language directories of the shell tests.
inline QString ShellFixture(const char* name) {
    return QStringLiteral(ZRN_FIXTURES_DIR "/shell/") + QLatin1String(name);
}

//! A throw-away program folder holding a copy of one fixture folder (its "taal" directory
//! and nothing else), made the program's folder while it lives, so the main window reads it
//! and creates "opslag" there.
class ProgramFolder {
public:
    explicit ProgramFolder(const char* fixture) {
        const QString source = ShellFixture(fixture);
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = dir_.filePath(QDir(source).relativeFilePath(file));
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(file, target);
        }
        rtl::SetExeDirectory(path());
    }
    ~ProgramFolder() { rtl::SetExeDirectory(""); }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    //! The folder, ending in the separator.
    std::string path() const { return dir_.path().toStdString() + "/"; }
    //! True when the folder holds a directory of that name.
    bool hasDirectory(const char* name) const { return QDir(dir_.filePath(name)).exists(); }

private:
    QTemporaryDir dir_;
};

//! Answers every modal window that opens while it lives, as a user would: OK on a dialog,
//! the default button on a message box. It writes down the caption and the text of each.
class ModalAnswerer {
public:
    struct Seen {
        QString title;            //!< the window caption
        QString text;             //!< a message box's text, or the warning dialog's label
        QPointer<QWidget> window; //!< the window itself, as long as it exists
    };

    ModalAnswerer() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { answer(); });
        timer_.start();
    }

    QList<Seen> seen;

private:
    void answer() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == last_)
            return;
        last_ = modal;
        Seen entry{modal->windowTitle(), {}, modal};
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            entry.text = box->text();
        if (auto* warning = qobject_cast<TfrmWarrenty*>(modal))
            entry.text = warning->TaalLabel1()->text();
        seen << entry;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->accept();
    }

    QTimer timer_;
    QPointer<QWidget> last_;
};

//! Gives a module a factory for the lifetime of the guard and puts the previous one back.
class FactoryGuard {
public:
    FactoryGuard(TModule module, ModuleFactory factory)
        : module_(module), previous_(SetModuleFactory(module, std::move(factory))) {}
    ~FactoryGuard() { SetModuleFactory(module_, std::move(previous_)); }
    FactoryGuard(const FactoryGuard&) = delete;
    FactoryGuard& operator=(const FactoryGuard&) = delete;

private:
    TModule module_;
    ModuleFactory previous_;
};

//! Runs the events that are due, deferred deletions included.
inline void ProcessEvents() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

//! Puts the program's number format back after each test.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = rtl::FormatSettings();
        rtl::FormatSettings().decimalSeparator = '.';
        rtl::FormatSettings().thousandSeparator = ',';
    }
    void TearDown() override { rtl::FormatSettings() = saved_; }

private:
    rtl::NumberFormat saved_;
};

} // namespace zrn::ui::test
