#include "about/about_window.h"

#include <QDesktopServices>
#include <QPainter>
#include <QTimer>

#include "about/about_shapes.h"
#include "about/about_surface.h"
#include "visuals/artwork.h"
#include "visuals/click_label.h"
#include "visuals/window_drag.h"

namespace hollowtide {

namespace {

constexpr QSize kInnerSize(465, 332);
constexpr int kBorder = 1;
const QColor kBorderColour(0x80, 0x80, 0x80);
constexpr int kCreditsMs = 5000;
// About 60 frames a second: a steady rise for the eye at a small cost to the processor.
constexpr int kFrameMs = 16;

constexpr char kRadioText[] =
    "If you liked this music, visit Tarn Fenlark Radio Station   to listen to 24/7 scene "
    "music. Click the button below to go to the website.";

QFont LabelFont() {
    QFont font;
    font.setFamilies({"Verdana", "DejaVu Sans", "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    return font;
}

visuals::ClickLabel* MakeLabel(QWidget* parent, const char* name, const QRect& place,
                               const char* text, Qt::Alignment alignment) {
    auto* label = new visuals::ClickLabel(parent);
    label->setObjectName(name);
    label->setFont(LabelFont());
    QPalette white = label->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(white);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->setGeometry(place);
    label->setText(text);
    return label;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QRect& place, const char* path) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(name);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(QString::fromLatin1(path)));
    picture->setGeometry(place);
    return picture;
}

// A label that sizes itself to its caption, keeping the given x (a left edge or a centre).
void FitToText(QLabel* label, const char* text, int anchorX, bool centred) {
    label->setText(text);
    const int width = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    const int left = centred ? anchorX - width / 2 : anchorX;
    label->setGeometry(left, label->y(), width, label->height());
}

// The stored places of the two self-sizing labels: Label1 keeps its centre, Label3 its left.
constexpr int kLabel1CentreX = 44 + 97 / 2;
constexpr int kLabel3Left = 336;

}  // namespace

frmAbout::frmAbout(QWidget* parent, about::RandomSource random)
    // A tool window without a title bar: a one-pixel border and no task-bar entry.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      bubbles_(random ? std::move(random) : about::MakeClockSeededRandom()),
      openUrl_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    visuals::RegisterArtwork();
    setObjectName("frmAbout");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kInnerSize + QSize(2 * kBorder, 2 * kBorder));
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    BuildControls();

    // Load: the window text, the stored captions, and the credits clock from now on.
    setWindowTitle("About");
    ShowCredits();
    Timer1_ = new QTimer(this);
    Timer1_->setObjectName("Timer1");
    Timer1_->setInterval(kCreditsMs);
    connect(Timer1_, &QTimer::timeout, this, &frmAbout::Timer1Tick);
    Timer1_->start();

    animation_ = new QTimer(this);
    animation_->setTimerType(Qt::PreciseTimer);
    animation_->setInterval(kFrameMs);
    connect(animation_, &QTimer::timeout, this, &frmAbout::Frame);
}

void frmAbout::BuildControls() {
    surface_ = new about::AboutSurface(this);
    surface_->setGeometry(QRect(QPoint(kBorder, kBorder), kInnerSize));

    // Back to front: each child made later lies over the ones before it.
    QLabel* image1 =
        MakePicture(surface_, "Image1", QRect(0, -2, 187, 352), ":/images/about_left.png");
    QLabel* image3 =
        MakePicture(surface_, "Image3", QRect(275, 1, 200, 328), ":/images/about_right.png");
    (new about::AboutShapes(surface_))->setGeometry(surface_->rect());
    Label1_ = MakeLabel(surface_, "Label1", QRect(44, 163, 97, 13), about::kCodeCredit,
                        Qt::AlignHCenter | Qt::AlignTop);
    MakeLabel(surface_, "Label2", QRect(336, 41, 83, 13),
              "Sound Engine:", Qt::AlignLeft | Qt::AlignTop);
    Label3_ = MakeLabel(surface_, "Label3", QRect(336, 56, 86, 13), about::kEngineVersionCredit,
                        Qt::AlignLeft | Qt::AlignTop);

    auto* imgExit = new visuals::ClickLabel(surface_);
    imgExit->setObjectName("imgExit");
    imgExit->setGeometry(447, 3, 15, 15);
    imgExit->MakeAccessibleButton(QStringLiteral("Close"));
    connect(imgExit, &visuals::ClickLabel::clicked, this, &QWidget::close);

    auto* label4 = MakeLabel(surface_, "Label4", QRect(10, 311, 167, 15), "Click here",
                             Qt::AlignHCenter | Qt::AlignTop);
    label4->SetAccessibleRole(QAccessible::Link);
    label4->setAccessibleName(QStringLiteral("Tarn Fenlark Radio Station website"));
    connect(label4, &visuals::ClickLabel::clicked, this,
            [this] { openUrl_(QUrl(QString::fromLatin1(kRadioStationUrl))); });

    auto* label5 = MakeLabel(surface_, "Label5", QRect(7, 234, 177, 67), kRadioText,
                             Qt::AlignLeft | Qt::AlignTop);
    label5->setWordWrap(true);

    // The window moves by its surface and its two pictures; the labels and the close box keep
    // their presses to themselves, and the drawn shapes let presses through to the surface.
    auto* dragger = new visuals::WindowDragger(this);
    dragger->AddDragItem(surface_);
    dragger->AddDragItem(image1);
    dragger->AddDragItem(image3);
}

void frmAbout::SetUrlOpener(UrlOpener opener) {
    openUrl_ = std::move(opener);
}

const QImage& frmAbout::Backing() const {
    return surface_->Backing();
}

QWidget* frmAbout::Surface() const {
    return surface_;
}

void frmAbout::ShowCredits() {
    FitToText(Label1_, credits_.Label1Caption(), kLabel1CentreX, true);
    FitToText(Label3_, credits_.Label3Caption(), kLabel3Left, false);
}

void frmAbout::Timer1Tick() {
    credits_.Tick();
    ShowCredits();
}

void frmAbout::SetUpBubbles() {
    surface_->Clear();
    bubbles_.SetUp(surface_->width(), surface_->height());
    setUp_ = true;
}

void frmAbout::Frame() {
    if (!setUp_ || closed_) return;
    surface_->DrawFrame(bubbles_);
}

void frmAbout::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetUpBubbles();
}

void frmAbout::showEvent(QShowEvent* event) {
    placement_.Shown(this);
    QWidget::showEvent(event);
    // Showing an open window again goes on with the bubbles where they are.
    if (!closed_ && !animation_->isActive()) animation_->start();
}

void frmAbout::hideEvent(QHideEvent* event) {
    animation_->stop();
    QWidget::hideEvent(event);
}

void frmAbout::closeEvent(QCloseEvent* event) {
    closed_ = true;
    animation_->stop();
    Timer1_->stop();
    QWidget::closeEvent(event);
    emit closed();
}

void frmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kBorderColour);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace hollowtide
