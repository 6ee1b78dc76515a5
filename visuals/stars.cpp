#include "visuals/stars.h"

#include <algorithm>

namespace hollowtide::visuals {

namespace {
constexpr std::int16_t kDark = 1;
constexpr std::int16_t kLit = 2;
}  // namespace

std::optional<StarTick> StarTwinkle::Tick() {
    if (State == kDark) {
        State = kLit;
        return StarTick{kStarLit, kStarLitMs};
    }
    if (State == kLit) {
        State = kDark;
        return StarTick{kStarDark, darkPauseMs_};
    }
    return std::nullopt;
}

namespace {
template <std::size_t... I>
std::array<StarTwinkle, kStarCount> MakeTwinkles(std::index_sequence<I...>) {
    return {StarTwinkle(kStars[I].darkPauseMs)...};
}
std::array<StarTwinkle, kStarCount> MakeTwinkles() {
    return MakeTwinkles(std::make_index_sequence<kStarCount>());
}
}  // namespace

StarSchedule::StarSchedule() : stars_(MakeTwinkles()) {
    for (int i = 0; i < kStarCount; ++i) {
        stars_[i].State = kDark;
        due_[i] = kStars[i].darkPauseMs;
    }
}

std::vector<StarEvent> StarSchedule::RunUntil(std::int64_t untilMs) {
    std::vector<StarEvent> events;
    for (;;) {
        const auto next = std::min_element(due_.begin(), due_.end());
        if (*next > untilMs) {
            return events;
        }
        const int star = static_cast<int>(next - due_.begin());
        const std::int64_t now = *next;
        const auto tick = stars_[star].Tick();
        if (!tick) {
            due_[star] += kStars[star].darkPauseMs;  // a tick that does nothing keeps its interval
            continue;
        }
        events.push_back({star, now, tick->colour});
        due_[star] = now + tick->nextIntervalMs;
    }
}

StarField::StarField(QObject* parent) : QObject(parent), stars_(MakeTwinkles()) {
    for (int i = 0; i < kStarCount; ++i) {
        QTimer& timer = TimerOf(i);
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(kStars[i].darkPauseMs);
        connect(&timer, &QTimer::timeout, this, [this, i] { TickStar(i); });
    }
    Timer4.start();
}

QTimer& StarField::TimerOf(int index) {
    std::array<QTimer*, kStarCount> timers{&Timer4, &Timer5, &Timer6, &Timer7, &Timer8};
    return *timers[index];
}

void StarField::Load() {
    for (int i = 0; i < kStarCount; ++i) {
        stars_[i].State = kDark;
        TimerOf(i).start();
    }
}

void StarField::TickStar(int index) {
    const auto tick = stars_[index].Tick();
    if (!tick) {
        return;
    }
    emit PaintPoint(kStars[index].pixel, QColor::fromRgb(tick->colour));
    // On a running timer this restarts the count: the next tick is one new interval away.
    TimerOf(index).setInterval(tick->nextIntervalMs);
}

}  // namespace hollowtide::visuals
