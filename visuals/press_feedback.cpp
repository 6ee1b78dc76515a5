#include "visuals/press_feedback.h"

#include <QEvent>
#include <QLabel>

#include "visuals/text_look.h"
#include "visuals/window_drag.h"

namespace hollowtide::visuals {

namespace {

// Lives as the label's child, so it goes with the label.
class PressFeedback : public QObject {
  public:
    explicit PressFeedback(QLabel* label) : QObject(label), label_(label) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
                SetTextColour(label_, QColor::fromRgb(kPressedTextColour));
                break;
            case QEvent::MouseButtonRelease:
                SetTextColour(label_, QColor::fromRgb(kNormalTextColour));
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
    SetTextColour(label, QColor::fromRgb(kNormalTextColour));
    BlockDrag(label);
    label->installEventFilter(new PressFeedback(label));
}

}  // namespace hollowtide::visuals
