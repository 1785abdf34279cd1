#pragma once

#include "controls/KvBorder.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/core/Timers.h"

#include <cstdint>
#include <memory>

enum TKvScrollType { stNone, stRightToLeft, stLeftToRight };

[[nodiscard]] const TTypeInfo& ScrollTypeTypeInfo();

// The caption in 5 x 7 dot-matrix characters, lit dots in SegOnColor over unlit ones in
// SegOffColor, inside the border control's frames; it can scroll like a ticker. The dot size
// follows the height inside the frames. The caption's characters are shown by their codes in the
// Windows Western code page.
class TKvLEDDisplay : public TKvBorder {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvLEDDisplay(TComponent* owner);
    ~TKvLEDDisplay() override;

    void SetCaption(const std::string& caption);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] TColor BackColor() const { return m_backColor; }
    virtual void SetBackColor(TColor color);
    [[nodiscard]] TColor SegOnColor() const { return m_segOnColor; }
    virtual void SetSegOnColor(TColor color);
    [[nodiscard]] TColor SegOffColor() const { return m_segOffColor; }
    virtual void SetSegOffColor(TColor color);
    [[nodiscard]] bool Scrolling() const { return m_scrolling; }
    // Off also brings the text back to its place.
    virtual void SetScrolling(bool scrolling);
    [[nodiscard]] TKvScrollType ScrollType() const { return m_scrollType; }
    // Any direction runs the timer, even while Scrolling is off: the text then stays put but
    // OnScrollComplete still comes after each cycle.
    void SetScrollType(TKvScrollType scrollType);
    [[nodiscard]] std::uint16_t ScrollDelay() const { return m_scrollDelay; }
    void SetScrollDelay(std::uint16_t milliseconds);
    [[nodiscard]] const TNotifyEvent& OnScrollComplete() const { return m_onScrollComplete; }
    void SetOnScrollComplete(const TNotifyEvent& handler) { m_onScrollComplete = handler; }

    void SetBevelWidth(int width) override;
    void SetBorderInner(TFrameStyleEx style) override;
    void SetBorderOuter(TFrameStyleEx style) override;
    void SetBorderSides(TSides sides) override;
    void SetBorderWidth(int width) override;
    void SetBounds(int left, int top, int width, int height) override;
    void FrameControllerChanged() override;
    void Loaded() override;
    void DefineProperties(TFiler& filer) override;

    // The geometry of the dots: their size and the gap between them, in pixels.
    [[nodiscard]] int DotSize() const { return m_dotSize; }
    [[nodiscard]] int DotGap() const { return m_dotGap; }
    // How far the text has scrolled, and the distance of one full cycle.
    [[nodiscard]] int CurrentStep() const { return m_currentStep; }
    [[nodiscard]] int Steps() const { return m_steps; }

protected:
    [[nodiscard]] TColor GetInteriorColor() const override { return m_backColor; }
    // Draws one character cell (five glyph columns and an unlit sixth) at the rectangle's top-left.
    virtual void DrawCharCell(TCanvas& canvas, const TRect& cell, unsigned char code);
    virtual void DoScrollComplete();
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    [[nodiscard]] int Pitch() const { return m_dotSize + m_dotGap; }
    [[nodiscard]] int CellWidth() const { return Pitch() * 6; }
    [[nodiscard]] int CellHeight() const { return m_dotGap * 6 + m_dotSize * 7; }
    [[nodiscard]] int CaptionLength() const { return static_cast<int>(m_codes.size()); }
    [[nodiscard]] TColor GlyphDotColor(unsigned char code, int column, int row) const;
    [[nodiscard]] TColor LitDotColor() const;
    [[nodiscard]] int TextStart(int clientWidth) const;
    void DrawUnlitCells(TCanvas& canvas, int width, int top);
    void DrawText(TCanvas& canvas, int width, int top);
    void UpdateDotSize();
    void UpdateSteps();
    void TimerFired(TObject* sender);
    template <class T>
    void ChangeAndRepaint(T& field, T value)
    {
        if (value == field)
            return;
        field = value;
        Repaint();
    }

    TAlignment m_alignment = taLeftJustify;
    TColor m_backColor = clBlack;
    TColor m_segOnColor = static_cast<TColor>(0x00FF00);
    TColor m_segOffColor = static_cast<TColor>(0x003300);
    bool m_scrolling = false;
    TKvScrollType m_scrollType = stRightToLeft;
    std::uint16_t m_scrollDelay = 100;
    TNotifyEvent m_onScrollComplete;
    // The caption's character codes.
    std::string m_codes;
    int m_dotSize = 2;
    int m_dotGap = 0;
    int m_steps = 0;
    int m_currentStep = 0;
    std::unique_ptr<TTimer> m_timer;
};

// Makes TKvBorder and TKvLEDDisplay known to form data.
void RegisterBorderClasses();
