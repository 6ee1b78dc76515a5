#include "visuals/click_label.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPointer>

#include "audio/message_box.h"
#include "visuals/box_wait_queue.h"

namespace hollowtide::visuals {
namespace {

// What assistive technology sees of a click label that has a role.
class AccessibleClickLabel : public QAccessibleWidget {
  public:
    explicit AccessibleClickLabel(ClickLabel* label)
        : QAccessibleWidget(label, label->AccessibleRole()) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name) return QAccessibleWidget::text(kind);
        const ClickLabel* label = Label();
        if (!label->accessibleName().isEmpty()) return label->accessibleName();
        return AccessibleNameFromCaption(label->text());
    }

    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction()) {
            Label()->Click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

  private:
    ClickLabel* Label() const { return static_cast<ClickLabel*>(widget()); }
};

QAccessibleInterface* MakeAccessible(const QString&, QObject* object) {
    auto* label = qobject_cast<ClickLabel*>(object);
    if (label == nullptr || !label->HasAccessibleRole()) return nullptr;
    return new AccessibleClickLabel(label);
}

void InstallAccessibleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeAccessible);
        return true;
    }();
    (void)installed;
}

// One line for every click from elsewhere, so they run in the order they came; it lives as
// long as the application.
BoxWaitQueue& ClicksFromElsewhere() {
    static QPointer<BoxWaitQueue> queue;
    if (!queue) queue = new BoxWaitQueue(audio::MessageBoxOpen, QCoreApplication::instance());
    return *queue;
}

}  // namespace

void ClickLabel::Click() {
    QPointer<ClickLabel> label = this;
    ClicksFromElsewhere().Run([label] {
        if (label) emit label->clicked();
    });
}

QString AccessibleNameFromCaption(const QString& caption) {
    QString name = caption.trimmed();
    if (name.startsWith(QLatin1Char('>'))) name.remove(0, 1);
    if (name.endsWith(QLatin1Char('<'))) name.chop(1);
    name = name.trimmed().toLower();
    if (!name.isEmpty()) name[0] = name[0].toUpper();
    return name;
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
    // A button never hands its presses on to the window, so pressing it never drags the window.
    setAttribute(Qt::WA_NoMousePropagation);
}

void ClickLabel::SetAccessibleRole(QAccessible::Role role) {
    InstallAccessibleFactory();
    role_ = role;
    hasRole_ = true;
    // Setting the caption may already have made the plain label's interface; drop it, so the
    // next query makes one with the role.
    if (QAccessibleInterface* cached = QAccessible::queryAccessibleInterface(this)) {
        if (cached->role() != role)
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(cached));
    }
}

void ClickLabel::MakeAccessibleButton(const QString& name) {
    SetAccessibleRole(QAccessible::Button);
    setAccessibleName(name);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) armed_ = true;
    event->accept();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const bool click = armed_ && rect().contains(event->position().toPoint());
    armed_ = false;
    if (click) emit clicked();
}

}  // namespace hollowtide::visuals
