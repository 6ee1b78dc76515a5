// The hidden joke window, opened with the M key from the main window: a cartoon with three
// radio buttons, a title that changes every 2.5 s and two small sprites that come and go.
// It deletes itself when closed, so the next opening starts from scratch.
// UI thread only.
#pragma once

#include <QWidget>

#include "app/joke_steps.h"
#include "visuals/window_placement.h"

class QLabel;
class QRadioButton;
class QTimer;

namespace hollowtide {

class Form2 : public QWidget {
    Q_OBJECT
  public:
    explicit Form2(QWidget* parent = nullptr);

    // One joke step; Timer1 calls it every 2.5 s and tests call it directly.
    void Timer1Tick();

    const app::JokeSteps& Steps() const { return steps_; }
    QTimer* Timer1() const { return Timer1_; }

  signals:
    // The window was closed; it is deleted at the next turn of the event loop.
    void closed();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QRadioButton* MakeOption(const char* name, int x, int y);
    QLabel* MakeImage(const char* name, const QRect& place);
    void Apply(QLabel* image, app::PictureChange change, const QLabel* store);

    app::JokeSteps steps_;
    QTimer* Timer1_ = nullptr;
    QRadioButton* Option1_ = nullptr;
    QRadioButton* Option2_ = nullptr;
    QRadioButton* Option3_ = nullptr;
    QLabel* Image1_ = nullptr;
    QLabel* Image2_ = nullptr;
    QLabel* Image3_ = nullptr;
    QLabel* Image4_ = nullptr;
    visuals::CentreOnFirstShow placement_;
};

}  // namespace hollowtide
