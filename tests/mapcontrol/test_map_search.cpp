#include "map_fixture.h"

#include <QPolygonF>

using namespace mapcontrol;

namespace {
// A 20 x 20 grid of points at half-unit offsets (never on a polygon edge), with a numeric
// field and a text field.
struct GridMap : MapFixture {
    QVector<QPointF> points;
    QVector<QVariant> depth, site;
    std::shared_ptr<VectorLayer> layer;

    GridMap() {
        for (int i = 0; i < 400; ++i) {
            points.append(QPointF(25 + 50 * (i % 20) + 0.5, 25 + 50 * (i / 20) + 0.5));
            depth.append(i % 7);
            site.append(QString("s%1").arg(i % 13));
        }
        testdata::writePoints(folder(), "grid", points, {{"depth", depth}, {"site", site}});
        open();
        layer = addVector("grid");
    }

    int bruteForceInside(const QVector<QPointF>& ring) const {
        const QPolygonF polygon(ring);
        return int(std::count_if(points.begin(), points.end(),
                                 [&](QPointF p) { return polygon.containsPoint(p, Qt::OddEvenFill); }));
    }
};

QVector<int> features(RecordCursor cursor) {
    QVector<int> result;
    for (cursor.first(); !cursor.atEnd(); cursor.next())
        result.append(cursor.featureIndex());
    return result;
}
} // namespace

class TestMapSearch : public QObject {
    Q_OBJECT
private slots:
    void searchExpressionFindsWhatABruteForceCountFinds() {
        GridMap f;
        QString error;
        RecordCursor found = f.map.searchExpression(*f.layer, "depth > 3 AND site <> 's2'", &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        int expected = 0;
        for (int i = 0; i < 400; ++i)
            expected += f.depth[i].toInt() > 3 && f.site[i].toString() != "s2" ? 1 : 0;
        QCOMPARE(found.count(), expected);
        for (found.first(); !found.atEnd(); found.next()) {
            QVERIFY(found.fieldValue("depth").toInt() > 3);
            QCOMPARE(found.shape().points.value(0), f.points[found.featureIndex()]);
        }
    }

    void aRejectedExpressionGivesAnErrorAndAnEmptyCursor() {
        GridMap f;
        QString error;
        RecordCursor found = f.map.searchExpression(*f.layer, "nosuchfield = 1", &error);
        QVERIFY(!error.isEmpty());
        QVERIFY(found.atEnd());
        QCOMPARE(found.count(), 0);
    }

    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons_data() {
        QTest::addColumn<QVector<QPointF>>("ring");
        QTest::newRow("rectangle") << QVector<QPointF>{{100, 100}, {600, 100}, {600, 400}, {100, 400}};
        QTest::newRow("concave U") << QVector<QPointF>{{100, 100}, {900, 100}, {900, 900}, {700, 900},
                                                       {700, 300}, {300, 300}, {300, 900}, {100, 900}};
        // Two squares meeting at one vertex, drawn as one ring.
        QTest::newRow("self-touching bow") << QVector<QPointF>{
            {100, 100}, {500, 100}, {500, 500}, {900, 500}, {900, 900}, {500, 900}, {500, 500}, {100, 500}};
        QTest::newRow("self-crossing star")
            << QVector<QPointF>{{500, 950}, {800, 50}, {50, 650}, {950, 650}, {200, 50}};
        QTest::newRow("outside the data") << QVector<QPointF>{{2000, 2000}, {3000, 2000}, {3000, 3000}};
    }
    void searchShapeFindsThePointsInsideConcaveAndSelfTouchingPolygons() {
        QFETCH(QVector<QPointF>, ring);
        GridMap f;
        QString error;
        RecordCursor found = f.map.searchShape(*f.layer, Shape::polygon(ring), 9, QString(), &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(found.count(), f.bruteForceInside(ring));
        const QPolygonF polygon(ring);
        const QVector<int> indexes = features(found);
        QCOMPARE(indexes.size(), found.count());
        for (int feature : indexes)
            QVERIFY(polygon.containsPoint(f.points[feature], Qt::OddEvenFill));
    }

    void searchShapeWithAnExpressionKeepsOnlyMatchingFeaturesInside() {
        GridMap f;
        const QVector<QPointF> ring{{100, 100}, {600, 100}, {600, 400}, {100, 400}};
        RecordCursor found = f.map.searchShape(*f.layer, Shape::polygon(ring), 9, "depth = 0");
        int expected = 0;
        const QPolygonF polygon(ring);
        for (int i = 0; i < 400; ++i)
            expected +=
                polygon.containsPoint(f.points[i], Qt::OddEvenFill) && f.depth[i].toInt() == 0 ? 1 : 0;
        QVERIFY(expected > 0);
        QCOMPARE(found.count(), expected);
        for (found.first(); !found.atEnd(); found.next())
            QCOMPARE(found.fieldValue("depth").toInt(), 0);
    }

    void searchShapeWithoutAPolygonOrWithAnotherRelationFindsNothing() {
        GridMap f;
        QString error;
        QCOMPARE(f.map.searchShape(*f.layer, Shape(), 9, QString(), &error).count(), 0);
        QVERIFY(error.isEmpty());
        const Shape square = Shape::polygon({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}});
        QCOMPARE(f.map.searchShape(*f.layer, square, 9, QString()).count(), 400);
        RecordCursor other = f.map.searchShape(*f.layer, square, 1, QString(), &error);
        QVERIFY(!error.isEmpty());
        QVERIFY(other.atEnd());
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
