#include "visuals/press_feedback.h"

#include <QEvent>
#include <QLabel>

#include "visuals/window_drag.h"

namespace hollowtide::visuals {

namespace {

void SetTextColour(QLabel* label, QRgb colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
}

// Lives as the label's child, so it goes with the label.
class PressFeedback : public QObject {
  public:
    explicit PressFeedback(QLabel* label) : QObject(label), label_(label) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                SetTextColour(label_, kPressedTextColour);
                break;
            case QEvent::MouseButtonRelease:
                SetTextColour(label_, kNormalTextColour);
                break;
            default:
                break;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QLabel* label_;
};

}  // namespace

void InstallPressFeedback(QLabel* label) {
    SetTextColour(label, kNormalTextColour);
    BlockDrag(label);
    label->installEventFilter(new PressFeedback(label));
}

}  // namespace hollowtide::visuals
