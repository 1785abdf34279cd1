#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/WinSkinForm.h"
#include "tools/skinpack/lib/SkinPackageWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A 424 x 374 form on a fresh headless screen with a skin data component holding the program's
// own skin, switched on; the clock stands still until a test moves it. ShowSkinned shows the
// form, which the skin manager then skins.
class SkinnedFormFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void ShowSkinned();
    static void Pump();
    void Advance(std::uint64_t ms);
    [[nodiscard]] TWinSkinForm* Skinner() const;
    [[nodiscard]] HWND Window() const { return m_form->Handle(); }
    [[nodiscard]] SIZE WindowSize() const;
    [[nodiscard]] SIZE ClientSize() const;
    // The presented colour (0xRRGGBB) at a point of the form's whole window.
    [[nodiscard]] std::uint32_t Shown(POINT window) const;
    // The mouse at a point of the whole window.
    void MoveMouse(POINT window);
    void Button(POINT window, bool down);
    // Loads the package into the skin data as a skin file would and lets the manager apply it.
    bool LoadPackage(const std::vector<std::uint8_t>& package);

    std::unique_ptr<FakeClock> m_clock;
    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    TSkinData* m_data = nullptr;
    SIZE m_clientBefore{};
};

// The skinned form with menu items whose clicks are recorded by caption.
class SkinnedMenuFixture : public SkinnedFormFixture {
protected:
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption);

    std::vector<std::string> m_clicks;
};

// The program's own packed skin.
[[nodiscard]] std::string OurSkinFile();

// The program's own skin, from the skin generator's folder, changed and packed.
using TSkinEntries = std::vector<TSkinPackageEntry>;
[[nodiscard]] std::vector<std::uint8_t> OurSkinPackage(const std::function<void(TSkinEntries&)>& change);
// A change that leaves out the named entry.
[[nodiscard]] std::function<void(TSkinEntries&)> Without(const std::string& name);
// A change that sets every `key=` line of the INI to `key=value`.
[[nodiscard]] std::function<void(TSkinEntries&)> Setting(const std::string& key, const std::string& value);
