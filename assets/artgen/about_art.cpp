// The About screen's two pictures: dark abstract artwork with faint program text (left) and a
// sound chip on a circuit board (right).

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>
#include <cmath>

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

// Lines of the bubble routine, in the program's own words, as faint background text.
const char* const kListing[] = {
    "void BubbleField::Step() {",
    "  for (Bubble& b : bubbles_) {",
    "    Erase(b);",
    "    b.posY -= b.rise;",
    "    b.phase += kPhaseStep / b.rise;",
    "    if (b.posY < 0) Renew(b);",
    "    const float x = halfWidth_ +",
    "      b.sway * std::sin(6.28f * b.phase);",
    "    Ring(x, b.posY, b.radius, kCyan);",
    "  }",
    "}",
    "",
    "// 32 bars, pitch 3, sink 2 or 3",
    "for (int k = 0; k < 32; ++k) {",
    "  int y = Nearest(fft[k + 1] * h);",
    "  if (y < h / 2.0 && y > 1)",
    "    y = Nearest((h - y) * 0.3 + y);",
    "  if (levels[k] < y) levels[k] = y;",
    "  else levels[k] -= levels[k] > h/2",
    "                    ? 3 : 2;",
    "  Blit(band, 3 * k, h - levels[k]);",
    "}",
    "",
    "PlaySong(NextSong);",
    "NextSong = NextSong % 49 + 1;",
    "",
    "F3NL4RK // H0LL0WT1DE",
};

void Plasma(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const double v = std::sin(x * 0.045 + y * 0.012) + std::sin(y * 0.031 - x * 0.02) +
                             std::sin(std::hypot(x - 60.0, y - 250.0) * 0.06) +
                             std::sin(std::hypot(x - 150.0, y - 60.0) * 0.05);
            const double t = (v + 4.0) / 8.0;  // 0..1
            const double band = std::pow(std::abs(std::sin(t * 9.0)), 6.0);
            const int r = int(10 + 50 * t * t + 40 * band * t);
            const int g = int(4 + 14 * band);
            const int b = int(22 + 60 * t + 70 * band);
            row[x] = qRgb(std::min(r, 255), std::min(g, 255), std::min(b, 255));
        }
    }
}

void Streaks(QImage& image, Rng& rng) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (int i = 0; i < 9; ++i) {
        const double x = rng.Range(-60, 177);
        const double y = rng.Range(0, 352);
        QLinearGradient g(QPointF(x, y), QPointF(x + 120, y - 120));
        g.setColorAt(0.0, QColor(0, 0, 0, 0));
        g.setColorAt(0.5, QColor(60, 40, 120, 90));
        g.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.setPen(QPen(QBrush(g), rng.Range(1, 3)));
        p.drawLine(QPointF(x, y), QPointF(x + 120, y - 120));
    }
}

void Listing(QImage& image) {
    QPainter p(&image);
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(8);
    p.setFont(font);
    const int lines = int(sizeof(kListing) / sizeof(kListing[0]));
    double y = 14;
    for (int i = 0; y < image.height() - 4; ++i) {
        const char* line = kListing[i % lines];
        const bool comment = QString(line).startsWith("//");
        p.setPen(comment ? QColor(110, 90, 160, 90) : QColor(90, 200, 220, 70));
        p.drawText(QPointF(5, y), QString::fromLatin1(line));
        y += 10.5;
    }
}

void Vignette(QImage& image, QPointF centre, double radius, int alpha) {
    QPainter p(&image);
    QRadialGradient v(centre, radius);
    v.setColorAt(0.5, QColor(0, 0, 0, 0));
    v.setColorAt(1.0, QColor(0, 0, 0, alpha));
    p.fillRect(image.rect(), v);
}

void Board(QImage& image, Rng& rng) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient mask(0, 0, 177, 292);
    mask.setColorAt(0.0, QColor(30, 110, 60));
    mask.setColorAt(1.0, QColor(8, 55, 30));
    p.fillRect(image.rect(), mask);
    // Copper traces under the solder mask: Manhattan runs with pads at their ends.
    for (int i = 0; i < 46; ++i) {
        QPointF at(rng.Int(0, 35) * 5, rng.Int(0, 58) * 5);
        QPainterPath run(at);
        for (int leg = 0; leg < 3; ++leg) {
            const double len = rng.Int(3, 14) * 5;
            const int dir = rng.Int(0, 3);
            at += dir == 0   ? QPointF(len, 0)
                  : dir == 1 ? QPointF(0, len)
                  : dir == 2 ? QPointF(len * 0.7, len * 0.7)
                             : QPointF(0, -len);
            run.lineTo(at);
        }
        p.setPen(QPen(QColor(70, 170, 90, 170), rng.Unit() < 0.2 ? 2.6 : 1.4, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(run);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 170, 90));
        p.drawEllipse(at, 2.2, 2.2);
        p.setBrush(QColor(20, 30, 20));
        p.drawEllipse(at, 0.9, 0.9);
    }
}

void Resistor(QPainter& p, QPointF at, bool vertical, const QColor bands[3]) {
    p.save();
    p.translate(at);
    if (vertical) p.rotate(90);
    p.setPen(QPen(QColor(190, 190, 195), 1.2));
    p.drawLine(QPointF(-16, 0), QPointF(16, 0));
    QLinearGradient body(0, -4, 0, 4);
    body.setColorAt(0.0, QColor(240, 220, 170));
    body.setColorAt(0.5, QColor(200, 170, 110));
    body.setColorAt(1.0, QColor(110, 90, 50));
    p.setPen(QPen(QColor(60, 40, 20), 0.6));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(-10, -3.5, 20, 7), 3, 3);
    for (int i = 0; i < 3; ++i) {
        p.fillRect(QRectF(-6 + i * 4, -3.3, 2, 6.6), bands[i]);
    }
    p.restore();
}

void Capacitor(QPainter& p, QPointF c, double r) {
    QRadialGradient can(c - QPointF(r * 0.35, r * 0.35), r * 1.3);
    can.setColorAt(0.0, QColor(120, 130, 220));
    can.setColorAt(0.7, QColor(20, 30, 110));
    can.setColorAt(1.0, QColor(5, 8, 40));
    p.setPen(QPen(QColor(0, 0, 0, 160), 1));
    p.setBrush(can);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(200, 200, 210));
    p.drawEllipse(c, r * 0.7, r * 0.7);
    p.setPen(QPen(QColor(120, 120, 130), 1));
    p.drawLine(c - QPointF(r * 0.5, 0), c + QPointF(r * 0.5, 0));
    p.drawLine(c - QPointF(0, r * 0.5), c + QPointF(0, r * 0.5));
}

void Crystal(QPainter& p, QRectF r) {
    QLinearGradient metal(r.topLeft(), r.topRight());
    metal.setColorAt(0.0, QColor(120, 120, 125));
    metal.setColorAt(0.3, QColor(245, 245, 250));
    metal.setColorAt(0.6, QColor(160, 160, 168));
    metal.setColorAt(1.0, QColor(90, 90, 96));
    p.setPen(QPen(QColor(40, 40, 40), 0.8));
    p.setBrush(metal);
    p.drawRoundedRect(r, r.width() / 2, r.width() / 2);
    QFont font("DejaVu Sans");
    font.setPixelSize(5);
    p.setFont(font);
    p.setPen(QColor(40, 40, 50));
    p.save();
    p.translate(r.center());
    p.rotate(90);
    p.drawText(QRectF(-r.height() / 2, -3, r.height(), 6), Qt::AlignCenter, "1.000 MHz");
    p.restore();
}

void Chip(QPainter& p, QRectF body, int pinsPerSide) {
    const double pitch = body.height() / pinsPerSide;
    // Legs.
    for (int i = 0; i < pinsPerSide; ++i) {
        const double y = body.top() + pitch * (i + 0.5);
        for (int side = 0; side < 2; ++side) {
            const double x = side ? body.right() - 1 : body.left() - 9;
            QLinearGradient leg(QPointF(0, y - 2.5), QPointF(0, y + 2.5));
            leg.setColorAt(0.0, QColor(250, 250, 255));
            leg.setColorAt(0.5, QColor(170, 172, 180));
            leg.setColorAt(1.0, QColor(80, 80, 90));
            p.setPen(Qt::NoPen);
            p.setBrush(leg);
            p.drawRect(QRectF(x, y - 2.2, 10, 4.4));
            p.setBrush(QColor(215, 200, 170));  // solder joint
            p.drawEllipse(QPointF(side ? body.right() + 7 : body.left() - 7, y), 2.6, 2.6);
        }
    }
    // Shadow, then the black epoxy body with a soft sheen.
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(body.translated(4, 5), 2, 2);
    QLinearGradient epoxy(body.topLeft(), body.bottomRight());
    epoxy.setColorAt(0.0, QColor(70, 70, 78));
    epoxy.setColorAt(0.35, QColor(28, 28, 32));
    epoxy.setColorAt(1.0, QColor(12, 12, 14));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(epoxy);
    p.drawRoundedRect(body, 2, 2);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(body.topLeft() + QPointF(2, 1.5), body.topRight() + QPointF(-2, 1.5));
    // Notch and pin-1 dimple.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(8, 8, 10));
    p.drawPie(QRectF(body.center().x() - 6, body.top() - 6, 12, 12), 180 * 16, 180 * 16);
    p.setBrush(QColor(40, 40, 46));
    p.drawEllipse(body.topLeft() + QPointF(7, 9), 3, 3);
    // Printed marking, reading along the chip.
    p.save();
    p.translate(body.center());
    p.rotate(-90);
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(QColor(215, 215, 205));
    p.drawText(QRectF(-body.height() / 2, -18, body.height(), 14), Qt::AlignCenter, "FNK-2400");
    font.setBold(false);
    font.setPixelSize(7);
    p.setFont(font);
    p.setPen(QColor(180, 180, 172));
    p.drawText(QRectF(-body.height() / 2, -4, body.height(), 10), Qt::AlignCenter,
               "SOUND  SYNTH  3-VOICE");
    p.drawText(QRectF(-body.height() / 2, 6, body.height(), 10), Qt::AlignCenter,
               "HT 8847   FENLARK");
    p.restore();
}

}  // namespace

QImage AboutLeft() {
    QImage image = Canvas(177, 352);
    Rng rng(0xAB0u);
    Plasma(image);
    Streaks(image, rng);
    Listing(image);
    Vignette(image, QPointF(88, 176), 230, 230);
    return image;
}

QImage AboutRight() {
    QImage image = Canvas(177, 292);
    Rng rng(0xC41Bu);
    Board(image, rng);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QColor brown(120, 60, 20), black(10, 10, 10), red(200, 30, 20), orange(230, 120, 20),
            yellow(230, 200, 40), violet(140, 60, 160);
        const QColor r1[3] = {brown, black, red};
        const QColor r2[3] = {yellow, violet, orange};
        const QColor r3[3] = {red, red, brown};
        Resistor(p, QPointF(26, 30), false, r1);
        Resistor(p, QPointF(150, 262), false, r2);
        Resistor(p, QPointF(18, 230), true, r3);
        Resistor(p, QPointF(160, 40), true, r1);
        Capacitor(p, QPointF(150, 95), 11);
        Capacitor(p, QPointF(28, 268), 9);
        Crystal(p, QRectF(150, 170, 12, 30));
        Chip(p, QRectF(62, 28, 52, 238), 14);
    }
    Vignette(image, QPointF(80, 130), 210, 210);
    Grain(image, rng, 5);
    return image;
}

}  // namespace artgen
