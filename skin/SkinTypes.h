#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// The enumerations, private window messages and tag values that every part of the skin engine
// shares.

// A set over an enumeration of at most 32 members, ordinal n being bit n.
template <typename Enum>
class TSkinSet {
public:
    constexpr TSkinSet() = default;
    [[nodiscard]] static constexpr TSkinSet FromBits(std::uint64_t bits)
    {
        TSkinSet set;
        set.m_bits = static_cast<std::uint32_t>(bits);
        return set;
    }
    constexpr TSkinSet(std::initializer_list<Enum> members)
    {
        for (Enum member : members)
            Include(member);
    }

    [[nodiscard]] constexpr bool Contains(Enum member) const { return (m_bits & Bit(member)) != 0; }
    constexpr void Include(Enum member) { m_bits |= Bit(member); }
    constexpr void Exclude(Enum member) { m_bits &= ~Bit(member); }
    [[nodiscard]] constexpr bool Empty() const { return m_bits == 0; }
    [[nodiscard]] constexpr std::uint32_t Bits() const { return m_bits; }
    constexpr bool operator==(const TSkinSet&) const = default;

private:
    static constexpr std::uint32_t Bit(Enum member) { return std::uint32_t{1} << static_cast<unsigned>(member); }

    std::uint32_t m_bits = 0;
};

enum TSkinOption : std::uint8_t {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoMDIChildBorder,
    xoMenuBG,
    xoFormScrollbar,
};
using TSkinOptions = TSkinSet<TSkinOption>;

enum TSkinControlType : std::uint8_t {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport,
};
using TSkinControlTypes = TSkinSet<TSkinControlType>;

enum TSkinFormType : std::uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };

[[nodiscard]] TSkinOptions DefaultSkinOptions();
[[nodiscard]] TSkinControlTypes DefaultSkinControls();

// Private messages the engine sends or posts to the windows it skins.
enum : std::uint32_t {
    WM_SKIN_REAPPLY = 0x3401,
    WM_SKIN_PAINTFRAME = 0x3502,
    WM_SKIN_START = 0x3503,
    WM_SKIN_ENABLE = 0x3506,
    WM_SKIN_CLOSETAB = 0x3507,
    WM_SKIN_CAPTIONACTION = 0x3514,
    WM_SKIN_CAPTIONBUTTONSHOWN = 0x3515,
    WM_SKIN_REDRAWMDICLIENT = 0x3516,
    WM_SKIN_CONTROLSKINNERCHANGED = 0x3517,
    WM_SKIN_OPENMENUBARBUTTON = 0x3518,
    // Answered with 1 by a window that is already skinned.
    WM_SKIN_QUERYSKINNED = 0x3523,
};

// The lParam that goes with WM_SKIN_START.
inline constexpr std::intptr_t SkinStartParam = 1000;

// Tag values with a meaning to the engine.
inline constexpr int DefaultDisableTag = 99;
inline constexpr int TabCloseButtonsTag = 7777;
inline constexpr int SystemMenuPopupTag = 33333;
inline constexpr int ParentBackgroundTag = 5555;

// The global atom under which the class library stores the control object on each window of a
// module instance and thread: "ControlOfs" and both values as eight or more upper-case hex digits.
[[nodiscard]] std::string ControlAtomName(std::uintptr_t instance, std::uint32_t threadId);
