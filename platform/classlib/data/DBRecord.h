#pragma once

#include "platform/rtl/Variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The values of one record a data set holds in memory, packed in a single block: a small cell per
// value (its type and number, or where its text lies) followed by the texts. A data set holds
// every record of its query, so this keeps the memory a large query touches to a fraction of what
// a Variant per value takes. Values read back exactly as they were stored, type included.
class TRecordValues {
public:
    TRecordValues() = default;
    explicit TRecordValues(const std::vector<Variant>& values) { Assign(values); }
    ~TRecordValues();
    TRecordValues(const TRecordValues& other);
    TRecordValues& operator=(const TRecordValues& other);
    TRecordValues(TRecordValues&& other) noexcept = default;
    TRecordValues& operator=(TRecordValues&& other) noexcept;

    [[nodiscard]] std::size_t Count() const;
    [[nodiscard]] Variant operator[](std::size_t index) const;
    [[nodiscard]] bool IsClear(std::size_t index) const;
    void Set(std::size_t index, const Variant& value);
    // Keeps the first `count` values; places added hold Null.
    void Resize(std::size_t count);
    void Assign(const std::vector<Variant>& values);
    [[nodiscard]] std::vector<Variant> ToVector() const;

private:
    struct Cell;
    [[nodiscard]] Cell CellAt(std::size_t index) const;
    void StoreCell(std::size_t index, const Cell& cell);
    void Release();

    std::unique_ptr<std::byte[]> m_block;
};
