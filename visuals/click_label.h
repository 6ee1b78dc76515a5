// A label that reports a click the way the program's buttons expect it: the left button pressed
// on the label and released over it. Hot spots without a caption are click labels too. It keeps
// presses and moves to itself, so pressing it never drags the window beneath. UI thread only.
#pragma once

#include <QAccessible>
#include <QLabel>
#include <QString>

namespace hollowtide::visuals {

// The name a screen reader gives a text button: its caption without the angle brackets, in
// sentence case (">Next Tune<" is "Next tune").
QString AccessibleNameFromCaption(const QString& caption);

class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ClickLabel(QWidget* parent = nullptr);

    // Tells assistive technology what the label is (Button, Link...) and offers it a press
    // action that clicks. A label with no role set is plain text to them. The name is the
    // accessible name when one is set, else the caption as AccessibleNameFromCaption gives it.
    void SetAccessibleRole(QAccessible::Role role);
    // Shorthand for a button that has a name of its own, such as a hot spot without a caption.
    void MakeAccessibleButton(const QString& name);
    QAccessible::Role AccessibleRole() const { return role_; }
    bool HasAccessibleRole() const { return hasRole_; }

    // A click from elsewhere than the pointer (a screen reader's press action). Like a real
    // click, it cannot reach a window behind an open message box: it waits until the box is
    // closed, in line with the other clicks that came from elsewhere.
    void Click();

  signals:
    void clicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool armed_ = false;
    bool hasRole_ = false;
    QAccessible::Role role_ = QAccessible::StaticText;
};

}  // namespace hollowtide::visuals
