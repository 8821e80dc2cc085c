// quillfen-sample-data FOLDER [--scale N] [--seed S]
//
// Writes the demonstration data folder: the base layers, the quadrangle sheet, the 82 sample
// layers and the fish and vegetation companion tables. The same seed and scale always give the
// same bytes. See sample_layers.h for the cases planted for the tests.

#include "base_layers.h"
#include "raster_sheet.h"
#include "reach_geometry.h"
#include "sample_layers.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <exception>

namespace {

using namespace quillfen::sample_data;

struct Options {
    QString folder;
    int scale = 1;
    quint64 seed = 1993;
};

bool parseOptions(const QStringList& arguments, Options* options) {
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        bool ok = true;
        if (argument == QLatin1String("--scale") && i + 1 < arguments.size())
            options->scale = arguments.at(++i).toInt(&ok);
        else if (argument == QLatin1String("--seed") && i + 1 < arguments.size())
            options->seed = arguments.at(++i).toULongLong(&ok);
        else if (!argument.startsWith(QLatin1String("--")) && options->folder.isEmpty())
            options->folder = argument;
        else
            return false;
        if (!ok)
            return false;
    }
    return !options->folder.isEmpty() && options->scale >= 1;
}

void generate(const Options& options) {
    if (!QDir().mkpath(options.folder))
        throw std::runtime_error("cannot create the folder " + options.folder.toStdString());
    Random reachRandom = Random::forPart(options.seed, QStringLiteral("reach"));
    const Reach reach = buildReach(reachRandom);
    writeBaseLayers(reach, options.folder);
    writeRasterSheet(reach, options.folder);
    writeSampleData(reach, options.folder, options.seed, options.scale);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    Options options;
    if (!parseOptions(application.arguments(), &options)) {
        std::fprintf(stderr, "usage: quillfen-sample-data FOLDER [--scale N] [--seed S]\n");
        return 2;
    }
    GDALAllRegister();
    CPLSetConfigOption("GDAL_PAM_ENABLED", "NO"); // no .aux.xml side files beside the data
    int status = 0;
    try {
        generate(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "quillfen-sample-data: %s\n", error.what());
        status = 1;
    }
    OGRCleanupAll();
    return status;
}
