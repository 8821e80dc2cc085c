// The engine's select path with the searches the windows build, and with any condition at all
// in their place: whatever the input, a select answers or fails with a message, within its
// limits of time and memory; a search that the query window lets through always answers.
//
// Input: lines. The first names the form:
//   w / f    the query window's search on a water-quality layer / a fish catch table; then
//            parameter index, operator index (">", "<", "="), value, and optionally connector
//            ("AND" or "OR"), parameter index, operator index, value of a second condition
//   m        the rest is the condition of the map's expression search on the water layer
//   c        the rest is the condition of the two catch-table selects
//   g        the rest is a site code for the catch-table select by code pattern

#include "catalogue/sample_schema.h"
#include "query_builder/search_expression.h"
#include "tabledb/shape_driver.h"
#include "tabledb/table_database.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace quillfen;

namespace {

const QString kWaterLayer = QStringLiteral("kxw93sm");
const QString kCatchTable = QStringLiteral("kxr93sm");
const QStringList kOperators = {QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("=")};

/// A table with the fields of a kind's schema (numbers as reals, the rest as text) and a few
/// records, some of them -99 or empty.
bool writeTable(const QString& path, SampleKind kind) {
    const GDALDatasetUniquePtr dataset(
        tabledb::shapeDriver()->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRLayer* layer = dataset ? dataset->CreateLayer("records", nullptr, wkbNone, nullptr) : nullptr;
    if (!layer)
        return false;
    QVector<SchemaField> fields = sampleSchema(kind);
    if (std::none_of(fields.begin(), fields.end(),
                     [](const SchemaField& f) { return f.field == "grid_code"; }))
        fields.append({QStringLiteral("grid_code"), {}, 0, -1, {}, {}, ValueClass::Number, {}, {}, {}});
    for (const SchemaField& field : fields) {
        OGRFieldDefn definition(field.field.toUtf8().constData(),
                                field.valueClass == ValueClass::Number ? OFTReal : OFTString);
        if (layer->CreateField(&definition) != OGRERR_NONE)
            return false;
    }
    const char* const texts[] = {"Main Channel", "Bluegill", "it's", ""};
    for (int record = 0; record < 12; ++record) {
        OGRFeature feature(layer->GetLayerDefn());
        for (int i = 0; i < fields.size(); ++i) {
            if (fields[i].valueClass == ValueClass::Number)
                feature.SetField(i, record % 5 == 4 ? -99.0 : record * 1.5 + i);
            else
                feature.SetField(i, texts[(record + i) % 4]);
        }
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}

struct Folder {
    QTemporaryDir dir;
    tabledb::Engine engine;
    tabledb::Database database;
};

Folder* folder = nullptr;

QString lineOr(const QStringList& lines, int index) {
    return index < lines.size() ? lines[index] : QString();
}

/// One condition of the query window from three lines; false when the window would refuse it.
bool readCondition(SampleKind kind, const QStringList& lines, int first, QString* param, QString* oper,
                   QString* value, bool* coded) {
    const QVector<SchemaField> parameters = queryParameters(kind);
    const SchemaField& parameter = parameters[int(lineOr(lines, first).toUInt() % uint(parameters.size()))];
    *param = parameter.queryName;
    *oper = kOperators[int(lineOr(lines, first + 1).toUInt() % 3)];
    *value = lineOr(lines, first + 2);
    *coded = parameter.valueClass != ValueClass::Number;
    return !value->isEmpty() && !value->contains(QChar(0)) && (*coded || isDecimalNumber(*value));
}

void windowSearch(SampleKind kind, const QStringList& lines) {
    QueryCondition c;
    if (!readCondition(kind, lines, 1, &c.query_param_1, &c.query_oper_1, &c.query_value_1,
                       &c.query_param1_string_flag))
        return;
    if (lines.size() > 4) {
        c.query_compound_flag = true;
        c.query_connector = lines[4] == QLatin1String("OR") ? QStringLiteral("OR") : QStringLiteral("AND");
        if (!readCondition(kind, lines, 5, &c.query_param_2, &c.query_oper_2, &c.query_value_2,
                           &c.query_param2_string_flag))
            return;
    }
    const QString expression = buildSearchExpression(kind, c);
    const QVector<tabledb::SelectResult> results =
        kind == SampleKind::Water
            ? QVector<tabledb::SelectResult>{folder->database.selectRecords(kWaterLayer, expression)}
            : QVector<tabledb::SelectResult>{
                  folder->database.select("SELECT DISTINCT [GRID_CODE] FROM " + kCatchTable + " WHERE " +
                                          expression + ";"),
                  folder->database.select("SELECT * FROM " + kCatchTable + " WHERE " + expression + ";")};
    for (const tabledb::SelectResult& result : results) {
        if (!result.ok()) {
            std::fprintf(stderr, "a search the query window lets through failed: %s\n%s\n",
                         qPrintable(expression), qPrintable(result.error));
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    GDALAllRegister();
    folder = new Folder;
    if (!folder->dir.isValid() ||
        !writeTable(folder->dir.filePath(kWaterLayer + ".dbf"), SampleKind::Water) ||
        !writeTable(folder->dir.filePath(kCatchTable + ".dbf"), SampleKind::Fish)) {
        std::fprintf(stderr, "the test tables could not be written\n");
        std::abort();
    }
    // Short limits, so that a runaway select ends long before the fuzzer's own time-out.
    folder->engine.setSelectLimits({std::chrono::milliseconds(1000), qint64(64) << 20});
    folder->database = folder->engine.open(folder->dir.path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = input.split(QLatin1Char('\n'));
    const QString rest = input.section(QLatin1Char('\n'), 1);
    const QString form = lines.first();
    if (form == QLatin1String("w"))
        windowSearch(SampleKind::Water, lines);
    else if (form == QLatin1String("f"))
        windowSearch(SampleKind::Fish, lines);
    else if (form == QLatin1String("m"))
        folder->database.selectRecords(kWaterLayer, rest);
    else if (form == QLatin1String("c")) {
        folder->database.select("SELECT DISTINCT [GRID_CODE] FROM " + kCatchTable + " WHERE " + rest + ";");
        folder->database.select("SELECT * FROM " + kCatchTable + " WHERE " + rest + ";");
    } else if (form == QLatin1String("g")) {
        QString code = rest;
        code.replace(QLatin1Char('\''), QLatin1String("''"));
        folder->database.select("SELECT * FROM " + kCatchTable + " WHERE grid_code LIKE '" + code + "*';");
    }
    return 0;
}
