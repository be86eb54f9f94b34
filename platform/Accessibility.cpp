#include "platform/Accessibility.h"

#include "platform/Announcer.h"
#include "platform/Controls.h"
#include "platform/Forms.h"

#include <QAccessibleWidget>

namespace platform {

namespace {

class LabelInterface : public QAccessibleWidget {
  public:
    explicit LabelInterface(TLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return Label()->VisibleText();
        }
        return QAccessibleWidget::text(t);
    }

    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto result = QAccessibleWidget::relations(match);
        if ((match & QAccessible::Labelled) != 0 && Label()->LabelFor() != nullptr) {
            if (QAccessibleInterface* control = QAccessible::queryAccessibleInterface(Label()->LabelFor())) {
                result.append({control, QAccessible::Labelled});
            }
        }
        return result;
    }

  private:
    TLabel* Label() const { return static_cast<TLabel*>(widget()); }
};

class NotificationInterface : public QAccessibleWidget {
  public:
    explicit NotificationInterface(TAnnouncer* announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            return static_cast<const TAnnouncer*>(widget())->Text();
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* label = qobject_cast<TLabel*>(object)) {
        return new LabelInterface(label);
    }
    if (auto* announcer = qobject_cast<TAnnouncer*>(object)) {
        return new NotificationInterface(announcer);
    }
    if (auto* form = qobject_cast<TForm*>(object)) {
        return new QAccessibleWidget(form, QAccessible::Window);
    }
    if (auto* box = qobject_cast<TPaintBox*>(object)) {
        return new QAccessibleWidget(box, QAccessible::Graphic);
    }
    return nullptr;
}

} // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

void NameAfterLabel(QWidget* control, const QString& name, TLabel* label) {
    label->SetLabelFor(control);
    const auto rename = [control, name, label] {
        const QString text = label->VisibleText();
        control->setAccessibleName(text.isEmpty() ? name : name + QStringLiteral(": ") + text);
    };
    QObject::connect(label, &TLabel::CaptionChanged, control, rename);
    rename();
}

} // namespace platform
