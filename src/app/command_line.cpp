#include "app/command_line.h"

#include "app/data_folder_check.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace quillfen {
namespace {

const QString kProgram = QStringLiteral("quillfen");

StartRequest refusal(const QString& message, int exitStatus) {
    StartRequest request;
    request.action = StartRequest::Action::Refuse;
    request.text = kProgram + QStringLiteral(": ") + message + '\n';
    request.exitStatus = exitStatus;
    return request;
}

StartRequest usageRefusal(const QString& message) {
    return refusal(message + QStringLiteral(" Try '%1 --help'.").arg(kProgram), kUsageExitStatus);
}

StartRequest printing(const QString& text) {
    StartRequest request;
    request.action = StartRequest::Action::PrintText;
    request.text = text;
    return request;
}

/// The refusal for a folder that cannot be a data folder; an empty text when it may be one.
QString folderRefusal(const QString& folder) {
    const QFileInfo info(folder);
    const QString shown = QDir::toNativeSeparators(folder);
    if (!info.exists())
        return QStringLiteral("the data folder %1 does not exist.").arg(shown);
    if (!info.isDir())
        return QStringLiteral("%1 is not a folder.").arg(shown);
    if (!info.isReadable())
        return QStringLiteral("the data folder %1 cannot be read.").arg(shown);
    return QString();
}

void addOptions(QCommandLineParser& parser, const QCommandLineOption& data, const QCommandLineOption& check) {
    parser.setApplicationDescription(
        QStringLiteral("Shows the field samples of the Kesselby reach on a map, selects them and lists their "
                       "records."));
    // An own help option rather than Qt's, which would also offer --help-all for Qt's own
    // options: the command line is read before Qt's windowing starts and takes none of them.
    parser.addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Displays help on commandline options.")));
    parser.addVersionOption();
    parser.addOption(data);
    parser.addOption(check);
}

} // namespace

void nameProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Quillfen"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLFEN_VERSION));
}

StartRequest parseCommandLine(const QStringList& arguments) {
    const QCommandLineOption data(
        QStringLiteral("data"),
        QStringLiteral(
            "Reads the layers and tables from FOLDER. Without it they are read from %1: the folder "
            "\"data\" beside the program or, when there is none, the demonstration data installed "
            "with it.")
            .arg(QDir::toNativeSeparators(defaultDataFolder())),
        QStringLiteral("FOLDER"));
    const QCommandLineOption check(
        QStringLiteral("check"),
        QStringLiteral("Checks the layers and tables of FOLDER without opening the window: prints each file "
                       "the viewer can use and whether it is present and usable; the exit status is 1 when "
                       "a file the viewer needs is missing or unusable."),
        QStringLiteral("FOLDER"));
    QCommandLineParser parser;
    addOptions(parser, data, check);

    if (!parser.parse(arguments))
        return usageRefusal(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        return printing(parser.helpText());
    if (parser.isSet(QStringLiteral("version")))
        return printing(QStringLiteral("%1 %2\n").arg(kProgram, QCoreApplication::applicationVersion()));
    if (!parser.positionalArguments().isEmpty())
        return usageRefusal(
            QStringLiteral("unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    if (parser.isSet(data) && parser.isSet(check))
        return usageRefusal(QStringLiteral("--data and --check cannot be given together."));

    StartRequest request;
    if (!parser.isSet(data) && !parser.isSet(check)) {
        request.dataFolder = defaultDataFolder();
        return request;
    }
    if (parser.isSet(check))
        request.action = StartRequest::Action::CheckFolder;
    request.dataFolder = parser.value(parser.isSet(check) ? check : data);
    QString refused = folderRefusal(request.dataFolder);
    if (refused.isEmpty() && request.action == StartRequest::Action::OpenWindow &&
        dataFilesPresent(request.dataFolder) == 0)
        refused =
            QStringLiteral("the folder %1 holds none of the viewer's layers or tables (such as kx_out.shp "
                           "or kxw93sm.shp); '%2 --check %1' lists them.")
                .arg(QDir::toNativeSeparators(request.dataFolder), kProgram);
    if (!refused.isEmpty())
        return refusal(refused, kDataFolderExitStatus);
    request.dataFolder = QFileInfo(request.dataFolder).absoluteFilePath();
    return request;
}

QString defaultDataFolder() {
    const QDir programFolder(QCoreApplication::applicationDirPath());
    const QString beside = programFolder.filePath(QStringLiteral("data"));
    if (QFileInfo(beside).isDir())
        return beside;
    const QString installed =
        QDir::cleanPath(programFolder.filePath(QStringLiteral(QUILLFEN_INSTALLED_DATA)));
    return QFileInfo(installed).isDir() ? installed : beside;
}

int carryOut(const StartRequest& request) {
    switch (request.action) {
    case StartRequest::Action::PrintText:
        std::fputs(request.text.toLocal8Bit().constData(), stdout);
        return 0;
    case StartRequest::Action::Refuse:
        std::fputs(request.text.toLocal8Bit().constData(), stderr);
        return request.exitStatus;
    case StartRequest::Action::CheckFolder: {
        const DataFolderReport report = checkDataFolder(request.dataFolder);
        QString text = report.lines.join('\n') + '\n';
        text +=
            report.problems == 0
                ? QStringLiteral("Every file the viewer needs is present and usable.\n")
                : QStringLiteral("%1 file(s) the viewer needs missing or unusable.\n").arg(report.problems);
        std::fputs(text.toLocal8Bit().constData(), stdout);
        return report.problems == 0 ? 0 : kDataFolderExitStatus;
    }
    case StartRequest::Action::OpenWindow:
        break;
    }
    return 0;
}

} // namespace quillfen
