#include "app/intro_window.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <utility>

#include "audio/bass.h"
#include "audio/error_dialog.h"
#include "audio/mod_bass.h"
#include "player/playback_rules.h"
#include "player/song_table.h"
#include "visuals/artwork.h"
#include "visuals/geometry.h"
#include "visuals/text_look.h"
#include "visuals/window_drag.h"

namespace hollowtide {
namespace {

using visuals::TwipsRect;

constexpr DWORD kIntroLoadFlags = 34;
constexpr int kClientWidth = 495;
constexpr int kClientHeight = 316;
// The window's own 1-pixel frame around the client area, as the other borderless windows have.
constexpr int kFramePixels = 1;
constexpr QRgb kWindowFrameColour = 0xFF808080;
// Label1 as laid out: one line of the marquee text, 17505 twips wide.
constexpr int kMarqueeWidthTwips = 17505;

// A control of the client area, placed in twips inside the window's frame.
QRect ClientRect(double left, double top, double width, double height) {
    return TwipsRect(left, top, width, height).translated(kFramePixels, kFramePixels);
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::Enter:
        case QEvent::Leave:
            return true;
        default:
            return false;
    }
}

QLabel* MakePicture(QWidget* parent, const QRect& geometry, const QString& resource) {
    auto* picture = new QLabel(parent);
    picture->setGeometry(geometry);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(QPixmap(resource));
    picture->setAutoFillBackground(true);
    picture->setMouseTracking(true);
    return picture;
}

}  // namespace

Form1::Form1(QString programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      programFolder_(std::move(programFolder)) {
    visuals::RegisterArtwork();
    setFixedSize(kClientWidth + 2 * kFramePixels, kClientHeight + 2 * kFramePixels);
    setWindowIcon(QIcon(QStringLiteral(":/images/icon.png")));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::WindowText, Qt::white);
    setPalette(black);
    setAutoFillBackground(true);
    setMouseTracking(true);
    BuildControls();

    // Both timers run from the moment the window exists.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(200);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Tick);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(50);
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2Tick);
    Timer2->start();
}

void Form1::BuildControls() {
    // Created back to front, so that the first control of the layout ends up on top.
    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    Picture3->setGeometry(ClientRect(705, 4320, 2715, 375));
    Picture3->setAutoFillBackground(true);
    Label1 = new visuals::CachedTextLabel(Picture3);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The marquee's scroll constants were set for its laid-out width, so the font is fitted to
    // that width whatever face stands in for the classic one.
    const QString marquee = player::MarqueeText();
    const QFont marqueeFont = visuals::FontFittedToWidth(
        visuals::ClassicSansFont(false), marquee, visuals::TwipsToPixels(kMarqueeWidthTwips));
    Label1->setFont(marqueeFont);
    Label1->setText(marquee);
    Label1->adjustSize();
    Label1->setGeometry(QRect(TwipsRect(30, 30, 0, 0).topLeft(),
                              QSize(visuals::TextWidth(marqueeFont, marquee), Label1->height())));

    Label2 = new QLabel(QStringLiteral("C:\\>"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(visuals::ClassicSansFont(false));
    Label2->move(ClientRect(345, 4365, 0, 0).topLeft());
    Label2->adjustSize();

    Picture2 = MakePicture(this, ClientRect(3540, 3615, 3645, 1095),
                           QStringLiteral(":/images/intro_buttons.png"));
    Picture2->setObjectName(QStringLiteral("Picture2"));
    img_button_EXIT = new visuals::ClickLabel(Picture2);
    img_button_EXIT->setObjectName(QStringLiteral("img_button_EXIT"));
    img_button_EXIT->setGeometry(TwipsRect(2445, 105, 1035, 555));
    img_button_GO = new visuals::ClickLabel(Picture2);
    img_button_GO->setObjectName(QStringLiteral("img_button_GO"));
    img_button_GO->setGeometry(TwipsRect(195, 75, 1275, 795));
    img_button_GO->MakeAccessibleButton(QStringLiteral("Go"));
    img_button_EXIT->MakeAccessibleButton(QStringLiteral("Exit"));
    connect(img_button_GO, &visuals::ClickLabel::clicked, this, &Form1::GoClicked);
    connect(img_button_EXIT, &visuals::ClickLabel::clicked, this, &Form1::ExitClicked);

    Picture1 = MakePicture(this, ClientRect(180, 120, 7050, 3525),
                           QStringLiteral(":/images/intro_banner.png"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Label3 = new QLabel(QStringLiteral("Jumping jellyfish!"), Picture1);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setFont(visuals::ClassicSansFont(true));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setAutoFillBackground(true);
    Label3->setGeometry(TwipsRect(4605, 3240, 1485, 195));
    FitCaption();

    // The surface and both pictures drag the window; the caption follows every move.
    Dragger = new visuals::WindowDragger(this);
    for (QWidget* item : {static_cast<QWidget*>(this), static_cast<QWidget*>(Picture1),
                          static_cast<QWidget*>(Picture2)}) {
        Dragger->AddDragItem(item);
    }
    Dragger->SetAfterMoveHook([this](QWidget* item, QMouseEvent*) { UpdateHoverCaption(item); });
    for (visuals::ClickLabel* button : {img_button_GO, img_button_EXIT}) {
        button->setMouseTracking(true);
        button->installEventFilter(this);
    }
    for (QWidget* inert : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                           static_cast<QWidget*>(Label3), Picture3}) {
        visuals::BlockDrag(inert);
    }
}

void Form1::SetCaption(const QString& caption) {
    Label3->setText(caption);
    FitCaption();
}

void Form1::FitCaption() {
    // The caption sizes itself to its text and stays centred where the layout put it.
    static const QRect box = TwipsRect(4605, 3240, 1485, 195);
    const int width = Label3->fontMetrics().horizontalAdvance(Label3->text()) + 2;
    Label3->setGeometry(box.center().x() - width / 2, box.y(), width, box.height());
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // Once GO or EXIT has run, the screen is unloaded: input still queued for it, such as the
    // second half of a double-click, goes nowhere.
    if (handedOver_ && watched == windowHandle() && IsUserInput(event->type())) return true;
    if (handedOver_) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) UpdateHoverCaption(qobject_cast<QWidget*>(watched));
    return QWidget::eventFilter(watched, event);
}

QByteArray Form1::IntroTunePath() const {
    return player::ProgramFilePath(programFolder_,
                                   QStringLiteral("\\data\\") + player::IntroTuneFileName());
}

bool Form1::Load() {
    setWindowTitle(QString::fromLatin1("Fenlark H.T."));

    BASS_Pause();
    BASS_Free();

    if (audio::EngineVersionText() != QLatin1String(audio::kRequiredEngineVersion)) {
        ThrowError(QStringLiteral("BASS version 1.8 was not loaded"));
        return false;
    }
    if (!BASS_Init(-1, 44100, 0, this)) {
        ThrowError(QStringLiteral("Can't initialize digital sound system"));
        return false;
    }
    if (!BASS_Start()) ThrowError(QStringLiteral("Can't start digital output"));

    const QByteArray path = IntroTunePath();
    IntroHandle = BASS_MusicLoad(0, path.constData(), 0, 0, kIntroLoadFlags);
    if (!BASS_MusicPlayEx(IntroHandle, 0, static_cast<int>(BASS_MUSIC_LOOP), 1)) {
        audio::ShowCannotPlayModule();
    }

    // Picture3's left is a position on the client area, inside the window's frame.
    const float textWidthTwips = static_cast<float>(Label1->width() * visuals::kTwipsPerPixel);
    const int stripLeft = Picture3->x() - kFramePixels;
    Marquee.Place(static_cast<float>(stripLeft * visuals::kTwipsPerPixel), textWidthTwips);
    PlaceMarqueeLabel();

    MarqueeColour.Start();
    return true;
}

void Form1::ThrowError(const QString& message) {
    audio::ThrowError(message);
}

void Form1::PlaceMarqueeLabel() {
    Label1->move(visuals::TwipsToPixels(Marquee.left()), Label1->y());
}

void Form1::Timer1Tick() {
    Marquee.Tick();
    PlaceMarqueeLabel();
}

void Form1::Timer2Tick() {
    const QColor colour = MarqueeColour.Tick();
    if (colour.isValid()) visuals::SetTextColour(Label1, colour);
}

void Form1::HandOver() {
    handedOver_ = true;
    if (QWindow* window = windowHandle()) window->installEventFilter(this);
}

void Form1::Unload() {
    HandOver();
    Timer1->stop();
    Timer2->stop();
    close();
}

void Form1::GoClicked() {
    if (handedOver_) return;  // a click that was queued behind the one that handed over
    HandOver();
    BASS_Pause();
    BASS_Free();
    emit goRequested();
}

void Form1::ExitClicked() {
    if (handedOver_) return;
    HandOver();
    BASS_Pause();
    BASS_StreamFree(IntroHandle);
    BASS_Free();
    emit endProgramRequested();
}

void Form1::UpdateHoverCaption(const QWidget* item) {
    if (handedOver_) return;
    if (item == img_button_GO) {
        SetCaption(QStringLiteral("Plundering Porpoises!"));
    } else if (item == img_button_EXIT) {
        SetCaption(QStringLiteral("Harrowing hurricanes!"));
    } else if (item == this || item == Picture1 || item == Picture2) {
        SetCaption(QStringLiteral("Jumping jellyfish!"));
    }
}

void Form1::showEvent(QShowEvent* event) {
    placement_.Shown(this);
    QWidget::showEvent(event);
}

void Form1::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(kWindowFrameColour), 1));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    // Shape1: the white frame around the client area.
    painter.setPen(QPen(Qt::white, 1));
    const QRect frame = ClientRect(0, 5, 7425, 4725);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
}

}  // namespace hollowtide
