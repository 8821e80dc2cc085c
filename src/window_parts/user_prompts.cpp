#include "window_parts/user_prompts.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace quillfen {
namespace {

class InteractivePrompts : public UserPrompts {
public:
    void message(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quillfen"), text, QMessageBox::Ok, parent);
        box.exec();
    }

    QString saveFileName(QWidget* parent, const SaveDialogOptions& options) override {
        QFileDialog dialog(parent, options.title, options.startFolder, options.filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        QString suffix = options.defaultSuffix;
        if (suffix.startsWith('.'))
            suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
        dialog.selectFile(options.proposedName);
        if (!options.confirmOverwrite)
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    }
};

InteractivePrompts interactivePrompts;
UserPrompts* installedPrompts = nullptr;

} // namespace

QString UserPrompts::chooseSaveFile(QWidget* parent, SaveDialogOptions options) {
    options.startFolder = lastSaveFolder_.isEmpty() ? QDir::homePath() : lastSaveFolder_;
    const QString path = saveFileName(parent, options);
    if (!path.isEmpty())
        lastSaveFolder_ = QFileInfo(path).absolutePath();
    return path;
}

UserPrompts& UserPrompts::current() {
    return installedPrompts ? *installedPrompts : interactivePrompts;
}

void UserPrompts::install(UserPrompts* prompts) {
    installedPrompts = prompts;
}

} // namespace quillfen
