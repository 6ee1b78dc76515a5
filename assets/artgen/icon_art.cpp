// The program's launcher icons for the desktop's hicolor theme. Each size is drawn for itself:
// 16 and 24 pixels as pixel art, so every edge is a whole pixel; 32 is the window icon; 48 and
// up are painted smooth, with more of the picture (foam, stars, shading) the more room there is.

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "art_kit.h"
#include "artwork.h"

namespace artgen {
namespace {

const std::vector<PaletteEntry> kIconPalette = {
    {'o', QColor(10, 10, 30)},    {'n', QColor(20, 20, 90)}, {'b', QColor(10, 30, 90)},
    {'w', QColor(250, 250, 240)}, {'k', QColor(20, 20, 30)}, {'g', QColor(225, 225, 205)},
    {'c', QColor(80, 230, 255)},  {'t', QColor(0, 90, 160)}, {'s', QColor(200, 200, 255)},
};

// Skull over crossed bones on a night sea, the wave at the foot.
QImage Icon16() {
    return PixelSprite(
        {
            ".oooooooooooooo.",
            "onnnnnnnnnnnnnno",
            "onnnnnwwwwnnnnno",
            "onnnnwwwwwwnnnno",
            "ongnwwwwwwwwngno",
            "onngwkkwwkkwgnno",
            "onnnwkkwwkkwnnno",
            "onnnwwwwkwwwnnno",
            "onnnnwwwwwwnnnno",
            "onnnnwkwkwknnnno",
            "onnngnnnnnngnnno",
            "onggnggnnggnggno",
            "occnnnnggnnnncco",
            "occccggccggcccco",
            "ottccccttcccctto",
            ".oooooooooooooo.",
        },
        kIconPalette);
}

QImage Icon24() {
    return PixelSprite(
        {
            "..oooooooooooooooooooo..", ".onnnnnnnnnnnnnnnnnnnno.", "onnnnnnnnnnnnnnnnnnsnnno",
            "onnsnnnnnwwwwwwnnnnnnnno", "onnnnnnwwwwwwwwwwnnnnnno", "onnnnnwwwwwwwwwwwwnnnnno",
            "onggnnwwwwwwwwwwwwnnggno", "onngnwwkkkwwwwkkkwwngnno", "onnnnwwkkkwwwwkkkwwnnnno",
            "onnnnwwkkkwwwwkkkwwnnnno", "onnnnnwwwwwkkwwwwwnnnnno", "onnnnnnwwwwkkwwwwnnnnnno",
            "onnnnnnnwwwwwwwwnnnnnnno", "onnnnnnnwkwkwkwknnnnnnno", "onnnnggnnwwwwwwnnggnnnno",
            "onnnggggnnnnnnnnggggnnno", "onnnnnggggnnnnggggnnnnno", "onnnnnnnggggggggnnnnnnno",
            "occnnnnnnnggggnnnnnnccco", "occccnnnggggggggnnncccco", "occccccggggccggggcccccco",
            "otcccggggccccggggcccctto", ".otttttttttttttttttttto.", "..oooooooooooooooooooo..",
        },
        kIconPalette);
}

// The smooth icon, for 48 pixels and up.
QImage SmoothIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);    // laid out on the 32-pixel grid of the window icon
    const double hairline = 32.0 / size;  // one device pixel

    QLinearGradient sea(0, 0, 0, 32);
    sea.setColorAt(0.0, QColor(20, 20, 90));
    sea.setColorAt(0.7, QColor(10, 30, 100));
    sea.setColorAt(1.0, QColor(0, 40, 90));
    p.setPen(QPen(QColor(10, 10, 30), std::max(hairline, 0.6)));
    p.setBrush(sea);
    p.drawRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);

    if (size >= 64) {
        // A few stars over the sea.
        Rng rng(0x1C0u + static_cast<std::uint32_t>(size));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < size / 8; ++i) {
            const QPointF at(rng.Range(3, 29), rng.Range(2.5, 14));
            if (std::hypot(at.x() - 16, at.y() - 12) < 9.5) continue;  // not behind the skull
            p.setBrush(QColor(220, 220, 255, rng.Int(120, 255)));
            p.drawEllipse(at, hairline * 1.2, hairline * 1.2);
        }
    }

    const QPainterPath wave = IconWave();
    p.setPen(Qt::NoPen);
    p.setBrush(IconWater());
    p.save();
    p.setClipPath([] {
        QPainterPath clip;
        clip.addRoundedRect(QRectF(0.5, 0.5, 31, 31), 6, 6);
        return clip;
    }());
    p.drawPath(wave);
    // Foam along the crest.
    const QPainterPath crest = IconWaveCrest();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(230, 255, 255, 220), std::max(hairline * 1.5, 0.5), Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(crest);
    p.restore();

    // Crossed bones behind the skull.
    const QColor bone(235, 235, 220);
    p.setPen(QPen(bone, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 23));
    p.drawLine(QPointF(24, 8), QPointF(8, 23));
    p.setPen(Qt::NoPen);
    p.setBrush(bone);
    for (const QPointF end : {QPointF(8, 8), QPointF(24, 23), QPointF(24, 8), QPointF(8, 23)}) {
        p.drawEllipse(end + QPointF(-1.2, 0), 1.6, 1.6);
        p.drawEllipse(end + QPointF(1.2, 0), 1.6, 1.6);
    }

    // The skull, shaded from the upper left where there is room for it.
    QRadialGradient skullLight(QPointF(14, 9.5), 9);
    skullLight.setColorAt(0.0, QColor(255, 255, 250));
    skullLight.setColorAt(1.0, size >= 64 ? QColor(215, 215, 200) : QColor(250, 250, 240));
    p.setPen(QPen(QColor(20, 20, 30), std::max(hairline, 0.5)));
    p.setBrush(skullLight);
    p.drawEllipse(QPointF(16, 12.5), 7.5, 7);
    p.drawRoundedRect(QRectF(12, 15, 8, 6.5), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 20, 30));
    p.drawEllipse(QPointF(13, 13), 2.2, 2.4);
    p.drawEllipse(QPointF(19, 13), 2.2, 2.4);
    QPainterPath nose;
    nose.moveTo(16, 15.2);
    nose.lineTo(15.1, 17);
    nose.lineTo(16.9, 17);
    nose.closeSubpath();
    p.drawPath(nose);
    p.drawRect(QRectF(14, 18.5, 1, 2.5));
    p.drawRect(QRectF(16, 18.5, 1, 2.5));
    p.drawRect(QRectF(18, 18.5, 1, 2.5));
    if (size >= 128) {
        // A glint in each eye.
        p.setBrush(QColor(80, 230, 255));
        p.drawEllipse(QPointF(13.5, 12.4), 0.45, 0.45);
        p.drawEllipse(QPointF(19.5, 12.4), 0.45, 0.45);
    }
    return image;
}

}  // namespace

QImage HicolorIcon(int size) {
    switch (size) {
        case 16:
            return Icon16();
        case 24:
            return Icon24();
        case 32:
            return ProgramIcon();
        default:
            return SmoothIcon(size);
    }
}

}  // namespace artgen
