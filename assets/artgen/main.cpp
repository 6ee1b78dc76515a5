// artgen: draws every image of the program and writes the PNGs into the folder given as the
// only argument. Fixed seeds, so a rerun gives the same files.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <functional>

#include "artwork.h"

namespace {

struct Job {
    const char* fileName;
    std::function<QImage()> paint;
    QSize size;
};

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // fonts need a GUI application
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <output folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    const Job jobs[] = {
        {"intro_banner.png", artgen::IntroBanner, {474, 234}},
        {"intro_buttons.png", artgen::IntroButtons, {242, 72}},
        {"icon.png", artgen::ProgramIcon, {32, 32}},
        {"main_background.png", artgen::MainBackground, {500, 270}},
        {"button_bar.png", artgen::ButtonBar, {416, 26}},
        {"spectrum_band.png", artgen::SpectrumBand, {2, 50}},
        {"about_left.png", artgen::AboutLeft, {177, 352}},
        {"about_right.png", artgen::AboutRight, {177, 292}},
        {"hidden_cartoon.png", artgen::HiddenCartoon, {208, 147}},
        {"sprite_flag.png", artgen::SpriteFlag, {13, 11}},
        {"sprite_pig.png", artgen::SpritePig, {8, 12}},
    };
    int failures = 0;
    for (const Job& job : jobs) {
        QImage image = job.paint();
        // Backgrounds are opaque; the icon and the sprites keep their transparent surround.
        if (!QString(job.fileName).startsWith("icon") &&
            !QString(job.fileName).startsWith("sprite")) {
            image = image.convertToFormat(QImage::Format_RGB32);
        }
        const QString path = out.filePath(job.fileName);
        if (image.size() != job.size || !image.save(path, "PNG")) {
            std::fprintf(stderr, "artgen: failed on %s\n", job.fileName);
            ++failures;
        }
    }
    // The launcher icons, for the desktop's icon theme (installed, not compiled in).
    if (!QDir().mkpath(out.filePath("hicolor"))) ++failures;
    for (const int size : artgen::kHicolorSizes) {
        const QImage icon = artgen::HicolorIcon(size);
        const QString path = out.filePath(QString("hicolor/%1x%1.png").arg(size));
        if (icon.size() != QSize(size, size) || !icon.save(path, "PNG")) {
            std::fprintf(stderr, "artgen: failed on the %d-pixel icon\n", size);
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
