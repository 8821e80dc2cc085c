#include "query_builder/query_window.h"

#include "catalogue/pick_lists.h"
#include "catalogue/sample_schema.h"
#include "catalogue/species_lists.h"
#include "query_builder/query_host.h"
#include "window_parts/caption_button.h"
#include "window_parts/design_font.h"
#include "window_parts/focus_visible.h"
#include "window_parts/twips.h"
#include "window_parts/user_prompts.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

namespace quillfen {
namespace {

const QString kValueNotEntered = QStringLiteral("Value not entered.");
const QString kOperatorNotSelected = QStringLiteral("Operator not selected.");
const QString kParameterNotSelected = QStringLiteral("Parameter not selected.");

const QStringList kOperators = {QStringLiteral(">"), QStringLiteral("<"), QStringLiteral("=")};
constexpr int kEqualsRow = 2;

QLabel* makeLabel(const char* name, const QString& text, const QRect& geometry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

/// A button whose caption wraps, or takes a slightly smaller font, to fit its designed size.
QPushButton* makeButton(const char* name, const QString& text, const QRect& geometry, QWidget* parent) {
    auto* button = new CaptionButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setGeometry(geometry);
    return button;
}

QListWidget* makeList(const char* name, const QRect& geometry, QWidget* parent) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSortingEnabled(false);
    list->setGeometry(geometry);
    return list;
}

int selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.constFirst());
}

/// The text of a list is that of its selected item; empty when nothing is selected.
QString selectedText(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

/// The first part missing from a condition, as the message that reports it; empty when complete.
QString missingPart(const QString& value, const QString& oper, const QString& param) {
    if (value.isEmpty())
        return kValueNotEntered;
    if (oper.isEmpty())
        return kOperatorNotSelected;
    if (param.isEmpty())
        return kParameterNotSelected;
    return QString();
}

QString notANumber(const QString& parameter) {
    return QStringLiteral("Value of %1 not a number.").arg(parameter);
}

QString joined(const QStringList& parts) {
    return parts.join(QLatin1Char(' '));
}

} // namespace

QueryWindow::QueryWindow(QueryHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("query"));
    showFocusFromStart(this);
    setWindowTitle(QStringLiteral("Build Query"));
    setFixedSize(twips(8400), twips(3390));
    createControls();
    setFocusOrder();
    connectHandlers();
    Form_Load();
    Command2->setFocus();
}

// Focusable controls are created in focus order; labels do not take the focus.
void QueryWindow::createControls() {
    setFont(designFont());
    Command2 = makeButton("Command2", QStringLiteral("Submit Query"), twipsRect(7200, 2640, 975, 495), this);
    List2 = makeList("List2", twipsRect(3360, 600, 255, 645), this);
    List2->addItems(kOperators);
    // Its three operators fit the list's designed height; a scroll bar would hide them.
    List2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1 = makeList("List1", twipsRect(240, 600, 2895, 645), this);
    // Rows wider than the list are elided, their whole name shown as a tooltip.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setTextElideMode(Qt::ElideRight);
    Command1 = makeButton("Command1", QStringLiteral("Cancel"), twipsRect(6120, 2640, 855, 495), this);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    // The value box keeps its labels as given: typed text is never added, and typing is not
    // completed from the labels, so the value is exactly what was typed.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Combo1->setGeometry(twipsRect(3840, 720, 4335, 315));

    button_and = makeButton("button_and", QStringLiteral("AND"), twipsRect(4920, 1200, 735, 375), this);
    button_or = makeButton("button_or", QStringLiteral("OR"), twipsRect(5880, 1200, 735, 375), this);
    button_clear = makeButton("button_clear", QStringLiteral("Clear"), twipsRect(240, 2520, 735, 375), this);

    Label1 = makeLabel("Label1", QStringLiteral("Parameter"), twipsRect(1200, 240, 855, 255), this);
    Label5 = makeLabel("Label5", QStringLiteral("Operator"), twipsRect(3240, 240, 735, 255), this);
    Label6 = makeLabel("Label6", QStringLiteral("Value"), twipsRect(5640, 240, 615, 255), this);
    Label7 = makeLabel("Label7", QString(), twipsRect(240, 1320, 2895, 255), this);

    // The lists and the value box are named, for a screen reader too, by the captions above them.
    const std::pair<QLabel*, QWidget*> captioned[] = {{Label1, List1}, {Label5, List2}, {Label6, Combo1}};
    for (const auto& [caption, named] : captioned) {
        caption->setBuddy(named);
        named->setAccessibleName(caption->text());
    }

    query_window = makeLabel("query_window", QString(), twipsRect(240, 1800, 7935, 495), this);
    query_window->setWordWrap(true);
    query_window->setAutoFillBackground(true);
    QPalette white = query_window->palette();
    white.setColor(QPalette::Window, Qt::white);
    query_window->setPalette(white);
}

void QueryWindow::setFocusOrder() {
    const QList<QWidget*> order = {Command2, List2,      List1,     Command1,
                                   Combo1,   button_and, button_or, button_clear};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void QueryWindow::connectHandlers() {
    connect(List1, &QListWidget::itemSelectionChanged, this, &QueryWindow::List1_Click);
    connect(List2, &QListWidget::itemSelectionChanged, this, &QueryWindow::List2_Click);
    // A click on the item that is already selected changes no selection but is a click all the
    // same: it captures the condition again, for example after Clear.
    List1->viewport()->installEventFilter(this);
    List2->viewport()->installEventFilter(this);
    connect(List1, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        if (item->isSelected() && List1->row(item) == selectedRowAtPress_)
            List1_Click();
    });
    connect(List2, &QListWidget::itemPressed, this, [this](QListWidgetItem* item) {
        if (item->isSelected() && List2->row(item) == selectedRowAtPress_)
            List2_Click();
    });
    connect(Combo1, &QComboBox::editTextChanged, this, &QueryWindow::Combo1_Change);
    connect(Combo1, &QComboBox::activated, this, &QueryWindow::Combo1_Click);
    connect(button_and, &QPushButton::clicked, this, &QueryWindow::button_and_Click);
    connect(button_or, &QPushButton::clicked, this, &QueryWindow::button_or_Click);
    connect(button_clear, &QPushButton::clicked, this, &QueryWindow::button_clear_Click);
    connect(Command1, &QPushButton::clicked, this, &QueryWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QueryWindow::Command2_Click);
}

bool QueryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == List1->viewport())
            selectedRowAtPress_ = selectedRow(List1);
        else if (watched == List2->viewport())
            selectedRowAtPress_ = selectedRow(List2);
    }
    return QDialog::eventFilter(watched, event);
}

void QueryWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void QueryWindow::Form_Load() {
    condition.query_compound_flag = false;
    SampleKind kind;
    if (!kindFromLetter(host_.component(), &kind))
        return;
    for (const SchemaField& parameter : queryParameters(kind)) {
        auto* row = new QListWidgetItem(parameter.queryName, List1);
        row->setToolTip(parameter.queryName);
    }
}

bool QueryWindow::selectedParameter(SchemaField* parameter) const {
    SampleKind kind;
    const int index = selectedRow(List1);
    if (index < 0 || !kindFromLetter(host_.component(), &kind))
        return false;
    const QVector<SchemaField> parameters = queryParameters(kind);
    if (index >= parameters.size())
        return false;
    *parameter = parameters[index];
    return true;
}

void QueryWindow::List1_Click() {
    SchemaField parameter;
    if (selectedParameter(&parameter))
        offerParameter(parameter);
    captureCondition();
}

void QueryWindow::List2_Click() {
    captureCondition();
}

void QueryWindow::Combo1_Change() {
    captureCondition();
}

void QueryWindow::Combo1_Click() {
    captureCondition();
}

void QueryWindow::button_and_Click() {
    chooseConnector(QStringLiteral("AND"));
}

void QueryWindow::button_or_Click() {
    chooseConnector(QStringLiteral("OR"));
}

void QueryWindow::button_clear_Click() {
    const bool firstCoded = condition.query_param1_string_flag;
    const bool secondCoded = condition.query_param2_string_flag;
    condition = QueryCondition();
    condition.query_param1_string_flag = firstCoded;
    condition.query_param2_string_flag = secondCoded;
    query_window->clear();
}

void QueryWindow::Command1_Click() {
    reject();
}

void QueryWindow::Command2_Click() {
    host_.beginSubmit();
    const QString failure = checkFailure();
    if (!failure.isEmpty()) {
        UserPrompts::current().message(this, failure);
        return;
    }
    host_.acceptSubmit();
    done(Accepted);
}

/// Prepares the operator and the value box for a newly chosen parameter.
void QueryWindow::offerParameter(const SchemaField& parameter) {
    switch (parameter.valueClass) {
    case ValueClass::Number:
        Label7->setText(parameter.unit);
        clearValueBox();
        setEditedConditionCoded(false);
        break;
    case ValueClass::CodedText: {
        const PickList& list = pickList(parameter.pickList);
        Label7->setText(list.caption);
        clearValueBox();
        setEditedConditionCoded(true);
        selectOperatorEquals();
        addValueLabels(list.labels);
        // "U" is offered for "Site Unvegetated" but not preset: the user states it deliberately.
        if (parameter.pickList != PickListId::VegUnvegetated)
            selectFirstValue();
        break;
    }
    case ValueClass::Species:
        if (parameter.pickList == PickListId::FishSpecies) {
            populate_fish_picklist();
            setEditedConditionCoded(true);
        } else {
            populate_veg_species_picklist();
            setEditedConditionCoded(true);
            selectFirstValue();
        }
        break;
    case ValueClass::ShownOnly:
        break;
    }
}

void QueryWindow::populate_fish_picklist() {
    Label7->clear();
    clearValueBox();
    selectOperatorEquals();
    addValueLabels(fishSpecies());
}

void QueryWindow::populate_veg_species_picklist() {
    Label7->clear();
    clearValueBox();
    selectOperatorEquals();
    addValueLabels(vegetationSpecies());
}

/// Once a connector is chosen the first condition is frozen and later picks edit the second.
void QueryWindow::chooseConnector(const QString& connector) {
    if (condition.query_compound_flag)
        return;
    condition.query_compound_flag = true;
    condition.query_connector = connector;
    query_window->setText(
        joined({condition.query_param_1, condition.query_oper_1, condition.query_value_1, connector}));
}

/// Copies the three controls' texts into the condition being edited and shows the expression.
void QueryWindow::captureCondition() {
    // The condition's value is quoted exactly when the parameter it names is coded, also when
    // the parameter was picked before AND, OR or Clear and is captured again afterwards.
    SchemaField parameter;
    if (selectedParameter(&parameter))
        setEditedConditionCoded(parameter.valueClass != ValueClass::Number);
    QueryCondition& c = condition;
    if (!c.query_compound_flag) {
        c.query_param_1 = selectedText(List1);
        c.query_oper_1 = selectedText(List2);
        c.query_value_1 = Combo1->currentText();
        query_window->setText(joined({c.query_param_1, c.query_oper_1, c.query_value_1}));
        return;
    }
    c.query_param_2 = selectedText(List1);
    c.query_oper_2 = selectedText(List2);
    c.query_value_2 = Combo1->currentText();
    query_window->setText(joined({c.query_param_1, c.query_oper_1, c.query_value_1, c.query_connector,
                                  c.query_param_2, c.query_oper_2, c.query_value_2}));
}

void QueryWindow::setEditedConditionCoded(bool coded) {
    if (condition.query_compound_flag)
        condition.query_param2_string_flag = coded;
    else
        condition.query_param1_string_flag = coded;
}

// The value box is emptied and refilled silently: the only selections that count as clicks are
// those of selectOperatorEquals() and selectFirstValue(), which run their handler once each.
void QueryWindow::clearValueBox() {
    const QSignalBlocker silent(Combo1);
    Combo1->clear();
    Combo1->clearEditText();
}

/// Adds the labels in order and leaves none of them selected, the value box empty.
void QueryWindow::addValueLabels(const QStringList& labels) {
    const QSignalBlocker silent(Combo1);
    Combo1->addItems(labels);
    Combo1->setCurrentIndex(-1);
}

void QueryWindow::selectOperatorEquals() {
    {
        const QSignalBlocker silent(List2);
        List2->setCurrentRow(kEqualsRow);
    }
    List2_Click();
}

void QueryWindow::selectFirstValue() {
    {
        const QSignalBlocker silent(Combo1);
        Combo1->setCurrentIndex(0);
    }
    Combo1_Click();
}

/// Checks the controls, then the stored condition being edited, which is still empty right
/// after AND, OR or Clear until a list or the value box is touched.
QString QueryWindow::checkFailure() const {
    const QString controls = missingPart(Combo1->currentText(), selectedText(List2), selectedText(List1));
    if (!controls.isEmpty())
        return controls;
    // The stored conditions must be whole too: a connector chosen before the first condition
    // was complete, or no list touched since AND, OR or Clear, would search an incomplete
    // expression.
    const QueryCondition& c = condition;
    QString failure = missingPart(c.query_value_1, c.query_oper_1, c.query_param_1);
    if (failure.isEmpty() && c.query_compound_flag)
        failure = missingPart(c.query_value_2, c.query_oper_2, c.query_param_2);
    if (!failure.isEmpty())
        return failure;
    // A numeric value goes into the search unquoted, so it must be a number and nothing more.
    if (!c.query_param1_string_flag && !isDecimalNumber(c.query_value_1))
        return notANumber(c.query_param_1);
    if (c.query_compound_flag && !c.query_param2_string_flag && !isDecimalNumber(c.query_value_2))
        return notANumber(c.query_param_2);
    return QString();
}

} // namespace quillfen
