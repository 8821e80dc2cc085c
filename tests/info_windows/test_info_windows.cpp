#include "info_windows/about_programme_window.h"
#include "info_windows/about_window.h"
#include "info_windows/help_window.h"
#include "info_windows/logo.h"

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
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

QWidget* topLevelNamed(const QString& objectName) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName && widget->isVisible())
            return widget;
    return nullptr;
}

// Runs `openModal` (which blocks in a modal window) while `whileOpen` acts on the window once the
// modal loop is running. Returns false when the windows did not close by themselves: they are then
// closed from outside, so that the test reports the failure instead of hanging.
bool driveModal(const std::function<void()>& openModal, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, whileOpen);
    bool rescued = false;
    QTimer rescue;
    rescue.setSingleShot(true);
    rescue.setInterval(5000);
    QObject::connect(&rescue, &QTimer::timeout, [&rescued] {
        rescued = true;
        while (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    rescue.start();
    openModal();
    return !rescued;
}

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

QString labelText(QWidget* window, const char* name) {
    auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
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

    void aboutWindowOpensModallyWithItsTextsInsideTheFrame() {
        QWidget main;
        main.show();
        bool inspected = false;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [&] {
                               QWidget* about = QApplication::activeModalWidget();
                               QVERIFY(about);
                               QCOMPARE(about->objectName(), QStringLiteral("about"));
                               QCOMPARE(about->windowTitle(), QString());
                               // Shown blank, not replaced by the program's name.
                               QCOMPARE(about->windowHandle()->title().trimmed(), QString());
                               auto* frame = about->findChild<QFrame*>(QStringLiteral("Frame1"));
                               QVERIFY(frame);
                               const QStringList texts{"Quillfen", "Version 3.2 11/2003", "Questions/Comments:"};
                               const char* names[] = {"lblCompanyProduct", "lblVersion", "lblWarning"};
                               for (int i = 0; i < 3; ++i)
                                   QCOMPARE(labelText(frame, names[i]), texts.at(i));
                               QCOMPARE(about->findChild<QPushButton*>(QStringLiteral("butAboutTavrel"))->text(),
                                        QStringLiteral("More..."));
                               inspected = true;
                               about->findChild<QPushButton*>(QStringLiteral("butClose"))->click();
                           }));
        QVERIFY(inspected);
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowClosesOnAClickInsideItsFrameOrAnyKey_data() {
        QTest::addColumn<QString>("target"); // the window itself or a control in it
        QTest::addColumn<bool>("key");       // a key press on the target, else a click near its corner
        QTest::addColumn<bool>("closes");
        QTest::newRow("a click on the frame") << "Frame1" << false << true;
        QTest::newRow("a click on a text inside the frame") << "lblVersion" << false << true;
        QTest::newRow("a click outside the frame") << "about" << false << false;
        QTest::newRow("a key press") << "about" << true << true;
        QTest::newRow("a key press while a button has the focus") << "butAboutTavrel" << true << true;
    }
    void aboutWindowClosesOnAClickInsideItsFrameOrAnyKey() {
        QFETCH(QString, target);
        QFETCH(bool, key);
        QFETCH(bool, closes);
        QWidget main;
        bool stillOpen = true;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [&] {
                               QWidget* about = QApplication::activeModalWidget();
                               QWidget* widget = target == "about" ? about : about->findChild<QWidget*>(target);
                               if (key)
                                   QTest::keyClick(widget, Qt::Key_Q);
                               else
                                   QTest::mouseClick(widget, Qt::LeftButton, {},
                                                     widget->rect().bottomRight() - QPoint(2, 2));
                               stillOpen = about->isVisible();
                               about->close();
                           }));
        QCOMPARE(stillOpen, !closes);
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void moreOpensTheDescriptionOverTheAboutWindowAndReturnsToIt() {
        QWidget main;
        QString descriptionParent;
        QStringList documentHeadings;
        bool descriptionWasModalAndReadOnly = false;
        bool aboutOpenAfterDescription = false;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [&] {
                               QWidget* about = QApplication::activeModalWidget();
                               QTimer::singleShot(0, [&] {
                                   QWidget* description = QApplication::activeModalWidget();
                                   QVERIFY(description);
                                   QCOMPARE(description->objectName(), QStringLiteral("about2"));
                                   QCOMPARE(description->windowTitle(),
                                            QStringLiteral("About Tavrel and Component Sampling"));
                                   QVERIFY(description->findChildren<QPushButton*>().isEmpty());
                                   auto* box = description->findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
                                   QVERIFY(box);
                                   descriptionWasModalAndReadOnly = description->isModal() && box->isReadOnly();
                                   documentHeadings = headings(box->document());
                                   descriptionParent = description->parentWidget()->objectName();
                                   description->close();
                               });
                               about->findChild<QPushButton*>(QStringLiteral("butAboutTavrel"))->click();
                               aboutOpenAfterDescription =
                                   about->isVisible() && QApplication::activeModalWidget() == about;
                               about->close();
                           }));
        QVERIFY(descriptionWasModalAndReadOnly);
        QCOMPARE(descriptionParent, QStringLiteral("about"));
        QVERIFY(aboutOpenAfterDescription);
        QVERIFY2(documentHeadings.contains(QStringLiteral("Data and Sampling information")),
                 qPrintable(documentHeadings.join(QStringLiteral(" | "))));
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
        auto* box = help->findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
        QVERIFY(box && box->isReadOnly());
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
        help->findChild<QPushButton*>(QStringLiteral("butClose"))->click();
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
