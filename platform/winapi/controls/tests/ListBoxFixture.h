#pragma once

#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <vector>

// A visible top-level host for list and combo boxes that records what they tell it (WM_COMMAND
// notifications, WM_DRAWITEM, WM_MEASUREITEM), with helpers that click and type through the
// headless display.
class ListTest : public ::testing::Test {
public:
    struct Recorded {
        std::vector<std::pair<HWND, WORD>> commands;
        std::vector<DRAWITEMSTRUCT> draws;
        std::vector<MEASUREITEMSTRUCT> measures;
        std::function<UINT(UINT itemID)> heights;
        // Called after each notification is recorded: a parent's reaction, such as destroying the control.
        std::function<void(HWND from, WORD code)> react;
        // The parent's answer to the colour queries of static and edit fields, when it has one.
        std::function<HBRUSH(HDC dc)> colours;
    };
    [[nodiscard]] static Recorded& Host();
protected:
    static constexpr int CONTROL_ID = 7;

    void SetUp() override;
    void TearDown() override;

    [[nodiscard]] HWND MakeList(DWORD style, RECT rect = {10, 10, 160, 110}) const;
    [[nodiscard]] HWND MakeCombo(DWORD style, RECT rect = {10, 10, 160, 200}) const;
    static void Fill(HWND control, UINT message, std::initializer_list<const char*> texts);

    void Click(HWND hwnd, POINT client);
    void Button(HWND hwnd, POINT client, bool down);
    void MoveMouse(HWND hwnd, POINT client);
    void Key(unsigned virtualKey, unsigned modifiers = 0);
    void Type(const std::string& text);
    static void Pump();

    // The notification codes the host got from `from`, oldest first; cleared by Forget.
    [[nodiscard]] static std::vector<WORD> Notifications(HWND from);
    static void Forget();

    HeadlessDisplay* m_display = nullptr;
    HWND m_host = nullptr;
};

[[nodiscard]] std::string ItemText(HWND control, UINT message, int index);
