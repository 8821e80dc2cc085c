#include "app/accessible_roles.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace quillfen {
namespace {

class PageTabAccessible : public QAccessibleWidget {
public:
    explicit PageTabAccessible(QAbstractButton* tab) : QAccessibleWidget(tab, QAccessible::PageTab) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return tab()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = tab()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) << QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            tab()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* tab() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* programControl(const QString& className, QObject* object) {
    if (className == QLatin1String("quillfen::TabButton"))
        return new PageTabAccessible(static_cast<QAbstractButton*>(object));
    if (className == QLatin1String("mapcontrol::MapControl") ||
        className == QLatin1String("quillfen::LegendSwatch"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Graphic);
    return nullptr;
}

} // namespace

void installAccessibleRoles() {
    static const bool installed = (QAccessible::installFactory(programControl), true);
    Q_UNUSED(installed);
}

} // namespace quillfen
