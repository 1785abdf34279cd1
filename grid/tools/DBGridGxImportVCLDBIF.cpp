#include "grid/tools/DBGridGxImpExp.h"

#include "platform/classlib/data/DBFields.h"

#include <cstring>

std::unique_ptr<TDBGridGxImport> TDBGridGxImportAsVCLDBIF::Create()
{
    return std::make_unique<TDBGridGxImportAsVCLDBIF>();
}

void TDBGridGxImportAsVCLDBIF::InvalidFormat()
{
    throw Exception("TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format");
}

void TDBGridGxImportAsVCLDBIF::ReadExactly(void* buffer, std::size_t count)
{
    if (ReadSource(buffer, count) != count)
        InvalidFormat();
}

std::int32_t TDBGridGxImportAsVCLDBIF::ReadInt32()
{
    std::uint8_t bytes[4];
    ReadExactly(bytes, sizeof(bytes));
    return static_cast<std::int32_t>(std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                                     std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24);
}

void TDBGridGxImportAsVCLDBIF::ReadPrefix()
{
    m_lastValue = Unassigned();
    char magic[8];
    ReadExactly(magic, sizeof(magic)); // the version byte is not checked
    if (std::memcmp(magic, "VCLDBIF", 7) != 0)
        InvalidFormat();
    m_columnCount = ReadInt32();
    // Every descriptor takes at least two bytes; a count the source cannot hold is a lie, and a
    // row of no columns would never use up the source.
    if (m_columnCount <= 0 || m_columnCount > RemainingSource() / 2)
        InvalidFormat();
    // The descriptors (a visible flag and a field name) are read past: values go by position.
    for (std::int32_t i = 0; i < m_columnCount; ++i) {
        std::uint8_t visible = 0;
        ReadExactly(&visible, 1);
        for (char c = 1; c != '\0';)
            ReadExactly(&c, 1);
    }
    ReadValue();
}

void TDBGridGxImportAsVCLDBIF::ReadValue()
{
    if (EndOfSource())
        return;
    std::uint8_t tag = 0;
    ReadExactly(&tag, 1);
    m_lastValue = Unassigned();
    switch (tag) {
    case vtgEnd:
        SetEndOfSource();
        break;
    case vtgNull:
        m_lastValue = Null();
        break;
    case vtgInteger:
        m_lastValue = Variant(static_cast<int>(ReadInt32()));
        break;
    case vtgFloat: {
        std::uint8_t bytes[8];
        ReadExactly(bytes, sizeof(bytes));
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i)
            bits = bits << 8 | bytes[i];
        double value = 0;
        std::memcpy(&value, &bits, sizeof(value));
        m_lastValue = Variant(value);
        break;
    }
    case vtgString:
    case vtgBinary: {
        const std::int32_t length = ReadInt32();
        if (length < 0 || length > RemainingSource())
            InvalidFormat();
        std::string bytes(static_cast<std::size_t>(length), '\0');
        ReadExactly(bytes.data(), bytes.size());
        m_lastValue = Variant(bytes);
        break;
    }
    default:
        break;
    }
}

void TDBGridGxImportAsVCLDBIF::ReadRow(const TColumnsListGx& columns)
{
    for (std::int32_t i = 0; i < m_columnCount; ++i)
        ReadCell(static_cast<std::size_t>(i) < columns.size() ? columns[static_cast<std::size_t>(i)] : nullptr);
}

void TDBGridGxImportAsVCLDBIF::ReadCell(TColumnGx* column)
{
    if (!VarIsEmpty(m_lastValue) && column)
        WriteCell(*column, [&](TField& target, TField&) {
            if (VarIsNull(m_lastValue))
                target.Clear();
            else
                target.SetValue(m_lastValue);
        });
    ReadValue();
}
