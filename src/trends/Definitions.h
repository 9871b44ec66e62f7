#pragma once

// The header at the start of every trend history file: 176 bytes, integers
// two's-complement little-endian whatever the host. It is held as its raw
// bytes so that writing it back reproduces every byte that was not changed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

struct TrendFileHeader {
    static constexpr std::size_t Size = 176;

    static constexpr std::size_t SignatureOffset = 128;
    static constexpr std::size_t SignatureWidth = 8;
    static constexpr std::size_t MustBeZeroOffset = 136;
    static constexpr std::size_t KindCodeOffset = 138;
    static constexpr std::size_t HistoryFileCountOffset = 148;

    // What a trend file's signature reads, cut at its first zero byte.
    static constexpr const char* ValidSignature = "VELMAR";
    // Kind codes run from 0 to this.
    static constexpr std::int16_t HighestKindCode = 6;

    std::array<std::uint8_t, Size> bytes{};

    // The 8 signature bytes as text, zero bytes included.
    std::string Signature() const;
    std::int16_t MustBeZero() const;
    std::int16_t KindCode() const;
    std::int16_t HistoryFileCount() const;
    void SetHistoryFileCount(std::int16_t count);
    // The two bytes that hold the count, as they go to disk.
    std::span<const std::uint8_t, 2> HistoryFileCountBytes() const;

private:
    std::int16_t int16At(std::size_t offset) const;
};

// True for the header of a trend file this program may change: the signature
// reads "VELMAR" up to its first zero byte, MustBeZero is 0, and the kind
// code is 0 to 6.
bool IsValidTrendHeader(const TrendFileHeader& header);

// `text` up to its first zero character, or all of it when it has none.
std::string TrimAtNul(const std::string& text);
