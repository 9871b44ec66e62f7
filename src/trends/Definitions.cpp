#include "trends/Definitions.h"

std::string TrimAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

std::string TrendFileHeader::Signature() const {
    const auto* first = bytes.data() + SignatureOffset;
    return std::string(first, first + SignatureWidth);
}

std::int16_t TrendFileHeader::MustBeZero() const { return int16At(MustBeZeroOffset); }

std::int16_t TrendFileHeader::KindCode() const { return int16At(KindCodeOffset); }

std::int16_t TrendFileHeader::HistoryFileCount() const { return int16At(HistoryFileCountOffset); }

void TrendFileHeader::SetHistoryFileCount(std::int16_t count) {
    const auto raw = static_cast<std::uint16_t>(count);
    bytes[HistoryFileCountOffset] = static_cast<std::uint8_t>(raw & 0xFF);
    bytes[HistoryFileCountOffset + 1] = static_cast<std::uint8_t>(raw >> 8);
}

std::int16_t TrendFileHeader::int16At(std::size_t offset) const {
    const auto raw = static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    return static_cast<std::int16_t>(raw);
}

std::span<const std::uint8_t, 2> TrendFileHeader::HistoryFileCountBytes() const {
    return std::span<const std::uint8_t, 2>(bytes.data() + HistoryFileCountOffset, 2);
}

bool IsValidTrendHeader(const TrendFileHeader& header) {
    const bool signatureOk = TrimAtNul(header.Signature()) == TrendFileHeader::ValidSignature;
    const bool kindOk =
        header.KindCode() >= 0 && header.KindCode() <= TrendFileHeader::HighestKindCode;
    return signatureOk && header.MustBeZero() == 0 && kindOk;
}
