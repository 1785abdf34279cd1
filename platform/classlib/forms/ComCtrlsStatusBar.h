#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"

#include <memory>
#include <string>

// The status bar: panels side by side (or one simple panel) over "msctls_statusbar32".

class TCustomStatusBar;

enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };
enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const std::string& Text() const { return m_text; }
    void SetText(const std::string& text);
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width);
    [[nodiscard]] TStatusPanelBevel Bevel() const { return m_bevel; }
    void SetBevel(TStatusPanelBevel bevel);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] TStatusPanelStyle Style() const { return m_style; }
    void SetStyle(TStatusPanelStyle style);

protected:
    [[nodiscard]] std::string GetDisplayName() const override { return m_text.empty() ? ClassName() : m_text; }

private:
    std::string m_text;
    int m_width = 50;
    TStatusPanelBevel m_bevel = pbLowered;
    TAlignment m_alignment = taLeftJustify;
    TStatusPanelStyle m_style = psText;
};

class TStatusPanels : public TOwnedCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit TStatusPanels(TCustomStatusBar* statusBar);
    [[nodiscard]] TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TCustomStatusBar* m_statusBar;
};

using TDrawPanelEvent = TEvent<TCustomStatusBar*, TStatusPanel*, const TRect&>;

class TCustomStatusBar : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomStatusBar(TComponent* owner);
    ~TCustomStatusBar() override;

    [[nodiscard]] TStatusPanels* Panels() const { return m_panels.get(); }
    void SetPanels(TStatusPanels* panels) { m_panels->Assign(panels); }
    // Simple mode shows SimpleText across the bar instead of the panels.
    [[nodiscard]] bool SimplePanel() const { return m_simplePanel; }
    void SetSimplePanel(bool simplePanel);
    [[nodiscard]] const std::string& SimpleText() const { return m_simpleText; }
    void SetSimpleText(const std::string& text);
    [[nodiscard]] bool SizeGrip() const { return m_sizeGrip; }
    void SetSizeGrip(bool sizeGrip);
    // The canvas OnDrawPanel draws on, valid during the event.
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

    [[nodiscard]] const TDrawPanelEvent& OnDrawPanel() const { return m_onDrawPanel; }
    void SetOnDrawPanel(const TDrawPanelEvent& handler) { m_onDrawPanel = handler; }

    // Sends every panel's width, text and look to the window.
    void UpdatePanels();
    void UpdatePanel(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
    void SendFont();

    std::unique_ptr<TStatusPanels> m_panels;
    std::unique_ptr<TCanvas> m_canvas;
    bool m_simplePanel = false;
    std::string m_simpleText;
    bool m_sizeGrip = true;
    TDrawPanelEvent m_onDrawPanel;
};

class TStatusBar : public TCustomStatusBar {
    CLASSLIB_DECLARE_CLASS;

    explicit TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
};
