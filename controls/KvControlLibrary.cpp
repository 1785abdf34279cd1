#include "controls/KvControlLibrary.h"

#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvFrameController.h"
#include "controls/KvLEDDisplay.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"

void RegisterControlLibraryClasses()
{
    RegisterFrameControllerClasses();
    RegisterBorderClasses();
    RegisterKvLabelClasses();
    RegisterKvEditClasses();
    RegisterKvButtonClasses();
    RegisterKvRadChkClasses();
    RegisterKvProgressBarClass();
    RegisterKvPageControlClasses();
}
