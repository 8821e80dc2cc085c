#include "window_parts/tab_panel.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>

namespace quillfen {
namespace {

constexpr int kTabRowHeight = 22;
constexpr const char* kDesignedTop = "designedTop";

} // namespace

/// A tab drawn as the style draws tabs, its caption made smaller when needed so it fits.
class TabButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TabButton(const QString& caption, QWidget* parent) : QAbstractButton(parent) {
        setText(caption);
        setCheckable(true);
        setFocusPolicy(Qt::TabFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionTab tab;
        tab.initFrom(this);
        tab.shape = QTabBar::RoundedNorth;
        tab.position = QStyleOptionTab::Middle;
        if (isChecked())
            tab.state |= QStyle::State_Selected;
        else
            tab.state &= ~QStyle::State_Selected;
        painter.drawControl(QStyle::CE_TabBarTabShape, tab);

        // The tab in front reads in bold; any caption shrinks until it fits its tab.
        QFont caption = font();
        caption.setBold(isChecked());
        const QRect area = rect().adjusted(2, 2, -2, 0);
        while (caption.pointSizeF() > 6 && QFontMetrics(caption).horizontalAdvance(text()) > area.width())
            caption.setPointSizeF(caption.pointSizeF() - 0.5);
        painter.setFont(caption);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(area, Qt::AlignCenter, text());
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = area.adjusted(0, 2, 0, -2);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }
};

TabPanel::TabPanel(int tabsPerRow, QWidget* parent)
    : QWidget(parent), tabsPerRow_(tabsPerRow), pages_(new QStackedWidget(this)) {
    // The panel draws the page's frame below the tabs; the pages are see-through over it.
    pages_->setFrameShape(QFrame::NoFrame);
    group_.setExclusive(true);
    connect(&group_, &QButtonGroup::idClicked, this, &TabPanel::setCurrentIndex);
}

QWidget* TabPanel::addTab(const QString& caption) {
    auto* page = new QWidget;
    pages_->addWidget(page);
    auto* tab = new TabButton(caption, this);
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
    // Tab stops at the tab in front only; the arrow keys go from tab to tab, bringing each
    // page to the front, as the buttons of an exclusive group do.
    for (QAbstractButton* tab : tabs_)
        tab->setFocusPolicy(tab == tabs_[index] ? Qt::TabFocus : Qt::NoFocus);
    if (pages_->currentIndex() != index) {
        pages_->setCurrentIndex(index);
        layoutTabs();
        emit currentChanged(index);
    }
}

int TabPanel::rowCount() const {
    return (count() + tabsPerRow_ - 1) / tabsPerRow_;
}

int TabPanel::headerHeight() const {
    return rowCount() * kTabRowHeight;
}

void TabPanel::setDesignedHeight(int pixels) {
    designedHeight_ = pixels;
    closeUpPages();
}

void TabPanel::resizeEvent(QResizeEvent*) {
    layoutTabs();
    closeUpPages();
}

void TabPanel::closeUpPages() {
    if (designedHeight_ <= headerHeight())
        return;
    const int header = headerHeight();
    const double factor =
        height() >= designedHeight_ ? 1.0 : double(height() - header) / (designedHeight_ - header);
    for (int i = 0; i < pages_->count(); ++i) {
        for (QWidget* control :
             pages_->widget(i)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            // Each control remembers where it was placed, so that growing back restores it.
            QVariant designedTop = control->property(kDesignedTop);
            if (!designedTop.isValid()) {
                designedTop = control->y();
                control->setProperty(kDesignedTop, designedTop);
            }
            control->move(control->x(), header + qRound((designedTop.toInt() - header) * factor));
        }
    }
}

void TabPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.shape = QTabBar::RoundedNorth;
    const int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    frame.rect = rect().adjusted(0, headerHeight() - overlap, 0, 0);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabPanel::layoutTabs() {
    // Pages cover the whole panel so that their children use panel coordinates.
    pages_->setGeometry(rect());
    const int tabWidth = width() / tabsPerRow_;
    const int rows = rowCount();
    const int frontRow = qMax(0, pages_->currentIndex()) / tabsPerRow_;
    for (int i = 0; i < tabs_.size(); ++i) {
        // The front tab's row comes next to the page; the rows after it follow from the top.
        const int row = (i / tabsPerRow_ - frontRow - 1 + rows) % rows;
        const int column = i % tabsPerRow_;
        tabs_[i]->setGeometry(column * tabWidth, row * kTabRowHeight, tabWidth, kTabRowHeight);
        tabs_[i]->raise();
    }
    update();
}

} // namespace quillfen

#include "tab_panel.moc"
