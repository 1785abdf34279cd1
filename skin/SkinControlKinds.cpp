#include "skin/SkinControlKinds.h"

#include "skin/SkinButton.h"
#include "skin/SkinCheckRadio.h"

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
    };
}
