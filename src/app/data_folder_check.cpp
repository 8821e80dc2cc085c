#include "app/data_folder_check.h"

#include "catalogue/data_catalogue.h"
#include "mapcontrol/dataset_cache.h"
#include "tabledb/data_file_names.h"
#include "tabledb/table_database.h"

#include <QFileInfo>

namespace quillfen {
namespace {

using mapcontrol::Dataset;

DataFileKind kindOfGeometry(Dataset::GeometryKind geometry) {
    switch (geometry) {
    case Dataset::GeometryKind::Point:
        return DataFileKind::PointLayer;
    case Dataset::GeometryKind::Line:
        return DataFileKind::LineLayer;
    case Dataset::GeometryKind::Polygon:
        return DataFileKind::PolygonLayer;
    case Dataset::GeometryKind::Unknown:
        break;
    }
    return DataFileKind::Table;
}

QString counted(int count, const QString& what) {
    return QStringLiteral("%1 %2%3").arg(count).arg(what, count == 1 ? QString() : QStringLiteral("s"));
}

QString baseName(const QString& fileName) {
    return QFileInfo(fileName).completeBaseName();
}

/// Checks one file of the catalogue; returns the problem found, or an empty text with
/// `summary` describing the usable file.
class FileChecker {
public:
    explicit FileChecker(const QString& folder) : folder_(folder) {
        datasets_.openFolder(folder);
        tables_ = tabledb::Engine::instance().open(folder);
    }

    QString problemOf(const DataFile& file, const QString& path, QString* summary) {
        if (const QString irregular = tabledb::notARegularFile(path); !irregular.isEmpty())
            return QStringLiteral("UNREADABLE: %1").arg(irregular);
        if (!QFileInfo(path).isReadable())
            return QStringLiteral("UNREADABLE: the file cannot be opened");
        if (file.kind == DataFileKind::Raster)
            return rasterProblem(path, summary);
        int features = -1;
        if (file.kind != DataFileKind::Table) {
            const QString problem = geometryProblem(file, &features);
            if (!problem.isEmpty())
                return problem;
        }
        return tableProblem(file, features, summary);
    }

private:
    QString rasterProblem(const QString& path, QString* summary) {
        mapcontrol::RasterLayer raster;
        if (!raster.setFile(path))
            return QStringLiteral("UNREADABLE: not an image the viewer can read");
        *summary = QStringLiteral("ok");
        return QString();
    }

    QString geometryProblem(const DataFile& file, int* features) {
        QString problem;
        const mapcontrol::DatasetPtr dataset = datasets_.find(baseName(file.fileName), &problem);
        if (!dataset)
            return QStringLiteral("UNREADABLE: %1").arg(problem);
        const DataFileKind found = kindOfGeometry(dataset->geometryKind());
        if (found != file.kind)
            return QStringLiteral("WRONG GEOMETRY: holds a %1, a %2 is expected")
                .arg(dataFileKindName(found), dataFileKindName(file.kind));
        *features = dataset->featureCount();
        return QString();
    }

    QString tableProblem(const DataFile& file, int features, QString* summary) {
        const QString table = baseName(file.fileName);
        const tabledb::SelectResult columns =
            tables_.select(QStringLiteral("SELECT * FROM %1 WHERE 0;").arg(table));
        if (!columns.ok())
            return QStringLiteral("UNREADABLE: %1").arg(columns.error);
        QStringList missing;
        for (const QString& field : file.fields) {
            if (columns.records.columnIndex(field) < 0)
                missing << field;
        }
        if (!missing.isEmpty())
            return QStringLiteral("MISSING FIELDS: %1").arg(missing.join(QStringLiteral(", ")));
        const int records = tables_.recordCount(table);
        if (features >= 0 && records != features)
            return QStringLiteral("UNREADABLE: %1 but %2 in its table")
                .arg(counted(features, QStringLiteral("feature")),
                     counted(records, QStringLiteral("record")));
        *summary = QStringLiteral("ok, %1").arg(counted(records, QStringLiteral("record")));
        return QString();
    }

    QString folder_;
    mapcontrol::DatasetCache datasets_;
    tabledb::Database tables_;
};

} // namespace

DataFolderReport checkDataFolder(const QString& folder) {
    DataFolderReport report;
    FileChecker checker(folder);
    for (const DataFile& file : dataFolderCatalogue()) {
        const tabledb::DataFileMatch match = tabledb::matchDataFile(folder, file.fileName);
        QString outcome;
        if (match.found()) {
            ++report.present;
            QString summary;
            const QString problem = checker.problemOf(file, match.path, &summary);
            if (!problem.isEmpty() && file.used)
                ++report.problems;
            outcome = problem.isEmpty() ? summary : problem;
            if (match.fileName() != file.fileName)
                outcome += QStringLiteral(" (read from %1)").arg(match.fileName());
        } else if (file.used) {
            ++report.problems;
            outcome = QStringLiteral("MISSING");
        } else {
            outcome = QStringLiteral("absent, not needed: its box is never enabled");
        }
        report.lines << QStringLiteral("%1 %2 %3")
                            .arg(file.fileName, -14)
                            .arg(dataFileKindName(file.kind), -14)
                            .arg(outcome);
    }
    report.lines << spellingNotes(folder);
    return report;
}

int dataFilesPresent(const QString& folder) {
    int present = 0;
    for (const DataFile& file : dataFolderCatalogue()) {
        if (tabledb::matchDataFile(folder, file.fileName).found())
            ++present;
    }
    return present;
}

QStringList spellingNotes(const QString& folder) {
    QStringList notes;
    for (const DataFile& file : dataFolderCatalogue()) {
        const tabledb::DataFileMatch match = tabledb::matchDataFile(folder, file.fileName);
        if (!match.otherSpellings.isEmpty())
            notes << QStringLiteral("%1 is read from %2 (also present: %3)")
                         .arg(file.fileName, match.fileName(),
                              match.otherSpellings.join(QStringLiteral(", ")));
    }
    return notes;
}

} // namespace quillfen
