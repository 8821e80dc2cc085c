#include "records/grid_layout.h"
#include "records/record_grid_model.h"
#include "records/sel_recs_window.h"
#include "support/scripted_prompts.h"
#include "support/test_main.h"
#include "support/window_driving.h"

#include "catalogue/sample_schema.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
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
    // At the designed size the controls stand where they always stood; a larger or smaller
    // window gives the grid the difference and keeps the buttons at the lower right.
    void theGridTakesTheWindowsSpaceAndTheButtonsKeepToTheLowerRight_data() {
        QTest::addColumn<QSize>("change");
        QTest::newRow("designed size") << QSize(0, 0);
        QTest::newRow("enlarged") << QSize(400, 300);
        QTest::newRow("made smaller") << QSize(-160, -120);
    }

    void theGridTakesTheWindowsSpaceAndTheButtonsKeepToTheLowerRight() {
        QFETCH(QSize, change);
        ShownWindow w;
        QCOMPARE(w.window.objectName(), QStringLiteral("sel_recs"));
        QCOMPARE(w.window.windowTitle(), QStringLiteral("Selected Records"));
        QCOMPARE(w.window.size(), QSize(640, 400));
        w.window.resize(w.window.size() + change);
        QCoreApplication::processEvents();
        QCOMPARE(w.window.size(), QSize(640, 400) + change);
        const QPoint moved(change.width(), change.height());
        QCOMPARE(w.grid()->geometry(), QRect(QPoint(11, 11), QSize(618, 347) + change));
        QCOMPARE(w.button("Command3")->geometry(), QRect(QPoint(257, 364) + moved, QSize(120, 25)));
        QCOMPARE(w.button("Command2")->geometry(), QRect(QPoint(383, 364) + moved, QSize(120, 25)));
        QCOMPARE(w.button("Command1")->geometry(), QRect(QPoint(509, 364) + moved, QSize(120, 25)));
        QCOMPARE((QStringList{w.button("Command3")->text(), w.button("Command2")->text(),
                              w.button("Command1")->text()}),
                 (QStringList{"About...", "Save as Text File", "Exit"}));
        // The count stands at the left of the button row.
        const QRect count = testing::control<QLabel>(&w.window, "Label_count")->geometry();
        QVERIFY(count.left() == 11 && count.right() < w.button("Command3")->geometry().left());
        QVERIFY(count.intersects(QRect(0, w.button("Command3")->geometry().center().y(), 1000, 1)));
    }

    // Tab goes Exit, Save, About, the grid and back to Exit (Shift+Tab the other way), from
    // Exit when the window opens; the grid is a table headed by the headings.
    void theKeyboardReachesEveryControlInTheDesignedOrderAndEachIsNamed() {
        ShownWindow w;
        layOutGrid(w.window.grid(), SampleKind::Invert);
        writeLayerRecordRow(w.window.grid(), 1, {7});
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w.window);
        const auto focused = [window] {
            QAccessibleInterface* child = window->focusChild();
            // In the grid the focus is on its current cell.
            if (child && child->role() == QAccessible::Cell)
                child = child->parent();
            return child ? QStringLiteral("%1 %2").arg(int(child->role())).arg(child->text(QAccessible::Name))
                         : QString();
        };
        const QString exit = QStringLiteral("%1 Exit").arg(int(QAccessible::Button));
        const QString save = QStringLiteral("%1 Save as Text File").arg(int(QAccessible::Button));
        const QString about = QStringLiteral("%1 About...").arg(int(QAccessible::Button));
        const QString grid = QStringLiteral("%1 Selected records").arg(int(QAccessible::Table));
        QCOMPARE(focused(), exit);
        // Four times Tab round the window, then four times Shift+Tab back.
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(w.window.windowHandle(), i < 4 ? Qt::Key_Tab : Qt::Key_Backtab,
                            i < 4 ? Qt::NoModifier : Qt::ShiftModifier);
            visited << focused();
        }
        QCOMPARE(visited, (QStringList{save, about, grid, exit, grid, about, save, exit}));

        QAccessibleTableInterface* table = QAccessible::queryAccessibleInterface(w.grid())->tableInterface();
        QVERIFY(table);
        QStringList headers;
        for (int col = 0; col < table->columnCount(); ++col)
            headers << table->columnDescription(col);
        QStringList headings;
        for (const SchemaField& field : sampleSchema(SampleKind::Invert))
            headings << field.gridHeading;
        QCOMPARE(headers.mid(headers.size() - headings.size()), headings);
    }

    void saveWritesTheGridInTheLayoutOfTheKindShownWhenSavingAndExitOnlyHides() {
        ShownWindow w;
        layOutGrid(w.window.grid(), SampleKind::Fish);
        writeTableRecordRow(w.window.grid(), 1, {42});
        QTemporaryDir dir;
        ScriptedPrompts prompts;
        prompts.saveAnswers = {dir.filePath("fish.txt")};
        w.component = "f";
        QLabel* count = testing::control<QLabel>(&w.window, "Label_count");
        QTRY_COMPARE(count->text(), QStringLiteral("1 record"));
        QTest::mouseClick(w.button("Command2"), Qt::LeftButton);
        QCOMPARE(count->text(), "1 record appended to " + QDir::toNativeSeparators(dir.filePath("fish.txt")));
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
