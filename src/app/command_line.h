#pragma once

#include <QString>
#include <QStringList>

namespace quillfen {

/// What the command line asks the program to do.
struct StartRequest {
    enum class Action {
        OpenWindow,  ///< open the main window on `dataFolder`
        PrintText,   ///< print `text` (help or version) on standard output and end
        CheckFolder, ///< check `dataFolder`, print what was found and end
        Refuse,      ///< print `text` on standard error and end with `exitStatus`
    };
    Action action = Action::OpenWindow;
    QString dataFolder;
    QString text;
    int exitStatus = 0;
};

/// Exit status of a command line that cannot be understood, and of a data folder refused or
/// found wanting by a check.
constexpr int kUsageExitStatus = 2;
constexpr int kDataFolderExitStatus = 1;

/// Gives Qt the program's name and version, for the help and version texts.
void nameProgram();

/// Reads `quillfen [--data FOLDER]`, `--check FOLDER`, `--help` and `--version` (the
/// arguments include the program's name, as QCoreApplication::arguments() gives them). A
/// --data folder that does not exist or holds none of the data files is refused here, before
/// any window opens. Needs a QCoreApplication (for the program's name and version).
StartRequest parseCommandLine(const QStringList& arguments);

/// The data folder used without --data: "data" beside the executable, as always; when that
/// does not exist, the demonstration data installed with the program.
QString defaultDataFolder();

/// Carries out a request that opens no window (help, version, check, refusal) and returns
/// the program's exit status.
int carryOut(const StartRequest& request);

} // namespace quillfen
