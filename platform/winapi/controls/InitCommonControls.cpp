#include "platform/winapi/user/Button.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/controls/DateTimePick.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/controls/ListView.h"
#include "platform/winapi/controls/MonthCal.h"
#include "platform/winapi/controls/ProgressBar.h"
#include "platform/winapi/controls/RichEdit.h"
#include "platform/winapi/user/ScrollBarControl.h"
#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/controls/TabControl.h"
#include "platform/winapi/controls/Tooltips.h"
#include "platform/winapi/controls/TrackBar.h"
#include "platform/winapi/controls/UpDown.h"

void InitCommonControls()
{
    RegisterButtonClass();
    RegisterScrollBarClass();
    RegisterEditClass();
    RegisterRichEditClass();
    RegisterListBoxClass();
    RegisterComboBoxClass();
    RegisterStatusBarClass();
    RegisterTabControlClass();
    RegisterHeaderClass();
    RegisterListViewClass();
    RegisterTrackBarClass();
    RegisterProgressBarClass();
    RegisterUpDownClass();
    RegisterMonthCalClass();
    RegisterDateTimePickClass();
    (void)RegisterTooltipsClass();
}
