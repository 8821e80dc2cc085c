#include "records/sel_recs_window.h"

#include "window_parts/design_font.h"
#include "window_parts/twips.h"
#include "info_windows/about_programme_window.h"
#include "records/record_grid.h"
#include "records/record_grid_model.h"
#include "records/text_export.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillfen {
namespace {

constexpr int kWindowWidthTwips = 9600;
constexpr int kWindowHeightTwips = 6000;
constexpr int kButtonWidthTwips = 1800;
constexpr int kButtonHeightTwips = 375;

} // namespace

SelRecsWindow::SelRecsWindow(std::function<QString()> component, QWidget* parent)
    : QWidget(parent, Qt::Window), m_component(std::move(component)), m_model(new RecordGridModel(this)),
      m_grid(new RecordGrid(m_model, this)) {
    setObjectName(QStringLiteral("sel_recs"));
    setFont(designFont());
    setWindowTitle(QStringLiteral("Selected Records"));
    // The window keeps its designed size, and with it the grid keeps its own.
    setFixedSize(twips(kWindowWidthTwips), twips(kWindowHeightTwips));

    QPushButton* about = addButton("Command3", QStringLiteral("About..."));
    QPushButton* save = addButton("Command2", QStringLiteral("Save as Text File"));
    QPushButton* exit = addButton("Command1", QStringLiteral("Exit"));
    connect(about, &QPushButton::clicked, this, &SelRecsWindow::Command3_Click);
    connect(save, &QPushButton::clicked, this, &SelRecsWindow::Command2_Click);
    connect(exit, &QPushButton::clicked, this, &SelRecsWindow::Command1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(about);
    buttons->addWidget(save);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    setTabOrder(exit, save);
    setTabOrder(save, about);
    setTabOrder(about, m_grid);
}

QPushButton* SelRecsWindow::addButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(twips(kButtonWidthTwips), twips(kButtonHeightTwips));
    return button;
}

void SelRecsWindow::Command1_Click() {
    hide();
}

void SelRecsWindow::Command2_Click() {
    saveGridAsText(this, *m_model, m_component());
}

void SelRecsWindow::Command3_Click() {
    showAboutProgrammeWindow(this);
}

} // namespace quillfen
