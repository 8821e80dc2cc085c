#pragma once

#include <QButtonGroup>
#include <QStackedWidget>
#include <QVector>
#include <QWidget>

class QAbstractButton;

namespace quillfen {

/// A tabbed panel whose tabs wrap onto several rows (four per row). Each page covers the
/// whole panel, so that a control placed on a page at (x, y) stands at (x, y) of the panel;
/// the rows of tabs are drawn over the page's top, above the page's frame. The tab in front
/// is joined to the page: its row is the one next to the page, the rows keeping their order
/// round the cycle, and every tab keeps its column.
class TabPanel : public QWidget {
    Q_OBJECT
public:
    explicit TabPanel(int tabsPerRow, QWidget* parent = nullptr);

    /// Adds a tab with its caption and returns its page.
    QWidget* addTab(const QString& caption);
    int count() const { return int(tabs_.size()); }
    int currentIndex() const { return pages_->currentIndex(); }
    void setCurrentIndex(int index);
    QWidget* page(int index) const { return pages_->widget(index); }
    QAbstractButton* tabButton(int index) const { return tabs_.value(index); }
    /// Height of the rows of tabs, in pixels.
    int headerHeight() const;
    /// The height the pages' controls were placed for. A shorter panel closes up the
    /// controls below the tabs towards them in proportion, keeping their heights; at this
    /// height or taller they stand where they were placed.
    void setDesignedHeight(int pixels);

signals:
    void currentChanged(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layoutTabs();
    void closeUpPages();
    int rowCount() const;

    int tabsPerRow_;
    int designedHeight_ = 0;
    QStackedWidget* pages_;
    QButtonGroup group_;
    QVector<QAbstractButton*> tabs_;
};

} // namespace quillfen
