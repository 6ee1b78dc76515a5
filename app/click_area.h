// An invisible hot spot laid over artwork: it reports a click when a press is released over it.
#pragma once

#include <QMouseEvent>
#include <QWidget>

namespace hollowtide {

class ClickArea : public QWidget {
    Q_OBJECT
  public:
    explicit ClickArea(QWidget* parent = nullptr) : QWidget(parent) {
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
    }

  signals:
    void clicked();

  protected:
    // Presses and moves stop here: they never reach the picture or window underneath.
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
    }
};

}  // namespace hollowtide
