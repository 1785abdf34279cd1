#include "installer/core/Payload.h"

#include "modem/ModemSchema.h"

namespace {

constexpr TPayloadFile Files[] = {
    {PayloadToneType, "INCALL", "incall.mid", TPayloadKind::Data},
    {PayloadToneType, "SMS", "sms.mid", TPayloadKind::Data},
    {PayloadDataType, "MYEXE", ManagerProgramFile, TPayloadKind::Program},
    {PayloadDataType, "MYUNIN", UninstallProgramFile, TPayloadKind::Program},
    {PayloadDataType, "MYINI", ManagerSettingsFile, TPayloadKind::Private},
    {PayloadDataType, "MYMDB", ModemDatabaseFileName, TPayloadKind::Database},
    {PayloadDataType, "MYDOC", UserManualFile, TPayloadKind::Data},
    {PayloadDataType, "DRIVER", DriverToolFile, TPayloadKind::Program},
    {PayloadDataType, "CONFIG", DriverSettingsFile, TPayloadKind::Data},
    {PayloadDataType, "README", DriverGuideFile, TPayloadKind::Data},
};

} // namespace

std::span<const TPayloadFile> InstallerPayload()
{
    return Files;
}
