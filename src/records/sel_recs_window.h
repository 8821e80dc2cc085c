#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace quillfen {

class RecordGrid;
class RecordGridModel;

/// The records window (sel_recs): the records grid over the buttons "About...", "Save as Text
/// File" and "Exit". It holds nothing but the grid; the main window fills it, shows it, sets
/// its title and discards it.
class SelRecsWindow : public QWidget {
    Q_OBJECT
public:
    /// `component` gives the kind letter of the draw/query layers when the user saves.
    explicit SelRecsWindow(std::function<QString()> component, QWidget* parent = nullptr);

    RecordGridModel& grid() { return *m_model; }

private slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    QPushButton* addButton(const char* name, const QString& caption);

    std::function<QString()> m_component;
    RecordGridModel* m_model;
    RecordGrid* m_grid;
};

} // namespace quillfen
