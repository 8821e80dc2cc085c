#pragma once

// The query builder (folder query_builder): the query window and the search expressions it
// builds. Uses the catalogue and the window parts.

#include "query_builder/search_expression.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace quillfen {

class QueryHost;
struct SchemaField;

/// The query window ("query", "Build Query"): composes one condition, or two joined by AND or
/// OR, from the parameter list, the operator list and the value box, and keeps it in
/// `condition`. The opener shows it modally with exec(); a successful Submit Query hands the
/// query to the host and ends exec() with Accepted, leaving the window hidden and `condition`
/// readable; Cancel ends it with Rejected and hands nothing over.
class QueryWindow : public QDialog {
    Q_OBJECT
public:
    /// Fills the parameter list for the host's current kind. `host` must outlive the window.
    explicit QueryWindow(QueryHost& host, QWidget* parent = nullptr);

    /// The condition state, written by the window's handlers and read by the main window.
    QueryCondition condition;

    /// Empties the unit label and the value box, selects "=" and offers the fish species.
    void populate_fish_picklist();
    /// The same with the vegetation species.
    void populate_veg_species_picklist();

protected:
    /// Enter and Esc do nothing by themselves in this window.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void setFocusOrder();
    void connectHandlers();

    void Form_Load();
    void List1_Click();
    void List2_Click();
    void Combo1_Change();
    void Combo1_Click();
    void button_and_Click();
    void button_or_Click();
    void button_clear_Click();
    void Command1_Click();
    void Command2_Click();

    void offerParameter(const SchemaField& parameter);
    void chooseConnector(const QString& connector);
    void captureCondition();
    bool selectedParameter(SchemaField* parameter) const;
    void setEditedConditionCoded(bool coded);
    void clearValueBox();
    void addValueLabels(const QStringList& labels);
    void selectOperatorEquals();
    void selectFirstValue();
    QString checkFailure() const;

    QueryHost& host_;
    int selectedRowAtPress_ = -1;

    QLabel* Label1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QListWidget* List1 = nullptr;
    QListWidget* List2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label7 = nullptr;
    QPushButton* button_and = nullptr;
    QPushButton* button_or = nullptr;
    QLabel* query_window = nullptr;
    QPushButton* button_clear = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
};

} // namespace quillfen
