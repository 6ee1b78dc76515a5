// The hidden window's cartoon (a pirate captain and his crew on a beach) and its two sprites.

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

const QColor kInk(20, 12, 8);

void Scenery(QPainter& p, Rng& rng) {
    QLinearGradient sky(0, 0, 0, 70);
    sky.setColorAt(0.0, QColor(60, 150, 240));
    sky.setColorAt(1.0, QColor(170, 225, 255));
    p.fillRect(QRectF(0, 0, 208, 72), sky);
    // Sun and two fat cartoon clouds.
    p.setPen(QPen(QColor(240, 150, 20), 1.5));
    p.setBrush(QColor(255, 220, 60));
    p.drawEllipse(QPointF(186, 18), 12, 12);
    p.setPen(QPen(QColor(150, 180, 220), 1));
    p.setBrush(Qt::white);
    for (const QPointF c : {QPointF(30, 42), QPointF(112, 16)}) {
        p.drawEllipse(c, 12, 7);
        p.drawEllipse(c + QPointF(10, -4), 10, 8);
        p.drawEllipse(c + QPointF(20, 1), 10, 6);
    }
    // Sea with white wave ticks and a ship on the horizon.
    QLinearGradient sea(0, 70, 0, 96);
    sea.setColorAt(0.0, QColor(20, 110, 190));
    sea.setColorAt(1.0, QColor(40, 190, 210));
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawRect(QRectF(0, 70, 208, 30));
    p.setPen(QPen(QColor(230, 250, 255), 1));
    for (int i = 0; i < 22; ++i) {
        const double x = rng.Range(0, 200);
        const double y = rng.Range(74, 92);
        p.drawArc(QRectF(x, y, 6, 4), 0, 180 * 16);
    }
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(110, 60, 30));
    p.drawPath(Polygon({{112, 66}, {134, 66}, {130, 71}, {115, 71}}));  // hull
    p.drawLine(QPointF(123, 66), QPointF(123, 50));
    p.setBrush(QColor(245, 240, 225));
    p.drawRect(QRectF(117, 53, 12, 9));
    p.setBrush(kInk);
    p.drawRect(QRectF(123, 47, 6, 3));
    // Sand with a wet edge.
    QPainterPath beach;
    beach.moveTo(0, 100);
    beach.cubicTo(60, 88, 130, 104, 208, 92);
    beach.lineTo(208, 147);
    beach.lineTo(0, 147);
    beach.closeSubpath();
    p.setPen(QPen(QColor(240, 250, 255), 2));
    QLinearGradient sand(0, 90, 0, 147);
    sand.setColorAt(0.0, QColor(250, 225, 150));
    sand.setColorAt(1.0, QColor(225, 180, 100));
    p.setBrush(sand);
    p.drawPath(beach);
    p.setPen(QPen(QColor(200, 150, 80), 1));
    for (int i = 0; i < 40; ++i) {
        const QPointF at(rng.Range(0, 208), rng.Range(104, 146));
        p.drawPoint(at);
    }
    // Half-buried treasure chest, bottom middle.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(130, 70, 30));
    p.drawRect(QRectF(96, 132, 22, 12));
    p.setBrush(QColor(250, 210, 40));
    p.drawEllipse(QRectF(98, 127, 18, 8));
    p.drawRect(QRectF(105, 135, 4, 4));
}

void Palm(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    QPainterPath trunk;
    trunk.moveTo(190, 122);
    trunk.cubicTo(188, 100, 176, 80, 168, 62);
    trunk.lineTo(174, 60);
    trunk.cubicTo(184, 80, 197, 100, 199, 122);
    trunk.closeSubpath();
    p.setBrush(QColor(150, 95, 45));
    p.drawPath(trunk);
    p.setBrush(QColor(40, 160, 60));
    const QPointF top(171, 60);
    for (const QPointF tip : {QPointF(140, 66), QPointF(150, 44), QPointF(178, 40),
                              QPointF(203, 52), QPointF(206, 76)}) {
        QPainterPath frond;
        frond.moveTo(top);
        const QPointF mid = (top + tip) / 2 + QPointF(0, -8);
        frond.quadTo(mid + QPointF(0, -5), tip);
        frond.quadTo(mid + QPointF(0, 4), top);
        p.drawPath(frond);
    }
    p.setBrush(QColor(110, 70, 30));
    p.drawEllipse(QPointF(168, 63), 3, 3);
    p.drawEllipse(QPointF(174, 64), 3, 3);
}

void Face(QPainter& p, QPointF c, double r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(250, 200, 150));
    p.drawEllipse(c, r, r);
    p.setBrush(kInk);
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.15), 1.0, 1.3);
    p.drawEllipse(c + QPointF(r * 0.35, -r * 0.15), 1.0, 1.3);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.45, c.y() + r * 0.05, r * 0.9, r * 0.6), 200 * 16, 140 * 16);
}

// Skinny deckhand on the left, one hand raised where the flag sprite appears.
void Deckhand(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    // Legs and feet.
    p.setBrush(QColor(60, 80, 140));
    p.drawRect(QRectF(29, 124, 4, 15));
    p.drawRect(QRectF(36, 124, 4, 15));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(26, 138, 8, 4));
    p.drawEllipse(QRectF(36, 138, 8, 4));
    // Striped shirt.
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(27, 108, 15, 18), 3, 3);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    for (int y = 112; y < 126; y += 4) p.drawLine(QPointF(28, y), QPointF(41, y));
    // Raised arm up to the flag spot at (16..29, 80..91).
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(250, 200, 150));
    p.drawPath(Polygon({{28, 111}, {22, 93}, {26, 92}, {32, 109}}));
    p.drawEllipse(QPointF(23.5, 92), 2.8, 2.8);
    // Other arm on the hip.
    p.drawLine(QPointF(41, 112), QPointF(46, 118));
    p.drawLine(QPointF(46, 118), QPointF(41, 122));
    Face(p, QPointF(35, 100), 7);
    // Bandana.
    p.setBrush(QColor(210, 30, 30));
    p.drawChord(QRectF(28, 92, 14, 12), 20 * 16, 140 * 16);
    p.drawLine(QPointF(42, 96), QPointF(46, 100));
}

// The fat one, in the middle; the pig sprite appears by his head at (76..84, 44..56).
void FatBoy(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(90, 60, 40));
    p.drawRect(QRectF(82, 108, 7, 22));
    p.drawRect(QRectF(95, 108, 7, 22));
    p.setBrush(kInk);
    p.drawEllipse(QRectF(78, 128, 12, 5));
    p.drawEllipse(QRectF(94, 128, 12, 5));
    // Belly in a green shirt with a belt.
    p.setBrush(QColor(70, 170, 80));
    p.drawEllipse(QPointF(92, 90), 20, 22);
    p.setBrush(QColor(250, 210, 170));
    p.drawEllipse(QPointF(92, 96), 10, 11);
    p.setBrush(QColor(60, 35, 20));
    p.drawRect(QRectF(73, 100, 38, 4));
    p.setBrush(QColor(250, 210, 40));
    p.drawRect(QRectF(89, 99, 6, 6));
    // Arms: one scratching his head, one holding a drumstick.
    p.setBrush(QColor(70, 170, 80));
    p.drawEllipse(QPointF(110, 86), 5, 9);
    p.drawEllipse(QPointF(74, 78), 5, 9);
    p.setBrush(QColor(250, 200, 150));
    p.drawEllipse(QPointF(112, 96), 3.5, 3.5);
    p.drawEllipse(QPointF(78, 67), 3.5, 3.5);
    p.setBrush(QColor(170, 90, 40));
    p.drawEllipse(QPointF(117, 92), 4, 3);
    // Round face with stubble and a worried mouth.
    Face(p, QPointF(92, 60), 11);
    p.setPen(QPen(QColor(100, 80, 60), 1));
    for (int i = 0; i < 6; ++i) p.drawPoint(QPointF(86 + i * 2.2, 66 + (i % 2)));
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(40, 40, 60));
    p.drawChord(QRectF(81, 46, 22, 12), 0, 180 * 16);
}

// The captain: tall, red coat, tricorn with skull, hook hand, cutlass pointing at the crew.
void Captain(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    // Boot and peg leg.
    p.setBrush(QColor(30, 20, 15));
    p.drawRect(QRectF(140, 108, 7, 20));
    p.drawEllipse(QRectF(134, 126, 14, 6));
    p.setBrush(QColor(170, 120, 60));
    p.drawRect(QRectF(152, 108, 4, 22));
    // Coat.
    p.setBrush(QColor(190, 25, 30));
    p.drawPath(Polygon({{138, 72}, {158, 72}, {164, 112}, {132, 112}}));
    p.setBrush(QColor(250, 220, 60));
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(148, 78 + i * 8), 1.2, 1.2);
    p.setBrush(QColor(60, 35, 20));
    p.drawRect(QRectF(134, 94, 28, 4));
    // Sword arm reaching left, cutlass blade.
    p.setBrush(QColor(190, 25, 30));
    p.drawPath(Polygon({{139, 76}, {124, 86}, {126, 91}, {141, 83}}));
    p.setBrush(QColor(250, 200, 150));
    p.drawEllipse(QPointF(124, 88), 3, 3);
    QPainterPath blade;
    blade.moveTo(122, 86);
    blade.quadTo(112, 76, 108, 66);
    blade.quadTo(116, 74, 124, 84);
    blade.closeSubpath();
    p.setBrush(QColor(220, 225, 235));
    p.drawPath(blade);
    // Hook arm.
    p.setBrush(QColor(190, 25, 30));
    p.drawEllipse(QPointF(163, 86), 4, 10);
    p.setPen(QPen(QColor(150, 150, 160), 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(162, 96, 7, 7), 90 * 16, 270 * 16);
    // Head, beard, eye patch.
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(40, 20, 10));
    p.drawEllipse(QPointF(148, 66), 10, 9);
    Face(p, QPointF(148, 58), 9);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(144.5, 56.5), 2.6, 2.4);
    p.drawLine(QPointF(139, 53), QPointF(157, 55));
    // Tricorn.
    QPainterPath hat;
    hat.moveTo(132, 52);
    hat.quadTo(140, 46, 140, 36);
    hat.quadTo(148, 30, 156, 36);
    hat.quadTo(156, 46, 164, 52);
    hat.quadTo(148, 46, 132, 52);
    p.setBrush(QColor(25, 20, 35));
    p.drawPath(hat);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(148, 42), 2.6, 2.4);
    p.setPen(QPen(Qt::white, 1));
    p.drawLine(QPointF(144, 46), QPointF(152, 48));
    p.drawLine(QPointF(152, 46), QPointF(144, 48));
    // Parrot on the shoulder.
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(40, 190, 60));
    p.drawEllipse(QPointF(160, 68), 3.5, 5);
    p.setBrush(QColor(230, 40, 30));
    p.drawEllipse(QPointF(160, 62), 3, 3);
    p.setBrush(QColor(250, 200, 40));
    p.drawEllipse(QPointF(163, 62.5), 1.3, 1);
}

}  // namespace

QImage HiddenCartoon() {
    QImage image = Canvas(208, 147);
    Rng rng(0xBEAC4u);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Scenery(p, rng);
    Palm(p);
    Deckhand(p);
    FatBoy(p);
    Captain(p);
    return image;
}

QImage SpriteFlag() {
    return PixelSprite({"BKKKKKKKKKKKK", "BKKKKWWWWKKK.", "BKKKWWWWWWKKK", "BKKKWKWWKWKK.",
                        "BKKKWWWWWWKKK", "BKKKKWWWWKKK.", "BKWKKKKKKKKWK", "BKKWWKKKKWWK.",
                        "BKKKKWWWWKKKK", "BKKWWKKKKWWK.", "B............"},
                       {{'B', QColor(150, 90, 40)},
                        {'K', QColor(16, 16, 20)},
                        {'W', QColor(245, 245, 235)},
                        {'.', QColor(0, 0, 0, 0)}});
}

QImage SpritePig() {
    return PixelSprite({".D....D.", "DPD..DPD", "DPPDDPPD", "DPPPPPPD", "DKPPPPKD", "DPPPPPPD",
                        "DPSSSSPD", "DSnSSnSD", "DPSSSSPD", ".DPPPPD.", "..DDDD..", "........"},
                       {{'D', QColor(150, 50, 80)},
                        {'P', QColor(250, 160, 180)},
                        {'S', QColor(255, 200, 210)},
                        {'n', QColor(120, 30, 60)},
                        {'K', QColor(20, 10, 10)},
                        {'.', QColor(0, 0, 0, 0)}});
}

}  // namespace artgen
