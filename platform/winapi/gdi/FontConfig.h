#pragma once

#include "platform/winapi/gdi/FontSubstitution.h"

#include <memory>
#include <optional>
#include <string_view>

struct _FcConfig;

// One fontconfig configuration (the system's, with its fonts) and the matching the font code asks
// of it. Every pattern a match creates is released before Match returns, whatever the path, so
// matching any number of times holds no more memory than the configuration itself.
//
// fontconfig keeps the patterns of its configuration (such as a <rejectfont> rule) with their
// elements addressed by offsets, which LeakSanitizer cannot follow: while a configuration is
// alive, a leak check reports those elements as lost although FcConfigDestroy frees them.
// FontConfigLeakSuppression names that allocation for programs that check for leaks mid-run.
class FontConfig {
public:
    FontConfig();
    ~FontConfig();
    FontConfig(const FontConfig&) = delete;
    FontConfig& operator=(const FontConfig&) = delete;

    // The best installed scalable match for a family in that style; `exact` demands the family
    // itself (a file may carry several family names, "DejaVu Sans" and "DejaVu Sans Condensed").
    // Empty when nothing matches or fontconfig could not load its configuration.
    [[nodiscard]] std::optional<FontFile> Match(std::string_view family, bool bold, bool italic, bool exact) const;

private:
    struct ConfigRelease {
        void operator()(_FcConfig* config) const;
    };
    std::unique_ptr<_FcConfig, ConfigRelease> m_config;
};

// An LSan suppression line for the allocations fontconfig makes while loading a configuration.
constexpr const char* FontConfigLeakSuppression = "leak:FcInitLoadConfigAndFonts\n";
