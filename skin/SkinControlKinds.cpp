#include "skin/SkinControlKinds.h"

#include "skin/SkinBitButton.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinComBox.h"
#include "skin/SkinComboList.h"
#include "skin/SkinContainers.h"
#include "skin/SkinDateTime.h"
#include "skin/SkinEdit.h"
#include "skin/SkinFaces.h"
#include "skin/SkinHeader.h"
#include "skin/SkinObjImage.h"
#include "skin/SkinProgress.h"
#include "skin/SkinScrolling.h"
#include "skin/SkinStatusBar.h"
#include "skin/SkinTab.h"
#include "skin/SkinTrackBar.h"
#include "skin/SkinUpDown.h"

namespace {

template <typename T>
TSkinnerFactory Make()
{
    return [] { return std::unique_ptr<TSkinControl>(std::make_unique<T>()); };
}

} // namespace

std::map<std::string, TSkinnerFactory> BuiltInSkinners()
{
    return {
        {"TSkinButton", Make<TSkinButton>()},
        {"TSkinBitButton", Make<TSkinBitButton>()},
        {"TSkinBitButton.Png",
         [] { return std::unique_ptr<TSkinControl>(std::make_unique<TSkinBitButton>("PngImage")); }},
        {"TSkinSpeedButton", Make<TSkinSpeedButton>()},
        {"TSkinMenuButton", Make<TSkinMenuButton>()},
        {"TSkinCheckBox", Make<TSkinCheckBox>()},
        {"TSkinRadioButton", Make<TSkinRadioButton>()},
        {"TSkinTrackBar", Make<TSkinTrackBar>()},
        {"TSkinUpDown", Make<TSkinUpDown>()},
        {"TSkinProgress", Make<TSkinProgress>()},
        {"TSkinEdit", Make<TSkinEdit>()},
        {"TSkinComBox", Make<TSkinComBox>()},
        {"TComboxScrollBar", Make<TComboxScrollBar>()},
        {"TSkinDateTime", Make<TSkinDateTime>()},
        {"TSkinScrollbar", Make<TSkinScrollbar>()},
        {"TSkinScrollbar.Single", [] { return std::unique_ptr<TSkinControl>(std::make_unique<TSkinScrollbar>(true)); }},
        {"TSkinScrollbarH", Make<TSkinScrollbarH>()},
        {"TSkinScControl", Make<TSkinScControl>()},
        {"TSkinHeader", Make<TSkinHeader>()},
        {"TSkinListView", Make<TSkinListView>()},
        {"TSkinSizer", Make<TSkinSizer>()},
        {"TSkinTabSheet", Make<TSkinTabSheet>()},
        {"TSkinBoxH", Make<TSkinBoxH>()},
        {"TSkinObjImage.Check",
         [] { return std::unique_ptr<TSkinControl>(std::make_unique<TSkinObjImage>(TSkinObjImage::CheckItems)); }},
        {"TSkinObjImage.Radio",
         [] { return std::unique_ptr<TSkinControl>(std::make_unique<TSkinObjImage>(TSkinObjImage::RadioItems)); }},
        {"TSkinStatusBar", Make<TSkinStatusBar>()},
        {"TSkinGroupBox", Make<TSkinGroupBox>()},
        {"TSkinBox", Make<TSkinBox>()},
        {"TSkinTab", Make<TSkinTab>()},
        {"TSkinTabBtn", Make<TSkinTabBtn>()},
    };
}
