#include "t_accessible.h"

#include "t_gauge.h"
#include "t_panels.h"

#include <QAccessibleWidget>

#include <mutex>

namespace {

// Marks the interfaces made here, so that a plain one can be told apart.
class component_interface : public QAccessibleWidget {
public:
    using QAccessibleWidget::QAccessibleWidget;
};

class gauge_interface : public component_interface, public QAccessibleValueInterface {
public:
    explicit gauge_interface(TCGauge* gauge) : component_interface(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return component_interface::interface_cast(type);
    }
    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return QString("%1%").arg(gauge()->PercentDone());
        return component_interface::text(kind);
    }

    QVariant currentValue() const override { return QVariant::fromValue<qlonglong>(gauge()->Progress()); }
    void setCurrentValue(const QVariant&) override {}  // the estimate sets it, not the user
    QVariant maximumValue() const override { return QVariant::fromValue<qlonglong>(gauge()->MaxValue()); }
    QVariant minimumValue() const override { return QVariant::fromValue<qlonglong>(gauge()->MinValue()); }
    QVariant minimumStepSize() const override { return QVariant::fromValue<qlonglong>(1); }

private:
    const TCGauge* gauge() const { return static_cast<const TCGauge*>(widget()); }
};

class panel_interface : public component_interface {
public:
    explicit panel_interface(TPanel* panel) : component_interface(panel, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        const QString caption = static_cast<const TPanel*>(widget())->Caption();
        const QString own = component_interface::text(kind);
        switch (kind) {
            case QAccessible::Name:
            case QAccessible::Description: return own.isEmpty() ? caption : own;
            case QAccessible::Value: return caption;
            default: return own;
        }
    }
};

QAccessibleInterface* component_factory(const QString&, QObject* object) {
    if (auto* gauge = dynamic_cast<TCGauge*>(object)) return new gauge_interface(gauge);
    if (auto* panel = dynamic_cast<TPanel*>(object)) return new panel_interface(panel);
    return nullptr;
}

}  // namespace

void use_component_interface(QWidget* component) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(component_factory); });
    // Only an active reader makes interfaces, and it may have asked while the
    // widget was no more than a QWidget (its parent set in the base's constructor).
    if (!QAccessible::isActive()) return;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(component);
    if (made && !dynamic_cast<component_interface*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
