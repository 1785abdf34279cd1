#pragma once

#include "platform/rtl/Variant.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
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

    class Builder;

private:
    struct Cell;
    [[nodiscard]] Cell CellAt(std::size_t index) const;
    void StoreCell(std::size_t index, const Cell& cell);
    void Release();

    std::unique_ptr<std::byte[]> m_block;
};

// Gathers one record's values at a time in buffers it keeps from record to record, so that a
// reader of many records allocates only each record's own block. Take hands the values over and
// starts the next record.
class TRecordValues::Builder {
public:
    Builder();
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;
    ~Builder();

    void Add(const Variant& value);
    // The same as Add(Variant(...)) of these, without making the Variant.
    void AddNull();
    void AddInteger(int value);
    void AddBoolean(bool value);
    void AddText(std::string_view text);
    [[nodiscard]] TRecordValues Take();

private:
    void Clear();

    std::vector<Cell> m_cells;
    std::string m_texts;
    std::uint32_t m_boxed = 0;
};
