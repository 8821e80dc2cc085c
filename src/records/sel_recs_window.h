#pragma once

#include "records/record_grid_model.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace quillfen {

class RecordGrid;

/// The records window (sel_recs): the records grid over a row holding, at its left, how many
/// records the grid lists (or what the last save appended where) and, at the lower right, the
/// buttons "About...", "Save as Text File" and "Exit". It holds nothing but the grid; the main
/// window fills it, shows it, sets its title and discards it.
///
/// The window opens at its designed size and may be resized: the grid takes the space, the
/// buttons keep their size and their distance to the lower right corner. The keyboard goes
/// "Exit", "Save as Text File", "About...", then the grid, and back to "Exit"; each showing
/// starts on "Exit".
class SelRecsWindow : public QWidget {
    Q_OBJECT
public:
    /// `component` gives the kind letter of the draw/query layers when the user saves.
    explicit SelRecsWindow(std::function<QString()> component, QWidget* parent = nullptr);

    RecordGridModel& grid() { return *model_; }

signals:
    /// The records with a shape whose rows the user has selected, each once, ordered by
    /// layer and feature; empty when none are, or while the window is hidden.
    void recordsSelected(const QVector<quillfen::RowSource>& records);
    /// The user chose a record with Enter or a double-click.
    void recordChosen(quillfen::RowSource record);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    QPushButton* addButton(const char* name, const QString& caption);
    void showRecordCount();
    void showStatus(const QString& text);
    void reportSelection();

    std::function<QString()> component_;
    RecordGridModel* model_;
    RecordGrid* grid_;
    QLabel* status_;
    QPushButton* exit_ = nullptr;
    bool countPending_ = false;
};

} // namespace quillfen
