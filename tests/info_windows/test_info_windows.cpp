#include "info_windows/about_programme_window.h"
#include "info_windows/about_window.h"
#include "info_windows/help_window.h"
#include "info_windows/logo.h"
#include "support/window_driving.h"

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWindow>

using namespace testing;

namespace {

void discardClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The texts of the document's heading blocks, in document order.
QStringList headings(const QTextDocument* document) {
    QStringList result;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            result << block.text().trimmed();
    return result;
}

} // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        discardClosedWindows();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void logoFillsTheRequestedSizeWithAPicture() {
        const QImage logo = quillfenLogo(QSize(120, 46)).toImage();
        QCOMPARE(logo.size(), QSize(120, 46));
        QVERIFY(logo.pixel(2, 2) != logo.pixel(60, 44));
        QVERIFY(quillfenLogo(QSize(0, 0)).isNull());
    }

    void aboutWindowShowsItsTextsAndMoreOpensTheDescriptionOverIt() {
        QWidget main;
        main.show();
        QStringList documentHeadings;
        bool aboutOpenAfterDescription = false;
        QVERIFY(driveModal(
            "about", [&] { showAboutWindow(&main); },
            [&](QWidget* about) {
                QCOMPARE(about->windowTitle(), QString());
                // Shown blank, not replaced by the program's name.
                QCOMPARE(about->windowHandle()->title().trimmed(), QString());
                auto* frame = control<QFrame>(about, "Frame1");
                QCOMPARE(control<QLabel>(frame, "lblCompanyProduct")->text(), QStringLiteral("Quillfen"));
                QCOMPARE(control<QLabel>(frame, "lblVersion")->text(), QStringLiteral("Version 3.2 11/2003"));
                QCOMPARE(control<QLabel>(frame, "lblWarning")->text(), QStringLiteral("Questions/Comments:"));
                QCOMPARE(control<QPushButton>(about, "butAboutTavrel")->text(), QStringLiteral("More..."));
                QVERIFY(driveModal(
                    "about2", [about] { control<QPushButton>(about, "butAboutTavrel")->click(); },
                    [&](QWidget* description) {
                        QCOMPARE(description->parentWidget(), about);
                        QVERIFY(description->isModal());
                        QCOMPARE(description->windowTitle(),
                                 QStringLiteral("About Tavrel and Component Sampling"));
                        QVERIFY(description->findChildren<QPushButton*>().isEmpty());
                        documentHeadings =
                            headings(control<QTextBrowser>(description, "RichTextBox1")->document());
                        description->close();
                    }));
                aboutOpenAfterDescription = about->isVisible() && QApplication::activeModalWidget() == about;
                control<QPushButton>(about, "butClose")->click();
            }));
        QVERIFY(aboutOpenAfterDescription);
        QVERIFY2(documentHeadings.contains(QStringLiteral("Data and Sampling information")),
                 qPrintable(documentHeadings.join(QStringLiteral(" | "))));
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowClosesOnAClickInsideItsFrameOrAnyKey_data() {
        QTest::addColumn<QString>("target"); // the window itself or a control in it
        QTest::addColumn<bool>("key");       // a key press on the target, else a click near its corner
        QTest::addColumn<bool>("closes");
        // A click on a text reaches the frame, and a key press on a button the window.
        QTest::newRow("a click on a text inside the frame") << "lblVersion" << false << true;
        QTest::newRow("a click outside the frame") << "about" << false << false;
        QTest::newRow("a key press while a button has the focus") << "butAboutTavrel" << true << true;
    }
    void aboutWindowClosesOnAClickInsideItsFrameOrAnyKey() {
        QFETCH(QString, target);
        QFETCH(bool, key);
        QFETCH(bool, closes);
        QWidget main;
        const bool closed = driveModal(
            "about", [&] { showAboutWindow(&main); },
            [&](QWidget* about) {
                QWidget* widget = target == "about" ? about : control(about, target);
                if (key)
                    QTest::keyClick(widget, Qt::Key_Q);
                else
                    QTest::mouseClick(widget, Qt::LeftButton, {},
                                      widget->rect().bottomRight() - QPoint(2, 2));
            });
        QCOMPARE(closed, closes);
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void helpWindowIsNotModalShowsItsDocumentAndIsOpenedOnce() {
        QWidget main;
        main.show();
        showHelpWindow(&main);
        QPointer<QWidget> help = topLevelNamed(QStringLiteral("help"));
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(!help->isModal());
        auto* box = control<QTextBrowser>(help, "RichTextBox1");
        const QStringList expected = {
            QStringLiteral("Using the Query and Visualization Tool:"),
            QStringLiteral("1. The Button Bar - Zoom In, Zoom Out, Pan, Full Extent, and Help"),
            QStringLiteral("2. Graphical Query"),
            QStringLiteral("3. Logical Query"),
            QStringLiteral("4. View Selected Records"),
            QStringLiteral("5. Save as Windows Bitmap"),
            QStringLiteral("For help/comments etc:"),
        };
        QCOMPARE(headings(box->document()), expected);
        const QString text = box->toPlainText();
        QVERIFY2(!text.contains(QStringLiteral("{{")), "a placeholder was left in the document");
        QVERIFY(text.contains(QStringLiteral("@example.org")));

        // A second call raises the same window; once closed, it is discarded and a new one opens.
        help->hide();
        showHelpWindow(&main);
        QVERIFY(help->isVisible());
        QCOMPARE(main.findChildren<HelpWindow*>().size(), 1);
        control<QPushButton>(help, "butClose")->click();
        discardClosedWindows();
        QVERIFY(help.isNull());
        showHelpWindow(&main);
        QPointer<QWidget> reopened = topLevelNamed(QStringLiteral("help"));
        QVERIFY(reopened);
        reopened->close();
        discardClosedWindows();
        QVERIFY(reopened.isNull());
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "test_info_windows.moc"
