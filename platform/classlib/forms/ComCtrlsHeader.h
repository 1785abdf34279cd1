#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"

#include <memory>
#include <string>

// A row of section titles over "SysHeader32" whose widths the user drags.

class THeaderControl;
struct NMHDR;

enum THeaderSectionStyle { hsText, hsOwnerDraw };
enum TSectionTrackState { tsTrackBegin, tsTrackMove, tsTrackEnd };

class THeaderSection : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit THeaderSection(TCollection* collection) : TCollectionItem(collection) {}
    void Assign(const TPersistent* source) override;

    [[nodiscard]] const std::string& Text() const { return m_text; }
    void SetText(const std::string& text);
    [[nodiscard]] int Width() const { return m_width; }
    // Kept within MinWidth and MaxWidth.
    void SetWidth(int width);
    [[nodiscard]] int MinWidth() const { return m_minWidth; }
    void SetMinWidth(int width);
    [[nodiscard]] int MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int width);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] THeaderSectionStyle Style() const { return m_style; }
    void SetStyle(THeaderSectionStyle style);
    [[nodiscard]] bool AllowClick() const { return m_allowClick; }
    void SetAllowClick(bool allowClick) { m_allowClick = allowClick; }
    [[nodiscard]] int Left() const;
    [[nodiscard]] int Right() const { return Left() + m_width; }

protected:
    [[nodiscard]] std::string GetDisplayName() const override { return m_text.empty() ? ClassName() : m_text; }

private:
    friend class THeaderControl;
    std::string m_text;
    int m_width = 50;
    int m_minWidth = 0;
    int m_maxWidth = 10000;
    TAlignment m_alignment = taLeftJustify;
    THeaderSectionStyle m_style = hsText;
    bool m_allowClick = true;
};

class THeaderSections : public TOwnedCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit THeaderSections(THeaderControl* header);
    [[nodiscard]] THeaderSection* Items(int index) const { return static_cast<THeaderSection*>(TCollection::Items(index)); }
    THeaderSection* Add() { return static_cast<THeaderSection*>(TCollection::Add()); }

protected:
    void Update(TCollectionItem* item) override;

private:
    THeaderControl* m_header;
};

using TSectionNotifyEvent = TEvent<THeaderControl*, THeaderSection*>;
using TSectionTrackEvent = TEvent<THeaderControl*, THeaderSection*, int, TSectionTrackState>;
using TDrawSectionEvent = TEvent<THeaderControl*, THeaderSection*, const TRect&, bool>;

class THeaderControl : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit THeaderControl(TComponent* owner);
    ~THeaderControl() override;

    [[nodiscard]] THeaderSections* Sections() const { return m_sections.get(); }
    void SetSections(THeaderSections* sections) { m_sections->Assign(sections); }
    // The canvas OnDrawSection draws on, valid during the event.
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

    [[nodiscard]] const TSectionNotifyEvent& OnSectionClick() const { return m_onSectionClick; }
    void SetOnSectionClick(const TSectionNotifyEvent& handler) { m_onSectionClick = handler; }
    [[nodiscard]] const TSectionNotifyEvent& OnSectionResize() const { return m_onSectionResize; }
    void SetOnSectionResize(const TSectionNotifyEvent& handler) { m_onSectionResize = handler; }
    [[nodiscard]] const TSectionTrackEvent& OnSectionTrack() const { return m_onSectionTrack; }
    void SetOnSectionTrack(const TSectionTrackEvent& handler) { m_onSectionTrack = handler; }
    [[nodiscard]] const TDrawSectionEvent& OnDrawSection() const { return m_onDrawSection; }
    void SetOnDrawSection(const TDrawSectionEvent& handler) { m_onDrawSection = handler; }

    void UpdateSections();
    void UpdateSection(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    [[nodiscard]] LRESULT HeaderNotify(const NMHDR& header);
    void DrawItem(const DRAWITEMSTRUCT& item);
    [[nodiscard]] THeaderSection* SectionAt(int index) const;

    std::unique_ptr<THeaderSections> m_sections;
    std::unique_ptr<TCanvas> m_canvas;
    TSectionNotifyEvent m_onSectionClick;
    TSectionNotifyEvent m_onSectionResize;
    TSectionTrackEvent m_onSectionTrack;
    TDrawSectionEvent m_onDrawSection;
};
