#include "app/command_line.h"
#include "app/main_window.h"
#include "tabledb/table_database.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace {

/// True when a graphical display can be reached (or an explicit platform plugin was chosen).
bool displayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

/// Reads the command line without any display; help, version, a check and refusals end here.
quillfen::StartRequest readCommandLine(int argc, char* argv[], int* exitStatus) {
    QCoreApplication core(argc, argv);
    quillfen::nameProgram();
    const quillfen::StartRequest request = quillfen::parseCommandLine(QCoreApplication::arguments());
    *exitStatus = quillfen::carryOut(request);
    return request;
}

} // namespace

int main(int argc, char* argv[]) {
    // Before any loading thread opens a file or a table.
    tabledb::prepareEngine();
    int exitStatus = EXIT_SUCCESS;
    const quillfen::StartRequest request = readCommandLine(argc, argv, &exitStatus);
    if (request.action != quillfen::StartRequest::Action::OpenWindow)
        return exitStatus;
    if (!displayAvailable()) {
        std::fputs("quillfen: no display available (DISPLAY is not set); start it from a desktop session.\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication app(argc, argv);
    quillfen::nameProgram();
    quillfen::MainWindow window(nullptr, request.dataFolder);
    // On a screen too small for the designed size the window opens as large as fits, allowing
    // for the title bar and frame the window manager adds; it never opens below its least size.
    const QSize frameAllowance(16, 48);
    window.resize(window.size().boundedTo(window.screen()->availableGeometry().size() - frameAllowance));
    window.show();
    return app.exec();
}
