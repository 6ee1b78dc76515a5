#include "art_kit.h"

#include <QFontMetricsF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace artgen {

std::uint32_t Rng::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Rng::Unit() {
    return (Next() >> 8) / double(1u << 24);
}

double Rng::Range(double low, double high) {
    return low + (high - low) * Unit();
}

int Rng::Int(int low, int high) {
    return low + int(Next() % std::uint32_t(high - low + 1));
}

QImage Canvas(int width, int height, QColor fill) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

bool KeepOut::Contains(QPointF p) const {
    for (const QPoint& k : points) {
        if (std::abs(p.x() - k.x()) <= radius + 1 && std::abs(p.y() - k.y()) <= radius + 1) {
            return true;
        }
    }
    return false;
}

void Starfield(QImage& image, Rng& rng, QRect area, int count, const KeepOut& keepOut) {
    QPainter p(&image);
    for (int i = 0; i < count; ++i) {
        const QPointF at(rng.Int(area.left(), area.right()), rng.Int(area.top(), area.bottom()));
        const double kind = rng.Unit();
        if (keepOut.Contains(at) || (kind > 0.93 && keepOut.Contains(at + QPointF(2, 2))) ||
            (kind > 0.93 && keepOut.Contains(at - QPointF(2, 2)))) {
            continue;
        }
        // Mostly dim specks, a few bright ones with a blue or warm tint, rare crosses.
        const int level = kind < 0.7 ? rng.Int(50, 120) : rng.Int(140, 255);
        const int tint = rng.Int(0, 2);
        const QColor colour(tint == 1 ? level * 3 / 4 : level, level,
                            tint == 2 ? level * 3 / 4 : std::min(255, level + 20));
        if (kind > 0.93) {
            QColor arm = colour;
            arm.setAlpha(110);
            p.setPen(arm);
            p.drawLine(at + QPointF(-2, 0), at + QPointF(2, 0));
            p.drawLine(at + QPointF(0, -2), at + QPointF(0, 2));
            p.setPen(Qt::white);
            p.drawPoint(at);
        } else {
            p.setPen(colour);
            p.drawPoint(at);
        }
    }
}

void ClearKeepOut(QImage& image, const KeepOut& keepOut) {
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (const QPoint& k : keepOut.points) {
        p.drawRect(QRect(k.x() - keepOut.radius, k.y() - keepOut.radius, 2 * keepOut.radius + 1,
                         2 * keepOut.radius + 1));
    }
}

QPainterPath TextPath(const QString& text, const QFont& font, QPointF origin, double shear,
                      double stretchX) {
    QPainterPath raw;
    raw.addText(QPointF(0, 0), font, text);
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.shear(shear, 0);
    t.scale(stretchX, 1.0);
    return t.map(raw).simplified();
}

QPainterPath FitToBox(const QPainterPath& path, QRectF box) {
    const QRectF b = path.boundingRect();
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / b.width(), box.height() / b.height());
    fit.translate(-b.left(), -b.top());
    return fit.map(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> corners) {
    QPainterPath path;
    for (const QPointF corner : corners) {
        if (path.elementCount() == 0) {
            path.moveTo(corner);
        } else {
            path.lineTo(corner);
        }
    }
    path.closeSubpath();
    return path;
}

QLinearGradient ChromeGradient(const QRectF& bounds) {
    QLinearGradient g(bounds.topLeft(), bounds.bottomLeft());
    g.setColorAt(0.00, QColor(0xf4, 0xfa, 0xff));
    g.setColorAt(0.18, QColor(0xb8, 0xd8, 0xff));
    g.setColorAt(0.48, QColor(0x2a, 0x5c, 0xb8));
    g.setColorAt(0.50, QColor(0x14, 0x10, 0x20));
    g.setColorAt(0.53, QColor(0x5a, 0x34, 0x1c));
    g.setColorAt(0.78, QColor(0xe8, 0xb0, 0x6a));
    g.setColorAt(1.00, QColor(0xff, 0xf2, 0xd0));
    return g;
}

void Extrude(QPainter& p, const QPainterPath& path, QPointF step, int depth, QColor nearColour,
             QColor farColour) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = depth; i >= 1; --i) {
        const double t = double(i) / depth;
        const QColor c(int(nearColour.red() + (farColour.red() - nearColour.red()) * t),
                       int(nearColour.green() + (farColour.green() - nearColour.green()) * t),
                       int(nearColour.blue() + (farColour.blue() - nearColour.blue()) * t));
        p.setBrush(c);
        p.drawPath(path.translated(step * i));
    }
    p.restore();
}

void ChromeFace(QPainter& p, const QPainterPath& path, int rimAlpha) {
    p.setPen(Qt::NoPen);
    p.setBrush(ChromeGradient(path.boundingRect()));
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, rimAlpha), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void BoxBlur(QImage& image, int radius, int passes) {
    if (radius <= 0) {
        return;
    }
    const int w = image.width();
    const int h = image.height();
    std::vector<int> line(std::max(w, h) * 4);
    auto pass = [&](bool horizontal) {
        const int outer = horizontal ? h : w;
        const int inner = horizontal ? w : h;
        for (int o = 0; o < outer; ++o) {
            auto px = [&](int i) -> QRgb& {
                QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(horizontal ? o : i));
                return row[horizontal ? i : o];
            };
            for (int i = 0; i < inner; ++i) {
                const QRgb c = px(i);
                line[i * 4 + 0] = qAlpha(c);
                line[i * 4 + 1] = qRed(c);
                line[i * 4 + 2] = qGreen(c);
                line[i * 4 + 3] = qBlue(c);
            }
            for (int i = 0; i < inner; ++i) {
                int sum[4] = {0, 0, 0, 0};
                int n = 0;
                for (int j = std::max(0, i - radius); j <= std::min(inner - 1, i + radius); ++j) {
                    for (int k = 0; k < 4; ++k) sum[k] += line[j * 4 + k];
                    ++n;
                }
                // Divide by the full window so edges fade rather than brighten.
                n = 2 * radius + 1;
                px(i) = qRgba(sum[1] / n, sum[2] / n, sum[3] / n, sum[0] / n);
            }
        }
    };
    for (int i = 0; i < passes; ++i) {
        pass(true);
        pass(false);
    }
}

void Glow(QImage& image, const QPainterPath& path, QColor colour, int radius, double strength) {
    QImage glow(image.size(), QImage::Format_ARGB32_Premultiplied);
    glow.fill(Qt::transparent);
    {
        QPainter g(&glow);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(colour, radius * 0.6));
        g.setBrush(colour);
        g.drawPath(path);
    }
    BoxBlur(glow, radius);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    p.setOpacity(std::min(1.0, strength));
    p.drawImage(0, 0, glow);
}

void Planet(QPainter& p, QPointF centre, double radius, QColor base, QColor dark, QPointF lightDir,
            QColor rim) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF hot = centre + lightDir * radius * 0.45;
    QRadialGradient body(hot, radius * 1.5, hot);
    body.setColorAt(0.0, base.lighter(150));
    body.setColorAt(0.35, base);
    body.setColorAt(0.75, dark);
    body.setColorAt(1.0, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawEllipse(centre, radius, radius);
    if (rim.alpha() > 0) {
        QRadialGradient halo(centre, radius + 3);
        QColor clear = rim;
        clear.setAlpha(0);
        halo.setColorAt(0.0, clear);
        halo.setColorAt(radius / (radius + 3) - 0.04, clear);
        halo.setColorAt(radius / (radius + 3), rim);
        halo.setColorAt(1.0, clear);
        p.setBrush(halo);
        p.drawEllipse(centre, radius + 3, radius + 3);
    }
    p.restore();
}

void Sparkle(QPainter& p, QPointF c, double size, QColor colour) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const double w = size * 0.16;
    const QPainterPath star =
        Polygon({c + QPointF(0, -s), c + QPointF(w, -w), c + QPointF(s, 0), c + QPointF(w, w),
                 c + QPointF(0, s), c + QPointF(-w, w), c + QPointF(-s, 0), c + QPointF(-w, -w)});
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(star);
    p.restore();
}

void Grain(QImage& image, Rng& rng, int amplitude) {
    for (int y = 0; y < image.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int d = rng.Int(-amplitude, amplitude);
            const QRgb c = row[x];
            row[x] = qRgba(std::clamp(qRed(c) + d, 0, 255), std::clamp(qGreen(c) + d, 0, 255),
                           std::clamp(qBlue(c) + d, 0, 255), qAlpha(c));
        }
    }
}

QImage PixelSprite(const std::vector<const char*>& rows, const std::vector<PaletteEntry>& palette) {
    const int h = int(rows.size());
    const int w = h ? int(std::strlen(rows[0])) : 0;
    QImage image = Canvas(w, h, Qt::transparent);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w && rows[y][x]; ++x) {
            for (const PaletteEntry& e : palette) {
                if (e.key == rows[y][x]) {
                    image.setPixelColor(x, y, e.colour);
                }
            }
        }
    }
    return image;
}

QPainterPath IconWaveCrest() {
    QPainterPath crest;
    crest.moveTo(0.5, 25);
    crest.cubicTo(8, 19, 14, 27, 20, 23);
    crest.cubicTo(25, 20, 28, 18, 31.5, 22);
    return crest;
}

QPainterPath IconWave() {
    QPainterPath wave = IconWaveCrest();
    wave.lineTo(31.5, 31.5);
    wave.lineTo(0.5, 31.5);
    wave.closeSubpath();
    return wave;
}

QLinearGradient IconWater() {
    QLinearGradient water(0, 18, 0, 32);
    water.setColorAt(0.0, QColor(80, 230, 255));
    water.setColorAt(1.0, QColor(0, 90, 160));
    return water;
}

}  // namespace artgen
