#include "app/user_prompts.h"
#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "records/sel_recs_window.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillfen;

namespace {

QPushButton* button(QWidget& window, const char* name) {
    return window.findChild<QPushButton*>(QLatin1String(name));
}

} // namespace

class SelRecsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowHasItsNameTitleGridAndButtons() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        QCOMPARE(window.objectName(), QStringLiteral("sel_recs"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Selected Records"));
        QVERIFY(window.isWindow());
        QVERIFY(window.findChild<QTableView*>("MSFlexGrid1"));
        QCOMPARE(button(window, "Command3")->text(), QStringLiteral("About..."));
        QCOMPARE(button(window, "Command2")->text(), QStringLiteral("Save as Text File"));
        QCOMPARE(button(window, "Command1")->text(), QStringLiteral("Exit"));
    }

    void theButtonsSitSideBySideAtTheLowerRightBelowTheGrid() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect about = button(window, "Command3")->geometry();
        const QRect save = button(window, "Command2")->geometry();
        const QRect exit = button(window, "Command1")->geometry();
        const QRect grid = window.findChild<QTableView*>("MSFlexGrid1")->geometry();
        QCOMPARE(about.size(), save.size());
        QCOMPARE(save.size(), exit.size());
        QCOMPARE(about.top(), exit.top());
        QCOMPARE(save.top(), exit.top());
        QVERIFY(about.right() < save.left());
        QVERIFY(save.right() < exit.left());
        QVERIFY(window.width() - exit.right() < 20);
        QVERIFY(window.height() - exit.bottom() < 20);
        QVERIFY(about.left() > window.width() / 3);
        QVERIFY(grid.bottom() < exit.top());
    }

    void theKeyboardGoesFromExitToSaveToAbout() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        QCOMPARE(button(window, "Command1")->nextInFocusChain(), button(window, "Command2"));
        QCOMPARE(button(window, "Command2")->nextInFocusChain(), button(window, "Command3"));
    }

    void exitHidesTheWindowAndAShowBringsBackItsRecords() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        layOutGrid(window.grid(), SampleKind::Water);
        for (int n = 1; n <= 3; ++n)
            writeLayerRecordRow(window.grid(), n, {100 + n});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(button(window, "Command1"), Qt::LeftButton);
        QVERIFY(window.isHidden());
        window.show();
        QCOMPARE(window.grid().rows(), 4);
        QCOMPARE(window.grid().textMatrix(3, 1), QStringLiteral("103"));
        auto* view = window.findChild<QTableView*>("MSFlexGrid1");
        QCOMPARE(view->model()->data(view->model()->index(3, 1)).toString(), QStringLiteral("103"));
    }

    void theGridFollowsTheWindowSize() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* grid = window.findChild<QTableView*>("MSFlexGrid1");
        const QSize before = grid->size();
        window.resize(800, 600);
        QTRY_COMPARE(grid->size(), before + QSize(300, 300));
    }

    void saveWritesTheGridInTheLayoutOfTheCurrentKind() {
        QString component = "w";
        SelRecsWindow window([&component] { return component; });
        layOutGrid(window.grid(), SampleKind::Fish);
        writeTableRecordRow(window.grid(), 1, {42});
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        prompts.saveAnswers = {dir.filePath("fish.txt")};
        component = "f"; // read when the user saves, not when the window was made
        QTest::mouseClick(button(window, "Command2"), Qt::LeftButton);
        QFile file(dir.filePath("fish.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.first().startsWith("\"Barcode\",\"Location Code\",\"Stratum\""));
        QCOMPARE(lines.at(1), QByteArray("42,\"\",\"\",\"\",\"\",,,\"\",\"\",\"\",,,\r"));
    }

    void aboutShowsTheProgrammeDescriptionModally() {
        SelRecsWindow window([] { return QStringLiteral("w"); });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QString modalName;
        QTimer::singleShot(0, [&modalName] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal) {
                modalName = modal->objectName();
                modal->close();
            }
        });
        QTest::mouseClick(button(window, "Command3"), Qt::LeftButton);
        QCOMPARE(modalName, QStringLiteral("about2"));
        QVERIFY(window.isVisible());
    }
};

int runSelRecsWindowTests(int argc, char** argv) {
    SelRecsWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sel_recs_window.moc"
