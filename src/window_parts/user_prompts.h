#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace quillfen {

/// What a save dialog is asked to show.
struct SaveDialogOptions {
    QString title;
    QString filter;        ///< e.g. "Windows Bitmap (*.bmp)"; empty for none
    QString defaultSuffix; ///< added when the user types a name without an extension
    QString proposedName;  ///< text preset in the name box
    QString startFolder;   ///< set by chooseSaveFile()
    bool confirmOverwrite = false;
};

/// Message boxes and save dialogs, behind one small interface so that tests can answer them.
/// The program uses the interactive implementation; a test installs its own.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    /// A message box with the text and an OK button; returns when the user closes it.
    virtual void message(QWidget* parent, const QString& text) = 0;
    /// A save dialog; the chosen file's full path, or an empty text when cancelled.
    virtual QString saveFileName(QWidget* parent, const SaveDialogOptions& options) = 0;

    /// The save dialog every command shows: it starts in the folder of the last file chosen
    /// through these prompts, else in the home folder. Nothing of it outlives the prompts,
    /// so nothing is kept between runs.
    QString chooseSaveFile(QWidget* parent, SaveDialogOptions options);

    /// The implementation in use (the interactive one unless a test installed another).
    static UserPrompts& current();
    /// Installs `prompts` (not owned) until it is replaced; nullptr restores the interactive one.
    static void install(UserPrompts* prompts);

private:
    QString lastSaveFolder_;
};

} // namespace quillfen
