#include "grid/tools/DBGridGxImpExp.h"

#include "platform/classlib/data/DBFields.h"

#include <cstring>

namespace {

constexpr char Magic[] = "VCLDBIF";
constexpr std::uint8_t Version = 1;

TVCLDBIFTagGx TagOfType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftBoolean:
    case ftMemo:
    case ftFixedChar:
    case ftLargeint:
    case ftOraClob:
    case ftGuid:
        return vtgString;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        return vtgInteger;
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
    case ftFMTBcd:
        return vtgFloat;
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftWideString:
    case ftOraBlob:
        return vtgBinary;
    default:
        return vtgUnassigned;
    }
}

} // namespace

std::unique_ptr<TDBGridGxExport> TDBGridGxExportAsVCLDBIF::Create()
{
    return std::make_unique<TDBGridGxExportAsVCLDBIF>();
}

void TDBGridGxExportAsVCLDBIF::PutTag(std::uint8_t tag)
{
    Stream().WriteBuffer(&tag, 1);
}

void TDBGridGxExportAsVCLDBIF::PutInt32(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                                   static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    Stream().WriteBuffer(bytes, sizeof(bytes));
}

void TDBGridGxExportAsVCLDBIF::PutBytes(const std::string& bytes)
{
    PutInt32(static_cast<std::int32_t>(bytes.size()));
    Put(bytes);
}

void TDBGridGxExportAsVCLDBIF::BeginExport()
{
    Put(std::string_view(Magic, 7));
    PutTag(Version);
    PutInt32(static_cast<std::int32_t>(ExportedColumns().size()));
    for (TColumnGx* column : ExportedColumns()) {
        PutTag(column->Visible() ? 1 : 0);
        PutTag(0); // the name is left empty: values travel by position
    }
}

void TDBGridGxExportAsVCLDBIF::EndExport()
{
    PutTag(vtgEnd);
}

void TDBGridGxExportAsVCLDBIF::PutDataCell(TColumnGx& column, const IImpExpGridGx::TCellParams&)
{
    TField* field = ImpExpValueField(column);
    if (!field) {
        PutTag(vtgUnassigned);
        return;
    }
    if (field->IsNull()) {
        PutTag(vtgNull);
        return;
    }
    const TVCLDBIFTagGx tag = TagOfType(field->DataType());
    PutTag(tag);
    switch (tag) {
    case vtgString:
    case vtgBinary:
        PutBytes(field->AsString());
        break;
    case vtgInteger:
        PutInt32(field->AsInteger());
        break;
    case vtgFloat: {
        const double value = field->AsFloat();
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof(bits));
        std::uint8_t bytes[8];
        for (int i = 0; i < 8; ++i)
            bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
        Stream().WriteBuffer(bytes, sizeof(bytes));
        break;
    }
    default:
        break;
    }
}
