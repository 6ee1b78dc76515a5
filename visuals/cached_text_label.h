// A label whose text is drawn once per colour and then copied: for long captions that move or
// change colour many times a second while only a strip of them shows (the intro's marquee, the
// player's scrolling title). Laying out and shaping a whole line of text on every repaint costs
// far more than copying the few pixels on show.
//
// It shows plain text only, in the palette's window-text colour, left-aligned and vertically
// centred like a QLabel with those settings. UI thread only.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <vector>

namespace hollowtide::visuals {

class CachedTextLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct Drawn {
        QColor colour;
        QPixmap pixmap;
    };
    const QPixmap& DrawnFor(const QColor& colour);

    // What the drawings below were made for; any change throws them away.
    QString drawnText_;
    QFont drawnFont_;
    QSize drawnSize_;
    qreal drawnRatio_ = 0.0;
    std::vector<Drawn> drawn_;  // one per colour seen, a handful at most
};

}  // namespace hollowtide::visuals
