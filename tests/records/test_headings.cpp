// Every heading of every kind read in full: wrapped at word boundaries inside its section at the
// width its column is given, never cut at either end. This program runs on the screen the
// environment sets up; CTest runs it at one and at two device pixels per pixel.

#include "catalogue/sample_schema.h"
#include "records/grid_layout.h"
#include "records/record_grid.h"
#include "records/record_grid_model.h"
#include "support/test_main.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTest>

using namespace quillfen;

class HeadingsTest : public QObject {
    Q_OBJECT
private slots:
    void everyHeadingFitsItsSectionOnAtMostThreeLines_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("heading");
        for (SampleKind kind : allSampleKinds()) {
            const QVector<SchemaField>& fields = sampleSchema(kind);
            QTest::addRow("%c Record", kindLetter(kind).toLatin1()) << int(kind) << 0 << kRecordColumnHeading;
            for (int col = 1; col <= fields.size(); ++col)
                QTest::addRow("%c %s", kindLetter(kind).toLatin1(), qPrintable(fields[col - 1].gridHeading))
                    << int(kind) << col << fields[col - 1].gridHeading;
        }
    }

    void everyHeadingFitsItsSectionOnAtMostThreeLines() {
        QFETCH(int, kind);
        QFETCH(int, col);
        QFETCH(QString, heading);
        RecordGridModel model;
        RecordGrid grid(&model);
        grid.resize(600, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        layOutGrid(model, SampleKind(kind));
        QCoreApplication::processEvents();

        QHeaderView* headings = grid.horizontalHeader();
        QCOMPARE(headings->model()->headerData(col, Qt::Horizontal, Qt::ToolTipRole).toString(), heading);
        // The record-number heading stands in the corner, as wide as the record numbers.
        const int width = col == 0 ? grid.verticalHeader()->width() : headings->sectionSize(col);
        if (col > 0 && model.colWidth(col) != RecordGridModel::kDefaultColWidth)
            QCOMPARE(width, qRound(model.colWidth(col) / 15.0));
        const int margin = headings->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, headings);
        const QRect area(0, 0, width - 2 * margin, headings->height() - 2 * margin);
        const QFontMetrics metrics = headings->fontMetrics();
        const QRect needed = metrics.boundingRect(area, RecordGrid::kHeadingFlags, heading);
        QVERIFY2(area.contains(needed), qPrintable(QStringLiteral("%1 x %2 needed in %3 x %4 at ratio %5")
                                                       .arg(needed.width())
                                                       .arg(needed.height())
                                                       .arg(area.width())
                                                       .arg(area.height())
                                                       .arg(qApp->devicePixelRatio())));
        QVERIFY(needed.height() <= 3 * metrics.lineSpacing());
    }
};

QUILLFEN_TEST(HeadingsTest)

#include "test_headings.moc"
