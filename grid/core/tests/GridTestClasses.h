#pragma once

#include "grid/core/GridsGx.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A grid whose cells are painted by the grid alone (backgrounds, edges, focus) and which records
// what the base grid asks of a descendant.
class TTestGrid : public TCustomGridGx {
public:
    explicit TTestGrid(TComponent* owner) : TCustomGridGx(owner) {}

    struct Drawn {
        int Col;
        int Row;
        TRect Rect;
        TGridDrawState State;
    };

    std::vector<Drawn> DrawnCells;
    std::map<std::pair<int, int>, std::string> Texts;
    std::vector<std::string> EditLog; // "col,row=text" per SetEditText
    std::vector<std::pair<int, int>> ColumnMoves;
    std::vector<WORD> KeysSeen;
    int EditLimit = 0;

    using TCustomGridGx::MoveCurrent;
    using TCustomGridGx::SizingHitTest;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override
    {
        DrawnCells.push_back({col, row, rect, state});
    }
    std::string GetEditText(int col, int row) override { return Texts[{col, row}]; }
    void SetEditText(int col, int row, const std::string& value) override
    {
        EditLog.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value);
        Texts[{col, row}] = value;
    }
    int GetEditLimit() override { return EditLimit; }
    void ColumnMoved(int from, int to) override { ColumnMoves.emplace_back(from, to); }
    void KeyDown(WORD& key, TShiftState shift) override
    {
        KeysSeen.push_back(key);
        TCustomGridGx::KeyDown(key, shift);
    }
};

// A form on a fresh headless screen holding one focused grid of 10 x 20 cells, exception boxes
// recorded instead of shown.
class GridFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Pump();
    // A key as the user presses it, with ModShift / ModControl / ModAlt held around it.
    void Key(unsigned virtualKey, unsigned modifiers = 0, std::string text = {});
    void Type(const std::string& text);
    void Click(POINT client);
    void Press(POINT client, bool down);
    void MoveHeld(POINT client);
    // The presented colour (0xRRGGBB) at a client point of the grid.
    [[nodiscard]] std::uint32_t Shown(POINT client) const;
    [[nodiscard]] static std::uint32_t SysRgb(int index);

    // The grid the input goes to and the pixels are read from: the test grid unless a fixture
    // puts another control in its place.
    [[nodiscard]] HWND TargetHandle() const { return m_target ? m_target->Handle() : m_grid->Handle(); }

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    TTestGrid* m_grid = nullptr;
    TWinControl* m_target = nullptr;
    std::vector<std::string> m_errors;
};
