#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace vs::base {

// Reads untrusted bytes. A read past the end sets the failed flag and yields 0 (or an empty span);
// once failed, every later read fails too, so a parser checks ok() once at the end.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}
    ByteReader(const void* data, size_t size)
        : data_(static_cast<const uint8_t*>(data), size) {}

    bool ok() const { return !failed_; }
    bool failed() const { return failed_; }
    size_t position() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return failed_ ? 0 : data_.size() - pos_; }
    bool atEnd() const { return remaining() == 0; }
    std::span<const uint8_t> data() const { return data_; }
    std::span<const uint8_t> rest() const {
        return failed_ ? std::span<const uint8_t>() : data_.subspan(pos_);
    }

    // True when n more bytes are present; never changes the state.
    bool has(size_t n) const { return !failed_ && n <= data_.size() - pos_; }

    void fail() { failed_ = true; }

    bool seek(size_t pos) {
        if (failed_ || pos > data_.size()) return fail(), false;
        pos_ = pos;
        return true;
    }
    bool skip(size_t n) {
        if (!has(n)) return fail(), false;
        pos_ += n;
        return true;
    }

    uint8_t u8() { return has(1) ? data_[pos_++] : (fail(), uint8_t(0)); }
    int8_t i8() { return int8_t(u8()); }

    uint16_t u16be() { return uint16_t(take(2, true)); }
    uint32_t u24be() { return uint32_t(take(3, true)); }
    uint32_t u32be() { return uint32_t(take(4, true)); }
    int16_t i16be() { return int16_t(u16be()); }
    int32_t i32be() { return int32_t(u32be()); }

    uint16_t u16le() { return uint16_t(take(2, false)); }
    uint32_t u24le() { return uint32_t(take(3, false)); }
    uint32_t u32le() { return uint32_t(take(4, false)); }
    int16_t i16le() { return int16_t(u16le()); }
    int32_t i32le() { return int32_t(u32le()); }

    // n bytes as a view into the source, or an empty span (and failure) when fewer remain.
    std::span<const uint8_t> bytes(size_t n) {
        if (!has(n)) return fail(), std::span<const uint8_t>();
        auto s = data_.subspan(pos_, n);
        pos_ += n;
        return s;
    }
    bool copy(void* out, size_t n) {
        auto s = bytes(n);
        if (s.size() != n) return false;
        if (n) std::memcpy(out, s.data(), n);
        return true;
    }

private:
    uint64_t take(size_t n, bool bigEndian) {
        if (!has(n)) return fail(), 0;
        uint64_t v = 0;
        for (size_t i = 0; i < n; ++i) {
            uint64_t b = data_[pos_ + (bigEndian ? i : n - 1 - i)];
            v = (v << 8) | b;
        }
        pos_ += n;
        return v;
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool failed_ = false;
};

// Builds byte strings: big-endian for the wire, little-endian for files.
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(std::vector<uint8_t> initial) : out_(std::move(initial)) {}

    ByteWriter& u8(uint32_t v) { return out_.push_back(uint8_t(v)), *this; }
    ByteWriter& u16be(uint32_t v) { return put(v, 2, true); }
    ByteWriter& u24be(uint32_t v) { return put(v, 3, true); }
    ByteWriter& u32be(uint32_t v) { return put(v, 4, true); }
    ByteWriter& u16le(uint32_t v) { return put(v, 2, false); }
    ByteWriter& u24le(uint32_t v) { return put(v, 3, false); }
    ByteWriter& u32le(uint32_t v) { return put(v, 4, false); }
    ByteWriter& bytes(std::span<const uint8_t> b) {
        out_.insert(out_.end(), b.begin(), b.end());
        return *this;
    }
    ByteWriter& bytes(std::string_view s) {
        out_.insert(out_.end(), s.begin(), s.end());
        return *this;
    }
    ByteWriter& fill(uint8_t v, size_t n) {
        out_.insert(out_.end(), n, v);
        return *this;
    }
    // Overwrites bytes already written (sizes and offsets filled in afterwards).
    void patchU32le(size_t at, uint32_t v) {
        for (size_t i = 0; i < 4; ++i) out_.at(at + i) = uint8_t(v >> (8 * i));
    }
    void patchU16be(size_t at, uint32_t v) {
        out_.at(at) = uint8_t(v >> 8);
        out_.at(at + 1) = uint8_t(v);
    }

    size_t size() const { return out_.size(); }
    const std::vector<uint8_t>& data() const { return out_; }
    std::vector<uint8_t> take() { return std::move(out_); }

private:
    ByteWriter& put(uint32_t v, size_t n, bool bigEndian) {
        for (size_t i = 0; i < n; ++i) {
            size_t shift = 8 * (bigEndian ? n - 1 - i : i);
            out_.push_back(uint8_t(v >> shift));
        }
        return *this;
    }
    std::vector<uint8_t> out_;
};

}  // namespace vs::base
