// The intro screen's button picture (GO bubble, pirate head, EXIT bubble) and the program icon.

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

// A comic speech bubble: an ellipse with a tail pointing at `tip`.
void SpeechBubble(QPainter& p, QRectF oval, QPointF tailRoot, QPointF tip, const QString& text,
                  int pixelSize, QColor ink) {
    QPainterPath bubble;
    bubble.addEllipse(oval);
    QPainterPath tail;
    const QPointF across(tailRoot.y() - tip.y(), tip.x() - tailRoot.x());
    const double len = std::hypot(across.x(), across.y());
    const QPointF side = across / len * 6.0;
    tail.moveTo(tailRoot + side);
    tail.quadTo((tailRoot + tip) / 2 + side * 0.3, tip);
    tail.quadTo((tailRoot + tip) / 2 - side * 0.6, tailRoot - side);
    tail.closeSubpath();
    bubble = bubble.united(tail);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 140));
    p.drawPath(bubble.translated(2, 2));  // drop shadow
    QRadialGradient paper(oval.center() - QPointF(oval.width() * 0.2, oval.height() * 0.25),
                          oval.width() * 0.8);
    paper.setColorAt(0.0, QColor(255, 255, 255));
    paper.setColorAt(1.0, QColor(255, 238, 170));
    p.setBrush(paper);
    p.setPen(QPen(QColor(20, 10, 0), 2.0));
    p.drawPath(bubble);

    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    QPainterPath label;
    const QFontMetricsF fm(font);
    const double w = fm.horizontalAdvance(text);
    label.addText(oval.center() + QPointF(-w / 2 - 1, fm.capHeight() / 2), font, text);
    p.setPen(QPen(QColor(20, 10, 0), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(label.translated(1.5, 1.5));
    p.drawPath(label);
    QLinearGradient fill(label.boundingRect().topLeft(), label.boundingRect().bottomLeft());
    fill.setColorAt(0.0, ink.lighter(150));
    fill.setColorAt(1.0, ink.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(label);
}

// A pirate's head between the bubbles: tricorn hat with skull, eye patch, beard, gold earring.
void PirateHead(QPainter& p, QPointF c) {
    const QColor outline(20, 10, 0);
    p.setPen(QPen(outline, 1.6));
    // Beard behind the face.
    QPainterPath beard;
    beard.moveTo(c + QPointF(-17, 4));
    beard.quadTo(c + QPointF(-20, 28), c + QPointF(0, 34));
    beard.quadTo(c + QPointF(20, 28), c + QPointF(17, 4));
    beard.closeSubpath();
    p.setBrush(QColor(70, 35, 15));
    p.drawPath(beard);
    // Face.
    QRadialGradient skin(c + QPointF(-5, -2), 24);
    skin.setColorAt(0.0, QColor(255, 210, 160));
    skin.setColorAt(1.0, QColor(200, 130, 80));
    p.setBrush(skin);
    p.drawEllipse(c + QPointF(0, 6), 17, 19);
    // Mouth grin in the beard.
    p.setBrush(QColor(250, 250, 240));
    QPainterPath grin;
    grin.moveTo(c + QPointF(-8, 16));
    grin.quadTo(c + QPointF(0, 24), c + QPointF(8, 16));
    grin.closeSubpath();
    p.drawPath(grin);
    // Moustache.
    p.setBrush(QColor(60, 30, 12));
    QPainterPath tache;
    tache.moveTo(c + QPointF(0, 12));
    tache.cubicTo(c + QPointF(-6, 8), c + QPointF(-14, 12), c + QPointF(-16, 16));
    tache.cubicTo(c + QPointF(-10, 14), c + QPointF(-5, 16), c + QPointF(0, 14));
    tache.cubicTo(c + QPointF(5, 16), c + QPointF(10, 14), c + QPointF(16, 16));
    tache.cubicTo(c + QPointF(14, 12), c + QPointF(6, 8), c + QPointF(0, 12));
    p.drawPath(tache);
    // Nose.
    p.setBrush(QColor(225, 140, 100));
    p.drawEllipse(c + QPointF(1, 7), 3.5, 3.5);
    // Good eye and patch.
    p.setBrush(Qt::white);
    p.drawEllipse(c + QPointF(7, 0), 4, 4.5);
    p.setBrush(outline);
    p.drawEllipse(c + QPointF(6.5, 0.5), 1.8, 2.2);
    p.setPen(QPen(outline, 1.4));
    p.drawLine(c + QPointF(-17, -6), c + QPointF(16, -10));
    p.setBrush(outline);
    p.drawEllipse(c + QPointF(-6, 0), 5, 4.5);
    // Earring.
    p.setPen(QPen(QColor(250, 200, 40), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c + QPointF(-18, 12), 2.5, 3);
    // Tricorn hat.
    p.setPen(QPen(outline, 1.6));
    QPainterPath hat;
    hat.moveTo(c + QPointF(-29, -6));
    hat.quadTo(c + QPointF(-16, -16), c + QPointF(-14, -30));
    hat.quadTo(c + QPointF(0, -38), c + QPointF(14, -30));
    hat.quadTo(c + QPointF(16, -16), c + QPointF(29, -6));
    hat.quadTo(c + QPointF(0, -14), c + QPointF(-29, -6));
    QLinearGradient felt(c + QPointF(0, -38), c + QPointF(0, -6));
    felt.setColorAt(0.0, QColor(70, 60, 90));
    felt.setColorAt(1.0, QColor(15, 10, 25));
    p.setBrush(felt);
    p.drawPath(hat);
    p.setPen(QPen(QColor(230, 180, 50), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(QPainterPath(hat));
    // Skull and bones on the hat.
    p.setPen(QPen(Qt::white, 1.4));
    p.drawLine(c + QPointF(-5, -24), c + QPointF(5, -16));
    p.drawLine(c + QPointF(5, -24), c + QPointF(-5, -16));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c + QPointF(0, -22), 3.6, 3.4);
    p.setBrush(outline);
    p.drawEllipse(c + QPointF(-1.3, -22.3), 0.9, 0.9);
    p.drawEllipse(c + QPointF(1.3, -22.3), 0.9, 0.9);
}

}  // namespace

QImage IntroButtons() {
    QImage image = Canvas(242, 72);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PirateHead(p, QPointF(131, 36));
    // Bubbles sit under the window's hot areas: GO x 13-98, y 5-58; EXIT x 163-232, y 7-44.
    SpeechBubble(p, QRectF(14, 5, 82, 48), QPointF(82, 44), QPointF(104, 58), "GO!", 26,
                 QColor(230, 30, 20));
    SpeechBubble(p, QRectF(164, 7, 67, 36), QPointF(176, 37), QPointF(156, 52), "EXIT", 17,
                 QColor(20, 90, 200));
    return image;
}

QImage ProgramIcon() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Night-sea disc.
    QLinearGradient sea(0, 0, 0, 32);
    sea.setColorAt(0.0, QColor(20, 20, 90));
    sea.setColorAt(1.0, QColor(0, 40, 90));
    p.setPen(QPen(QColor(10, 10, 30), 1));
    p.setBrush(sea);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
    // Curling wave at the foot.
    const QPainterPath wave = IconWave();
    p.setPen(Qt::NoPen);
    p.setBrush(IconWater());
    p.drawPath(wave);
    // Crossed bones behind the skull.
    p.setPen(QPen(QColor(235, 235, 220), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 23));
    p.drawLine(QPointF(24, 8), QPointF(8, 23));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 235, 220));
    for (const QPointF end : {QPointF(8, 8), QPointF(24, 23), QPointF(24, 8), QPointF(8, 23)}) {
        p.drawEllipse(end + QPointF(-1.2, 0), 1.6, 1.6);
        p.drawEllipse(end + QPointF(1.2, 0), 1.6, 1.6);
    }
    // Skull.
    p.setPen(QPen(QColor(20, 20, 30), 1));
    p.setBrush(QColor(250, 250, 240));
    p.drawEllipse(QPointF(16, 12.5), 7.5, 7);
    p.drawRoundedRect(QRectF(12, 15, 8, 6.5), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 30));
    p.drawEllipse(QPointF(13, 13), 2.2, 2.4);
    p.drawEllipse(QPointF(19, 13), 2.2, 2.4);
    p.drawRect(QRectF(14, 18.5, 1, 2.5));
    p.drawRect(QRectF(16, 18.5, 1, 2.5));
    p.drawRect(QRectF(18, 18.5, 1, 2.5));
    return image;
}

}  // namespace artgen
