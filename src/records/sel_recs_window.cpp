#include "records/sel_recs_window.h"

#include "info_windows/about_programme_window.h"
#include "records/record_grid.h"
#include "records/text_export.h"
#include "window_parts/design_font.h"
#include "window_parts/twips.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace quillfen {
namespace {

constexpr int kWindowWidthTwips = 9600;
constexpr int kWindowHeightTwips = 6000;
constexpr int kButtonWidthTwips = 1800;
constexpr int kButtonHeightTwips = 375;

QString recordCount(int count) {
    return count == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(count);
}

int countRecords(const RecordGridModel& grid) {
    int count = 0;
    for (int row = 1; row < grid.rows(); ++row) {
        if (isRecordRow(grid, row))
            ++count;
    }
    return count;
}

} // namespace

SelRecsWindow::SelRecsWindow(std::function<QString()> component, QWidget* parent)
    : QWidget(parent, Qt::Window), component_(std::move(component)), model_(new RecordGridModel(this)),
      grid_(new RecordGrid(model_, this)), status_(new QLabel(this)) {
    setObjectName(QStringLiteral("sel_recs"));
    setFont(designFont());
    setWindowTitle(QStringLiteral("Selected Records"));
    resize(twips(kWindowWidthTwips), twips(kWindowHeightTwips));
    status_->setObjectName(QStringLiteral("Label_count"));
    // A long file name must not widen the window; the tooltip holds the whole text.
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    QPushButton* about = addButton("Command3", QStringLiteral("About..."));
    QPushButton* save = addButton("Command2", QStringLiteral("Save as Text File"));
    exit_ = addButton("Command1", QStringLiteral("Exit"));
    connect(about, &QPushButton::clicked, this, &SelRecsWindow::Command3_Click);
    connect(save, &QPushButton::clicked, this, &SelRecsWindow::Command2_Click);
    connect(exit_, &QPushButton::clicked, this, &SelRecsWindow::Command1_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(status_, 1);
    buttons->addWidget(about);
    buttons->addWidget(save);
    buttons->addWidget(exit_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    setTabOrder(exit_, save);
    setTabOrder(save, about);
    setTabOrder(about, grid_);

    // The count follows the grid once the current change is done: a grid written cell by cell
    // is counted once.
    const auto recount = [this] {
        if (countPending_)
            return;
        countPending_ = true;
        QTimer::singleShot(0, this, &SelRecsWindow::showRecordCount);
    };
    connect(model_, &QAbstractItemModel::modelReset, this, recount);
    connect(model_, &QAbstractItemModel::dataChanged, this, recount);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, recount);
    showRecordCount();

    connect(grid_, &RecordGrid::rowSelectionChanged, this, &SelRecsWindow::reportSelection);
    connect(grid_, &RecordGrid::rowActivated, this, [this](int row) {
        const RowSource source = model_->rowSource(row);
        if (source.isRecord())
            emit recordChosen(source);
    });
}

QPushButton* SelRecsWindow::addButton(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(QLatin1String(name));
    button->setFixedSize(twips(kButtonWidthTwips), twips(kButtonHeightTwips));
    return button;
}

void SelRecsWindow::showRecordCount() {
    countPending_ = false;
    showStatus(recordCount(countRecords(*model_)));
}

void SelRecsWindow::showStatus(const QString& text) {
    status_->setText(text);
    status_->setToolTip(text);
}

void SelRecsWindow::reportSelection() {
    QVector<RowSource> records;
    if (isVisible()) {
        for (int row : grid_->selectedRows()) {
            const RowSource source = model_->rowSource(row);
            if (source.hasShape())
                records.append(source);
        }
        const auto byLayerAndFeature = [](const RowSource& a, const RowSource& b) {
            return std::pair(a.layer, a.feature) < std::pair(b.layer, b.feature);
        };
        std::sort(records.begin(), records.end(), byLayerAndFeature);
        records.erase(std::unique(records.begin(), records.end()), records.end());
    }
    emit recordsSelected(records);
}

void SelRecsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    exit_->setFocus(Qt::OtherFocusReason);
    reportSelection();
}

void SelRecsWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    reportSelection();
}

void SelRecsWindow::Command1_Click() {
    hide();
}

void SelRecsWindow::Command2_Click() {
    const SaveReport report = saveGridAsText(this, *model_, component_());
    if (report.path.isEmpty() || !report.result.ok())
        return;
    const QString file = QDir::toNativeSeparators(report.path);
    showStatus(
        report.result.recordsWritten == 0
            ? QStringLiteral("No records: nothing appended to %1").arg(file)
            : QStringLiteral("%1 appended to %2").arg(recordCount(report.result.recordsWritten), file));
}

void SelRecsWindow::Command3_Click() {
    showAboutProgrammeWindow(this);
}

} // namespace quillfen
