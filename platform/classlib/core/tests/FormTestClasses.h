#pragma once

// Small component classes shaped like the controls and forms that form data describes, for the
// tests of the property registry, the reader and the writer.

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/StringLists.h"

#include <memory>
#include <string>
#include <vector>

enum TTestAlign { taNone, taLeft, taRight };
enum TTestStyle { tsBold, tsItalic, tsUnderline };
using TTestStyles = TSet<TTestStyle>;

const TTypeInfo& TestAlignTypeInfo();
const TTypeInfo& TestStylesTypeInfo();

class TTestFont : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TTestFont() = default;
    void Assign(const TPersistent* source) override;

    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name) { m_name = name; }
    int Size() const { return m_size; }
    void SetSize(int size) { m_size = size; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    TTestStyles Style() const { return m_style; }
    void SetStyle(TTestStyles style) { m_style = style; }

private:
    std::string m_name;
    int m_size = 8;
    TColor m_color = clWindowText;
    TTestStyles m_style;
};

class TTestItem : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    using TCollectionItem::TCollectionItem;
    void Assign(const TPersistent* source) override;

    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }

private:
    std::string m_caption;
    int m_width = 64;
};

// Records the order of Loaded calls across components.
std::vector<std::string>& LoadedLog();

class TTestControl : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TTestControl(TComponent* owner);
    ~TTestControl() override;

    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    int Left() const { return m_left; }
    void SetLeft(int left) { m_left = left; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    TTestAlign Align() const { return m_align; }
    void SetAlign(TTestAlign align) { m_align = align; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double ratio) { m_ratio = ratio; }
    char Letter() const { return m_letter; }
    void SetLetter(char letter) { m_letter = letter; }
    TColor Color() const { return m_color; }
    void SetColor(TColor color) { m_color = color; }
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor) { m_parentColor = parentColor; }
    TTestFont* Font() const { return m_font.get(); }
    void SetFont(TTestFont* font) { m_font->Assign(font); }
    TStringList* Lines() const { return m_lines.get(); }
    void SetLines(TStringList* lines) { m_lines->Assign(lines); }
    TOwnedCollection* Items() const { return m_items.get(); }
    void SetItems(TOwnedCollection* items) { m_items->Assign(items); }
    TTestControl* Buddy() const { return m_buddy; }
    void SetBuddy(TTestControl* buddy);
    const TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(const TNotifyEvent& handler) { m_onClick = handler; }
    void Click() { m_onClick(this); }

    // Not published: streamed through DefineProperties.
    std::vector<int> Weights;
    std::vector<std::uint8_t> Blob;

    TTestControl* Parent() const { return m_parent; }
    void SetParent(TTestControl* parent);
    const std::vector<TTestControl*>& Children() const { return m_children; }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return m_parent; }
    void SetParentComponent(TComponent* parent) override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;
    void DefineProperties(TFiler& filer) override;
    void Loaded() override;

    bool IsColorStored() const { return !m_parentColor; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    int m_width = 75;
    int m_left = 0;
    bool m_visible = true;
    TTestAlign m_align = taNone;
    std::string m_caption;
    double m_ratio = 0;
    char m_letter = 'A';
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    std::unique_ptr<TTestFont> m_font;
    std::unique_ptr<TStringList> m_lines;
    std::unique_ptr<TOwnedCollection> m_items;
    TTestControl* m_buddy = nullptr;
    TNotifyEvent m_onClick;
    TTestControl* m_parent = nullptr;
    std::vector<TTestControl*> m_children;
};

// A component with no parent, like a timer.
class TTestTimer : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    using TComponent::TComponent;
    int Interval() const { return m_interval; }
    void SetInterval(int interval) { m_interval = interval; }
    const TNotifyEvent& OnTimer() const { return m_onTimer; }
    void SetOnTimer(const TNotifyEvent& handler) { m_onTimer = handler; }
    void Loaded() override;

private:
    int m_interval = 1000;
    TNotifyEvent m_onTimer;
};

class TTestForm : public TTestControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TTestForm(TComponent* owner) : TTestControl(owner) {}
    ~TTestForm() override { DestroyComponents(); }

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

    void ButtonClick(TObject* sender) { Clicks.push_back(static_cast<TComponent*>(sender)->Name()); }
    void TimerFired(TObject*) { Clicks.push_back("timer"); }
    void KeyHandler(TObject*, int& key) { key = 0; }

    TTestControl* Button1 = nullptr;
    TTestTimer* Timer1 = nullptr;
    std::vector<std::string> Clicks;
};

// Registers the test classes with the class registry (idempotent).
void RegisterTestClasses();
