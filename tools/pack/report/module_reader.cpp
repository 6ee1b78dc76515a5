#include "tools/pack/report/module_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace packreport {

namespace {

class Reader {
  public:
    explicit Reader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    bool has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    unsigned u8(std::size_t at) const { return has(at, 1) ? bytes_[at] : 0u; }
    unsigned u16le(std::size_t at) const { return u8(at) | (u8(at + 1) << 8); }
    unsigned u16be(std::size_t at) const { return (u8(at) << 8) | u8(at + 1); }
    std::uint32_t u32le(std::size_t at) const {
        return u16le(at) | (static_cast<std::uint32_t>(u16le(at + 2)) << 16);
    }
    bool text(std::size_t at, const char* expected) const {
        const std::size_t length = std::strlen(expected);
        return has(at, length) && std::memcmp(bytes_.data() + at, expected, length) == 0;
    }
    std::size_t size() const { return bytes_.size(); }
    std::string name(std::size_t at, std::size_t length) const {
        std::string out;
        for (std::size_t i = 0; i < length && has(at + i, 1) && bytes_[at + i] != 0; ++i)
            out += static_cast<char>(bytes_[at + i]);
        return out;
    }

  private:
    const std::vector<std::uint8_t>& bytes_;
};

// `count` values at `at`, 8-bit signed (optionally delta-coded) or 16-bit little-endian.
std::vector<std::int16_t> Pcm(const Reader& in, std::size_t at, std::size_t count, bool sixteen,
                              bool delta) {
    std::vector<std::int16_t> out;
    const std::size_t width = sixteen ? 2 : 1;
    count = in.has(at, 0) ? std::min(count, (in.size() - at) / width) : 0;
    out.reserve(count);
    int previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        int value = sixteen ? static_cast<std::int16_t>(in.u16le(at + 2 * i))
                            : static_cast<std::int8_t>(in.u8(at + i));
        if (delta) {
            value = sixteen ? static_cast<std::int16_t>(previous + value)
                            : static_cast<std::int8_t>(previous + value);
            previous = value;
        }
        out.push_back(static_cast<std::int16_t>(sixteen ? value : value * 256));
    }
    return out;
}

// Channels of a 31-sample MOD from its signature, 0 when it is none this reader knows.
std::size_t ModChannels(const Reader& in) {
    for (const char* four : {"M.K.", "M!K!", "4CHN", "FLT4"}) {
        if (in.text(1080, four)) return 4;
    }
    if (in.text(1080, "FLT8") || in.text(1080, "CD81") || in.text(1080, "OKTA")) return 8;
    const unsigned a = in.u8(1080), b = in.u8(1081);
    if (a >= '1' && a <= '9' && in.text(1081, "CHN")) return a - '0';
    if (a >= '1' && a <= '3' && b >= '0' && b <= '9' &&
        (in.text(1082, "CH") || in.text(1082, "CN")))
        return 10 * (a - '0') + (b - '0');
    return 0;
}

std::optional<ModuleSamples> ReadMod(const Reader& in) {
    ModuleSamples module;
    module.type = "mod";
    unsigned highest = 0;
    for (std::size_t i = 0; i < 128; ++i) highest = std::max(highest, in.u8(952 + i));
    const std::size_t patternBytes = 64 * 4 * ModChannels(in);
    std::size_t at = 1084 + patternBytes * (static_cast<std::size_t>(highest) + 1);
    for (std::size_t s = 0; s < 31; ++s) {
        const std::size_t header = 20 + 30 * s;
        SampleData sample;
        const std::size_t length = 2 * static_cast<std::size_t>(in.u16be(header + 22));
        const std::uint32_t loopStart = 2 * in.u16be(header + 26);
        const std::uint32_t loopLength = 2 * in.u16be(header + 28);
        sample.storedBytes = length;
        sample.name = in.name(header, 22);
        // Finetune is a signed nibble in eighths of a semitone; period 428 plays 8287 Hz.
        const int finetune = static_cast<int>(in.u8(header + 24) & 0x0F);
        sample.c5Rate = 8287.137 * std::pow(2.0, (finetune >= 8 ? finetune - 16 : finetune) / 96.0);
        sample.data = Pcm(in, at, length, false, false);
        sample.loops = loopLength > 2;
        sample.loopStart = loopStart;
        sample.loopLength = loopLength;
        at += length;
        module.samples.push_back(std::move(sample));
    }
    return module;
}

std::optional<ModuleSamples> ReadXm(const Reader& in) {
    ModuleSamples module;
    module.type = "xm";
    const std::size_t patterns = in.u16le(70);
    const std::size_t instruments = in.u16le(72);
    std::size_t at = 60 + in.u32le(60);
    for (std::size_t p = 0; p < patterns && in.has(at, 9); ++p) {
        at += in.u32le(at) + in.u16le(at + 7);
    }
    for (std::size_t i = 0; i < instruments && in.has(at, 29); ++i) {
        const std::size_t start = at;
        const std::size_t sampleCount = in.u16le(at + 27);
        const std::size_t first = module.samples.size();
        std::vector<int> keymap(121, -1);
        std::size_t sampleHeaderSize = 40;
        if (sampleCount > 0) {
            sampleHeaderSize = in.u32le(at + 29);
            for (int note = 1; note <= 96; ++note) {
                const unsigned index = in.u8(start + 33 + static_cast<std::size_t>(note - 1));
                if (index < sampleCount) keymap[note + 12] = static_cast<int>(first + index);
            }
        }
        at = start + in.u32le(start);
        std::vector<std::size_t> lengths;
        for (std::size_t s = 0; s < sampleCount; ++s) {
            SampleData sample;
            const std::uint32_t length = in.u32le(at);
            const unsigned type = in.u8(at + 14);
            sample.sixteenBit = (type & 0x10) != 0;
            sample.loops = (type & 3) != 0 && in.u32le(at + 8) > 0;
            sample.loopStart = in.u32le(at + 4);
            sample.loopLength = in.u32le(at + 8);
            sample.storedBytes = length;
            sample.name = in.name(at + 18, 22);
            const int finetune = static_cast<std::int8_t>(in.u8(at + 13));
            const int relativeNote = static_cast<std::int8_t>(in.u8(at + 16));
            sample.c5Rate = 8363.0 * std::pow(2.0, (relativeNote + finetune / 128.0) / 12.0);
            if (sample.sixteenBit) {
                sample.loopStart /= 2;
                sample.loopLength /= 2;
            }
            lengths.push_back(length);
            module.samples.push_back(std::move(sample));
            at += sampleHeaderSize;
        }
        for (std::size_t s = 0; s < sampleCount; ++s) {
            SampleData& sample = module.samples[first + s];
            const std::size_t count = sample.sixteenBit ? lengths[s] / 2 : lengths[s];
            sample.data = Pcm(in, at, count, sample.sixteenBit, true);
            at += lengths[s];
        }
        module.keymaps.push_back(std::move(keymap));
    }
    return module;
}

std::optional<ModuleSamples> ReadIt(const Reader& in) {
    ModuleSamples module;
    module.type = "it";
    const std::size_t orders = in.u16le(0x20);
    const std::size_t instruments = in.u16le(0x22);
    const std::size_t samples = in.u16le(0x24);
    const bool instrumentMode = (in.u16le(0x2C) & 4) != 0;
    const std::size_t table = 0xC0 + orders;
    for (std::size_t s = 0; s < samples; ++s) {
        const std::size_t header = in.u32le(table + 4 * (instruments + s));
        SampleData sample;
        if (!in.text(header, "IMPS")) return std::nullopt;
        const unsigned flags = in.u8(header + 0x12);
        const bool isSigned = (in.u8(header + 0x2E) & 1) != 0;
        sample.sixteenBit = (flags & 2) != 0;
        const std::uint32_t length = in.u32le(header + 0x30);
        sample.loops = (flags & 0x10) != 0;
        sample.loopStart = in.u32le(header + 0x34);
        sample.loopLength =
            in.u32le(header + 0x38) - std::min(sample.loopStart, in.u32le(header + 0x38));
        sample.storedBytes = sample.sixteenBit ? 2 * length : length;
        sample.name = in.name(header + 0x14, 26);
        sample.c5Rate = in.u32le(header + 0x3C);
        if ((flags & 1) != 0 && (flags & 8) == 0) {
            sample.data = Pcm(in, in.u32le(header + 0x48), length, sample.sixteenBit, false);
            if (!isSigned) {
                for (std::int16_t& value : sample.data)
                    value = static_cast<std::int16_t>(value ^ 0x8000);
            }
        }
        module.samples.push_back(std::move(sample));
    }
    if (instrumentMode) {
        for (std::size_t i = 0; i < instruments; ++i) {
            const std::size_t header = in.u32le(table + 4 * i);
            std::vector<int> keymap(121, -1);
            for (int note = 0; note < 120; ++note) {
                const std::size_t entry = header + 0x40 + 2 * static_cast<std::size_t>(note);
                const unsigned sample = in.u8(entry + 1);
                if (sample > 0 && sample <= samples)
                    keymap[note + 1] = static_cast<int>(sample - 1);
            }
            module.keymaps.push_back(std::move(keymap));
        }
    }
    return module;
}

std::optional<ModuleSamples> ReadS3m(const Reader& in) {
    ModuleSamples module;
    module.type = "s3m";
    const std::size_t orders = in.u16le(0x20);
    const std::size_t instruments = in.u16le(0x22);
    const bool isUnsigned = in.u16le(0x2A) == 2;
    for (std::size_t i = 0; i < instruments; ++i) {
        const std::size_t header = 16 * static_cast<std::size_t>(in.u16le(0x60 + orders + 2 * i));
        SampleData sample;
        if (in.u8(header) == 1) {
            const unsigned flags = in.u8(header + 0x1F);
            sample.sixteenBit = (flags & 4) != 0;
            const std::uint32_t length = in.u32le(header + 0x10);
            const std::uint32_t loopEnd = in.u32le(header + 0x18);
            sample.loops = (flags & 1) != 0;
            sample.loopStart = in.u32le(header + 0x14);
            sample.loopLength = loopEnd - std::min(sample.loopStart, loopEnd);
            sample.storedBytes = sample.sixteenBit ? 2 * length : length;
            sample.name = in.name(header + 0x30, 28);
            sample.c5Rate = in.u32le(header + 0x20);
            const std::size_t offset =
                16 *
                ((static_cast<std::size_t>(in.u8(header + 0x0D)) << 16) | in.u16le(header + 0x0E));
            sample.data = Pcm(in, offset, length, sample.sixteenBit, false);
            if (isUnsigned) {
                for (std::int16_t& value : sample.data)
                    value = static_cast<std::int16_t>(value ^ 0x8000);
            }
        }
        module.samples.push_back(std::move(sample));
    }
    return module;
}

}  // namespace

int ModuleSamples::SampleFor(int instrument, int note) const {
    if (instrument <= 0) return -1;
    const std::size_t index = static_cast<std::size_t>(instrument - 1);
    if (keymaps.empty()) return index < samples.size() ? static_cast<int>(index) : -1;
    if (index >= keymaps.size() || note < 1 || note > 120) return -1;
    return keymaps[index][static_cast<std::size_t>(note)];
}

std::optional<ModuleSamples> ReadModuleSamples(const std::vector<std::uint8_t>& bytes) {
    const Reader in(bytes);
    if (in.text(0, "Extended Module: ")) return ReadXm(in);
    if (in.text(0, "IMPM")) return ReadIt(in);
    if (in.text(0x2C, "SCRM")) return ReadS3m(in);
    if (ModChannels(in) > 0) return ReadMod(in);
    return std::nullopt;
}

}  // namespace packreport
