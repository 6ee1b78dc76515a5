// A growing byte buffer with the little- and big-endian stores the module formats need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace packgen {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
  public:
    void u8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF)); }
    void s8(int value) { u8(static_cast<unsigned>(value) & 0xFF); }
    void u16le(unsigned value) {
        u8(value);
        u8(value >> 8);
    }
    void u32le(std::uint32_t value) {
        u16le(value & 0xFFFF);
        u16le(value >> 16);
    }
    void u16be(unsigned value) {
        u8(value >> 8);
        u8(value);
    }
    // Text padded with zeros (or cut) to exactly `width` bytes.
    void text(std::string_view value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            u8(i < value.size() ? static_cast<unsigned char>(value[i]) : 0);
        }
    }
    void zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }
    void append(const Bytes& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }

    std::size_t size() const { return bytes_.size(); }
    // Overwrites a little-endian value written earlier (offsets filled in after the fact).
    void patch16le(std::size_t at, unsigned value) {
        bytes_[at] = static_cast<std::uint8_t>(value & 0xFF);
        bytes_[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    }
    void patch32le(std::size_t at, std::uint32_t value) {
        patch16le(at, value & 0xFFFF);
        patch16le(at + 2, value >> 16);
    }
    const Bytes& bytes() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

  private:
    Bytes bytes_;
};

}  // namespace packgen
