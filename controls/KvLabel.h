#pragma once

#include "controls/KvCommon.h"
#include "controls/KvFramedBorders.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

#include <functional>
#include <string>

enum TRotation { roNone, roFlat, roCurve };
enum TCenterPoint {
    cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter, cpLowerLeft, cpLowerCenter,
    cpLowerRight
};
enum TKvCondenseCaption { ccNone, ccAtEnd, ccWithinPath };

// A label whose caption stands out of its face (raised, recessed, shadowed), turns at any angle
// or bends along an arc, inside a double border; it can blink and take another colour while the
// mouse is over it (fly-by). It blinks in step with every other blinking control, and a frame
// controller may restyle its border.
class TKvLabel : public TLabel, public TKvFramedBorders {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvLabel(TComponent* owner);
    ~TKvLabel() override;

    // Degrees, always 0..359.
    [[nodiscard]] int Angle() const { return m_angle; }
    virtual void SetAngle(int angle);
    [[nodiscard]] TRotation Rotation() const { return m_rotation; }
    virtual void SetRotation(TRotation rotation);
    [[nodiscard]] TCenterPoint CenterPoint() const { return m_centerPoint; }
    virtual void SetCenterPoint(TCenterPoint centerPoint);

    [[nodiscard]] TTextStyle TextStyle() const { return m_textStyle; }
    virtual void SetTextStyle(TTextStyle style);
    [[nodiscard]] bool LightTextStyle() const { return m_lightTextStyle; }
    virtual void SetLightTextStyle(bool light);
    [[nodiscard]] TColor HighlightColor() const { return m_highlightColor; }
    virtual void SetHighlightColor(TColor color);
    [[nodiscard]] TColor ShadowColor() const { return m_shadowColor; }
    virtual void SetShadowColor(TColor color);
    [[nodiscard]] int ShadowDepth() const { return m_shadowDepth; }
    virtual void SetShadowDepth(int depth);
    [[nodiscard]] int TextMargin() const { return m_textMargin; }
    virtual void SetTextMargin(int margin);
    [[nodiscard]] TKvCondenseCaption CondenseCaption() const { return m_condenseCaption; }
    virtual void SetCondenseCaption(TKvCondenseCaption condense);

    [[nodiscard]] bool Blinking() const { return m_blinking; }
    virtual void SetBlinking(bool blinking);
    [[nodiscard]] TColor BlinkColor() const { return m_blinkColor; }
    virtual void SetBlinkColor(TColor color);
    // Shared by every blinking control.
    [[nodiscard]] virtual int BlinkIntervalOn() const;
    virtual void SetBlinkIntervalOn(int interval);
    [[nodiscard]] virtual int BlinkIntervalOff() const;
    virtual void SetBlinkIntervalOff(int interval);

    [[nodiscard]] bool FlyByEnabled() const { return m_flyByEnabled; }
    virtual void SetFlyByEnabled(bool enabled);
    [[nodiscard]] TColor FlyByColor() const { return m_flyByColor; }
    virtual void SetFlyByColor(TColor color);

    [[nodiscard]] int BorderWidth() const { return m_borderWidth; }
    virtual void SetBorderWidth(int width);
    [[nodiscard]] int BevelWidth() const { return m_bevelWidth; }
    virtual void SetBevelWidth(int width);
    [[nodiscard]] TColor BorderColor() const { return m_borderColor; }
    virtual void SetBorderColor(TColor color);

    bool GetInterface(const TGUID& iid, void*& object) override;

    // The colour the caption is drawn in now: the font's, or the blink colour while blinking on.
    [[nodiscard]] TColor CurrentColor() const { return m_currentColor; }

    // Never stored; does nothing at run time.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string&) {}

    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }

protected:
    virtual void UpdateBlinkState(bool on);
    // Grows a measured text rectangle by what the borders, shadow and rotation add around it.
    virtual void InflateForBorders(TRect& rect) const;
    // Shrinks a rectangle to the inside of the borders (and of the border width when asked).
    virtual void DeflateForBorders(TRect& rect, bool withBorderWidth) const;

    void Paint() override;
    void AdjustBounds() override;
    void Loaded() override;
    void Dispatch(TMessage& message) override;
    void DefineProperties(TFiler& filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    void FramedBordersChanged(TKvFramedBorderChange change) override;

private:
    [[nodiscard]] UINT TextFlags() const;
    [[nodiscard]] TPoint CentrePoint() const;
    [[nodiscard]] TPoint ArcRadius() const;
    // Puts the Verdana face in place of a font that cannot turn.
    void TurnableFont();
    using TCopyDrawer = std::function<void(TColor color, int dx, int dy)>;
    // The copies under the caption that make its text style: raised, recessed or shadow.
    void DrawStyleCopies(const TCopyDrawer& draw, int shadowOffset) const;
    void DrawFlatText(TCanvas& canvas);
    void DrawTurnedText(TCanvas& canvas, const TRect& rect, int halfDepth);
    void DrawArcText(TCanvas& canvas);
    void SetFontColours(TColor color);

    int m_angle = 0;
    TRotation m_rotation = roNone;
    TCenterPoint m_centerPoint = cpCenter;
    TTextStyle m_textStyle = tsNormal;
    bool m_lightTextStyle = false;
    TColor m_highlightColor = clBtnHighlight;
    TColor m_shadowColor = clBtnShadow;
    int m_shadowDepth = 2;
    int m_textMargin = 0;
    TKvCondenseCaption m_condenseCaption = ccNone;
    bool m_blinking = false;
    TColor m_blinkColor = clHighlight;
    bool m_blinkOn = false;
    bool m_flyByEnabled = false;
    TColor m_flyByColor = clHighlight;
    // Set only while fly-by has the font in its colour, so that only its own change is undone.
    bool m_flyByApplied = false;
    TColor m_colorBeforeFlyBy = clWindowText;
    int m_borderWidth = 0;
    int m_bevelWidth = 1;
    TColor m_borderColor = clBtnFace;
    TColor m_fontColor = clWindowText;
    TColor m_currentColor = clWindowText;
    bool m_initialising = false;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
};

[[nodiscard]] const TTypeInfo& RotationTypeInfo();
[[nodiscard]] const TTypeInfo& CenterPointTypeInfo();
[[nodiscard]] const TTypeInfo& CondenseCaptionTypeInfo();

void RegisterKvLabelClasses();
