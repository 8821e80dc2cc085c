#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "records/sel_recs_window.h"
#include "support/scripted_prompts.h"
#include "support/window_driving.h"
#include "support/test_main.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace quillfen;

namespace {

/// A records window for the kind letter `component`, which it reads when the user saves.
struct ShownWindow {
    ShownWindow() {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the records window was not shown");
    }
    QPushButton* button(const char* name) { return testing::control<QPushButton>(&window, name); }
    QTableView* grid() { return testing::control<QTableView>(&window, "MSFlexGrid1"); }

    QString component = QStringLiteral("w");
    SelRecsWindow window{[this] { return component; }};
};

} // namespace

class SelRecsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void theButtonsSitAtTheLowerRightBelowTheGridOfAWindowOfFixedSizeAndAboutIsModal() {
        ShownWindow w;
        QCOMPARE(w.window.objectName(), QStringLiteral("sel_recs"));
        QCOMPARE(w.window.windowTitle(), QStringLiteral("Selected Records"));
        QVERIFY(w.window.isWindow());
        QPushButton* about = w.button("Command3");
        QPushButton* save = w.button("Command2");
        QPushButton* exit = w.button("Command1");
        QCOMPARE((QStringList{about->text(), save->text(), exit->text()}),
                 (QStringList{"About...", "Save as Text File", "Exit"}));
        for (QPushButton* button : {about, save}) {
            QCOMPARE(button->geometry().size(), exit->geometry().size());
            QCOMPARE(button->geometry().top(), exit->geometry().top());
        }
        QVERIFY(about->geometry().right() < save->geometry().left());
        QVERIFY(save->geometry().right() < exit->geometry().left());
        QVERIFY(w.window.width() - exit->geometry().right() < 20);
        QVERIFY(w.window.height() - exit->geometry().bottom() < 20);
        QVERIFY(about->geometry().left() > w.window.width() / 3);
        QVERIFY(w.grid()->geometry().bottom() < exit->geometry().top());
        // The keyboard goes from Exit to Save to About.
        QCOMPARE(exit->nextInFocusChain(), save);
        QCOMPARE(save->nextInFocusChain(), about);

        const QSize window = w.window.size();
        const QSize grid = w.grid()->size();
        w.window.resize(window + QSize(300, 200));
        QCoreApplication::processEvents();
        QCOMPARE(w.window.size(), window);
        QCOMPARE(w.grid()->size(), grid);
        QVERIFY(testing::driveModal("about2", [about] { QTest::mouseClick(about, Qt::LeftButton); }));
        QVERIFY(w.window.isVisible());
    }

    void saveWritesTheGridInTheLayoutOfTheKindShownWhenSavingAndExitOnlyHides() {
        ShownWindow w;
        layOutGrid(w.window.grid(), SampleKind::Fish);
        writeTableRecordRow(w.window.grid(), 1, {42});
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        prompts.saveAnswers = {dir.filePath("fish.txt")};
        w.component = "f";
        QTest::mouseClick(w.button("Command2"), Qt::LeftButton);
        QFile file(dir.filePath("fish.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.first().startsWith("\"Barcode\",\"Location Code\",\"Stratum\""));
        QCOMPARE(lines.at(1), QByteArray("42,\"\",\"\",\"\",\"\",,,\"\",\"\",\"\",,,\r"));

        QTest::mouseClick(w.button("Command1"), Qt::LeftButton);
        QVERIFY(w.window.isHidden());
        w.window.show();
        QCOMPARE(w.grid()->model()->data(w.grid()->model()->index(1, 1)).toString(), QStringLiteral("42"));
    }

};

QUILLFEN_TEST(SelRecsWindowTest)

#include "test_sel_recs_window.moc"
