#pragma once

// Drawing helpers shared by all the artwork painters: a seeded random source, starfields,
// chrome lettering, glows and planets.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace artgen {

// Small xorshift generator: the same seed gives the same picture on every machine.
class Rng {
  public:
    explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    std::uint32_t Next();
    double Unit();                          // [0, 1)
    double Range(double low, double high);  // [low, high)
    int Int(int low, int high);             // [low, high]

  private:
    std::uint32_t state_;
};

// A blank ARGB canvas filled with one colour.
QImage Canvas(int width, int height, QColor fill = Qt::black);

// Points of the sky that must stay dark (the window paints its own twinkling stars there).
struct KeepOut {
    std::vector<QPoint> points;
    int radius = 0;
    bool Contains(QPointF p) const;
};

// Scatters single-pixel and small cross stars over `area`, avoiding `keepOut`.
void Starfield(QImage& image, Rng& rng, QRect area, int count, const KeepOut& keepOut = {});

// Paints black discs over every keep-out point, so nothing faint lies under them.
void ClearKeepOut(QImage& image, const KeepOut& keepOut);

// Outline of `text` with its baseline starting at `origin`, optionally sheared and stretched.
QPainterPath TextPath(const QString& text, const QFont& font, QPointF origin, double shear = 0.0,
                      double stretchX = 1.0);

// `path` scaled and moved so its bounds fill `box` exactly.
QPainterPath FitToBox(const QPainterPath& path, QRectF box);

// A closed outline through `corners`, in order.
QPainterPath Polygon(std::initializer_list<QPointF> corners);

// The curling wave at the foot of the program icon, on the icon's 32-pixel grid: its crest
// alone, or the water it tops; and the water's colours.
QPainterPath IconWaveCrest();
QPainterPath IconWave();
QLinearGradient IconWater();

// Classic chrome fill: sky blue above a hard horizon, warm earth below.
QLinearGradient ChromeGradient(const QRectF& bounds);

// Solid 3-D extrusion of `path` towards `step` repeated `depth` times, darkening as it goes.
void Extrude(QPainter& p, const QPainterPath& path, QPointF step, int depth, QColor nearColour,
             QColor farColour);

// Lettering face: `path` in the chrome gradient with a thin white rim of opacity `rimAlpha`.
void ChromeFace(QPainter& p, const QPainterPath& path, int rimAlpha);

// Soft light around `path`: the shape is blurred and added to the image.
void Glow(QImage& image, const QPainterPath& path, QColor colour, int radius, double strength);

// A lit sphere with an optional atmosphere rim, lit from `lightDir` (unit-ish vector).
void Planet(QPainter& p, QPointF centre, double radius, QColor base, QColor dark, QPointF lightDir,
            QColor rim);

// Four-pointed sparkle, as seen on polished metal.
void Sparkle(QPainter& p, QPointF centre, double size, QColor colour);

// Blurs an ARGB32-premultiplied image in place with repeated box passes.
void BoxBlur(QImage& image, int radius, int passes = 3);

// Adds fine monochrome grain (photographic look) of the given amplitude.
void Grain(QImage& image, Rng& rng, int amplitude);

// Turns a character grid into pixels: each character is looked up in `palette`.
struct PaletteEntry {
    char key;
    QColor colour;
};
QImage PixelSprite(const std::vector<const char*>& rows, const std::vector<PaletteEntry>& palette);

}  // namespace artgen
