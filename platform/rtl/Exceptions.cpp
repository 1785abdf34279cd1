#include "platform/rtl/Exceptions.h"

#include "platform/rtl/SysConst.h"

void Abort()
{
    throw EAbort(SOperationAborted);
}
