#pragma once

#include "platform/classlib/core/Alignment.h"
#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

class TComponent;
class TDataSet;
class TField;

// The vocabulary shared by data sets, fields, data sources and links.

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

// What a data set tells its data sources and their links. The Info that goes with an event is a
// field (deFieldChange, deRecordChange, deFocusControl: a TField*), a distance in rows
// (deDataSetScroll: how far the rows shown moved down, negative when they moved up), or a flag
// (deDisabledStateChange: 1 when controls were disabled).
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,
    deParentScroll,
    deConnectChange,
    deReconcileError,
    deDisabledStateChange,
};

enum TFieldType {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBytes,
    ftVarBytes,
    ftAutoInc,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftFmtMemo,
    ftParadoxOle,
    ftDBaseOle,
    ftTypedBinary,
    ftCursor,
    ftFixedChar,
    ftWideString,
    ftLargeint,
    ftADT,
    ftArray,
    ftReference,
    ftDataSet,
    ftOraBlob,
    ftOraClob,
    ftVariant,
    ftInterface,
    ftIDispatch,
    ftGuid,
    ftTimeStamp,
    ftFMTBcd,
};

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

enum TLocateOption { loCaseInsensitive, loPartialKey };
using TLocateOptions = unsigned;  // bits: 1 << TLocateOption
[[nodiscard]] constexpr TLocateOptions LocateOptions(std::initializer_list<TLocateOption> options)
{
    TLocateOptions bits = 0;
    for (const TLocateOption option : options)
        bits |= 1u << option;
    return bits;
}

using TBookmarkStr = std::string;
// A bookmark handed out by GetBookmark; empty means none.
using TBookmark = std::string;

RTL_DECLARE_EXCEPTION(EDatabaseError, Exception);

// Raises EDatabaseError; with a component, its name prefixes the message ("Query1: ...").
[[noreturn]] void DatabaseError(std::string_view message, const TComponent* component = nullptr);
[[noreturn]] void DatabaseErrorFmt(std::string_view format, std::string_view argument,
                                   const TComponent* component = nullptr);

// Puts the classes form data names in a data module (TADOQuery, TDataSource and every field
// class) in the class registry. Programs call it at start-up, before they read forms; calling it
// again is harmless.
void RegisterDataClasses();

// The class library's messages.
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SNotEditing = "Dataset not in edit or insert mode";
inline constexpr const char* SFieldReadOnly = "Field '%s' cannot be modified";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldTypeMismatch = "Type mismatch for field '%s'";
inline constexpr const char* SInvalidBookmark = "Record not found";
inline constexpr const char* SCircularDataLink = "Circular datalinks are not allowed";
inline constexpr const char* SFieldIndexError = "Field index out of range";
inline constexpr const char* SNotBoolean = "'%s' is not a valid boolean value";
inline constexpr const char* SMissingSQL = "Missing SQL property";
inline constexpr const char* SInvalidFilter = "Invalid filter expression: %s";
