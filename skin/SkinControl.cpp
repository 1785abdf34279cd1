#include "skin/SkinControl.h"

#include "skin/SkinControlKinds.h"

#include <map>

namespace {

std::map<std::string, TSkinnerFactory>& Factories()
{
    static std::map<std::string, TSkinnerFactory> factories = BuiltInSkinners();
    return factories;
}

} // namespace

void RegisterSkinner(const std::string& kind, TSkinnerFactory factory)
{
    Factories()[kind] = std::move(factory);
}

void UnregisterSkinner(const std::string& kind)
{
    Factories().erase(kind);
}

std::unique_ptr<TSkinControl> CreateSkinner(const std::string& kind)
{
    const auto found = Factories().find(kind);
    return found == Factories().end() ? nullptr : found->second();
}
