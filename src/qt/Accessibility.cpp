#include "qt/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

// Qt 6.4 on Linux names a combo box by its current item whatever its
// accessible name; a named one is told apart here, its item as its value.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Value ? box()->currentText() : QAccessibleWidget::text(kind);
    }
    // The list it drops, as Qt's own combo box has it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(box()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == box()->view() ? 0 : -1;
    }
    QStringList actionNames() const override {
        return QStringList(showMenuAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) return box()->showPopup();
        QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedComboBox(const QString& className, QObject* object) {
    auto* box = className == "QComboBox" ? qobject_cast<QComboBox*>(object) : nullptr;
    return box && !box->accessibleName().isEmpty() ? new NamedComboBox(box) : nullptr;
}

}  // namespace

namespace accessibility {

void nameControls(QWidget* window, std::span<const AccessibleName> names) {
    QAccessible::installFactory(namedComboBox);  // once: Qt keeps each factory one time
    for (const AccessibleName& entry : names) {
        auto* control = window->findChild<QWidget*>(entry.control);
        if (!control) continue;
        control->setAccessibleName(entry.name);
        control->setAccessibleDescription(entry.description);
        // Made again through the factories, which now see the name.
        if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(control))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace accessibility
