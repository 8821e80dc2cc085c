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
        QVERIFY(
            driveModal([&] { showAboutWindow(&main); },
                       [&] {
                           QWidget* about = QApplication::activeModalWidget();
                           QVERIFY(about);
                           QCOMPARE(about->objectName(), QStringLiteral("about"));
                           QCOMPARE(about->windowTitle(), QString());
                           // Shown blank, not replaced by the program's name.
                           QCOMPARE(about->windowHandle()->title().trimmed(), QString());
                           auto* frame = about->findChild<QFrame*>(QStringLiteral("Frame1"));
                           QVERIFY(frame);
                           for (const char* name : {"lblCompanyProduct", "lblVersion", "lblWarning"})
                               QVERIFY2(frame->findChild<QLabel*>(QString::fromLatin1(name)), name);
                           QCOMPARE(labelText(about, "lblCompanyProduct"), QStringLiteral("Quillfen"));
                           QCOMPARE(labelText(about, "lblVersion"), QStringLiteral("Version 3.2 11/2003"));
                           QCOMPARE(labelText(about, "lblWarning"), QStringLiteral("Questions/Comments:"));
                           QCOMPARE(about->findChild<QPushButton*>(QStringLiteral("butAboutTavrel"))->text(),
                                    QStringLiteral("More..."));
                           inspected = true;
                           about->findChild<QPushButton*>(QStringLiteral("butClose"))->click();
                       }));
        QVERIFY(inspected);
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowClosesOnAClickOnItsFrame() {
        QWidget main;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [] {
                               auto* frame = QApplication::activeModalWidget()->findChild<QFrame*>(
                                   QStringLiteral("Frame1"));
                               QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, frame->height() - 3));
                           }));
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowClosesOnAClickOnATextInsideItsFrame() {
        QWidget main;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [] {
                               auto* version = QApplication::activeModalWidget()->findChild<QLabel*>(
                                   QStringLiteral("lblVersion"));
                               QTest::mouseClick(version, Qt::LeftButton);
                           }));
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowClosesOnAKeyPressEvenWhenAButtonHasTheFocus() {
        QWidget main;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_A); }));
        QVERIFY(!main.findChild<AboutWindow*>());

        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [] {
                               auto* more = QApplication::activeModalWidget()->findChild<QPushButton*>(
                                   QStringLiteral("butAboutTavrel"));
                               QTest::keyClick(more, Qt::Key_Q);
                           }));
        QVERIFY(!main.findChild<AboutWindow*>());
    }

    void aboutWindowIgnoresAClickOutsideItsFrame() {
        QWidget main;
        bool stillOpen = false;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [&] {
                               QWidget* about = QApplication::activeModalWidget();
                               QTest::mouseClick(about, Qt::LeftButton, {},
                                                 QPoint(about->width() - 2, about->height() - 2));
                               stillOpen = about->isVisible();
                               about->close();
                           }));
        QVERIFY(stillOpen);
    }

    void moreOpensTheDescriptionOverTheAboutWindowAndReturnsToIt() {
        QWidget main;
        QString descriptionParent;
        bool descriptionWasModal = false;
        bool aboutOpenAfterDescription = false;
        QVERIFY(driveModal([&] { showAboutWindow(&main); },
                           [&] {
                               QWidget* about = QApplication::activeModalWidget();
                               QTimer::singleShot(0, [&] {
                                   QWidget* description = QApplication::activeModalWidget();
                                   QVERIFY(description);
                                   QCOMPARE(description->objectName(), QStringLiteral("about2"));
                                   descriptionWasModal = description->isModal();
                                   descriptionParent = description->parentWidget()->objectName();
                                   description->close();
                               });
                               about->findChild<QPushButton*>(QStringLiteral("butAboutTavrel"))->click();
                               aboutOpenAfterDescription =
                                   about->isVisible() && QApplication::activeModalWidget() == about;
                               about->close();
                           }));
        QVERIFY(descriptionWasModal);
        QCOMPARE(descriptionParent, QStringLiteral("about"));
        QVERIFY(aboutOpenAfterDescription);
    }

    void descriptionWindowShowsTheProgrammeDocument() {
        QWidget records;
        QStringList documentHeadings;
        bool readOnly = false;
        QVERIFY(driveModal([&] { showAboutProgrammeWindow(&records); },
                           [&] {
                               QWidget* description = QApplication::activeModalWidget();
                               QVERIFY(description);
                               QCOMPARE(description->windowTitle(),
                                        QStringLiteral("About Tavrel and Component Sampling"));
                               QVERIFY(description->findChildren<QPushButton*>().isEmpty());
                               auto* box =
                                   description->findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
                               QVERIFY(box);
                               readOnly = box->isReadOnly();
                               documentHeadings = headings(box->document());
                               description->close();
                           }));
        QVERIFY(readOnly);
        QVERIFY2(documentHeadings.contains(QStringLiteral("Data and Sampling information")),
                 qPrintable(documentHeadings.join(QStringLiteral(" | "))));
        QVERIFY(!records.findChild<AboutProgrammeWindow*>());
    }

    void helpWindowIsNotModalAndASecondCallRaisesTheSameWindow() {
        QWidget main;
        main.show();
        showHelpWindow(&main);
        QPointer<QWidget> help = topLevelNamed(QStringLiteral("help"));
        QVERIFY(help);
        QCOMPARE(help->windowTitle(), QStringLiteral("Help"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(!help->isModal());

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

    void helpDocumentHoldsItsSectionsInOrderAndEndsWithTheContact() {
        QWidget main;
        showHelpWindow(&main);
        QPointer<QWidget> help = topLevelNamed(QStringLiteral("help"));
        QVERIFY(help);
        auto* box = help->findChild<QTextBrowser*>(QStringLiteral("RichTextBox1"));
        QVERIFY(box);
        QVERIFY(box->isReadOnly());
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
        help->close();
    }
};

QTEST_MAIN(InfoWindowsTest)
#include "test_info_windows.moc"
