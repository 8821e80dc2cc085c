#include "map_fixture.h"

#include <QPolygonF>

#include <functional>

using namespace mapcontrol;

namespace {
// A 20 x 20 grid of points at half-unit offsets (never on a polygon edge), with a numeric
// field and a text field.
struct GridMap : MapFixture {
    QVector<QPointF> points;
    QVector<QVariant> depth, site;
    std::shared_ptr<VectorLayer> layer;

    GridMap() {
        QStringList shapes;
        for (int i = 0; i < 400; ++i) {
            points.append(QPointF(25 + 50 * (i % 20) + 0.5, 25 + 50 * (i / 20) + 0.5));
            shapes.append(QString("POINT (%1 %2)").arg(points.last().x()).arg(points.last().y()));
            depth.append(i % 7);
            site.append(QString("s%1").arg(i % 13));
        }
        testdata::writeShapes(folder(), "grid", shapes, {{"depth", depth}, {"site", site}});
        open();
        layer = addVector("grid");
    }

    /// The features that pass `test`, found by looking at every one.
    QVector<int> bruteForce(const std::function<bool(int)>& test) const {
        QVector<int> result;
        for (int i = 0; i < points.size(); ++i)
            if (test(i))
                result.append(i);
        return result;
    }
};

QVector<int> features(RecordCursor cursor) {
    QVector<int> result;
    for (cursor.first(); !cursor.atEnd(); cursor.next())
        result.append(cursor.featureIndex());
    std::sort(result.begin(), result.end());
    return result;
}
} // namespace

class TestMapSearch : public QObject {
    Q_OBJECT
private slots:
    void searchExpressionFindsWhatABruteForceSearchFinds() {
        GridMap f;
        QString error;
        RecordCursor found = f.map.searchExpression(*f.layer, "depth > 3 AND site <> 's2'", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(features(found),
                 f.bruteForce([&](int i) { return f.depth[i].toInt() > 3 && f.site[i].toString() != "s2"; }));
        for (found.first(); !found.atEnd(); found.next()) {
            QCOMPARE(found.fieldValue("depth").toInt(), f.depth[found.featureIndex()].toInt());
            QCOMPARE(found.shape().points.value(0), f.points[found.featureIndex()]);
        }
    }

    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons_data() {
        QTest::addColumn<QVector<QPointF>>("ring");
        QTest::addColumn<int>("depth");
        const QVector<QPointF> rectangle{{100, 100}, {600, 100}, {600, 400}, {100, 400}};
        QTest::newRow("rectangle") << rectangle << -1;
        QTest::newRow("rectangle, one depth only") << rectangle << 0;
        QTest::newRow("concave U") << QVector<QPointF>{{100, 100}, {900, 100}, {900, 900}, {700, 900},
                                                       {700, 300}, {300, 300}, {300, 900}, {100, 900}}
                                   << -1;
        // Two squares meeting at one vertex, drawn as one ring.
        QTest::newRow("self-touching bow") << QVector<QPointF>{{100, 100}, {500, 100}, {500, 500}, {900, 500},
                                                               {900, 900}, {500, 900}, {500, 500}, {100, 500}}
                                           << -1;
        QTest::newRow("self-crossing star")
            << QVector<QPointF>{{500, 950}, {800, 50}, {50, 650}, {950, 650}, {200, 50}} << -1;
        QTest::newRow("outside the data") << QVector<QPointF>{{2000, 2000}, {3000, 2000}, {3000, 3000}} << -1;
    }
    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons() {
        QFETCH(QVector<QPointF>, ring);
        QFETCH(int, depth);
        GridMap f;
        const QString expression = depth < 0 ? QString() : QString("depth = %1").arg(depth);
        QString error;
        const RecordCursor found = f.map.searchShape(*f.layer, Shape::polygon(ring), 9, expression, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const QPolygonF polygon(ring);
        QCOMPARE(features(found), f.bruteForce([&](int i) {
            return polygon.containsPoint(f.points[i], Qt::OddEvenFill) &&
                   (depth < 0 || f.depth[i].toInt() == depth);
        }));
    }

    void unusableSearchesGiveAnErrorOrNothing() {
        GridMap f;
        QString error;
        RecordCursor rejected = f.map.searchExpression(*f.layer, "nosuchfield = 1", &error);
        QVERIFY(!error.isEmpty());
        QVERIFY(rejected.atEnd());
        QCOMPARE(rejected.count(), 0);

        error.clear();
        QCOMPARE(f.map.searchShape(*f.layer, Shape(), 9, QString(), &error).count(), 0);
        QVERIFY(error.isEmpty());
        const Shape square = Shape::polygon({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
        RecordCursor otherRelation = f.map.searchShape(*f.layer, square, 1, QString(), &error);
        QVERIFY(!error.isEmpty());
        QVERIFY(otherRelation.atEnd());
    }

    void aStringSetKeepsFirstAdditionsInOrder() {
        StringSet set;
        for (const char* value : {"2", "1", "2", "13", "1"})
            set.add(value);
        QCOMPARE(set.count(), 3);
        QCOMPARE(QStringList({set.item(0), set.item(1), set.item(2)}), (QStringList{"2", "1", "13"}));
    }
};

int runMapSearchTests(int argc, char** argv) {
    TestMapSearch tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "test_map_search.moc"
