#include "platform/classlib/forms/StandardClasses.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/ComCtrlsHeader.h"
#include "platform/classlib/forms/ComCtrlsListView.h"
#include "platform/classlib/forms/ComCtrlsProgressBar.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/ExtCtrlsShapes.h"
#include "platform/classlib/forms/ExtCtrlsSplitter.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Mask.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/MPlayer.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/classlib/core/Timers.h"
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
    RegisterMediaPlayerClasses();
}
