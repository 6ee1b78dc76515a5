// The main player window's pictures: the starfield background with the chrome group logo, the
// button bar and the spectrum's striped band.

#include <QFont>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

// The window twinkles its own stars here; the sky around them stays (almost) black.
const KeepOut kTwinklePoints{{{100, 93}, {420, 127}, {67, 67}, {67, 227}, {280, 247}}, 4};

// Caps the brightness close to the twinkle points: at most 0x14 within 3 px, rising gently
// outwards, so the sky stays dark there without leaving a visible hole in the nebula.
void DarkenAroundTwinkles(QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            double nearest = 1e9;
            for (const QPoint& k : kTwinklePoints.points) {
                nearest = std::min(nearest, std::hypot(double(x - k.x()), double(y - k.y())));
            }
            if (nearest >= 16.0) {
                continue;
            }
            const int ceiling = 0x14 + int(std::max(0.0, nearest - 4.3) * 14.0);
            const QRgb c = row[x];
            row[x] = qRgba(std::min(qRed(c), ceiling), std::min(qGreen(c), ceiling),
                           std::min(qBlue(c), ceiling), qAlpha(c));
        }
    }
}

void Nebula(QImage& image, Rng& rng) {
    QImage cloud(image.size(), QImage::Format_ARGB32_Premultiplied);
    cloud.fill(Qt::transparent);
    {
        QPainter p(&cloud);
        p.setPen(Qt::NoPen);
        // A violet band drifting from lower left to upper right, with blue knots in it.
        for (int i = 0; i < 60; ++i) {
            const double t = rng.Unit();
            const QPointF at(30 + 440 * t + rng.Range(-40, 40), 230 - 190 * t + rng.Range(-35, 35));
            const double r = rng.Range(10, 34);
            const QColor c = rng.Unit() < 0.6 ? QColor(70, 20, 110, 40) : QColor(20, 50, 130, 40);
            p.setBrush(c);
            p.drawEllipse(at, r, r * rng.Range(0.5, 1.0));
        }
    }
    BoxBlur(cloud, 9, 3);
    QPainter p(&image);
    p.drawImage(0, 0, cloud);
}

void RingedPlanet(QPainter& p) {
    const QPointF centre(446, 206);
    const double r = 33;
    const QRectF ring(centre.x() - 64, centre.y() - 11, 128, 22);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Back half of the ring first, then the planet, then the front half over it.
    auto drawRing = [&](int startDeg, int spanDeg) {
        for (int i = 0; i < 4; ++i) {
            const QColor c = QColor::fromHsv(28 + i * 6, 120 - i * 18, 200 - i * 30, 200);
            p.setPen(QPen(c, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(ring.adjusted(i * 4, i * 1.4, -i * 4, -i * 1.4), startDeg * 16, spanDeg * 16);
        }
    };
    drawRing(0, 180);
    Planet(p, centre, r, QColor(0xd8, 0x80, 0x40), QColor(0x50, 0x18, 0x10), QPointF(-0.6, -0.6),
           QColor(255, 170, 90, 90));
    // Cloud bands across the disc, clipped to it.
    QPainterPath disc;
    disc.addEllipse(centre, r, r);
    p.setClipPath(disc);
    for (int i = 0; i < 7; ++i) {
        const double y = centre.y() - r + 6 + i * 9.5;
        QColor band = i % 2 ? QColor(120, 40, 20, 70) : QColor(255, 210, 150, 45);
        p.setPen(QPen(band, 3.2));
        p.drawLine(QPointF(centre.x() - r, y + 2), QPointF(centre.x() + r, y - 2));
    }
    // Night side.
    QRadialGradient night(centre + QPointF(-r * 0.8, -r * 0.8), r * 2.2);
    night.setColorAt(0.55, QColor(0, 0, 0, 0));
    night.setColorAt(1.0, QColor(0, 0, 0, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(night);
    p.drawEllipse(centre, r, r);
    p.setClipping(false);
    drawRing(180, 180);
    p.restore();
}

QPainterPath LogoPath(QRectF box) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(70);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -2);
    return FitToBox(TextPath("FENLARK", font, QPointF(0, 0), -0.18, 1.0), box);
}

void ChromeLogo(QImage& image) {
    const QPainterPath logo = LogoPath(QRectF(22, 108, 326, 70));
    Glow(image, logo.translated(5, 5), QColor(40, 90, 255), 7, 0.8);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Extrude(p, logo, QPointF(0.8, 0.9), 11, QColor(0x50, 0x60, 0xc0), QColor(0x0c, 0x08, 0x30));
    ChromeFace(p, logo, 150);
    Sparkle(p, QPointF(60, 113), 8, QColor(255, 255, 255, 230));
    Sparkle(p, QPointF(292, 141), 6, QColor(255, 255, 255, 200));
    Sparkle(p, QPointF(181, 170), 5, QColor(255, 240, 220, 190));
}

void Subtitle(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A thin copper bar under the logo, fading out at both ends.
    for (int i = 0; i < 9; ++i) {
        const double t = std::abs(i - 4) / 4.0;
        const QColor c = QColor::fromHsv(20 + i * 3, 200, int(230 * (1.0 - t * 0.8)));
        QLinearGradient g(QPointF(40, 0), QPointF(340, 0));
        QColor clear = c;
        clear.setAlpha(0);
        g.setColorAt(0.0, clear);
        g.setColorAt(0.2, c);
        g.setColorAt(0.8, c);
        g.setColorAt(1.0, clear);
        p.setPen(QPen(QBrush(g), 1));
        p.drawLine(QPointF(40, 200.5 + i), QPointF(340, 200.5 + i));
    }
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(10);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    const QString text = "HOLLOWTIDE  CHIP PACK";
    const double w = QFontMetricsF(font).horizontalAdvance(text);
    p.setFont(font);
    p.setPen(QColor(40, 10, 0));
    p.drawText(QPointF(190 - w / 2 + 1, 209), text);
    p.setPen(QColor(255, 250, 230));
    p.drawText(QPointF(190 - w / 2, 208), text);
}

}  // namespace

QImage MainBackground() {
    QImage image = Canvas(500, 270);
    {
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, 270);
        sky.setColorAt(0.0, QColor(0, 0, 6));
        sky.setColorAt(1.0, QColor(6, 2, 16));
        p.fillRect(image.rect(), sky);
    }
    Rng rng(0xF3A1u);
    Nebula(image, rng);
    Starfield(image, rng, image.rect(), 420, kTwinklePoints);
    {
        QPainter p(&image);
        RingedPlanet(p);
        Planet(p, QPointF(330, 62), 13, QColor(0x50, 0xb0, 0xd0), QColor(0x08, 0x28, 0x50),
               QPointF(0.6, -0.5), QColor(120, 220, 255, 110));
    }
    ChromeLogo(image);
    Subtitle(image);
    DarkenAroundTwinkles(image);
    return image;
}

QImage ButtonBar() {
    QImage image = Canvas(416, 26);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The window's groove lines meet the bar's ends at these rows; carry them on behind the
    // buttons so the bar reads as one rail.
    p.setPen(QColor(0xE0, 0xE0, 0xE0));
    p.drawLine(QPointF(0, 12.5), QPointF(416, 12.5));
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(QPointF(0, 15.5), QPointF(416, 15.5));
    // Centres under the four captions the window lays over the bar.
    const double centres[] = {51.5, 156.0, 261.0, 366.5};
    for (double c : centres) {
        const QRectF outer(c - 48.5, 1.5, 97, 23);
        QLinearGradient body(outer.topLeft(), outer.bottomLeft());
        body.setColorAt(0.0, QColor(0xa8, 0xa8, 0xb0));
        body.setColorAt(0.12, QColor(0x84, 0x84, 0x8c));
        body.setColorAt(0.50, QColor(0x5c, 0x5c, 0x64));
        body.setColorAt(0.52, QColor(0x44, 0x44, 0x4c));
        body.setColorAt(1.0, QColor(0x60, 0x60, 0x68));
        p.setPen(QPen(QColor(0x18, 0x18, 0x1c), 1.0));
        p.setBrush(body);
        p.drawRoundedRect(outer, 7, 7);
        // Bevel: bright top-left rim, dark bottom-right rim.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(255, 255, 255, 120), 1.0));
        p.drawRoundedRect(outer.adjusted(1, 1, -1, -1), 6, 6);
        p.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
        p.drawLine(QPointF(outer.left() + 6, outer.bottom() - 1.5),
                   QPointF(outer.right() - 6, outer.bottom() - 1.5));
    }
    return image;
}

QImage SpectrumBand() {
    QImage image = Canvas(2, 50);
    for (int row = 0; row < 50; ++row) {
        const QColor c = row % 3 == 2 ? QColor(0, 0, 0) : QColor(0xC6, 0xC6, 0xC6);
        image.setPixelColor(0, row, c);
        image.setPixelColor(1, row, c);
    }
    return image;
}

}  // namespace artgen
