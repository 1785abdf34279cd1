#include "skin/SkinControlKinds.h"

#include "skin/SkinButton.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinContainers.h"
#include "skin/SkinStatusBar.h"
#include "skin/SkinTab.h"

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
        {"TSkinCheckBox", Make<TSkinCheckBox>()},
        {"TSkinRadioButton", Make<TSkinRadioButton>()},
        {"TSkinStatusBar", Make<TSkinStatusBar>()},
        {"TSkinGroupBox", Make<TSkinGroupBox>()},
        {"TSkinBox", Make<TSkinBox>()},
        {"TSkinTab", Make<TSkinTab>()},
    };
}
