#include "platform/classlib/StandardClasses.h"
#include "platform/classlib/ButtonsBitBtn.h"
#include "platform/classlib/ButtonsSpeedButton.h"
#include "platform/classlib/ComCtrlsCalendar.h"
#include "platform/classlib/ComCtrlsHeader.h"
#include "platform/classlib/ComCtrlsListView.h"
#include "platform/classlib/ComCtrlsProgressBar.h"
#include "platform/classlib/ComCtrlsRichEdit.h"
#include "platform/classlib/ComCtrlsStatusBar.h"
#include "platform/classlib/ComCtrlsTabs.h"
#include "platform/classlib/ComCtrlsTrackBar.h"
#include "platform/classlib/ComCtrlsUpDown.h"
#include "platform/classlib/DB.h"
#include "platform/classlib/ExtCtrlsImage.h"
#include "platform/classlib/ExtCtrlsPanel.h"
#include "platform/classlib/ExtCtrlsShapes.h"
#include "platform/classlib/ExtCtrlsSplitter.h"
#include "platform/classlib/GraphicsIcon.h"
#include "platform/classlib/ImgList.h"
#include "platform/classlib/Mask.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrlsButtons.h"
#include "platform/classlib/StdCtrlsComboBox.h"
#include "platform/classlib/StdCtrlsEdit.h"
#include "platform/classlib/StdCtrlsLabel.h"
#include "platform/classlib/StdCtrlsListBox.h"
#include "platform/classlib/StdCtrlsScrollBar.h"
#include "platform/classlib/Timers.h"
#include "platform/winapi/controls/CommCtrl.h"

void RegisterStandardClasses()
{
    InitCommonControls();
    RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                     TGroupBox::StaticClass(), TBitBtn::StaticClass(), TSpeedButton::StaticClass(),
                     TScrollBar::StaticClass(), TEdit::StaticClass(), TMemo::StaticClass(), TMaskEdit::StaticClass(),
                     TRichEdit::StaticClass(), TListBox::StaticClass(), TComboBox::StaticClass(),
                     TStatusBar::StaticClass(), TTabControl::StaticClass(), TPageControl::StaticClass(),
                     TTabSheet::StaticClass(), THeaderControl::StaticClass(), TListView::StaticClass(),
                     TTrackBar::StaticClass(), TProgressBar::StaticClass(), TUpDown::StaticClass(),
                     TMonthCalendar::StaticClass(), TDateTimePicker::StaticClass(), TTimer::StaticClass()});
    RegisterLabelClasses();
    RegisterPanelClasses();
    RegisterSplitterClasses();
    RegisterImageClasses();
    RegisterShapeClasses();
    RegisterMenuClasses();
    RegisterImageListClasses();
    RegisterIconGraphic();
    RegisterDataClasses();
}
