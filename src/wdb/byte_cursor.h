// Checked access to a byte buffer. Every read states how many bytes it needs
// and fails, rather than reading past the end, when they are not there.
// Bounds are tested as `size - offset >= n` so a hostile offset cannot wrap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace velmora::wdb {

class ByteView {
 public:
  explicit ByteView(std::span<const std::byte> data) : data_(data) {}

  std::size_t size() const { return data_.size(); }
  bool has(std::size_t offset, std::size_t n) const {
    return offset <= data_.size() && data_.size() - offset >= n;
  }
  std::optional<std::uint8_t> u8(std::size_t offset) const {
    if (!has(offset, 1)) return std::nullopt;
    return static_cast<std::uint8_t>(data_[offset]);
  }
  // Little-endian, as the receiver stores every 16-bit number.
  std::optional<std::uint16_t> u16(std::size_t offset) const {
    if (!has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(static_cast<unsigned>(data_[offset]) |
                                      static_cast<unsigned>(data_[offset + 1]) << 8);
  }
  // A record of n bytes at offset, or an empty optional when it is cut short.
  std::optional<ByteView> record(std::size_t offset, std::size_t n) const {
    if (!has(offset, n)) return std::nullopt;
    return ByteView(data_.subspan(offset, n));
  }

  // Within a record whose size has been checked. A slip in an offset reads
  // as a zero byte, never outside the buffer.
  std::uint8_t at(std::size_t i) const {
    return i < data_.size() ? static_cast<std::uint8_t>(data_[i]) : 0;
  }
  std::uint16_t le16(std::size_t i) const {
    return static_cast<std::uint16_t>(at(i) | at(i + 1) << 8);
  }
  // Text of a fixed-width field: up to the first zero byte, at most maxLen.
  std::string text(std::size_t offset, std::size_t width, std::size_t maxLen) const {
    std::string out;
    for (std::size_t i = 0; i < width && i < maxLen && at(offset + i) != 0; ++i)
      out.push_back(static_cast<char>(at(offset + i)));
    return out;
  }

 private:
  std::span<const std::byte> data_;
};

}  // namespace velmora::wdb
