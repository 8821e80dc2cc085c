#include "catalogue/sample_schema.h"
#include "catalogue/pick_lists.h"
#include "query_builder/query_host.h"
#include "query_builder/query_window.h"
#include "support/scripted_prompts.h"
#include "tabledb/shape_driver.h"
#include "tabledb/table_database.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

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
    /// Moves the value box's selection down by one label, as the arrow key does.
    void nextLabel() { QTest::keyClick(value(), Qt::Key_Down); }
    /// Builds one complete condition from the lists and the keyboard.
    void build(const QString& parameter, const QString& oper, const QString& typed) {
        pick(parameter);
        pickOperator(oper);
        type(typed);
    }

    FakeHost host;
    QueryWindow window;
    ScriptedPrompts prompts;
    bool exposed = false;
};

const QString kValueNotEntered = QStringLiteral("Value not entered.");
const QString kOxygenNotANumber = QStringLiteral("Value of Dissolved Oxygen not a number.");

/// A water-quality table of four samples, some of whose texts look like SQL, written through
/// OGR as kxw93sm.dbf into `folder`.
bool writeWaterTable(const QString& folder) {
    GDALAllRegister();
    const QByteArray path = QDir(folder).filePath("kxw93sm.dbf").toUtf8();
    const GDALDatasetUniquePtr dataset(
        tabledb::shapeDriver()->Create(path.constData(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRLayer* layer = dataset ? dataset->CreateLayer("kxw93sm", nullptr, wkbNone, nullptr) : nullptr;
    if (!layer)
        return false;
    OGRFieldDefn barcode("barcode", OFTInteger);
    OGRFieldDefn oxygen("dis_oxygen", OFTReal);
    OGRFieldDefn stratum("stratum_c", OFTString);
    if (layer->CreateField(&barcode) != OGRERR_NONE || layer->CreateField(&oxygen) != OGRERR_NONE ||
        layer->CreateField(&stratum) != OGRERR_NONE)
        return false;
    const std::tuple<int, double, const char*> samples[] = {
        {1, 3.0, "Main Channel"}, {2, 7.5, "Side Channel"}, {3, -99, "it's"}, {4, 0.5, "x' OR 'a'='a"}};
    for (const auto& [code, value, text] : samples) {
        OGRFeature feature(layer->GetLayerDefn());
        feature.SetField(0, code);
        feature.SetField(1, value);
        feature.SetField(2, text);
        if (layer->CreateFeature(&feature) != OGRERR_NONE)
            return false;
    }
    return true;
}

} // namespace

class TestQueryWindow : public QObject {
    Q_OBJECT
    QTemporaryDir folder_;

private slots:
    void initTestCase() { QVERIFY(folder_.isValid() && writeWaterTable(folder_.path())); }

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
                                   "0 OR replace(hex(zeroblob(499999)),'0','a') LIKE '*'", "fts3_tokenizer('porter')",
                                   "5; DELETE FROM kxw93sm", "5 OR 1=1", "abc", "5 ", " 5", "1.2.3", "1e", "e5",
                                   ".", "+", "0x10", "1,5", "inf", "NaN", "--5", "5-", "\u0665", "\uFF15"})
            QTest::newRow(number) << oxygen << QString::fromUtf8(number) << QString() << kOxygenNotANumber
                                  << QVariantList();
        QTest::newRow("a bad second value") << oxygen << "5" << "abc" << kOxygenNotANumber << QVariantList();
        QTest::newRow("5") << oxygen << "5" << QString() << QString() << QVariantList{1, 4};
        QTest::newRow("+.6") << oxygen << "+.6" << QString() << QString() << QVariantList{4};
        QTest::newRow("8.") << oxygen << "8." << QString() << QString() << QVariantList{1, 2, 4};
        QTest::newRow("1E1") << oxygen << "1E1" << QString() << QString() << QVariantList{1, 2, 4};
        QTest::newRow("-1.5e+1") << oxygen << "-1.5e+1" << QString() << QString() << QVariantList();
        QTest::newRow("two numbers") << oxygen << "5" << "0.1e1" << QString() << QVariantList{1};
        QTest::newRow("text with an apostrophe") << stratum << "it's" << QString() << QString() << QVariantList{3};
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
        f.pick(parameter);
        f.pickOperator(parameter == "Stratum" ? "=" : "<");
        // Pasted over the value box's text (the first label of a coded parameter is preset).
        f.value()->lineEdit()->selectAll();
        f.value()->lineEdit()->insert(typed);
        if (!secondTyped.isEmpty()) {
            f.press("button_and");
            f.build("Dissolved Oxygen", ">", secondTyped);
        }
        f.press("Command2");
        if (!message.isEmpty()) {
            QCOMPARE(f.prompts.messages, QStringList{message});
            QCOMPARE(f.host.calls, QStringList{"begin"});
            QVERIFY(f.window.isVisible());
            return;
        }
        QVERIFY2(f.prompts.messages.isEmpty(), qPrintable(f.prompts.messages.join('|')));
        tabledb::Engine engine;
        tabledb::SelectResult result = engine.open(folder_.path())
                                           .selectRecords("kxw93sm", buildSearchExpression(SampleKind::Water, f.window.condition));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QVariantList found;
        for (; !result.records.atEnd(); result.records.next())
            found << result.records.value("barcode");
        QCOMPARE(found, barcodes);
    }

    void windowOpensWithTheFocusOnSubmitQueryAndTabsInItsOrder() {
        Fixture f("w");
        QVERIFY(f.exposed);
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        QCOMPARE(f.window.objectName(), QStringLiteral("query"));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Build Query"));
        QCOMPARE(QApplication::focusWidget(), f.control<QPushButton>("Command2"));
        for (const char* expected : {"List2", "List1", "Command1", "Combo1", "button_and", "button_or",
                                     "button_clear", "Command2"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(expected));
        }
    }

    void enterAndEscDoNothingByThemselves() {
        Fixture f("w");
        f.build("pH", ">", "8");
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

    void displayShowsEachStepOfTheFirstCondition() {
        Fixture f("w");
        f.pick("Dissolved Oxygen");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen  "));
        f.pickOperator("<");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < "));
        f.type("5");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5"));
        f.pick("Stratum");
        QCOMPARE(f.display(), QStringLiteral("Stratum = Isolated"));
        f.nextLabel();
        QCOMPARE(f.display(), QStringLiteral("Stratum = Backwater Contiguous"));
        f.pickOperator(">");
        QCOMPARE(f.display(), QStringLiteral("Stratum > Backwater Contiguous"));
        QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
                 QStringLiteral("stratum_c > 'Backwater Contiguous'"));
    }

    void typingUpdatesTheDisplayPerCharacter() {
        Fixture f("i");
        f.pick("Mayflies");
        f.pickOperator(">");
        for (const QString shown : {"Mayflies > 1", "Mayflies > 12", "Mayflies > 12.", "Mayflies > 12.5"}) {
            f.type(shown.right(1));
            QCOMPARE(f.display(), shown);
        }
        QTest::keyClick(f.value()->lineEdit(), Qt::Key_Backspace);
        QCOMPARE(f.display(), QStringLiteral("Mayflies > 12."));
        QCOMPARE(f.window.condition.query_value_1, QStringLiteral("12."));
    }

    void firstConnectorWinsAndFreezesTheFirstCondition() {
        Fixture f("w");
        f.build("Dissolved Oxygen", "<", "5");
        f.press("button_and");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND"));
        f.press("button_or");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND"));
        f.pick("Temperature");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND Temperature < "));
        f.type("20");
        QCOMPARE(f.display(), QStringLiteral("Dissolved Oxygen < 5 AND Temperature < 20"));
        QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
                 QStringLiteral("dis_oxygen < 5 AND dis_oxygen <> -99 AND temp < 20 AND temp <> -99"));
    }

    void connectorBeforeAnyPickShowsThreeEmptyParts() {
        Fixture f("w");
        f.press("button_and");
        QCOMPARE(f.display(), QStringLiteral("   AND"));
        f.pickOperator(">");
        QCOMPARE(f.display(), QStringLiteral("   AND  > "));
    }

    void clearKeepsTheControlsAndTheNextClickCapturesThem() {
        Fixture f("w");
        f.build("Secchi", "<", "30");
        f.press("button_or");
        f.pick("Stratum");
        f.press("button_clear");
        QCOMPARE(f.display(), QString());
        QCOMPARE(f.selected(f.parameters()), QStringLiteral("Stratum"));
        QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
        QCOMPARE(f.value()->currentText(), QStringLiteral("Isolated"));

        // A click on the operator that is already selected captures into the first condition
        // (no connector is written), quoted because the parameter it now names is coded, not
        // numeric as Secchi was.
        f.pickOperator("=");
        QCOMPARE(f.display(), QStringLiteral("Stratum = Isolated"));
        QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
                 QStringLiteral("stratum_c = 'Isolated'"));

        f.press("button_clear");
        f.pickOperator("<");
        QCOMPARE(f.display(), QStringLiteral("Stratum < Isolated"));
    }

    void aParameterCapturedAgainAfterAConnectorKeepsItsQuoting() {
        Fixture f("w");
        f.build("Stratum", "=", "");
        f.press("button_and");
        f.pickOperator("=");
        QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
                 QStringLiteral("stratum_c = 'Isolated' AND stratum_c = 'Isolated'"));
    }

    void anEmptyPresetValueIsRefusedUntilTheUserPicksOne() {
        Fixture veg("v");
        veg.pick("Site Unvegetated");
        veg.press("Command2");
        QCOMPARE(veg.prompts.messages, QStringList{kValueNotEntered});
        QVERIFY(veg.window.isVisible());
        veg.nextLabel();
        QCOMPARE(veg.display(), QStringLiteral("Site Unvegetated = U"));
        veg.press("Command2");
        QCOMPARE(veg.prompts.messages.size(), 1);
        QCOMPARE(veg.host.calls, (QStringList{"begin", "begin", "accept"}));

        Fixture fish("f");
        fish.pick("Gear");
        fish.pickOperator("<");
        fish.pick("Species");
        QCOMPARE(fish.selected(fish.operators()), QStringLiteral("="));
        QCOMPARE(fish.display(), QStringLiteral("Species = "));
        fish.press("Command2");
        QCOMPARE(fish.prompts.messages, QStringList{kValueNotEntered});
    }

    void checksRunInOrderAndEachFailureKeepsTheWindowOpen() {
        Fixture f("w");
        f.press("Command2");
        f.type("5");
        f.press("Command2");
        f.pickOperator("<");
        f.press("Command2");
        QCOMPARE(f.prompts.messages,
                 (QStringList{kValueNotEntered, "Operator not selected.", "Parameter not selected."}));
        QCOMPARE(f.host.calls, (QStringList{"begin", "begin", "begin"}));
        QVERIFY(f.window.isVisible());
    }

    void submitStraightAfterAConnectorOrClearIsRefused() {
        Fixture f("w");
        f.build("Velocity", ">", "1");
        f.press("button_and");
        f.press("Command2");
        f.press("button_clear");
        f.press("Command2");
        QCOMPARE(f.prompts.messages, (QStringList{kValueNotEntered, kValueNotEntered}));
        QCOMPARE(f.host.calls, (QStringList{"begin", "begin"}));
        QVERIFY(f.window.isVisible());

        f.type("5");
        f.press("Command2");
        QCOMPARE(f.prompts.messages.size(), 2);
        QCOMPARE(f.host.calls, (QStringList{"begin", "begin", "begin", "accept"}));
        QCOMPARE(buildSearchExpression(SampleKind::Water, f.window.condition),
                 QStringLiteral("velocity > 15 AND velocity <> -99"));
    }

    void anIncompleteFirstConditionIsRefusedAfterAConnector() {
        Fixture f("w");
        f.pick("Temperature");
        f.press("button_and");
        f.build("pH", "<", "8");
        f.press("Command2");
        QCOMPARE(f.prompts.messages, QStringList{kValueNotEntered});
        QCOMPARE(f.host.calls, QStringList{"begin"});
        QVERIFY(f.window.isVisible());
    }

    void successfulSubmitHandsOffAndEndsTheWindowAccepted() {
        Fixture f("f");
        QStringList callsAtAccept;
        QTimer::singleShot(0, &f.window, [&f, &callsAtAccept] {
            f.pick("Stratum");
            for (int i = 0; i < 4; ++i)
                f.nextLabel();
            f.press("button_and");
            f.pick("Species");
            f.type("Bluegill");
            f.press("Command2");
            callsAtAccept = f.host.calls;
            if (f.window.isVisible())
                f.window.done(-1);
        });
        QCOMPARE(f.window.exec(), int(QDialog::Accepted));
        QCOMPARE(callsAtAccept, (QStringList{"begin", "accept"}));
        QVERIFY(f.prompts.messages.isEmpty());
        QVERIFY(f.window.isHidden());
        QCOMPARE(buildSearchExpression(SampleKind::Fish, f.window.condition),
                 QStringLiteral("stratum = 'Backwater-offshore' AND species = 'Bluegill'"));
    }

    void cancelHandsNothingOver() {
        Fixture f("w");
        f.build("Silica", ">", "3");
        f.press("Command1");
        QVERIFY(f.window.isHidden());
        QCOMPARE(f.window.result(), int(QDialog::Rejected));
        QVERIFY(f.host.calls.isEmpty());
        QVERIFY(f.prompts.messages.isEmpty());
    }

    void eachKindListsItsParametersAndEachOffersItsListOrItsUnit_data() {
        QTest::addColumn<QString>("letter");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("firstAndLast");
        QTest::newRow("water quality") << "w" << 18 << QStringList{"Stratum", "Chlorophyll fl1"};
        QTest::newRow("macro-invertebrates") << "i" << 16 << QStringList{"Stratum", "Zebra Mussels"};
        QTest::newRow("fish") << "f" << 10 << QStringList{"Species", "Catch Effort"};
        QTest::newRow("vegetation") << "v" << 15 << QStringList{"Detritus", "Species"};
        QTest::newRow("an unknown letter gives none") << "x" << 0 << QStringList();
        QTest::newRow("no letter gives none") << "" << 0 << QStringList();
    }
    void eachKindListsItsParametersAndEachOffersItsListOrItsUnit() {
        QFETCH(QString, letter);
        QFETCH(int, count);
        QFETCH(QStringList, firstAndLast);
        Fixture f(letter);
        SampleKind kind{};
        const QVector<SchemaField> parameters =
            kindFromLetter(letter, &kind) ? queryParameters(kind) : QVector<SchemaField>();
        QStringList listed, expected;
        for (int i = 0; i < f.parameters()->count(); ++i) {
            listed << f.parameters()->item(i)->text();
            // A name wider than the list is elided there and read whole in its tooltip.
            QCOMPARE(f.parameters()->item(i)->toolTip(), listed.last());
        }
        for (const SchemaField& parameter : parameters)
            expected << parameter.queryName;
        QCOMPARE(listed, expected);
        QVERIFY(!f.parameters()->horizontalScrollBar()->isVisible());
        QCOMPARE(listed.size(), count);
        if (count > 0)
            QCOMPARE((QStringList{listed.first(), listed.last()}), firstAndLast);
        QCOMPARE(f.display(), QString());

        // Picked in list order, so each numeric parameter picked after a coded one also shows
        // that switching empties the value box, shows the unit and keeps "=".
        for (const SchemaField& parameter : parameters) {
            f.pick(parameter.queryName);
            const PickList& list = pickList(parameter.pickList);
            const bool numeric = parameter.valueClass == ValueClass::Number;
            // Only these two lists leave the value box empty until the user picks a label.
            const bool leftEmpty =
                parameter.queryName == "Site Unvegetated" || parameter.pickList == PickListId::FishSpecies;
            const QString value = numeric || leftEmpty ? QString() : list.labels.first();
            QVERIFY2(f.valueLabels() == list.labels, qPrintable(parameter.queryName));
            QCOMPARE(f.unit(), numeric ? parameter.unit : list.caption);
            QCOMPARE(f.value()->currentText(), value);
            QCOMPARE(f.window.condition.query_param1_string_flag, !numeric);
            QCOMPARE(f.selected(f.operators()), QStringLiteral("="));
            QCOMPARE(f.display(), parameter.queryName + " = " + value);
        }
    }

    void pickListsHoldTheirLabelsOnceEachInOrder() {
        using Id = PickListId;
        // clang-format off
        const struct { PickListId id; int count; const char *caption, *first, *last; } lists[] = {
            {Id::WaterStrata, 5, "", "Isolated", "Impounded"},
            {Id::InvertStrata, 5, "", "Backwater Contiguous", "Tributary Delta Lake"},
            {Id::FishStrata, 7, "", "Main chan border-unstructured", "Impounded-offshore"},
            {Id::VegStrata, 6, "", "Backwater Contiguous", "Tributary Delta Lake"},
            {Id::FishGear, 14, "", "Night Electrofishing", "Trammel Net - float/drift"},
            {Id::InvertSubstrate, 5, "", "Gravel/Rock", "Silt/Clay"},
            {Id::FishSubstrate, 4, "", "Silt", "Gravel/Rock/Hard Clay"},
            {Id::VegSubstrate, 6, "", "Gravel or Rock", "Silt and/or Clay"},
            {Id::FishVegDensity, 3, "", "None", "Sparse"},
            {Id::VegDetritus, 2, "", "No Detritus", "Coarse Organic"},
            {Id::InvertFineOrganics, 2, "Present Y/N", "Y", "N"},
            {Id::InvertPercent, 5, "", "0%", "91-100%"},
            {Id::VegPercentCover, 6, "Percent Cover", "0%", "81-100%"},
            {Id::VegUnvegetated, 1, "U = No Veg Present", "U", "U"},
            {Id::VegSubmersed, 1, "S = Submersed Veg Present", "S", "S"},
            {Id::VegRootedFloating, 1, "F = Rooted Floating Veg Present", "F", "F"},
            {Id::VegEmergent, 1, "E = Emergent Veg Present", "E", "E"},
            {Id::VegAlgae, 1, "A = Filamentous Algae Present", "A", "A"},
            {Id::VegNonRootedFloating, 1, "N = Non-Rooted Floating Veg Present", "N", "N"},
            {Id::VegSpecies, 101, "", "No Aquatic Vegetation", "Bur-reed"},
        };
        // clang-format on
        for (const auto& spots : lists) {
            const PickList& list = pickList(spots.id);
            QCOMPARE(list.caption, QLatin1String(spots.caption));
            QCOMPARE(list.labels.size(), spots.count);
            QCOMPARE((QStringList{list.labels.first(), list.labels.last()}),
                     (QStringList{spots.first, spots.last}));
            QCOMPARE(QSet<QString>(list.labels.begin(), list.labels.end()).size(), spots.count);
        }
        // The two percent scales differ inside: bounds 20, 50 and 90 against steps of 20.
        QCOMPARE(pickList(Id::InvertPercent).labels.at(2), QStringLiteral("21-50%"));
        QCOMPARE(pickList(Id::VegPercentCover).labels.at(2), QStringLiteral("21-40%"));
    }

    void speciesListsKeepTheirOrderAndTheFishDuplicates() {
        const QStringList& fish = pickList(PickListId::FishSpecies).labels;
        const QStringList& veg = pickList(PickListId::VegSpecies).labels;
        QCOMPARE(fish.size(), 247);
        QCOMPARE(QSet<QString>(fish.begin(), fish.end()).size(), 245);
        // clang-format off
        const QList<std::tuple<const QStringList*, int, const char*>> spots = {
            {&fish, 0, "American brook lamprey"}, {&fish, 15, "Bluegill or orngsptd sunfish"},
            {&fish, 29, "Bluegill"}, {&fish, 56, "Central stoneroller"}, {&fish, 59, "Central stoneroller"},
            {&fish, 138, "Pallid sturgeon"}, {&fish, 147, "Pumknsd or orngsptd sunfish"},
            {&fish, 240, "Pallid sturgeon"}, {&fish, 246, "No Entry"}, {&veg, 8, "Coons Tail"},
            {&veg, 29, "Purple Loostrife"}, {&veg, 48, "Unknown Species 5"}, {&veg, 91, "Unknown Species 1"},
            {&veg, 95, "Unknown Species 2"},
        };
        // clang-format on
        for (const auto& [list, index, name] : spots)
            QCOMPARE(list->at(index), QLatin1String(name));
    }
};

int runQueryWindowTests(int argc, char** argv) {
    TestQueryWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_query_window.moc"
