// Selections end to end through the main window: a condition submitted in the query window or a
// polygon drawn with the mouse, searched on every draw/query layer at each redraw, the hits
// painted yellow and their records in the grid, compared with what the data files hold.

#include "catalogue/sample_schema.h"
#include "catalogue/sampling_periods.h"
#include "mapcontrol/map_control.h"
#include "mapcontrol/map_marks.h"
#include "query_builder/query_window.h"
#include "records/record_grid.h"
#include "records/record_grid_model.h"
#include "records/sel_recs_window.h"
#include "sample_data/file_records.h"
#include "support/main_window_harness.h"
#include "support/test_main.h"

#include <ogr_geometry.h>

#include <QDate>
#include <QLabel>
#include <QTableView>

using namespace datafiles;
using quillfen::SampleKind;
using testing::WindowDriver;

namespace {

// The demonstration data as the files hold it, read through GDAL/OGR on its own (not through
// the program's database engine or map control).

/// Every record of a layer "kx…" (.shp) or of a companion table (.dbf) of the data folder.
Records fileRecords(const QString& fileName) {
    return readRecords(QCoreApplication::applicationDirPath() + QStringLiteral("/data/") + fileName);
}

Records matching(const Records& records, const std::function<bool(const Record&)>& keep) {
    Records kept;
    std::copy_if(records.begin(), records.end(), std::back_inserter(kept), keep);
    return kept;
}

Records withSpecies(const Records& records, const QString& species) {
    return matching(records,
                    [&species](const Record& r) { return r.value("species").toString() == species; });
}

Records joined(Records first, const Records& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

/// The records whose point lies inside the polygon (vertices in map units), in record order.
Records inside(const Records& records, const QVector<QPointF>& ring) {
    OGRLinearRing boundary;
    for (const QPointF& vertex : ring)
        boundary.addPoint(vertex.x(), vertex.y());
    boundary.closeRings();
    OGRPolygon polygon;
    polygon.addRing(&boundary);
    return matching(records,
                    [&](const Record& r) { return r.hasPoint() && polygon.Contains(r.geometry.get()); });
}

/// Whether the grid cell shows the value as the file holds it: numbers compared as numbers,
/// dates as M/D/YYYY, texts as stored but for trailing blanks, an empty field as an empty cell.
bool shows(const QString& cell, const QVariant& value) {
    if (value.isNull())
        return cell.isEmpty();
    if (value.typeId() == QMetaType::Double) {
        bool ok = false;
        const double shown = cell.toDouble(&ok);
        return ok && std::abs(shown - value.toDouble()) <= 1e-6 * std::max(1.0, std::abs(value.toDouble()));
    }
    if (value.typeId() == QMetaType::QDate)
        return cell == value.toDate().toString(QStringLiteral("M/d/yyyy"));
    QString text = value.toString();
    while (value.typeId() == QMetaType::QString && text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return cell == text;
}

/// Why the grid does not list exactly `records` numbered from 1 in the layout of `kind`,
/// followed by `emptyRows` empty rows; empty when it does.
QString listingMismatch(const quillfen::RecordGridModel& grid, const Records& records, SampleKind kind,
                        int emptyRows) {
    const int count = int(records.size());
    if (grid.rows() != 1 + count + emptyRows || grid.textMatrix(0, 0) != "Record" ||
        grid.textMatrix(0, 1) != "Barcode")
        return QStringLiteral("%1 rows headed '%2', '%3'")
            .arg(grid.rows())
            .arg(grid.textMatrix(0, 0), grid.textMatrix(0, 1));
    const QVector<quillfen::SchemaField>& fields = quillfen::sampleSchema(kind);
    for (int row = 1; row < grid.rows(); ++row) {
        const bool isRecord = row <= count;
        if (grid.textMatrix(row, 0) != (isRecord ? QString::number(row) : QString()))
            return QStringLiteral("row %1 is numbered '%2'").arg(row).arg(grid.textMatrix(row, 0));
        for (int i = 0; i < fields.size(); ++i) {
            const QVariant value = isRecord ? records[size_t(row - 1)].value(fields[i].field) : QVariant();
            if (!shows(grid.textMatrix(row, i + 1), value))
                return QStringLiteral("row %1, %2: '%3' shown, the file holds '%4'")
                    .arg(row)
                    .arg(fields[i].field, grid.textMatrix(row, i + 1), value.toString());
        }
    }
    return QString();
}

bool hasNoRecordText(const quillfen::RecordGridModel& grid) {
    return testing::gridTexts(grid).mid(grid.cols()).join(QString()).isEmpty();
}

const QString kLowOxygen = QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99");
const QString kTitle = QStringLiteral("Kesselby - Selected Records: ");

/// What the query "Dissolved Oxygen < 5" finds: a measured (not -99) value below 5.
bool isLowOxygen(const Record& r) {
    const QVariant value = r.value("dis_oxygen");
    return !value.isNull() && value.toDouble() != -99 && value.toDouble() < 5;
}

QString periodOf(SampleKind kind, int box) {
    return quillfen::samplingPeriods(kind).at(box).periodCode;
}

/// Draws a polygon over the left half of the map, 4 pixels inside its edges.
void drawLeftHalf(WindowDriver& driver) {
    const QRect area = driver.window.map().rect().adjusted(4, 4, -4, -4);
    const int right = area.center().x();
    driver.drawPolygon(
        {area.topLeft(), QPoint(right, area.top()), QPoint(right, area.bottom()), area.bottomLeft()});
}

/// What was shown before a query window was opened and closed without a successful submit.
enum class Shown {
    LogicalQuery,            ///< water "Dissolved Oxygen < 5"
    PolygonOfAnotherKind,    ///< an invertebrate query, then fish ticked and a polygon drawn
    NothingAfterAKindChange, ///< an invertebrate query, then fish ticked
};

void show(WindowDriver& driver, Shown shown) {
    if (shown == Shown::LogicalQuery) {
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));
    } else {
        driver.clickBox("chkinvert_0");
        QVERIFY(driver.selectLogically("Percent Veg", ">", "1-20%"));
        driver.clickBox("chkfish_0");
    }
    if (shown == Shown::PolygonOfAnotherKind) {
        driver.clickButton("Command4");
        drawLeftHalf(driver);
    }
}

/// True when the mark's ring passes through one of the four pixels at its radius from the point.
bool isRinged(const WindowDriver& driver, QPointF mapPoint) {
    const QImage& image = driver.window.map().image();
    const int radius = int(mapcontrol::MapMarks::kRingRadius);
    for (const QPoint& step :
         {QPoint(radius, 0), QPoint(-radius, 0), QPoint(0, radius), QPoint(0, -radius)}) {
        const QPoint pixel = driver.pixelOf(mapPoint) + step;
        if (image.rect().contains(pixel) &&
            testing::sameColor(image.pixelColor(pixel), mapcontrol::MapMarks::kRingColor))
            return true;
    }
    return false;
}

} // namespace

class WindowSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void aSelectionListsWhatTheFilesHoldNumberedAcrossLayersAndPaintsEveryHit_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("periods");
        QTest::addColumn<QStringList>("query"); // parameter, operator, value, expression; none: a polygon
        QTest::addColumn<int>("site");          // the polygon: 0 the left half, a square around that
                                                // site's point, -1 a corner without samples
        const QStringList lowOxygen{"Dissolved Oxygen", "<", "5", kLowOxygen};
        const QStringList bluegill{"Species", "=", "Bluegill", "species = 'Bluegill'"};
        // Water rows list the unlocated low-oxygen sample with its values and leave out -99.
        QTest::newRow("water query, two periods") << int(SampleKind::Water) << 2 << lowOxygen << 0;
        QTest::newRow("fish species over several sites") << int(SampleKind::Fish) << 1 << bluegill << 0;
        // The second vegetation layer continues the numbering in the first listing's empty row.
        const Records second = fileRecords("kxv99d.dbf");
        for (const Record& record : fileRecords("kxv98d.dbf")) {
            const QString species = record.value("species").toString();
            if (!withSpecies(second, species).empty()) {
                QTest::newRow("vegetation query, two periods")
                    << int(SampleKind::Veg) << 2
                    << QStringList{"Species", "=", species, "species = '" + species + "'"} << 0;
                break;
            }
        }
        QTest::newRow("water polygon, two periods numbered on")
            << int(SampleKind::Water) << 2 << QStringList() << 0;
        QTest::newRow("fish polygon, records site by site")
            << int(SampleKind::Fish) << 1 << QStringList() << 0;
        QTest::newRow("polygon around a fish site without catch")
            << int(SampleKind::Fish) << 1 << QStringList() << 7;
        QTest::newRow("polygon around vegetation site 12, not 120")
            << int(SampleKind::Veg) << 1 << QStringList() << 12;
        QTest::newRow("polygon without sample points") << int(SampleKind::Water) << 1 << QStringList() << -1;
    }

    void aSelectionListsWhatTheFilesHoldNumberedAcrossLayersAndPaintsEveryHit() {
        QFETCH(int, kind);
        QFETCH(int, periods);
        QFETCH(QStringList, query);
        QFETCH(int, site);
        const auto sampleKind = SampleKind(kind);
        const QString selection = query.isEmpty() ? QStringLiteral("Graphical Query") : query[3];
        WindowDriver driver;
        for (int i = 0; i < periods; ++i)
            driver.clickBox(quillfen::boxArrayName(sampleKind) + "_" + QString::number(i));
        QPointF sitePoint;
        if (!query.isEmpty()) {
            QVERIFY(driver.selectLogically(query[0], query[1], query[2]));
        } else {
            if (site > 0) {
                const Records sites =
                    matching(fileRecords(quillfen::layerCode(sampleKind, periodOf(sampleKind, 0)) + ".shp"),
                             [site](const Record& r) { return r.gridCode() == site; });
                QCOMPARE(sites.size(), size_t(1));
                sitePoint = sites.front().point();
                driver.zoomInAround(sitePoint, 20);
            }
            driver.clickButton("Command4");
            // A redraw before any polygon searches nothing.
            driver.window.map().redrawAll();
            driver.settle();
            QVERIFY(hasNoRecordText(driver.grid()));
            const QPoint c = driver.pixelOf(sitePoint);
            if (site > 0)
                driver.drawPolygon(
                    {c + QPoint(-8, -8), c + QPoint(8, -8), c + QPoint(8, 8), c + QPoint(-8, 8)});
            else if (site < 0)
                driver.drawPolygon({QPoint(3, 3), QPoint(20, 3), QPoint(3, 20)});
            else
                drawLeftHalf(driver);
        }

        Records expected;
        QVector<QPointF> hits, misses;
        for (int i = 0; i < periods; ++i) {
            const Records layer =
                fileRecords(quillfen::layerCode(sampleKind, periodOf(sampleKind, i)) + ".shp");
            const QString table = quillfen::companionTable(sampleKind, periodOf(sampleKind, i));
            Records picked, listed;
            if (!query.isEmpty() && !table.isEmpty()) {
                listed = withSpecies(fileRecords(table + ".dbf"), query[2]);
                QSet<int> codes;
                for (const Record& record : listed)
                    codes.insert(record.gridCode());
                picked = matching(layer, [&codes](const Record& r) { return codes.contains(r.gridCode()); });
            } else {
                picked = query.isEmpty() ? inside(layer, driver.window.query_polygon().points)
                                         : matching(layer, isLowOxygen);
                listed = table.isEmpty() ? picked : Records();
                for (const Record& point : table.isEmpty() ? Records() : picked)
                    listed = joined(listed, matching(fileRecords(table + ".dbf"), [&](const Record& r) {
                                        return r.gridCode() == point.gridCode();
                                    }));
            }
            expected = joined(expected, listed);
            for (const Record& point : picked) {
                if (point.hasPoint())
                    hits << point.point();
            }
            for (const Record& record : layer) {
                if (record.hasPoint() && !hits.contains(record.point()))
                    misses << record.point();
            }
        }
        QCOMPARE(hits.isEmpty(), site < 0);
        if (site > 0)
            QCOMPARE(hits, QVector<QPointF>{sitePoint});

        QCOMPARE(driver.title(), kTitle + selection);
        // Kinds with companion tables, and an empty listing, end in an empty row.
        const QString mismatch = listingMismatch(driver.grid(), expected, sampleKind,
                                                 sampleKind == SampleKind::Water && site >= 0 ? 0 : 1);
        QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
        // Each record row knows its layer and, when it has a point, its feature; the empty row
        // ending a companion listing belongs to the last record's site.
        const int count = int(expected.size());
        for (int row = 1; row <= count; ++row) {
            QVERIFY(driver.grid().rowSource(row).isRecord());
            if (sampleKind == SampleKind::Water)
                QCOMPARE(driver.grid().rowSource(row).hasShape(), expected[size_t(row - 1)].hasPoint());
        }
        if (sampleKind != SampleKind::Water && count > 0)
            QVERIFY(driver.grid().rowSource(count + 1) == driver.grid().rowSource(count));
        for (const QPointF& hit : hits)
            QVERIFY(driver.isHighlighted(hit));
        // A point well away from every hit stays as its layer draws it.
        for (const QPointF& miss : misses) {
            const auto near = [&](const QPointF& hit) {
                return (driver.pixelOf(miss) - driver.pixelOf(hit)).manhattanLength() <= 24;
            };
            if (std::none_of(hits.begin(), hits.end(), near)) {
                QVERIFY(!driver.isHighlighted(miss));
                break;
            }
        }
        QVERIFY(driver.prompts.messages.isEmpty());
        driver.clickButton("Command3");
        QCOMPARE(driver.window.recordsWindow().windowTitle(), "Selected Records: " + selection);
        driver.window.recordsWindow().hide();
    }

    // The records selected in the grid are ringed over their yellow points; Enter on one
    // brings its point back into view at the same scale; a record without a shape says so;
    // the window counts its records and its title follows the selection it lists.
    void recordsSelectedInTheGridAreRingedOnTheMapAndEnterBringsOneIntoView() {
        WindowDriver driver;
        driver.clickBox("chkwater_0");
        QVERIFY(driver.selectLogically("Dissolved Oxygen", "<", "5"));
        driver.clickButton("Command3");
        quillfen::SelRecsWindow& records = driver.window.recordsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&records));
        auto* grid = testing::control<QTableView>(&records, "MSFlexGrid1");
        const Records expected = matching(fileRecords("kxw93sm.shp"), isLowOxygen);
        QTRY_COMPARE(testing::control<QLabel>(&records, "Label_count")->text(),
                     QStringLiteral("%1 records").arg(expected.size()));

        int unlocated = -1, pair = -1;
        for (int i = 0; i < int(expected.size()); ++i) {
            if (!expected[size_t(i)].hasPoint())
                unlocated = i + 1;
            else if (pair < 0 && i + 1 < int(expected.size()) && expected[size_t(i + 1)].hasPoint())
                pair = i + 1;
        }
        QVERIFY(unlocated > 0 && pair > 0);
        const auto tip = [grid](int row) {
            return grid->model()->headerData(row, Qt::Vertical, Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(unlocated), quillfen::RecordGrid::noShapeTip(unlocated));
        QCOMPARE(tip(pair), QString::number(pair));

        // A click selects one record, Shift+Down the next one too.
        const QPointF first = expected[size_t(pair - 1)].point();
        const QPointF second = expected[size_t(pair)].point();
        QVERIFY(!isRinged(driver, first));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid->visualRect(grid->model()->index(pair, 1)).center());
        driver.settle();
        QVERIFY(isRinged(driver, first) && driver.isHighlighted(first));
        QVERIFY(!isRinged(driver, second));
        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        driver.settle();
        QVERIFY(isRinged(driver, first) && isRinged(driver, second));

        // Zoomed in far from the second point, Enter on it brings it into view at that scale.
        const mapcontrol::Rect whole = driver.window.map().viewBounds();
        const QPointF away(second.x() < whole.center().x() ? whole.maxX : whole.minX,
                           second.y() < whole.center().y() ? whole.maxY : whole.minY);
        driver.zoomInAround(
            QPointF((away.x() * 9 + whole.center().x()) / 10, (away.y() * 9 + whole.center().y()) / 10), 20);
        const mapcontrol::Rect zoomed = driver.window.map().viewBounds();
        QVERIFY(!zoomed.contains(second));
        QTest::keyClick(grid, Qt::Key_Return);
        driver.settle();
        const mapcontrol::Rect shown = driver.window.map().viewBounds();
        QVERIFY(shown.contains(second));
        QCOMPARE(shown.width(), zoomed.width());
        QVERIFY(isRinged(driver, second));

        // A new selection: the open window's title names it and its grid has no marks left.
        QVERIFY(driver.selectLogically("Dissolved Oxygen", ">", "9"));
        QVERIFY(driver.title().endsWith(QStringLiteral("dis_oxygen > 9 AND dis_oxygen <> -99")));
        QCOMPARE("Kesselby - " + records.windowTitle(), driver.title());
        QVERIFY(!isRinged(driver, second));
        QVERIFY(driver.prompts.messages.isEmpty());
    }

    void aQueryWindowClosedWithoutSubmittingLeavesTheSelectionShownBefore_data() {
        // Each row submits the emptied condition, which is refused, then cancels.
        QTest::addColumn<Shown>("shown");
        QTest::addColumn<QString>("title");
        QTest::newRow("after a query") << Shown::LogicalQuery << kTitle + kLowOxygen;
        QTest::newRow("after a polygon on another kind")
            << Shown::PolygonOfAnotherKind << kTitle + "Graphical Query";
        // After a box click no selection is requested any more, and the caption says so.
        QTest::newRow("after a change of kind") << Shown::NothingAfterAKindChange << QString("Kesselby");
    }

    void aQueryWindowClosedWithoutSubmittingLeavesTheSelectionShownBefore() {
        QFETCH(Shown, shown);
        QFETCH(QString, title);
        WindowDriver driver;
        show(driver, shown);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(driver.title(), title);
        const QStringList listed = testing::gridTexts(driver.grid());
        using QueryFlag = quillfen::MainWindow::QueryFlag;
        const QueryFlag requested = driver.window.queryflag();
        QCOMPARE(requested, shown == Shown::NothingAfterAKindChange ? QueryFlag::None : QueryFlag::Requested);
        if (requested == QueryFlag::Requested)
            QVERIFY2(!hasNoRecordText(driver.grid()), "the selection lists records");

        QVERIFY(driver.driveQueryWindow([&](QWidget* query) {
            QTest::mouseClick(testing::control<QPushButton>(query, "Command2"), Qt::LeftButton);
            QTest::mouseClick(testing::control<QPushButton>(query, "Command1"), Qt::LeftButton);
        }));
        QVERIFY(!driver.window.queryWindow());
        const QStringList checkMessage{"Value not entered."};
        QCOMPARE(driver.prompts.messages, checkMessage);
        QCOMPARE(driver.title(), title);
        QCOMPARE(testing::gridTexts(driver.grid()), listed);
        QCOMPARE(driver.window.queryflag(), requested);

        // The next redraw shows the same selection again, and never searches a condition
        // that was not submitted on these layers.
        driver.grid().clear();
        driver.clickToolbar("Full Extent");
        driver.settle();
        QCOMPARE(driver.prompts.messages, checkMessage);
        QCOMPARE(driver.title(), title);
        if (requested == QueryFlag::Requested)
            QCOMPARE(testing::gridTexts(driver.grid()), listed);
        else
            QVERIFY(hasNoRecordText(driver.grid()));
    }
};

QUILLFEN_TEST(WindowSelectionTest)

#include "test_window_selections.moc"
