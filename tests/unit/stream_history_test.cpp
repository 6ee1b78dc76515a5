// The output stream's history: frames read back exactly across the wrap, and a reader that the
// writer laps learns so instead of using a torn copy.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "audio/shared_samples.h"
#include "audio/stream_history.h"

namespace hollowtide::testing {
namespace {

using audio::StreamHistory;
constexpr std::size_t kFrames = StreamHistory::kFrames;

// Each frame carries its own number (exact in a float), left positive and right negative, so
// that any frame read from the wrong slot, or a channel swapped, shows.
float Number(std::uint64_t frame) {
    return static_cast<float>(frame % (1u << 24));
}

void WriteNumbered(StreamHistory& history, std::uint64_t first, std::size_t count) {
    float* out = history.beginWrite(first, count);
    for (std::size_t i = 0; i < count; ++i) {
        audio::StoreSample(out[2 * i], Number(first + i));
        audio::StoreSample(out[2 * i + 1], -Number(first + i));
    }
    history.endWrite(first, count);
}

TEST(StreamHistoryTest, FramesReadBackExactlyAcrossTheWrapAndUntilOverwritten) {
    auto history = std::make_unique<StreamHistory>();
    // Blocks of an odd size, so that one of them runs past the last slot.
    constexpr std::size_t kBlock = 1999;
    std::uint64_t end = 0;
    while (end < kFrames + 3 * kBlock) {
        WriteNumbered(*history, end, kBlock);
        end += kBlock;
    }
    ASSERT_NE(end % kFrames, 0u);
    EXPECT_EQ(history->oldest(), end - kFrames);

    // The writer's own copy, across the wrap.
    std::vector<float> stereo(2 * kFrames);
    history->take(end - kFrames, stereo.data(), kFrames);
    for (std::size_t i = 0; i < kFrames; ++i) {
        ASSERT_EQ(stereo[2 * i], Number(end - kFrames + i)) << i;
        ASSERT_EQ(stereo[2 * i + 1], -Number(end - kFrames + i)) << i;
    }

    // Any thread's copy: all that is kept, and not one frame more.
    std::vector<float> left(kFrames + 1);
    std::vector<float> right(kFrames + 1);
    ASSERT_TRUE(history->read(end, left.data(), right.data(), kFrames));
    for (std::size_t i = 0; i < kFrames; ++i) {
        ASSERT_EQ(left[i], Number(end - kFrames + i)) << i;
        ASSERT_EQ(right[i], -Number(end - kFrames + i)) << i;
    }
    EXPECT_FALSE(history->read(end, left.data(), right.data(), kFrames + 1));
    EXPECT_FALSE(history->read(end - 1, left.data(), right.data(), kFrames));

    // A block begun gives up the frames it will overwrite before it is done.
    history->beginWrite(end, 11);
    const std::uint64_t firstKept = end + 11 - kFrames;
    EXPECT_EQ(history->oldest(), firstKept);
    EXPECT_TRUE(history->read(firstKept + 5, left.data(), right.data(), 5));
    EXPECT_FALSE(history->read(firstKept + 5, left.data(), right.data(), 6));
}

TEST(StreamHistoryTest, FramesBeforeTheFirstReadAsSilence) {
    auto history = std::make_unique<StreamHistory>();
    WriteNumbered(*history, 0, 100);
    std::vector<float> left(8, 7.0f);
    std::vector<float> right(8, 7.0f);
    ASSERT_TRUE(history->read(3, left.data(), right.data(), 8));
    EXPECT_EQ(left, (std::vector<float>{0, 0, 0, 0, 0, 0, 1, 2}));
    EXPECT_EQ(right, (std::vector<float>{0, 0, 0, 0, 0, 0, -1, -2}));
    EXPECT_EQ(history->oldest(), 0u);
}

// A reader that trails the writer by nearly all the history is lapped now and then: every copy
// it is told is whole must be whole. A reader that ignored the check would use torn ones.
TEST(StreamHistoryTest, ACopyTheWriterLappedIsNeverReportedWhole) {
    auto history = std::make_unique<StreamHistory>();
    std::atomic<std::uint64_t> published{0};
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        for (std::uint64_t end = 0; !stop.load(); end += 2048) {
            WriteNumbered(*history, end, 2048);
            published.store(end + 2048, std::memory_order_release);
        }
    });
    constexpr std::size_t kCount = 512;
    std::vector<float> left(kCount);
    std::vector<float> right(kCount);
    std::uint64_t whole = 0;
    std::uint64_t refused = 0;
    std::uint64_t torn = 0;
    // Until both outcomes have been seen often, however the two threads are scheduled on a busy
    // machine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while ((whole < 20000 || refused < 10) && std::chrono::steady_clock::now() < deadline) {
        const std::uint64_t newest = published.load(std::memory_order_acquire);
        if (newest < kFrames) continue;
        // One block more and these frames are overwritten.
        const std::uint64_t end = newest - kFrames + 2048 + kCount + whole % 97;
        if (!history->read(end, left.data(), right.data(), kCount)) {
            ++refused;
            continue;
        }
        ++whole;
        for (std::size_t i = 0; i < kCount; ++i) {
            if (left[i] != Number(end - kCount + i) || right[i] != -left[i]) {
                ++torn;
                break;
            }
        }
    }
    stop.store(true);
    writer.join();
    EXPECT_EQ(torn, 0u) << "of " << whole << " copies reported whole";
    EXPECT_GT(whole, 0u) << refused << " refused";
}

}  // namespace
}  // namespace hollowtide::testing
