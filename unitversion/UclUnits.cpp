#include "unitversion/UclUnits.h"

#include "unitversion/UclUnitVersioning.h"

#include <array>

namespace {

// The units' version records, in start-up order.
const std::array<TUnitVersionInfo, 4>& UnitRecords() {
    static const std::array<TUnitVersionInfo, 4> records{{
        {"$URL: https://svn.kestra-soft.com/repos/ucl/trunk/source/common/UclUnitVersioning.pas $",
         "$Revision: 2473 $", "$Date: 2008-08-27 14:56:04 +0800 (Wed, 27 Aug 2008) $", "UCL/source/common", "", nullptr},
        {"$URL: https://svn.kestra-soft.com/repos/ucl/trunk/source/common/UclResources.pas $", "$Revision: 2481 $",
         "$Date: 2008-09-02 10:12:37 +0800 (Tue, 02 Sep 2008) $", "UCL/source/common", "", nullptr},
        {"$URL: https://svn.kestra-soft.com/repos/ucl/trunk/source/common/UclBase.pas $", "$Revision: 2466 $",
         "$Date: 2008-08-21 09:40:15 +0800 (Thu, 21 Aug 2008) $", "UCL/source/common", "", nullptr},
        {"$URL: https://svn.kestra-soft.com/repos/ucl/trunk/source/windows/UclWin32.pas $", "$Revision: 2490 $",
         "$Date: 2008-09-11 16:25:52 +0800 (Thu, 11 Sep 2008) $", "UCL/source/windows", "", nullptr},
    }};
    return records;
}

HINSTANCE g_moduleInstance = nullptr;

} // namespace

void InitializeUclUnits(HINSTANCE instance) {
    g_moduleInstance = instance;
    for (const TUnitVersionInfo& record : UnitRecords()) {
        AddUnitVersion(instance, record);
    }
}

void FinalizeUclUnits() {
    // UclWin32, UclBase and UclResources each withdraw the module's versions; the first removal
    // already takes the whole module entry, the later ones find nothing.
    for (SIZE_T unit = UnitRecords().size() - 1; unit > 0; --unit) {
        RemoveModuleVersions(g_moduleInstance);
    }
    // UclUnitVersioning goes last and takes the registry with it.
    ReleaseUnitVersionRegistry();
    g_moduleInstance = nullptr;
}
