// Small modules built in memory for tests, and a temporary folder to write them into.
//
// MakeTestMod builds a 4-channel "M.K." module: sample 1 is a short looped waveform, channel 0
// plays a note every 4 rows (C, D, E, F in turn), channel 1 holds a note an octave higher from
// row 0 of each pattern. Channel 2 carries the pattern break that shortens every pattern to
// `rows` rows; the first row sets speed (channel 1) and tempo (channel 3). A row lasts
// speed * 2.5 / tempo seconds: 64 rows at speed 6 / tempo 125 play for about 7.7 s, 64 rows at
// speed 1 for about 1.3 s.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace hollowtide::testing {

enum class TestWave { Square, Sine };

struct TestModOptions {
    int rows = 64;        // rows played per pattern, 1 to 64
    int patterns = 1;     // patterns in the order list, played one after another, 1 to 64
    int speed = 6;        // ticks per row, 1 to 31
    int tempo = 125;      // beats per minute, 32 to 255
    bool silent = false;  // no notes at all
    TestWave wave = TestWave::Square;
    int sampleLength = 32;  // bytes of the sample, even, 2 to 65534
    bool looped = true;     // the sample loops over its whole length; else it plays once
    int cycle = 0;          // bytes per wave cycle within the sample; 0: the whole sample
    int volume = 64;        // sample volume, 0 to 64
};

namespace detail {

inline void PutBigEndian16(std::vector<std::uint8_t>& out, std::size_t at, int value) {
    out[at] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    out[at + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// One pattern cell: sample number, Amiga period, effect and parameter.
inline void PutCell(std::vector<std::uint8_t>& out, std::size_t at, int sample, int period,
                    int effect, int param) {
    out[at] = static_cast<std::uint8_t>((sample & 0xF0) | ((period >> 8) & 0x0F));
    out[at + 1] = static_cast<std::uint8_t>(period & 0xFF);
    out[at + 2] = static_cast<std::uint8_t>(((sample & 0x0F) << 4) | (effect & 0x0F));
    out[at + 3] = static_cast<std::uint8_t>(param & 0xFF);
}

}  // namespace detail

inline std::vector<std::uint8_t> MakeTestMod(const TestModOptions& options) {
    constexpr std::size_t kHeaderSize = 20 + 31 * 30 + 2 + 128 + 4;
    constexpr std::size_t kPatternSize = 64 * 4 * 4;
    const int rows = std::clamp(options.rows, 1, 64);
    const int patterns = std::clamp(options.patterns, 1, 64);
    const int sampleLength = std::clamp(options.sampleLength & ~1, 2, 65534);

    std::vector<std::uint8_t> mod(kHeaderSize + kPatternSize * patterns + sampleLength, 0);
    const std::string title = "hollowtide test";
    std::copy(title.begin(), title.end(), mod.begin());

    // Sample 1: looped over its whole length.
    const std::size_t sample1 = 20;
    const std::string sampleName = "wave";
    std::copy(sampleName.begin(), sampleName.end(), mod.begin() + sample1);
    detail::PutBigEndian16(mod, sample1 + 22, sampleLength / 2);
    mod[sample1 + 24] = 0;  // finetune
    mod[sample1 + 25] = static_cast<std::uint8_t>(std::clamp(options.volume, 0, 64));
    detail::PutBigEndian16(mod, sample1 + 26, 0);
    detail::PutBigEndian16(mod, sample1 + 28, options.looped ? sampleLength / 2 : 1);
    for (int s = 1; s < 31; ++s) detail::PutBigEndian16(mod, 20 + s * 30 + 28, 1);

    const std::size_t orders = 20 + 31 * 30;
    mod[orders] = static_cast<std::uint8_t>(patterns);
    mod[orders + 1] = 127;
    for (int p = 0; p < patterns; ++p) mod[orders + 2 + p] = static_cast<std::uint8_t>(p);
    mod[orders + 130] = 'M';
    mod[orders + 131] = '.';
    mod[orders + 132] = 'K';
    mod[orders + 133] = '.';

    constexpr std::array<int, 4> kMelody = {428, 381, 339, 320};  // C-2, D-2, E-2, F-2
    for (int p = 0; p < patterns; ++p) {
        const std::size_t base = kHeaderSize + kPatternSize * p;
        const auto cell = [&](int row, int channel) { return base + (row * 4 + channel) * 4; };
        for (int row = 0; row < rows && !options.silent; ++row) {
            if (row % 4 == 0) detail::PutCell(mod, cell(row, 0), 1, kMelody[(row / 4) % 4], 0, 0);
        }
        // Row 0: channel 1's note carries the speed, channel 3 the tempo.
        const int speed = p == 0 ? std::clamp(options.speed, 1, 31) : 0;
        detail::PutCell(mod, cell(0, 1), options.silent ? 0 : 1, options.silent ? 0 : 214,
                        p == 0 ? 0xF : 0, speed);
        if (p == 0) detail::PutCell(mod, cell(0, 3), 0, 0, 0xF, std::clamp(options.tempo, 32, 255));
        if (rows < 64) detail::PutCell(mod, cell(rows - 1, 2), 0, 0, 0xD, 0);
    }

    const std::size_t samples = kHeaderSize + kPatternSize * patterns;
    const int cycle = options.cycle > 0 ? options.cycle : sampleLength;
    for (int i = 0; i < sampleLength; ++i) {
        double value = 0.0;
        if (options.wave == TestWave::Square) {
            value = i % cycle < cycle / 2 ? 127.0 : -127.0;
        } else {
            value = 127.0 * std::sin(2.0 * 3.14159265358979323846 * (i % cycle) / cycle);
        }
        mod[samples + i] = static_cast<std::uint8_t>(static_cast<std::int8_t>(std::lround(value)));
    }
    return mod;
}

inline std::vector<std::uint8_t> MakeTestMod(int rows = 64, int patterns = 1, int speed = 6,
                                             bool silent = false) {
    TestModOptions options;
    options.rows = rows;
    options.patterns = patterns;
    options.speed = speed;
    options.silent = silent;
    return MakeTestMod(options);
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "hollowtide-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make temp dir");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const {
        return path_ / relative;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace hollowtide::testing
