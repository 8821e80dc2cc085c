#include "catalogue/sample_schema.h"
#include "records/grid_layout.h"
#include "records/record_grid.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"
#include "support/test_main.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace quillfen;

namespace {

/// True when the area holds a pixel much darker than the heading and cell backgrounds: text.
bool holdsText(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}

/// A copy of a table of the demonstration data in `folder`, with the fields empty (NULL) in
/// every third record; false when it cannot be made.
bool copyWithEmptyFields(const QString& table, const QString& folder, const QList<QByteArray>& fields) {
    const QString copy = folder + '/' + table + QStringLiteral(".dbf");
    if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/data/") + table + ".dbf",
                     copy))
        return false;
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    GDALAllRegister();
    std::unique_ptr<GDALDataset> dataset(
        GDALDataset::Open(copy.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
    OGRLayer* layer = dataset ? dataset->GetLayer(0) : nullptr;
    if (!layer)
        return false;
    for (auto& feature : *layer) {
        if (feature->GetFID() % 3 != 0)
            continue;
        for (const QByteArray& field : fields)
            feature->SetFieldNull(feature->GetFieldIndex(field.constData()));
        if (layer->SetFeature(feature.get()) != OGRERR_NONE)
            return false;
    }
    return true;
}

QStringList rowTexts(const RecordGridModel& grid, int row, int count) {
    QStringList texts;
    for (int col = 0; col < count; ++col)
        texts.append(grid.textMatrix(row, col));
    return texts;
}

} // namespace

class RecordGridTest : public QObject {
    Q_OBJECT
private slots:
    // The numbering and the empty row below companion records are checked on real selections;
    // a NULL companion value leaves the cell's earlier text, a layer record empties the cell.
    void aNullValueLeavesACompanionCellsEarlierTextAndEmptiesALayerCell() {
        RecordGridModel fish;
        layOutGrid(fish, SampleKind::Fish);
        for (int n = 1; n <= 3; ++n)
            writeTableRecordRow(fish, n, {2000 + n, "F1"});
        fish.setCol(11);
        fish.setText("earlier");
        QVector<QVariant> values(13);
        values[0] = 2004;
        values[11] = 4;
        writeTableRecordRow(fish, 4, values);
        QCOMPARE(fish.rows(), 6);
        QCOMPARE(rowTexts(fish, 4, 13),
                 QStringList({"4", "2004"}) + QStringList(9) + QStringList({"earlier", "4"}));
        writeLayerRecordRow(fish, 4, values);
        QCOMPARE(fish.textMatrix(4, 11), QString());
    }

    void recordRowsShowWhatWritingTheirRecordsShows_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("companion");
        QTest::addColumn<QList<QByteArray>>("emptied");
        QTest::newRow("fish catch table")
            << int(SampleKind::Fish) << "kxr93sm" << true << QList<QByteArray>{"ave_len", "species"};
        QTest::newRow("water layer table")
            << int(SampleKind::Water) << "kxw93sm" << false << QList<QByteArray>{"temp", "loc_code"};
    }
    // Over earlier text, which a companion record's NULL fields keep; then a cell written over a
    // record row and columns cut off and added again.
    void recordRowsShowWhatWritingTheirRecordsShows() {
        QFETCH(int, kind);
        QFETCH(QString, table);
        QFETCH(bool, companion);
        QFETCH(QList<QByteArray>, emptied);
        const auto sampleKind = SampleKind(kind);
        QTemporaryDir folder;
        QVERIFY(copyWithEmptyFields(table, folder.path(), emptied));
        const tabledb::Database db = tabledb::Engine::instance().open(folder.path());
        tabledb::SelectResult all = db.selectRecords(table);
        QVERIFY2(all.ok(), qPrintable(all.error));
        const int records = all.records.recordCount();
        const QString emptyCount =
            QStringLiteral("SELECT count(*) FROM %1 WHERE %2 IS NULL;").arg(table, emptied[0]);
        QCOMPARE(db.select(emptyCount).records.value(0).toInt(), (records + 2) / 3);
        QVector<int> numbers;
        for (int i = 0; i < records; ++i)
            numbers << i;
        tabledb::HeldTablePtr held;
        QVERIFY(db.streamRecordNumbersAt(
                      table, numbers, [](const tabledb::RowReader&) {}, &held)
                    .isEmpty());

        RecordGridModel written, shown;
        for (RecordGridModel* grid : {&written, &shown}) {
            layOutGrid(*grid, sampleKind);
            grid->setRows(records + 2);
            for (int r = 1; r < grid->rows(); ++r) {
                grid->setRow(r);
                for (int c = 0; c < grid->cols(); ++c) {
                    grid->setCol(c);
                    grid->setText(QStringLiteral("earlier"));
                }
            }
        }
        const int source = shown.addRecordSource(recordSource(held, sampleKind, companion));
        for (int n = 1; !all.records.atEnd() && n <= records; all.records.next(), ++n) {
            QVector<QVariant> values;
            for (const SchemaField& field : sampleSchema(sampleKind))
                values << all.records.value(field.field);
            companion ? writeTableRecordRow(written, n, values) : writeLayerRecordRow(written, n, values);
            companion ? writeTableRecordRow(shown, n, source, all.records.rowNumber())
                      : writeLayerRecordRow(shown, n, source, all.records.rowNumber());
        }
        const int cols = written.cols();
        const auto compareAll = [&] {
            QCOMPARE(shown.rows(), written.rows());
            for (int r = 0; r < written.rows(); ++r) {
                QCOMPARE(rowTexts(shown, r, cols), rowTexts(written, r, cols));
                QCOMPARE(recordLine(shown, r, sampleKind), recordLine(written, r, sampleKind));
            }
        };
        compareAll();
        for (RecordGridModel* grid : {&written, &shown}) {
            grid->setRow(2);
            grid->setCol(cols - 1);
            grid->setText(QStringLiteral("over"));
            grid->setCols(5);
            grid->setCols(cols);
        }
        compareAll();
    }

    void cellsShowTheTextFormOfTheirValues() {
        RecordGridModel grid;
        grid.setRow(1);
        grid.setCol(1);
        const QList<QPair<QVariant, QString>> cases = {{7.5, "7.5"},
                                                       {-99.0, "-99"},
                                                       {0.05, "0.05"},
                                                       {QVariant(0.1f), "0.1"},
                                                       {12, "12"},
                                                       {-5, "-5"},
                                                       {-0.5, "-0.5"},
                                                       {qlonglong(1) << 50, "1125899906842624"},
                                                       {-(qlonglong(1) << 47), "-140737488355328"},
                                                       {std::nan(""), "nan"},
                                                       {QDate(1993, 7, 4), "7/4/1993"},
                                                       {"Coontail  ", "Coontail"}};
        for (const auto& [value, text] : cases) {
            grid.setValue(value);
            QCOMPARE(grid.data(grid.index(1, 1)).toString(), text);
        }
        grid.setText("kept as typed  ");
        QCOMPARE(grid.text(), QStringLiteral("kept as typed  "));
    }

    // The model tester checks every change the views are told of on the way.
    void resizingKeepsTheCurrentCellInsideAndClearingKeepsSizeAndWidths() {
        RecordGridModel grid;
        QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
        layOutGrid(grid, SampleKind::Water);
        writeLayerRecordRow(grid, 1, {1, "a", "b", "c"});
        grid.setRows(5);
        grid.setRow(9);
        QCOMPARE(grid.row(), 4);
        grid.setRows(3);
        QCOMPARE(grid.row(), 2);
        grid.setCol(-1);
        QCOMPARE(grid.col(), 0);
        grid.setCols(2);
        grid.setCols(30);
        // Cells cut off come back empty; clearing empties all cells but keeps the widths.
        QCOMPARE(rowTexts(grid, 1, 4), QStringList({"1", "1", "", ""}));
        QCOMPARE(grid.textMatrix(0, 3), QString());
        layOutGrid(grid, SampleKind::Water);
        grid.clear();
        QCOMPARE(grid.rows(), 3);
        QCOMPARE(grid.cols(), 30);
        QCOMPARE(rowTexts(grid, 0, 1) + rowTexts(grid, 1, 2), QStringList({"", "", ""}));
        QCOMPARE(grid.colWidth(2), 1250);
        // A fill tells the views nothing until it ends with one reset.
        grid.beginFill();
        layOutGrid(grid, SampleKind::Fish);
        for (int n = 1; n <= 3; ++n)
            writeTableRecordRow(grid, n, {1000 + n, "L1", QVariant()});
        grid.setCols(5);
        grid.endFill();
        QCOMPARE(grid.textMatrix(3, 2), QStringLiteral("L1"));
    }

    void theHeadingsAndRecordNumbersStayInViewWhereverTheGridScrolls() {
        RecordGridModel model;
        RecordGrid grid(&model);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        layOutGrid(model, SampleKind::Water);
        const int records = 200;
        for (int n = 1; n <= records; ++n)
            writeLayerRecordRow(model, n, {n});
        QCOMPARE(grid.rowHeight(records), grid.rowHeight(1));

        grid.scrollToBottom();
        grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
        const int lastCol = model.cols() - 1;
        QVERIFY(grid.verticalScrollBar()->value() > 0 && grid.horizontalScrollBar()->value() > 0);
        const QRect lastCell = grid.visualRect(grid.model()->index(records, lastCol));
        QVERIFY(grid.viewport()->rect().contains(lastCell));

        // The heading stands above the last column and the record number beside the last row,
        // drawn in text; the record-number heading stands in the corner.
        const QImage image = grid.grab().toImage();
        const QRect top = grid.horizontalHeader()->geometry();
        const QRect left = grid.verticalHeader()->geometry();
        const QRect heading(top.left() + lastCell.left(), top.top(), lastCell.width(), top.height());
        const QRect number(left.left(), left.top() + lastCell.top(), left.width(), lastCell.height());
        QVERIFY2(holdsText(image, heading), "the last column's heading is drawn");
        QVERIFY2(holdsText(image, number), "the last row's number is drawn");
        QVERIFY2(holdsText(image, QRect(left.left(), top.top(), left.width(), top.height())),
                 "the record-number heading is drawn in the corner");
        QVERIFY2(!holdsText(image, heading.translated(0, top.height() + lastCell.height() * 3)),
                 "the cells below hold no text in that column");

        // Widths in twips are shown at 15 twips a pixel; a column without a width fits its heading.
        layOutGrid(model, SampleKind::Invert);
        QCOMPARE(grid.columnWidth(4), 1250 / 15);
        layOutGrid(model, SampleKind::Water);
        QCOMPARE(grid.columnWidth(1), RecordGrid::kDefaultColWidthTwips / 15);
        QVERIFY(grid.columnWidth(12) >
                grid.horizontalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("Veg Density Pct")));
    }

    void selectedCellsAreCopiedAsTabSeparatedLines() {
        RecordGridModel model;
        RecordGrid grid(&model);
        layOutGrid(model, SampleKind::Fish);
        for (int n = 1; n <= 3; ++n)
            writeLayerRecordRow(model, n,
                                {1000 + n, QStringLiteral("L%1").arg(n), QStringLiteral("S%1").arg(n)});
        QItemSelectionModel* selection = grid.selectionModel();
        const auto cell = [&](int row, int col) { return grid.model()->index(row, col); };
        selection->select(QItemSelection(cell(1, 1), cell(2, 2)), QItemSelectionModel::Select);
        selection->select(cell(3, 3), QItemSelectionModel::Select);
        QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1001\tL1\t\n1002\tL2\t\n\t\tS3\n"));

        // Row 0 and column 0 are headings, not cells: selecting everything copies the records.
        grid.selectAll();
        QCOMPARE(grid.selectedText().section(QLatin1Char('\n'), 0, 0).split(QLatin1Char('\t')).size(),
                 model.cols() - 1);
        QVERIFY(grid.selectedText().startsWith(QStringLiteral("1001\tL1\tS1\t")));
    }
};

QUILLFEN_TEST(RecordGridTest)

#include "test_record_grid.moc"
