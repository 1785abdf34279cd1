#pragma once

#include "skin/SkinHook.h"

// Redraws a group box (or a bare window of the group-box kind): a rounded frame in the skin's
// shadow colour on its face colour, the caption set into the top line. With a control object the
// control's own painting is replaced and its windowless children are painted over the result;
// a bare window paints first and the frame is drawn over its own.
class TSkinGroupBox : public TSkinHook {
protected:
    void ControlAttached() override { m_mode = 1; }
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
};

// Gives a panel or another container the skin's face colour (when asked to take it) while it is
// skinned, and its own colour back afterwards. It takes no messages.
class TSkinBox : public TSkinHook {
protected:
    [[nodiscard]] bool HooksMessages() const override { return false; }
};
