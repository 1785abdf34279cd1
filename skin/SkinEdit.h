#pragma once

#include "skin/SkinHook.h"

#include <memory>

class TSkinUpDown;

// Gives a single-line edit box a flat frame in the skin's shadow colour instead of its sunken
// edge (an edit that draws a frame style of its own keeps it), and skins a spin (up-down) buddy
// that sits inside it.
class TSkinEdit : public TSkinHook {
public:
    TSkinEdit();
    ~TSkinEdit() override;

    // The skinner of the spin buddy, once one is found.
    [[nodiscard]] TSkinUpDown* SpinSkinner() const { return m_upDown.get(); }

protected:
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    void FindSpinBuddy();
    // The frame drawn into a WM_PRINT picture (the DC in wParam, else the window's own).
    void PrintFrame(HDC dc);

    std::unique_ptr<TSkinUpDown> m_upDown;
};
