#include "platform/classlib/data/DBRecord.h"

#include <cstring>
#include <string_view>

// Texts are found by their place after the cells; a value of no fixed form (an array) is kept in
// a Variant of its own that the cell points to.
struct TRecordValues::Cell {
    std::int32_t Type = varEmpty;
    std::uint32_t Length = 0;
    std::uint64_t Payload = 0;
};

namespace {

struct Header {
    std::uint32_t Count = 0;
    std::uint32_t Boxed = 0;  // how many values are kept in Variants of their own
};

bool IsScalar(int type)
{
    switch (type) {
    case varEmpty:
    case varNull:
    case varInteger:
    case varDouble:
    case varCurrency:
    case varDate:
    case varError:
    case varBoolean:
    case varInt64:
        return true;
    default:
        return false;
    }
}

bool IsBoxed(int type)
{
    return type != varString && !IsScalar(type);
}

std::uint64_t IntegerBits(std::int64_t value)
{
    return static_cast<std::uint64_t>(value);
}

std::uint64_t DoubleBits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double BitsToDouble(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint64_t ScalarBits(const Variant& value)
{
    switch (value.VType()) {
    case varInteger:
    case varInt64:
        return IntegerBits(value.ToInt64());
    case varBoolean:
        return IntegerBits(value.ToBoolean() ? -1 : 0);
    case varCurrency:
        return IntegerBits(value.ToCurrency().Scaled());
    case varError:
        return IntegerBits(value.ErrorCode());
    case varDouble:
    case varDate:
        return DoubleBits(value.ToDouble());
    default:
        return 0;
    }
}

Variant ScalarValue(int type, std::uint64_t bits)
{
    const auto integer = static_cast<std::int64_t>(bits);
    switch (type) {
    case varNull:
        return Variant::MakeNull();
    case varInteger:
        return Variant(static_cast<int>(integer));
    case varInt64:
        return Variant(static_cast<long long>(integer));
    case varBoolean:
        return Variant(integer != 0);
    case varCurrency:
        return Variant(Currency::FromScaled(integer));
    case varError:
        return Variant::FromError(static_cast<std::int32_t>(integer));
    case varDouble:
        return Variant(BitsToDouble(bits));
    case varDate:
        return Variant::FromDateTime(BitsToDouble(bits));
    default:
        return Variant();
    }
}

Header ReadHeader(const std::byte* block)
{
    Header header;
    if (block)
        std::memcpy(&header, block, sizeof header);
    return header;
}

}  // namespace

TRecordValues::~TRecordValues()
{
    Release();
}

TRecordValues::TRecordValues(const TRecordValues& other)
{
    Assign(other.ToVector());
}

TRecordValues& TRecordValues::operator=(const TRecordValues& other)
{
    if (this != &other)
        Assign(other.ToVector());
    return *this;
}

TRecordValues& TRecordValues::operator=(TRecordValues&& other) noexcept
{
    if (this != &other) {
        Release();
        m_block = std::move(other.m_block);
    }
    return *this;
}

std::size_t TRecordValues::Count() const
{
    return ReadHeader(m_block.get()).Count;
}

TRecordValues::Cell TRecordValues::CellAt(std::size_t index) const
{
    Cell cell;
    std::memcpy(&cell, m_block.get() + sizeof(Header) + index * sizeof(Cell), sizeof cell);
    return cell;
}

void TRecordValues::StoreCell(std::size_t index, const Cell& cell)
{
    std::memcpy(m_block.get() + sizeof(Header) + index * sizeof(Cell), &cell, sizeof cell);
}

Variant TRecordValues::operator[](std::size_t index) const
{
    const Cell cell = CellAt(index);
    if (cell.Type == varString) {
        const auto* texts = reinterpret_cast<const char*>(m_block.get() + sizeof(Header) + Count() * sizeof(Cell));
        return Variant(std::string_view(texts + cell.Payload, cell.Length));
    }
    if (IsBoxed(cell.Type))
        return *reinterpret_cast<const Variant*>(static_cast<std::uintptr_t>(cell.Payload));
    return ScalarValue(cell.Type, cell.Payload);
}

bool TRecordValues::IsClear(std::size_t index) const
{
    const int type = CellAt(index).Type;
    return type == varEmpty || type == varNull;
}

void TRecordValues::Set(std::size_t index, const Variant& value)
{
    if (IsScalar(value.VType()) && IsScalar(CellAt(index).Type)) {
        StoreCell(index, Cell{value.VType(), 0, ScalarBits(value)});
        return;
    }
    std::vector<Variant> values = ToVector();
    values[index] = value;
    Assign(values);
}

void TRecordValues::Resize(std::size_t count)
{
    if (count == Count())
        return;
    std::vector<Variant> values = ToVector();
    values.resize(count);
    Assign(values);
}

void TRecordValues::Assign(const std::vector<Variant>& values)
{
    Builder builder;
    for (const Variant& value : values)
        builder.Add(value);
    *this = builder.Take();
}

std::vector<Variant> TRecordValues::ToVector() const
{
    std::vector<Variant> values;
    values.reserve(Count());
    for (std::size_t i = 0; i < Count(); ++i)
        values.push_back((*this)[i]);
    return values;
}

void TRecordValues::Release()
{
    if (ReadHeader(m_block.get()).Boxed)
        for (std::size_t i = 0; i < Count(); ++i) {
            const Cell cell = CellAt(i);
            if (IsBoxed(cell.Type))
                delete reinterpret_cast<Variant*>(static_cast<std::uintptr_t>(cell.Payload));
        }
    m_block.reset();
}

TRecordValues::Builder::Builder() = default;

TRecordValues::Builder::~Builder()
{
    Clear();
}

void TRecordValues::Builder::Add(const Variant& value)
{
    const int type = value.VType();
    if (type == varString) {
        AddText(value.ToString());
    } else if (IsBoxed(type)) {
        auto boxed = std::make_unique<Variant>(value);
        m_cells.push_back(Cell{type, 0, reinterpret_cast<std::uintptr_t>(boxed.get())});
        boxed.release();
        ++m_boxed;
    } else {
        m_cells.push_back(Cell{type, 0, ScalarBits(value)});
    }
}

void TRecordValues::Builder::AddNull()
{
    m_cells.push_back(Cell{varNull, 0, 0});
}

void TRecordValues::Builder::AddInteger(int value)
{
    m_cells.push_back(Cell{varInteger, 0, IntegerBits(value)});
}

void TRecordValues::Builder::AddBoolean(bool value)
{
    m_cells.push_back(Cell{varBoolean, 0, IntegerBits(value ? -1 : 0)});
}

void TRecordValues::Builder::AddText(std::string_view text)
{
    m_cells.push_back(Cell{varString, static_cast<std::uint32_t>(text.size()), m_texts.size()});
    m_texts.append(text);
}

TRecordValues TRecordValues::Builder::Take()
{
    TRecordValues values;
    if (!m_cells.empty()) {
        const Header header{static_cast<std::uint32_t>(m_cells.size()), m_boxed};
        const std::size_t cellsSize = m_cells.size() * sizeof(Cell);
        values.m_block = std::make_unique_for_overwrite<std::byte[]>(sizeof header + cellsSize + m_texts.size());
        std::memcpy(values.m_block.get(), &header, sizeof header);
        std::memcpy(values.m_block.get() + sizeof header, m_cells.data(), cellsSize);
        std::memcpy(values.m_block.get() + sizeof header + cellsSize, m_texts.data(), m_texts.size());
        m_boxed = 0;  // the record owns them now
    }
    Clear();
    return values;
}

void TRecordValues::Builder::Clear()
{
    if (m_boxed)
        for (const Cell& cell : m_cells)
            if (IsBoxed(cell.Type))
                delete reinterpret_cast<Variant*>(static_cast<std::uintptr_t>(cell.Payload));
    m_cells.clear();
    m_texts.clear();
    m_boxed = 0;
}
