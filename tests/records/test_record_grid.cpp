#include "layers/sample_schema.h"
#include "records/grid_layout.h"
#include "records/record_grid.h"
#include "records/record_grid_model.h"

#include <QAbstractItemModelTester>
#include <QDate>
#include <QHeaderView>
#include <QTest>

using namespace quillfen;

namespace {

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
    void theModelStaysConsistentThroughEveryGridOperation() {
        RecordGridModel grid;
        QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
        layOutGrid(grid, SampleKind::Fish);
        for (int n = 1; n <= 3; ++n)
            writeTableRecordRow(grid, n, {1000 + n, "L1", QVariant()});
        layOutGrid(grid, SampleKind::Invert);
        grid.setCols(3);
        grid.setCols(25);
        grid.setRows(2);
        grid.clear();
    }

    void theLayoutGivesEachKindItsColumnsHeadingsAndWidths_data() {
        QTest::addColumn<SampleKind>("kind");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<int>("width");
        QTest::newRow("water ph") << SampleKind::Water << 30 << 16 << "ph" << 0;
        QTest::newRow("water chlorophyll")
            << SampleKind::Water << 30 << 29 << "Chlorophyll fl1 (micrograms/l)" << 2750;
        QTest::newRow("fish stratum") << SampleKind::Fish << 14 << 3 << "Stratum" << 2350;
        QTest::newRow("invertebrate open water") << SampleKind::Invert << 19 << 6 << " % Open Water" << 1500;
        QTest::newRow("invertebrate zebra mussels")
            << SampleKind::Invert << 19 << 18 << "Zebra Mussels" << 1250;
        QTest::newRow("vegetation last")
            << SampleKind::Veg << 20 << 19 << "Pct Cover - Rooted Floating and Emergent Veg" << 4000;
    }
    void theLayoutGivesEachKindItsColumnsHeadingsAndWidths() {
        QFETCH(SampleKind, kind);
        QFETCH(int, columns);
        QFETCH(int, col);
        QFETCH(QString, heading);
        QFETCH(int, width);
        RecordGridModel grid;
        grid.setRows(7);
        layOutGrid(grid, kind);
        QCOMPARE(grid.cols(), columns);
        QCOMPARE(grid.rows(), 7);
        QCOMPARE(rowTexts(grid, 0, 2), QStringList({"Record", "Barcode"}));
        QCOMPARE(grid.textMatrix(0, col), heading);
        QCOMPARE(grid.colWidth(col), width);
        QCOMPARE(grid.colWidth(0), RecordGridModel::kDefaultColWidth);
    }

    void layerRecordsTakeOneRowEachAndCompanionRecordsLeaveAnEmptyRowForTheNextListing() {
        RecordGridModel water, fish;
        layOutGrid(water, SampleKind::Water);
        layOutGrid(fish, SampleKind::Fish);
        for (int n = 1; n <= 3; ++n) {
            writeLayerRecordRow(water, n,
                                {1000 + n, QStringLiteral("KX-%1   ").arg(n), "7/14/1993", "10:30", 0.5});
            writeTableRecordRow(fish, n, {2000 + n, "F1"});
        }
        QCOMPARE(water.rows(), 4);
        QCOMPARE(water.row(), 3);
        QCOMPARE(rowTexts(water, 2, 6), QStringList({"2", "1002", "KX-2", "7/14/1993", "10:30", "0.5"}));
        QCOMPARE(fish.rows(), 5);
        QCOMPARE(fish.row(), 4);
        QVERIFY(rowTexts(fish, 4, 14).join(QString()).isEmpty());
        writeTableRecordRow(fish, 4, {2004, "F2"});
        QCOMPARE(fish.rows(), 6);
        QCOMPARE(rowTexts(fish, 4, 3), QStringList({"4", "2004", "F2"}));
    }

    void aNullCompanionValueLeavesTheCellsEarlierText() {
        RecordGridModel grid;
        layOutGrid(grid, SampleKind::Fish);
        grid.setRows(2);
        grid.setRow(1);
        grid.setCol(11);
        grid.setText("earlier");
        QVector<QVariant> values(13);
        values[0] = 3001;
        values[11] = 4;
        writeTableRecordRow(grid, 1, values);
        QCOMPARE(rowTexts(grid, 1, 13).mid(11), QStringList({"earlier", "4"}));
        // A layer record writes every column, NULL as an empty cell.
        writeLayerRecordRow(grid, 1, values);
        QCOMPARE(grid.textMatrix(1, 11), QString());
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
                                                       {QDate(1993, 7, 4), "7/4/1993"},
                                                       {"Coontail  ", "Coontail"}};
        for (const auto& [value, text] : cases) {
            grid.setValue(value);
            QCOMPARE(grid.text(), text);
            QCOMPARE(grid.data(grid.index(1, 1)).toString(), text);
        }
        grid.setText("kept as typed  ");
        QCOMPARE(grid.text(), QStringLiteral("kept as typed  "));
    }

    void resizingKeepsTheCurrentCellInsideAndClearingKeepsSizeAndWidths() {
        RecordGridModel grid;
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
    }

    void theViewShowsFixedHeadingCellsWidthsFromTwipsAndEqualRows() {
        RecordGridModel model;
        RecordGrid grid(&model);
        grid.resize(800, 400);
        layOutGrid(model, SampleKind::Water);
        for (int n = 1; n <= 3; ++n)
            writeLayerRecordRow(model, n, {n});
        QCOMPARE(grid.objectName(), QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid.columnWidth(2), 1250 / 15);
        QCOMPARE(grid.columnWidth(1), RecordGrid::kDefaultColWidthTwips / 15);
        QCOMPARE(grid.rowHeight(3), grid.rowHeight(0));
        QCOMPARE(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QVERIFY(!(model.flags(model.index(0, 2)) & Qt::ItemIsSelectable));
        QVERIFY(!(model.flags(model.index(2, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model.flags(model.index(2, 2)) & Qt::ItemIsSelectable);

        const QImage image = grid.grab().toImage();
        const QColor heading = grid.palette().color(QPalette::Button);
        const QPoint offset(grid.viewport()->x(), grid.viewport()->y());
        const auto colourAt = [&](int row, int col) {
            return image.pixelColor(grid.visualRect(model.index(row, col)).bottomRight() - QPoint(3, 3) +
                                    offset);
        };
        QCOMPARE(colourAt(0, 3), heading);
        QCOMPARE(colourAt(2, 0), heading);
        QVERIFY(colourAt(2, 3) != heading);
    }
};

int runRecordGridTests(int argc, char** argv) {
    RecordGridTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_record_grid.moc"
