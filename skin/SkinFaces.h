#pragma once

#include "skin/SkinHook.h"

// Skinners that give a window nothing but the skin's face colour.

// A size box (a bare scroll bar window without a bar): filled with the face colour.
class TSkinSizer : public TSkinHook {
protected:
    void PaintSkin(HDC dc, const RECT& rect) override;
};

// A tab sheet: the face colour under its windowless controls. A sheet whose ParentBackground was
// switched off at attachment paints and erases itself.
class TSkinTabSheet : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
};

// A child dialog or a tool bar: erased in the face colour, and its static texts drawn on the face
// brush.
class TSkinBoxH : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
};
