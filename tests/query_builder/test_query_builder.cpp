#include "../mapcontrol/test_data.h"

#include "catalogue/pick_lists.h"
#include "catalogue/sample_schema.h"
#include "query_builder/query_host.h"
#include "query_builder/query_window.h"
#include "query_builder/search_expression.h"
#include "support/scripted_prompts.h"
#include "support/test_main.h"
#include "support/window_driving.h"
#include "tabledb/table_database.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace quillfen;

namespace {

class FakeHost : public QueryHost {
public:
    explicit FakeHost(const QString& letter) : letter(letter) {}
    QString component() const override { return letter; }
    void beginSubmit() override { calls << QStringLiteral("begin"); }
    void acceptSubmit() override { calls << QStringLiteral("accept"); }

    QString letter;
    QStringList calls;
};

/// A query window for a kind, shown so that its lists lay out their items for clicking.
struct Fixture {
    explicit Fixture(const QString& letter) : host(letter), window(host) {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qFatal("the query window was not shown");
    }

    template <typename T> T* control(const QString& name) { return testing::control<T>(&window, name); }
    QListWidget* parameters() { return control<QListWidget>("List1"); }
    QListWidget* operators() { return control<QListWidget>("List2"); }
    QComboBox* value() { return control<QComboBox>("Combo1"); }
    QString display() { return control<QLabel>("query_window")->text(); }

    /// Plays a user's steps: "pick P" and "op O" click the lists, "type T" types into the value
    /// box, "paste T" replaces its text, "down" moves to the next label, "back" deletes the last
    /// character, "and", "or", "clear", "submit" and "cancel" press their buttons, and "shows T"
    /// checks the display. Check QTest::currentTestFailed() afterwards.
    void play(const QStringList& steps) {
        const QHash<QString, QString> buttons = {{"and", "button_and"},
                                                 {"or", "button_or"},
                                                 {"clear", "button_clear"},
                                                 {"submit", "Command2"},
                                                 {"cancel", "Command1"}};
        for (const QString& step : steps) {
            const QString verb = step.section(' ', 0, 0);
            const QString text = step.mid(verb.size() + 1);
            if (verb == "pick" || verb == "op") {
                testing::clickListItem(verb == "pick" ? parameters() : operators(), text);
            } else if (verb == "type") { // with the keyboard focus in the value box, as a user types
                window.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&window));
                value()->setFocus();
                QTest::keyClicks(value()->lineEdit(), text);
            } else if (verb == "paste") {
                value()->lineEdit()->selectAll();
                value()->lineEdit()->insert(text);
            } else if (verb == "down") {
                QTest::keyClick(value(), Qt::Key_Down);
            } else if (verb == "back") {
                QTest::keyClick(value()->lineEdit(), Qt::Key_Backspace);
            } else if (verb == "shows") {
                QCOMPARE(display(), text);
            } else {
                QTest::mouseClick(control<QPushButton>(buttons.value(verb, step)), Qt::LeftButton);
            }
        }
    }

    FakeHost host;
    QueryWindow window;
    ScriptedPrompts prompts;
};

const QString kValueNotEntered = QStringLiteral("Value not entered.");
const QString kOxygenNotANumber = QStringLiteral("Value of Dissolved Oxygen not a number.");

} // namespace

class TestQueryBuilder : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    // A water-quality layer of four samples, some of whose texts look like SQL.
    void initTestCase() {
        QVERIFY(folder_.isValid());
        testdata::writeShapes(folder_.path(), "kxw93sm", QStringList(4, "POINT (1 1)"),
                              {{"barcode", {1, 2, 3, 4}},
                               {"dis_oxygen", {3.0, 7.5, -99.0, 0.5}},
                               {"stratum_c", {"Main Channel", "Side Channel", "it's", "x' OR 'a'='a"}}});
    }

    void userStepsBuildTheDisplayAndSubmitChecksThemInOrder_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("expression"); // of the condition after the steps, when given
        const QStringList none;
        const QStringList refused{"begin"};
        const QStringList accepted{"begin", "accept"};
        QTest::newRow("each step of the first condition")
            << "w"
            << QStringList{"pick Dissolved Oxygen",
                           "shows Dissolved Oxygen  ",
                           "op <",
                           "shows Dissolved Oxygen < ",
                           "type 5",
                           "shows Dissolved Oxygen < 5",
                           "pick Stratum",
                           "shows Stratum = Isolated",
                           "down",
                           "shows Stratum = Backwater Contiguous",
                           "op >",
                           "shows Stratum > Backwater Contiguous"}
            << none << none << "stratum_c > 'Backwater Contiguous'";
        QTest::newRow("typing shows each character")
            << "i" << QStringList{"pick Mayflies", "op >",
                                  "type 1",        "shows Mayflies > 1",
                                  "type 2",        "shows Mayflies > 12",
                                  "type .",        "shows Mayflies > 12.",
                                  "type 5",        "shows Mayflies > 12.5",
                                  "back",          "shows Mayflies > 12."}
            << none << none << "mayflies > 12. AND mayflies <> -99";
        QTest::newRow("the first connector wins and freezes the first condition")
            << "w"
            << QStringList{"pick Dissolved Oxygen",
                           "op <",
                           "type 5",
                           "and",
                           "shows Dissolved Oxygen < 5 AND",
                           "or",
                           "shows Dissolved Oxygen < 5 AND",
                           "pick Temperature",
                           "shows Dissolved Oxygen < 5 AND Temperature < ",
                           "type 20",
                           "shows Dissolved Oxygen < 5 AND Temperature < 20"}
            << none << none << "dis_oxygen < 5 AND dis_oxygen <> -99 AND temp < 20 AND temp <> -99";
        QTest::newRow("a connector before any pick shows three empty parts")
            << "w" << QStringList{"and", "shows    AND", "op >", "shows    AND  > "} << none << none << "";
        // After Clear the controls keep their selection and the next click captures them into the
        // first condition, quoted because the parameter is now coded, not numeric as Secchi was.
        QTest::newRow("clear keeps the controls for the next click")
            << "w" << QStringList{"pick Secchi", "op <",         "type 30",
                                  "or",          "pick Stratum", "clear",
                                  "shows ",      "op =",         "shows Stratum = Isolated",
                                  "clear",       "op <",         "shows Stratum < Isolated"}
            << none << none << "stratum_c < 'Isolated'";
        QTest::newRow("a parameter captured again after a connector keeps its quoting")
            << "w" << QStringList{"pick Stratum", "op =", "and", "op ="} << none << none
            << "stratum_c = 'Isolated' AND stratum_c = 'Isolated'";
        QTest::newRow("an empty preset value is refused until the user picks one")
            << "v"
            << QStringList{"pick Site Unvegetated", "submit", "down", "shows Site Unvegetated = U", "submit"}
            << QStringList{kValueNotEntered} << QStringList{"begin", "begin", "accept"} << "unveg = 'U'";
        QTest::newRow("the fish species list presets '=' and no value")
            << "f" << QStringList{"pick Gear", "op <", "pick Species", "shows Species = ", "submit"}
            << QStringList{kValueNotEntered} << refused << "";
        QTest::newRow("checks run in order")
            << "w" << QStringList{"submit", "type 5", "submit", "op <", "submit"}
            << QStringList{kValueNotEntered, "Operator not selected.", "Parameter not selected."}
            << QStringList{"begin", "begin", "begin"} << "";
        QTest::newRow("submit straight after a connector or clear is refused")
            << "w" << QStringList{"pick Velocity", "op >",   "type 1", "and",   "submit",
                                  "clear",         "submit", "type 5", "submit"}
            << QStringList{kValueNotEntered, kValueNotEntered}
            << QStringList{"begin", "begin", "begin", "accept"} << "velocity > 15 AND velocity <> -99";
        QTest::newRow("an incomplete first condition is refused after a connector")
            << "w" << QStringList{"pick Temperature", "and", "pick pH", "op <", "type 8", "submit"}
            << QStringList{kValueNotEntered} << refused << "";
        QTest::newRow("a successful submit hands off and ends the window accepted")
            << "f" << QStringList{"pick Stratum", "down",         "down",          "down",  "down",
                                  "and",          "pick Species", "type Bluegill", "submit"}
            << none << accepted << "stratum = 'Backwater-offshore' AND species = 'Bluegill'";
        QTest::newRow("OR joins a coded and a numeric condition, each quoted by its own parameter")
            << "w" << QStringList{"pick Stratum", "op =", "or", "pick Total P", "op >", "type 0.1", "submit"}
            << none << accepted << "stratum_c = 'Isolated' OR total_phos > 0.1 AND total_phos <> -99";
        QTest::newRow("every apostrophe of a second coded value is doubled")
            << "f" << QStringList{"pick Fish Count", "op >", "type 2", "and", "pick Species", "type 'a'b'"}
            << none << none << "count > 2 AND count <> -99 AND species = '''a''b'''";
        QTest::newRow("cancel hands nothing over")
            << "w" << QStringList{"pick Silica", "op >", "type 3", "cancel"} << none << none << "";
    }
    void userStepsBuildTheDisplayAndSubmitChecksThemInOrder() {
        QFETCH(QString, letter);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, calls);
        QFETCH(QString, expression);
        Fixture f(letter);
        f.play(steps);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(f.prompts.messages, messages);
        QCOMPARE(f.host.calls, calls);
        const bool accepted = calls.endsWith("accept");
        QCOMPARE(f.window.isVisible(), !accepted && steps.last() != "cancel");
        QCOMPARE(f.window.result() == QDialog::Accepted, accepted);
        if (!expression.isEmpty()) {
            SampleKind kind{};
            QVERIFY(kindFromLetter(letter, &kind));
            QCOMPARE(buildSearchExpression(kind, f.window.condition), expression);
        }
    }

    // A numeric value goes into the search unquoted: anything but a decimal number is refused
    // at Submit Query. A coded value is quoted: whatever it holds is compared as text.
    void hostileValuesAreRefusedOrSearchedAsTyped_data() {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("secondTyped"); // "Dissolved Oxygen >" after AND, when given
        QTest::addColumn<QString>("message");
        QTest::addColumn<QVariantList>("barcodes");
        const QString oxygen = QStringLiteral("Dissolved Oxygen");
        const QString stratum = QStringLiteral("Stratum");
        for (const char* number : {"0) UNION ALL SELECT 0, zeroblob(999999), 0 FROM kxw93sm a, kxw93sm b --",
                                   "0 OR replace(hex(zeroblob(499999)),'0','a') LIKE '*'",
                                   "fts3_tokenizer('porter')",
                                   "5; DELETE FROM kxw93sm",
                                   "5 OR 1=1",
                                   "abc",
                                   "5 ",
                                   " 5",
                                   "1.2.3",
                                   "1e",
                                   "e5",
                                   ".",
                                   "+",
                                   "0x10",
                                   "1,5",
                                   "inf",
                                   "NaN",
                                   "--5",
                                   "5-",
                                   "\u0665",
                                   "\uFF15"})
            QTest::newRow(number) << oxygen << QString::fromUtf8(number) << QString() << kOxygenNotANumber
                                  << QVariantList();
        QTest::newRow("a bad second value") << oxygen << "5"
                                            << "abc" << kOxygenNotANumber << QVariantList();
        QTest::newRow("5") << oxygen << "5" << QString() << QString() << QVariantList{1, 4};
        QTest::newRow("+.6") << oxygen << "+.6" << QString() << QString() << QVariantList{4};
        QTest::newRow("8.") << oxygen << "8." << QString() << QString() << QVariantList{1, 2, 4};
        QTest::newRow("1E1") << oxygen << "1E1" << QString() << QString() << QVariantList{1, 2, 4};
        QTest::newRow("-1.5e+1") << oxygen << "-1.5e+1" << QString() << QString() << QVariantList();
        QTest::newRow("two numbers") << oxygen << "5"
                                     << "0.1e1" << QString() << QVariantList{1};
        QTest::newRow("text with an apostrophe")
            << stratum << "it's" << QString() << QString() << QVariantList{3};
        QTest::newRow("text that reads as a condition")
            << stratum << "x' OR 'a'='a" << QString() << QString() << QVariantList{4};
        QTest::newRow("text that ends the statement")
            << stratum << "' OR 1=1; DELETE FROM kxw93sm --" << QString() << QString() << QVariantList();
    }
    void hostileValuesAreRefusedOrSearchedAsTyped() {
        QFETCH(QString, parameter);
        QFETCH(QString, typed);
        QFETCH(QString, secondTyped);
        QFETCH(QString, message);
        QFETCH(QVariantList, barcodes);
        Fixture f("w");
        // Pasted over the value box's text (the first label of a coded parameter is preset).
        QStringList steps{"pick " + parameter, parameter == "Stratum" ? "op =" : "op <", "paste " + typed};
        if (!secondTyped.isEmpty())
            steps << "and"
                  << "pick Dissolved Oxygen"
                  << "op >"
                  << "type " + secondTyped;
        f.play(steps << "submit");
        if (!message.isEmpty()) {
            QCOMPARE(f.prompts.messages, QStringList{message});
            QCOMPARE(f.host.calls, QStringList{"begin"});
            QVERIFY(f.window.isVisible());
            return;
        }
        QVERIFY2(f.prompts.messages.isEmpty(), qPrintable(f.prompts.messages.join('|')));
        tabledb::Engine engine;
        tabledb::SelectResult result =
            engine.open(folder_.path())
                .selectRecords("kxw93sm", buildSearchExpression(SampleKind::Water, f.window.condition));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVariantList found;
        for (; !result.records.atEnd(); result.records.next())
            found << result.records.value("barcode");
        QCOMPARE(found, barcodes);
    }

    void theKeyboardStartsOnSubmitQueryTabsInOrderAndEnterAndEscDoNothing() {
        Fixture f("w");
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Build Query"));
        QCOMPARE(QApplication::focusWidget(), f.control<QPushButton>("Command2"));
        for (const char* expected : {"List2", "List1", "Command1", "Combo1", "button_and", "button_or",
                                     "button_clear", "Command2"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(expected));
        }

        // Enter and Esc do nothing by themselves.
        f.play({"pick pH", "op >", "type 8"});
        for (QPushButton* button : f.window.findChildren<QPushButton*>()) {
            QVERIFY2(!button->autoDefault() && !button->isDefault(), qPrintable(button->objectName()));
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter);
        }
        QTest::keyClick(f.value()->lineEdit(), Qt::Key_Return);
        QTest::keyClick(f.value()->lineEdit(), Qt::Key_Escape);
        QTest::keyClick(&f.window, Qt::Key_Escape);
        QVERIFY(f.window.isVisible());
        QVERIFY(f.host.calls.isEmpty());
        QCOMPARE(f.display(), QStringLiteral("pH > 8"));
        QCOMPARE(f.value()->count(), 0); // a typed value is never added to the labels
    }

    // A screen reader names the lists by their name, the value box (whose name is its text) by
    // the label that labels it.
    void theListsAndTheValueBoxAreNamedByTheirCaptions_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("role");
        QTest::addColumn<bool>("byLabel");
        QTest::addColumn<QString>("caption");
        QTest::newRow("parameters") << "List1" << int(QAccessible::List) << false << "Parameter";
        QTest::newRow("operators") << "List2" << int(QAccessible::List) << false << "Operator";
        QTest::newRow("value") << "Combo1" << int(QAccessible::ComboBox) << true << "Value";
    }
    void theListsAndTheValueBoxAreNamedByTheirCaptions() {
        QFETCH(QString, control);
        QFETCH(int, role);
        QFETCH(bool, byLabel);
        QFETCH(QString, caption);
        Fixture f("w");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(f.control<QWidget>(control));
        QVERIFY(accessible);
        QCOMPARE(int(accessible->role()), role);
        QStringList labels;
        for (const auto& [label, relation] : accessible->relations(QAccessible::Label))
            labels << label->text(QAccessible::Name);
        QCOMPARE(byLabel ? labels.value(0) : accessible->text(QAccessible::Name), caption);
    }

    void eachKindListsItsParametersAndEachOffersItsListOrItsUnit_data() {
        QTest::addColumn<QString>("letter");
        for (const char* letter : {"w", "i", "f", "v"})
            QTest::newRow(letter) << QString(letter);
    }
    void eachKindListsItsParametersAndEachOffersItsListOrItsUnit() {
        QFETCH(QString, letter);
        Fixture f(letter);
        SampleKind kind{};
        QVERIFY(kindFromLetter(letter, &kind));
        const QVector<SchemaField> parameters = queryParameters(kind);
        const int count = f.parameters()->count();
        QVERIFY(count > 0);
        QCOMPARE(count, parameters.size());
        QVERIFY(!f.parameters()->horizontalScrollBar()->isVisible());
        QCOMPARE(f.display(), QString());
        // Picked in list order, so each numeric parameter picked after a coded one also shows
        // that switching empties the value box, shows the unit and keeps "=".
        for (int i = 0; i < count; ++i) {
            const SchemaField& parameter = parameters.at(i);
            // A name wider than the list is elided there and read whole in its tooltip.
            QCOMPARE(f.parameters()->item(i)->text(), parameter.queryName);
            QCOMPARE(f.parameters()->item(i)->toolTip(), parameter.queryName);
            f.play({"pick " + parameter.queryName});
            const PickList& list = pickList(parameter.pickList);
            const bool numeric = parameter.valueClass == ValueClass::Number;
            // Only these two lists leave the value box empty until the user picks a label.
            const bool leftEmpty =
                parameter.queryName == "Site Unvegetated" || parameter.pickList == PickListId::FishSpecies;
            const QString value = numeric || leftEmpty ? QString() : list.labels.first();
            QStringList labels;
            for (int label = 0; label < f.value()->count(); ++label)
                labels << f.value()->itemText(label);
            QVERIFY2(labels == list.labels, qPrintable(parameter.queryName));
            QCOMPARE(f.control<QLabel>("Label7")->text(), numeric ? parameter.unit : list.caption);
            QCOMPARE(f.value()->currentText(), value);
            QCOMPARE(f.window.condition.query_param1_string_flag, !numeric);
            QVERIFY(f.operators()->findItems("=", Qt::MatchExactly).constFirst()->isSelected());
            QCOMPARE(f.display(), parameter.queryName + " = " + value);
        }
    }
};

QUILLFEN_TEST(TestQueryBuilder)
#include "test_query_builder.moc"
