#include "app/tab_panel.h"

#include <QToolButton>

namespace quillfen {
namespace {
constexpr int kTabRowHeight = 22;
}

TabPanel::TabPanel(int tabsPerRow, QWidget* parent)
    : QWidget(parent), tabsPerRow_(tabsPerRow), pages_(new QStackedWidget(this)) {
    pages_->setFrameShape(QFrame::StyledPanel);
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idClicked, this, &TabPanel::setCurrentIndex);
}

QWidget* TabPanel::addTab(const QString& caption) {
    auto* page = new QWidget;
    pages_->addWidget(page);
    auto* tab = new QToolButton(this);
    tab->setText(caption);
    tab->setCheckable(true);
    tab->setAutoRaise(false);
    tab->setStyleSheet(QStringLiteral("QToolButton { padding: 0px; }"));
    tab->setObjectName(QStringLiteral("tab_%1").arg(tabs_.size()));
    group_.addButton(tab, int(tabs_.size()));
    tabs_.append(tab);
    if (tabs_.size() == 1)
        tab->setChecked(true);
    layoutTabs();
    return page;
}

void TabPanel::setCurrentIndex(int index) {
    if (index < 0 || index >= count())
        return;
    tabs_[index]->setChecked(true);
    if (pages_->currentIndex() != index) {
        pages_->setCurrentIndex(index);
        emit currentChanged(index);
    }
}

int TabPanel::headerHeight() const {
    const int rows = (count() + tabsPerRow_ - 1) / tabsPerRow_;
    return rows * kTabRowHeight;
}

void TabPanel::resizeEvent(QResizeEvent*) { layoutTabs(); }

void TabPanel::layoutTabs() {
    // Pages cover the whole panel so that their children use panel coordinates.
    pages_->setGeometry(rect());
    const int tabWidth = width() / tabsPerRow_;
    for (int i = 0; i < tabs_.size(); ++i) {
        const int row = i / tabsPerRow_;
        const int column = i % tabsPerRow_;
        tabs_[i]->setGeometry(column * tabWidth, row * kTabRowHeight, tabWidth, kTabRowHeight);
        tabs_[i]->raise();
    }
}

}  // namespace quillfen
