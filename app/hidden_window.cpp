#include "app/hidden_window.h"

#include <QLabel>
#include <QRadioButton>
#include <QTimer>

#include "visuals/artwork.h"
#include "visuals/geometry.h"

namespace hollowtide {

namespace {

constexpr int kTickMs = 2500;
constexpr QSize kClientSize(206, 147);

QPixmap Sprite(const char* path) {
    return QPixmap(QString::fromLatin1(path));
}

}  // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    visuals::RegisterArtwork();
    setObjectName("Form2");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(app::kHiddenWindowTitle);
    setFixedSize(kClientSize);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    // Children made later lie on top: the cartoon first, the front-most radio button last.
    auto* cartoon = new QLabel(this);
    cartoon->setObjectName("Picture");
    cartoon->setPixmap(Sprite(":/images/hidden_cartoon.png"));
    cartoon->setGeometry(0, 0, 208, 147);

    using visuals::TwipsRect;
    Image4_ = MakeImage("Image4", TwipsRect(3285, 450, 120, 180));
    Image4_->setPixmap(Sprite(":/images/sprite_pig.png"));
    Image3_ = MakeImage("Image3", TwipsRect(1140, 660, 120, 180));
    Image2_ = MakeImage("Image2", TwipsRect(3255, 150, 195, 165));
    Image2_->setPixmap(Sprite(":/images/sprite_flag.png"));
    Image1_ = MakeImage("Image1", TwipsRect(240, 1200, 195, 165));

    // Siblings share one exclusive group, so selecting one clears the others.
    Option3_ = MakeOption("Option3", 2460, 1770);
    Option2_ = MakeOption("Option2", 720, 300);
    Option1_ = MakeOption("Option1", 30, 270);

    // Load: JokeStep starts at 1 (JokeSteps does that) and the timer runs from here on.
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(kTickMs);
    connect(Timer1_, &QTimer::timeout, this, &Form2::Timer1Tick);
    Timer1_->start();
}

QRadioButton* Form2::MakeOption(const char* name, int x, int y) {
    auto* option = new QRadioButton(this);
    option->setObjectName(name);
    option->setGeometry(visuals::TwipsRect(x, y, 195, 195));
    option->setAutoFillBackground(true);
    QPalette white = option->palette();
    white.setColor(QPalette::Window, Qt::white);
    option->setPalette(white);
    return option;
}

QLabel* Form2::MakeImage(const char* name, const QRect& place) {
    auto* image = new QLabel(this);
    image->setObjectName(name);
    image->setGeometry(place);
    return image;
}

void Form2::Apply(QLabel* image, app::PictureChange change, const QLabel* store) {
    if (change == app::PictureChange::Show) image->setPixmap(store->pixmap());
    if (change == app::PictureChange::Clear) image->clear();
}

void Form2::Timer1Tick() {
    const std::optional<app::JokeFrame> frame = steps_.Tick();
    if (!frame) return;
    QRadioButton* options[] = {Option1_, Option2_, Option3_};
    options[frame->option - 1]->setChecked(true);
    setWindowTitle(frame->title);
    Apply(Image1_, frame->image1, Image2_);
    Apply(Image3_, frame->image3, Image4_);
}

void Form2::showEvent(QShowEvent* event) {
    placement_.Shown(this);
    QWidget::showEvent(event);
}

void Form2::closeEvent(QCloseEvent* event) {
    Timer1_->stop();
    QWidget::closeEvent(event);
    emit closed();
}

}  // namespace hollowtide
