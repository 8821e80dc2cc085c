#include "test_query_window.h"

#include "app/user_prompts.h"
#include "query_builder/query_host.h"
#include "query_builder/query_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
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
        exposed = QTest::qWaitForWindowExposed(&window);
    }

    template <typename T> T* control(const char* name) {
        T* widget = window.findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QListWidget* parameters() { return control<QListWidget>("List1"); }
    QListWidget* operators() { return control<QListWidget>("List2"); }
    QComboBox* value() { return control<QComboBox>("Combo1"); }
    QString display() { return control<QLabel>("query_window")->text(); }
    QString unit() { return control<QLabel>("Label7")->text(); }
    QString selected(QListWidget* list) {
        const QList<QListWidgetItem*> items = list->selectedItems();
        return items.isEmpty() ? QString() : items.constFirst()->text();
    }
    QStringList valueLabels() {
        QStringList labels;
        for (int i = 0; i < value()->count(); ++i)
            labels << value()->itemText(i);
        return labels;
    }

    void click(QListWidget* list, const QString& text) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
        if (found.isEmpty())
            qFatal("no item %s", qPrintable(text));
        list->scrollToItem(found.constFirst());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found.constFirst()).center());
    }
    void pick(const QString& parameter) { click(parameters(), parameter); }
    void pickOperator(const QString& oper) { click(operators(), oper); }
    void press(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    /// Types into the value box with the keyboard focus in it, as a user does.
    void type(const QString& text) {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("query window not active");
        value()->setFocus();
        QTest::keyClicks(value()->lineEdit(), text);
    }
    void retype(const QString& text) {
        QTest::keyClick(value()->lineEdit(), Qt::Key_A, Qt::ControlModifier);
        type(text);
    }
    /// Moves the value box's selection down by one label, as the arrow key does.
    void nextLabel() { QTest::keyClick(value(), Qt::Key_Down); }

    FakeHost host;
    QueryWindow window;
    ScriptedPrompts prompts;
    bool exposed = false;
};

} // namespace

void TestQueryWindow::windowOpensWithTheFocusOnSubmitQueryAndTabsInItsOrder() {
    Fixture f("w");
    QVERIFY(f.exposed);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QCOMPARE(f.window.objectName(), QStringLiteral("query"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Build Query"));
    QCOMPARE(QApplication::focusWidget(), f.control<QPushButton>("Command2"));

    const QStringList order = {"List2",      "List1",     "Command1",     "Combo1",
                               "button_and", "button_or", "button_clear", "Command2"};
    for (const QString& expected : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), expected);
    }
}

void TestQueryWindow::enterAndEscDoNothingByThemselves() {
    Fixture f("w");
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.pick("pH");
    f.pickOperator(">");
    f.type("8");
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

void TestQueryWindow::parameterListFollowsTheKindLetter_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("water quality") << "w" << 18 << "Stratum"
                                   << "Chlorophyll fl1";
    QTest::newRow("macro-invertebrates") << "i" << 16 << "Stratum"
                                         << "Zebra Mussels";
    QTest::newRow("fish") << "f" << 10 << "Species"
                          << "Catch Effort";
    QTest::newRow("vegetation") << "v" << 15 << "Detritus"
                                << "Species";
    QTest::newRow("an unknown letter gives none") << "x" << 0 << ""
                                                  << "";
    QTest::newRow("no letter gives none") << "" << 0 << ""
                                          << "";
}

void TestQueryWindow::parameterListFollowsTheKindLetter() {
    QFETCH(QString, letter);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    Fixture f(letter);
    QListWidget* list = f.parameters();
    QCOMPARE(list->count(), count);
    if (count > 0) {
        QCOMPARE(list->item(0)->text(), first);
        QCOMPARE(list->item(count - 1)->text(), last);
    }
    QCOMPARE(f.display(), QString());
}

void TestQueryWindow::displayShowsEachStepOfTheFirstCondition() {
    Fixture f("w");
    f.pick("Dissolved Oxygen");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen  "));
    QCOMPARE(f.unit(), QStringLiteral("milligrams per liter"));
    f.pickOperator("<");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < "));
    f.type("5");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5"));
    f.pick("Stratum");
    QCOMPARE(f.display(), QStringLiteral("Stratum = Isolated"));
    QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
    QCOMPARE(f.value()->currentText(), QStringLiteral("Isolated"));
    f.nextLabel();
    QCOMPARE(f.display(), QStringLiteral("Stratum = Backwater Contiguous"));
    f.pickOperator(">");
    QCOMPARE(f.display(), QStringLiteral("Stratum > Backwater Contiguous"));
    QCOMPARE(f.window.condition.query_param_1, QStringLiteral("Stratum"));
    QCOMPARE(f.window.condition.query_oper_1, QStringLiteral(">"));
    QCOMPARE(f.window.condition.query_value_1, QStringLiteral("Backwater Contiguous"));
    QVERIFY(f.window.condition.query_param1_string_flag);
    QVERIFY(!f.window.condition.query_compound_flag);
}

void TestQueryWindow::typingUpdatesTheDisplayPerCharacter() {
    Fixture f("i");
    f.pick("Mayflies");
    f.pickOperator(">");
    const QStringList shown = {"Mayflies > 1", "Mayflies > 12", "Mayflies > 12.", "Mayflies > 12.5"};
    for (int i = 0; i < shown.size(); ++i) {
        f.type(QString(QStringLiteral("12.5").at(i)));
        QCOMPARE(f.display(), shown[i]);
    }
    QTest::keyClick(f.value()->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(f.display(), QStringLiteral("Mayflies > 12."));
    QCOMPARE(f.window.condition.query_value_1, QStringLiteral("12."));
}

void TestQueryWindow::firstConnectorWinsAndFreezesTheFirstCondition() {
    Fixture f("w");
    f.pick("Dissolved Oxygen");
    f.pickOperator("<");
    f.type("5");
    f.press("button_and");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND"));
    f.press("button_or");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND"));
    QCOMPARE(f.window.condition.query_connector, QStringLiteral("AND"));
    QVERIFY(f.window.condition.query_compound_flag);

    f.pick("Temperature");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND Temperature < "));
    f.type("20");
    QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND Temperature < 20"));
    QCOMPARE(f.window.condition.query_param_1, QStringLiteral("Dissolved Oxygen"));
    QCOMPARE(f.window.condition.query_value_1, QStringLiteral("5"));
    QCOMPARE(f.window.condition.query_param_2, QStringLiteral("Temperature"));
    QCOMPARE(f.window.condition.query_value_2, QStringLiteral("20"));
}

void TestQueryWindow::connectorBeforeAnyPickShowsThreeEmptyParts() {
    Fixture f("w");
    f.press("button_and");
    QCOMPARE(f.display(), QStringLiteral("   AND"));
    f.pickOperator(">");
    QCOMPARE(f.display(), QStringLiteral("   AND  > "));
}

void TestQueryWindow::clearKeepsTheControlsAndTheNextClickCapturesThem() {
    Fixture f("w");
    f.pick("Secchi");
    f.pickOperator("<");
    f.type("30");
    f.press("button_or");
    f.pick("Stratum");
    f.press("button_clear");

    QCOMPARE(f.display(), QString());
    QVERIFY(!f.window.condition.query_compound_flag);
    QCOMPARE(f.window.condition.query_connector, QString());
    QCOMPARE(f.window.condition.query_param_1, QString());
    QCOMPARE(f.window.condition.query_param_2, QString());
    QCOMPARE(f.selected(f.parameters()), QStringLiteral("Stratum"));
    QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
    QCOMPARE(f.value()->currentText(), QStringLiteral("Isolated"));
    QCOMPARE(f.value()->count(), 5);
    QVERIFY(f.window.condition.query_param1_string_flag == false); // set for the first condition by Secchi
    QVERIFY(f.window.condition.query_param2_string_flag);          // set for the second by Stratum

    // A click on the operator that is already selected captures into the first condition.
    f.pickOperator("=");
    QCOMPARE(f.display(), QStringLiteral("Stratum = Isolated"));
    QCOMPARE(f.window.condition.query_param_1, QStringLiteral("Stratum"));
    QCOMPARE(f.window.condition.query_value_1, QStringLiteral("Isolated"));

    f.press("button_clear");
    f.pickOperator("<");
    QCOMPARE(f.display(), QStringLiteral("Stratum < Isolated"));
}

void TestQueryWindow::switchingFromCodedToNumericEmptiesTheValueAndShowsTheUnit() {
    Fixture f("i");
    f.pick("Fine Organics Present");
    QCOMPARE(f.unit(), QStringLiteral("Present Y/N"));
    QCOMPARE(f.value()->currentText(), QStringLiteral("Y"));
    QVERIFY(f.window.condition.query_param1_string_flag);

    f.pick("Sample Depth");
    QCOMPARE(f.unit(), QStringLiteral("meters"));
    QCOMPARE(f.value()->currentText(), QString());
    QCOMPARE(f.value()->count(), 0);
    QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
    QCOMPARE(f.display(), QStringLiteral("Sample Depth = "));
    QVERIFY(!f.window.condition.query_param1_string_flag);

    Fixture water("w");
    water.pick("Conductivity");
    QCOMPARE(water.unit(), QStringLiteral("microseimens per centimeter"));
    water.pick("pH");
    QCOMPARE(water.unit(), QString());
    Fixture veg("v");
    veg.pick("Average Water Depth");
    QCOMPARE(veg.unit(), QStringLiteral("Meters"));
}

void TestQueryWindow::siteUnvegetatedOffersULeavingTheValueEmpty() {
    Fixture f("v");
    f.pick("Site Unvegetated");
    QCOMPARE(f.unit(), QStringLiteral("U = No Veg Present"));
    QCOMPARE(f.valueLabels(), QStringList{"U"});
    QCOMPARE(f.value()->currentText(), QString());
    QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
    QCOMPARE(f.display(), QStringLiteral("Site Unvegetated = "));

    f.press("Command2");
    QCOMPARE(f.prompts.messages, QStringList{"Value not entered."});
    QVERIFY(f.window.isVisible());

    f.nextLabel();
    QCOMPARE(f.display(), QStringLiteral("Site Unvegetated = U"));
    f.press("Command2");
    QCOMPARE(f.prompts.messages.size(), 1);
    QCOMPARE(f.host.calls, (QStringList{"begin", "begin", "accept"}));
}

void TestQueryWindow::fishSpeciesSelectsNothingVegetationSpeciesPreselectsTheFirst() {
    Fixture fish("f");
    fish.pick("Gear");
    fish.pickOperator("<");
    fish.pick("Species");
    QCOMPARE(fish.value()->currentText(), QString());
    QCOMPARE(fish.unit(), QString());
    QCOMPARE(fish.selected(fish.operators()), QStringLiteral("="));
    QCOMPARE(fish.display(), QStringLiteral("Species = "));
    QVERIFY(fish.window.condition.query_param1_string_flag);
    fish.press("Command2");
    QCOMPARE(fish.prompts.messages, QStringList{"Value not entered."});

    Fixture veg("v");
    veg.pick("Percent Cover Emergent Veg");
    veg.pick("Species");
    QCOMPARE(veg.value()->currentText(), QStringLiteral("No Aquatic Vegetation"));
    QCOMPARE(veg.unit(), QString());
    QCOMPARE(veg.display(), QStringLiteral("Species = No Aquatic Vegetation"));
}

void TestQueryWindow::checksRunInOrderAndEachFailureKeepsTheWindowOpen() {
    Fixture f("w");
    f.press("Command2");
    f.type("5");
    f.press("Command2");
    f.pickOperator("<");
    f.press("Command2");
    QCOMPARE(f.prompts.messages,
             (QStringList{"Value not entered.", "Operator not selected.", "Parameter not selected."}));
    QCOMPARE(f.host.calls, (QStringList{"begin", "begin", "begin"}));
    QVERIFY(f.window.isVisible());

    // The value box is checked before the lists even when both lists are picked.
    f.pick("Turbidity");
    QCOMPARE(f.value()->currentText(), QString());
    f.press("Command2");
    QCOMPARE(f.prompts.messages.last(), QStringLiteral("Value not entered."));
    QVERIFY(f.window.isVisible());
}

void TestQueryWindow::submitStraightAfterAConnectorOrClearIsRefused() {
    Fixture f("w");
    f.pick("Velocity");
    f.pickOperator(">");
    f.type("1");
    f.press("button_and");
    f.press("Command2");
    QCOMPARE(f.prompts.messages, QStringList{"Value not entered."});
    QVERIFY(f.window.isVisible());

    f.press("button_clear");
    f.press("Command2");
    QCOMPARE(f.prompts.messages, (QStringList{"Value not entered.", "Value not entered."}));
    QCOMPARE(f.host.calls, (QStringList{"begin", "begin"}));
    QVERIFY(f.window.isVisible());

    f.type("5");
    f.press("Command2");
    QCOMPARE(f.prompts.messages.size(), 2);
    QCOMPARE(f.host.calls, (QStringList{"begin", "begin", "begin", "accept"}));
    QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
             QStringLiteral("velocity > 15 AND velocity <> -99"));
}

void TestQueryWindow::anIncompleteFirstConditionIsRefusedAfterAConnector() {
    Fixture f("w");
    f.pick("Temperature");
    f.press("button_and");
    f.pick("pH");
    f.pickOperator("<");
    f.type("8");
    f.press("Command2");
    QCOMPARE(f.prompts.messages, QStringList{"Value not entered."});
    QCOMPARE(f.host.calls, QStringList{"begin"});
    QVERIFY(f.window.isVisible());
}

void TestQueryWindow::successfulSubmitHandsOffAndEndsTheWindowAccepted() {
    FakeHost host("w");
    ScriptedPrompts prompts;
    QueryWindow window(host);
    QStringList seenAtAccept;
    bool visibleAtAccept = false;
    QTimer::singleShot(0, &window, [&] {
        auto* list1 = window.findChild<QListWidget*>("List1");
        auto* list2 = window.findChild<QListWidget*>("List2");
        list1->scrollToItem(list1->item(1));
        QTest::mouseClick(list1->viewport(), Qt::LeftButton, {},
                          list1->visualItemRect(list1->item(1)).center());
        QTest::mouseClick(list2->viewport(), Qt::LeftButton, {},
                          list2->visualItemRect(list2->item(1)).center());
        QTest::keyClicks(window.findChild<QComboBox*>("Combo1")->lineEdit(), "5");
        visibleAtAccept = window.isVisible();
        QTest::mouseClick(window.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        seenAtAccept = host.calls;
        if (window.isVisible())
            window.done(-1);
    });
    QCOMPARE(window.exec(), int(QDialog::Accepted));
    QVERIFY(visibleAtAccept);
    QCOMPARE(seenAtAccept, (QStringList{"begin", "accept"}));
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(window.isHidden());
    QCOMPARE(window.condition.query_param_1, QStringLiteral("Dissolved Oxygen"));
    QCOMPARE(buildSearchExpression(SampleKind::Water, window.condition),
             QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99"));
}

void TestQueryWindow::twoConditionsBuiltByClicksGiveTheirExpression() {
    Fixture f("f");
    f.pick("Stratum");
    for (int i = 0; i < 4; ++i)
        f.nextLabel();
    QCOMPARE(f.display(), QStringLiteral("Stratum = Backwater-offshore"));
    f.press("button_and");
    f.pick("Species");
    f.type("Bluegill");
    QCOMPARE(f.display(), QStringLiteral("Stratum = Backwater-offshore AND Species = Bluegill"));
    f.press("Command2");
    QCOMPARE(f.host.calls, (QStringList{"begin", "accept"}));
    QVERIFY(f.window.isHidden());
    QCOMPARE(buildSearchExpression(SampleKind::Fish, f.window.condition),
             QStringLiteral("stratum = 'Backwater-offshore' AND species = 'Bluegill'"));

    Fixture veg("v");
    veg.pick("Species");
    veg.retype("Coon's Tail");
    QCOMPARE(veg.display(), QStringLiteral("Species = Coon's Tail"));
    veg.press("Command2");
    QCOMPARE(buildSearchExpression(SampleKind::Veg, veg.window.condition),
             QStringLiteral("species = 'Coon''s Tail'"));
}

void TestQueryWindow::cancelHandsNothingOver() {
    Fixture f("w");
    f.pick("Silica");
    f.pickOperator(">");
    f.type("3");
    f.press("Command1");
    QVERIFY(f.window.isHidden());
    QCOMPARE(f.window.result(), int(QDialog::Rejected));
    QVERIFY(f.host.calls.isEmpty());
    QVERIFY(f.prompts.messages.isEmpty());
}

void TestQueryWindow::pickListsOfferTheirLabelsInOrder_data() {
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("water strata") << "w"
                                  << "Stratum"
                                  << ""
                                  << QStringList{"Isolated", "Backwater Contiguous", "Side Channel",
                                                 "Main Channel", "Impounded"};
    QTest::newRow("invertebrate strata") << "i"
                                         << "Stratum"
                                         << ""
                                         << QStringList{"Backwater Contiguous", "Side Channel", "Impounded",
                                                        "Main Channel Border", "Tributary Delta Lake"};
    QTest::newRow("fish strata") << "f"
                                 << "Stratum"
                                 << ""
                                 << QStringList{"Main chan border-unstructured",
                                                "Main chan border-wing dam",
                                                "Side channel border",
                                                "Backwater-shoreline",
                                                "Backwater-offshore",
                                                "Impounded-shoreline",
                                                "Impounded-offshore"};
    QTest::newRow("vegetation strata")
        << "v"
        << "Stratum"
        << "" << QStringList{"Backwater Contiguous", "Backwater Isolated", "Main Channel Border",
                             "Side Channel",         "Impounded",          "Tributary Delta Lake"};
    QTest::newRow("fish gear") << "f"
                               << "Gear"
                               << ""
                               << QStringList{"Night Electrofishing",
                                              "Day Electrofishing",
                                              "Hoop Net - large",
                                              "Hoop Net - small",
                                              "Seining",
                                              "Trawling",
                                              "Plankton Trawling",
                                              "Fyke Net",
                                              "Mini Fyke Net",
                                              "Tandem Mini Fyke Net",
                                              "Gill Net - parallel",
                                              "Gill Net - perpindicular",
                                              "Trammel Net - anchored",
                                              "Trammel Net - float/drift"};
    QTest::newRow("invertebrate substrate")
        << "i"
        << "Substrate"
        << "" << QStringList{"Gravel/Rock", "Hard Clay", "Mostly Sand w/ Silt/Clay", "Sand", "Silt/Clay"};
    QTest::newRow("fish substrate") << "f"
                                    << "Substrate"
                                    << ""
                                    << QStringList{"Silt", "Silt/Clay/Little Sand", "Sand/Mostly Sand",
                                                   "Gravel/Rock/Hard Clay"};
    QTest::newRow("vegetation substrate")
        << "v"
        << "Substrate"
        << "" << QStringList{"Gravel or Rock",           "Hard Clay",        "Sand",
                             "Sand - some Silt or Clay", "Silt - some Sand", "Silt and/or Clay"};
    QTest::newRow("fish vegetation density") << "f"
                                             << "Veg Density"
                                             << "" << QStringList{"None", "Dense", "Sparse"};
    QTest::newRow("detritus") << "v"
                              << "Detritus"
                              << "" << QStringList{"No Detritus", "Coarse Organic"};
    QTest::newRow("fine organics") << "i"
                                   << "Fine Organics Present"
                                   << "Present Y/N" << QStringList{"Y", "N"};
    const QStringList fiveClasses = {"0%", "1-20%", "21-50%", "51-90%", "91-100%"};
    for (const char* name : {"Percent Veg", "Percent Open Water", "Percent Submergents", "Percent Floating",
                             "Percent Emergents", "Percent Shells", "Percent Detritus"})
        QTest::addRow("invertebrate %s", name) << "i" << name << "" << fiveClasses;
    const QStringList sixClasses = {"0%", "1-20%", "21-40%", "41-60%", "61-80%", "81-100%"};
    for (const char* name : {"Percent Cover Non-Rooted Floating Veg", "Percent Cover Rooted Floating Veg",
                             "Percent Cover Emergent Veg", "Average Plant Density"})
        QTest::addRow("vegetation %s", name) << "v" << name << "Percent Cover" << sixClasses;
    QTest::newRow("submersed") << "v"
                               << "Submersed Veg Present"
                               << "S = Submersed Veg Present" << QStringList{"S"};
    QTest::newRow("rooted floating") << "v"
                                     << "Rooted Floating Veg Present"
                                     << "F = Rooted Floating Veg Present" << QStringList{"F"};
    QTest::newRow("emergent") << "v"
                              << "Emergent Veg Present"
                              << "E = Emergent Veg Present" << QStringList{"E"};
    QTest::newRow("algae") << "v"
                           << "Filamentous Algae Present"
                           << "A = Filamentous Algae Present" << QStringList{"A"};
    QTest::newRow("non-rooted floating") << "v"
                                         << "Non-Rooted Floating Veg Present"
                                         << "N = Non-Rooted Floating Veg Present" << QStringList{"N"};
}

void TestQueryWindow::pickListsOfferTheirLabelsInOrder() {
    QFETCH(QString, letter);
    QFETCH(QString, parameter);
    QFETCH(QString, caption);
    QFETCH(QStringList, labels);
    Fixture f(letter);
    f.pick(parameter);
    QCOMPARE(f.valueLabels(), labels);
    QCOMPARE(f.unit(), caption);
    QCOMPARE(f.value()->currentText(), labels.first());
    QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
    QCOMPARE(f.display(), parameter + " = " + labels.first());
    QVERIFY(f.window.condition.query_param1_string_flag);
}

void TestQueryWindow::speciesListsOfferEveryNameInOrder() {
    Fixture fish("f");
    fish.pick("Species");
    const QStringList fishNames = fish.valueLabels();
    QCOMPARE(fishNames.size(), 247);
    QCOMPARE(fishNames.first(), QStringLiteral("American brook lamprey"));
    QCOMPARE(fishNames.last(), QStringLiteral("No Entry"));
    QCOMPARE(fishNames.at(29), QStringLiteral("Bluegill"));
    QCOMPARE(fishNames.at(15), QStringLiteral("Bluegill or orngsptd sunfish"));
    QCOMPARE(fishNames.at(147), QStringLiteral("Pumknsd or orngsptd sunfish"));
    QCOMPARE(fishNames.at(56), QStringLiteral("Central stoneroller"));
    QCOMPARE(fishNames.at(59), QStringLiteral("Central stoneroller"));
    QCOMPARE(fishNames.at(138), QStringLiteral("Pallid sturgeon"));
    QCOMPARE(fishNames.at(240), QStringLiteral("Pallid sturgeon"));
    QCOMPARE(QSet<QString>(fishNames.begin(), fishNames.end()).size(), 245);

    Fixture veg("v");
    veg.pick("Species");
    const QStringList vegNames = veg.valueLabels();
    QCOMPARE(vegNames.size(), 101);
    QCOMPARE(QSet<QString>(vegNames.begin(), vegNames.end()).size(), 101);
    QCOMPARE(vegNames.first(), QStringLiteral("No Aquatic Vegetation"));
    QCOMPARE(vegNames.last(), QStringLiteral("Bur-reed"));
    QCOMPARE(vegNames.at(8), QStringLiteral("Coons Tail"));
    QCOMPARE(vegNames.at(29), QStringLiteral("Purple Loostrife"));
    QCOMPARE(vegNames.at(48), QStringLiteral("Unknown Species 5"));
    QCOMPARE(vegNames.at(91), QStringLiteral("Unknown Species 1"));
    QCOMPARE(vegNames.at(95), QStringLiteral("Unknown Species 2"));
}
