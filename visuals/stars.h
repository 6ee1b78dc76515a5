// The five twinkling stars of the main window. Each star is one point of the background that
// flashes white for 200 ms and then stays dark for a pause of its own; one timer per star
// (`Timer4` .. `Timer8`) drives it, rewriting its own interval on every tick.
//
// Threading: UI thread only.
#pragma once

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace hollowtide::visuals {

struct StarSpec {
    const char* timerName;
    // Both measured from the top-left of the window's client area (inside its 1-pixel frame):
    // a window whose widget includes the frame adds (1, 1).
    QPoint twips;
    QPoint pixel;  // the nearest pixel to `twips`
    int darkPauseMs;
};

inline constexpr int kStarLitMs = 200;
inline constexpr int kStarCount = 5;
inline constexpr QRgb kStarLit = 0xFFFFFFFF;
inline constexpr QRgb kStarDark = 0xFF000000;

// Index 0 is Timer4, index 4 is Timer8.
inline constexpr std::array<StarSpec, kStarCount> kStars{{
    {"Timer4", {1500, 1400}, {100, 93}, 27250},
    {"Timer5", {6300, 1900}, {420, 127}, 15250},
    {"Timer6", {1000, 1000}, {67, 67}, 10310},
    {"Timer7", {1000, 3400}, {67, 227}, 5250},
    {"Timer8", {4200, 3700}, {280, 247}, 8895},
}};

// What one tick does: paint the star's point in `colour`, then set the timer to `nextIntervalMs`.
struct StarTick {
    QRgb colour;
    int nextIntervalMs;
};

// One star's two states: 1 = dark (the next tick lights it), 2 = lit (the next tick darkens it).
// Any other state (0 until the window's load sets it to 1) makes a tick do nothing.
class StarTwinkle {
  public:
    explicit StarTwinkle(int darkPauseMs) : darkPauseMs_(darkPauseMs) {}

    std::optional<StarTick> Tick();

    std::int16_t State = 0;

  private:
    int darkPauseMs_;
};

// A pure simulation of the five stars in virtual time, from the window's load at time 0: for
// tests and for anyone who needs the flash times without waiting for them.
struct StarEvent {
    int star;  // index into kStars
    std::int64_t timeMs;
    QRgb colour;
};

class StarSchedule {
  public:
    StarSchedule();  // the window's load: every state 1, every timer due after its dark pause

    // Every tick due at or before `untilMs`, in time order (star index order on a tie).
    std::vector<StarEvent> RunUntil(std::int64_t untilMs);

  private:
    std::array<StarTwinkle, kStarCount> stars_;
    std::array<std::int64_t, kStarCount> due_{};
};

// The stars of a window: owns `Timer4` .. `Timer8` (precise QTimers) and the states
// `StarState4` .. `StarState8`. The window paints each announced point onto its surface (keeping
// it in a backing image, so repaints keep it).
//
// Wiring: `StarField stars{this};` connect `PaintPoint` to the window's point painter; call
// `Load()` from the window's load. The stars then run whatever the player does.
class StarField : public QObject {
    Q_OBJECT
  public:
    // As laid out: every interval at its dark pause, Timer4 on and the others off.
    explicit StarField(QObject* parent = nullptr);

    // The window's load: for Timer4 .. Timer8 in order, the state becomes 1, then the timer
    // starts (so each star stays dark for its first pause).
    void Load();

    // The tick of star `index` (0 = Timer4); what each timer's timeout runs. Public so tests can
    // drive it without waiting.
    void TickStar(int index);

    QTimer Timer4, Timer5, Timer6, Timer7, Timer8;

    QTimer& TimerOf(int index);
    std::int16_t StateOf(int index) const { return stars_[index].State; }

  signals:
    // Paint one pixel of the window's drawing area (inside its 1-pixel frame) in `colour`.
    void PaintPoint(QPoint pixel, QColor colour);

  private:
    std::array<StarTwinkle, kStarCount> stars_;
};

}  // namespace hollowtide::visuals
