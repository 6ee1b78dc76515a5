// The intro screen's pictures: the moonlit banner with both logos, the GO / pirate / EXIT
// button picture, and the program icon.

#include <QFont>
#include <QFontMetricsF>
#include <cmath>

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

constexpr int kHorizon = 138;
constexpr int kSeaBottom = 204;  // below this the banner is black: the caption label sits there

QPainterPath FittedText(const QString& text, int pixelSize, double shear, QRectF box) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return FitToBox(TextPath(text, font, QPointF(0, 0), shear), box);
}

void NightSky(QImage& image, Rng& rng) {
    {
        QPainter p(&image);
        QLinearGradient sky(0, 0, 0, kHorizon);
        sky.setColorAt(0.0, QColor(2, 2, 14));
        sky.setColorAt(0.65, QColor(16, 10, 48));
        sky.setColorAt(1.0, QColor(60, 30, 80));
        p.fillRect(QRect(0, 0, image.width(), kHorizon), sky);
    }
    Starfield(image, rng, QRect(0, 0, image.width(), kHorizon - 12), 260);
    // The moon, with a wide soft halo.
    QPainterPath moon;
    moon.addEllipse(QPointF(420, 44), 21, 21);
    Glow(image, moon, QColor(120, 140, 200), 14, 0.9);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient face(QPointF(414, 38), 26);
    face.setColorAt(0.0, QColor(255, 252, 235));
    face.setColorAt(0.8, QColor(225, 220, 200));
    face.setColorAt(1.0, QColor(170, 165, 160));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawEllipse(QPointF(420, 44), 21, 21);
    p.setBrush(QColor(150, 145, 140, 90));
    p.drawEllipse(QPointF(412, 50), 5, 4);
    p.drawEllipse(QPointF(427, 37), 3.5, 3);
    p.drawEllipse(QPointF(424, 54), 2.5, 2);
}

void Sea(QImage& image, Rng& rng) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient water(0, kHorizon, 0, kSeaBottom);
    water.setColorAt(0.0, QColor(30, 20, 70));
    water.setColorAt(0.3, QColor(8, 24, 70));
    water.setColorAt(1.0, QColor(0, 6, 22));
    p.fillRect(QRect(0, kHorizon, image.width(), kSeaBottom - kHorizon), water);
    // Swell: rows of short bright crests, denser and longer towards the viewer.
    for (int y = kHorizon + 2; y < kSeaBottom - 2; y += 2) {
        const double depth = double(y - kHorizon) / (kSeaBottom - kHorizon);
        const int crests = int(20 + 30 * depth);
        for (int i = 0; i < crests; ++i) {
            const double x = rng.Range(0, image.width());
            const double len = 2 + 14 * depth * rng.Unit();
            p.setPen(QPen(QColor(60, 110, 200, int(40 + 80 * (1 - depth))), 1));
            p.drawLine(QPointF(x, y + 0.5), QPointF(x + len, y + 0.5));
        }
    }
    // The moon's path on the water: broken glints that widen towards the viewer.
    for (int y = kHorizon + 1; y < kSeaBottom - 1; ++y) {
        const double depth = double(y - kHorizon) / (kSeaBottom - kHorizon);
        const double half = 6 + 26 * depth;
        for (int i = 0; i < 3; ++i) {
            if (rng.Unit() < 0.35) continue;
            const double x = 420 + rng.Range(-half, half);
            const double len = rng.Range(2, 5 + 10 * depth);
            p.setPen(QPen(QColor(255, 240, 200, int(230 - 120 * depth)), 1));
            p.drawLine(QPointF(x - len / 2, y + 0.5), QPointF(x + len / 2, y + 0.5));
        }
    }
    // Copper rule closing the picture above the caption strip.
    for (int i = 0; i < 3; ++i) {
        p.setPen(QColor::fromHsv(190 + i * 10, 200, 255 - i * 70));
        p.drawLine(0, kSeaBottom + i, image.width(), kSeaBottom + i);
    }
}

void Ship(QPainter& p, QPointF at, double s) {
    p.save();
    p.translate(at);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor hull(8, 4, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(hull);
    QPainterPath body = Polygon({{-44, -6}, {46, -8}, {36, 4}, {-36, 4}});
    body.addRect(-46, -12, 14, 7);  // stern castle
    p.drawPath(body);
    p.setPen(QPen(hull, 1.6));
    p.drawLine(QPointF(-14, -6), QPointF(-14, -52));
    p.drawLine(QPointF(12, -7), QPointF(12, -60));
    p.drawLine(QPointF(46, -8), QPointF(64, -20));  // bowsprit
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 16, 40));
    auto sail = [&](double x, double top, double w, double h) {
        QPainterPath s;
        s.moveTo(x - w / 2, top);
        s.lineTo(x + w / 2, top);
        s.quadTo(x + w / 2 + 5, top + h / 2, x + w / 2, top + h);
        s.lineTo(x - w / 2, top + h);
        s.quadTo(x - w / 2 + 5, top + h / 2, x - w / 2, top);
        p.drawPath(s);
    };
    sail(-14, -48, 24, 16);
    sail(-14, -30, 28, 18);
    sail(12, -56, 26, 18);
    sail(12, -35, 32, 22);
    p.drawPath(Polygon({{14, -55}, {60, -19}, {26, -12}}));  // jib
    // Flag with a pale skull dot.
    p.setBrush(hull);
    p.drawRect(QRectF(12, -66, 12, 7));
    p.setBrush(QColor(200, 200, 210));
    p.drawEllipse(QPointF(18, -62.5), 1.6, 1.6);
    // Lantern light from the stern windows.
    p.setBrush(QColor(255, 200, 90));
    for (int i = 0; i < 3; ++i) p.drawRect(QRectF(-43 + i * 4, -10, 2, 2));
    p.drawRect(QRectF(-10, -3, 2, 2));
    p.drawRect(QRectF(6, -4, 2, 2));
    p.restore();
}

void Logos(QImage& image) {
    const QPainterPath group = FittedText("FENLARK", 60, -0.2, QRectF(26, 12, 330, 50));
    const QPainterPath product = FittedText("HOLLOWTIDE", 40, -0.2, QRectF(70, 76, 300, 30));
    Glow(image, group, QColor(60, 80, 255), 8, 0.9);
    Glow(image, product, QColor(0, 200, 200), 6, 0.8);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Extrude(p, group, QPointF(0.7, 0.8), 9, QColor(0x60, 0x70, 0xd0), QColor(0x10, 0x08, 0x30));
    ChromeFace(p, group, 160);

    Extrude(p, product, QPointF(0.6, 0.7), 5, QColor(0x00, 0x60, 0x70), QColor(0x00, 0x10, 0x20));
    QLinearGradient tide(product.boundingRect().topLeft(), product.boundingRect().bottomLeft());
    tide.setColorAt(0.0, QColor(220, 255, 255));
    tide.setColorAt(0.45, QColor(40, 220, 230));
    tide.setColorAt(0.55, QColor(0, 110, 160));
    tide.setColorAt(1.0, QColor(120, 240, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(tide);
    p.drawPath(product);
    Sparkle(p, QPointF(44, 18), 9, QColor(255, 255, 255, 235));
    Sparkle(p, QPointF(330, 52), 6, QColor(255, 255, 255, 210));
    Sparkle(p, QPointF(360, 82), 5, QColor(200, 255, 255, 200));
}

void Footer(QImage& image) {
    QPainter p(&image);
    QFont font("DejaVu Sans");
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(90, 90, 130));
    p.drawText(QPointF(8, 224), "F3NL4RK  //  CH!P P4CK");
}

}  // namespace

QImage IntroBanner() {
    QImage image = Canvas(474, 234);
    Rng rng(0x1D7A0u);
    NightSky(image, rng);
    Sea(image, rng);
    {
        QPainter p(&image);
        Ship(p, QPointF(108, kHorizon + 3), 0.72);
    }
    Logos(image);
    Footer(image);
    return image;
}

}  // namespace artgen
