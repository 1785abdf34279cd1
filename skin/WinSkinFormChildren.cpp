#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/controls/TabControl.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/WinSkinForm.h"

#include <algorithm>
#include <cctype>
#include <functional>

// Control discovery: which control skinner each child of a skinned window gets. Control objects
// are matched through the skin data's Skin3rd list, then a fixed table of classes; bare child
// windows by their window class and style. Every match is gated by the skin data's SkinControls.

namespace {

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Whether the object's class is `name` or descends from it.
bool InheritsFrom(const TObject& object, std::string_view name)
{
    for (TClass c = object.ClassType(); c; c = c->ClassParent())
        if (c->ClassNameIs(name))
            return true;
    return false;
}

bool HasScrollBars(TControl& control)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    return windowed && windowed->HandleAllocated() &&
           (GetWindowLongA(windowed->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// What happens to a control's own children when it is matched.
enum TChildren { NoChildren, ChildrenBefore, ChildrenAfter };

struct TFixedRow {
    std::function<bool(TControl&, const std::string& upper)> matches;
    std::function<bool(const TSkinData&)> gate;
    std::function<std::string(TControl&)> kind;
    int boxFlag = 0;
    TChildren children = NoChildren;
    // A class that matched with its gate off stops the table.
    bool stopsWhenGated = false;
};

auto Class(std::string_view name)
{
    return [name](TControl& control, const std::string&) { return InheritsFrom(control, name); };
}

auto Named(std::vector<std::string> names)
{
    return [names = std::move(names)](TControl&, const std::string& upper) {
        return std::find(names.begin(), names.end(), upper) != names.end();
    };
}

auto Gate(TSkinControlType type)
{
    return [type](const TSkinData& data) { return data.SkinControls().Contains(type); };
}

auto TabGate()
{
    return [](const TSkinData& data) {
        return data.SkinControls().Contains(xcTab) && const_cast<TSkinData&>(data).Elements().Element("Tabs");
    };
}

auto Kind(std::string kind)
{
    return [kind = std::move(kind)](TControl&) { return kind; };
}

bool ButtonStyleTabs(TControl& control)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    return windowed && windowed->HandleAllocated() && (GetWindowLongA(windowed->Handle(), GWL_STYLE) & TCS_BUTTONS);
}

std::string PageControlKind(TControl& control)
{
    if (ButtonStyleTabs(control))
        return "TSkinTabBtn";
    if (!InheritsFrom(control, "TPageControl"))
        return "TSkinTab";
    const bool tabs = !IsPublishedProp(control, "Style") || GetEnumProp(control, "Style") == "tsTabs";
    return tabs ? "TSkinTab" : "TSkinTabBtn";
}

const std::vector<TFixedRow>& FixedTable()
{
    static const std::vector<TFixedRow> rows = {
        {Class("TCustomTabControl"), TabGate(), PageControlKind},
        {Named({"TTABSET"}), TabGate(), Kind("TSkinTab31")},
        // The sheet takes the face colour, which its windowless controls follow.
        {Class("TTabSheet"), TabGate(), Kind("TSkinTabSheet"), 1},
        {Named({"TTABBEDNOTEBOOK"}), TabGate(), Kind("TSkinTab")},
        {Named({"TMVCPANEL"}), [](const TSkinData&) { return true; }, Kind(""), 0, ChildrenAfter},
        {Class("TTrackBar"), Gate(xcTrackBar), Kind("TSkinTrackBar")},
        {Named({"TUPDOWN", "TSPINBUTTON"}), Gate(xcSpin), Kind("TSkinUpDown")},
        {Named({"TMEDIAPLAYER"}), Gate(xcButton), Kind("TSkinMP")},
        {Named({"TDBNAVIGATOR"}), Gate(xcPanel), Kind("TSkinBox"), 1, ChildrenAfter},
        {Named({"TKVDBCHECKBOX", "TKVCHECKBOX"}), Gate(xcCheckBox), Kind("TSkinObjImage.Check"), 1},
        {Named({"TKVRADIOBUTTON", "TKVDBRADIOBUTTON"}), Gate(xcRadioButton), Kind("TSkinObjImage.Radio"), 1},
        {Named({"TCXDBCHECKBOX", "TCXCHECKBOX"}), Gate(xcCheckBox), Kind("TSkinObjImage.CxCheck"), 1},
        {Class("TCustomGroupBox"), Gate(xcPanel), Kind("TSkinGroupBox"), 0, ChildrenBefore},
        {Class("TRadioButton"), Gate(xcRadioButton), Kind("TSkinRadioButton")},
        // A check box is otherwise reached only as a bare window, which a form's own children never are.
        {Class("TCheckBox"), Gate(xcCheckBox), Kind("TSkinCheckBox")},
        {Class("TCustomStatusBar"), Gate(xcStatusBar), Kind("TSkinStatusBar")},
        {Class("TScrollBar"), Gate(xcScrollbar), Kind("TSkinScControl")},
        {Named({"TTNTCOMBOBOX"}), Gate(xcCombo), Kind("TSkinComBox")},
        {Class("TCustomComboBox"), Gate(xcCombo), Kind("TSkinComBox")},
        {Named({"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}), Gate(xcScrollbar), Kind("TSkinScrollbar")},
        {Class("TBitBtn"), Gate(xcBitBtn), Kind("TSkinBitButton"), 0, NoChildren, true},
        {Class("TSpeedButton"), Gate(xcSpeedButton), Kind("TSkinSpeedButton")},
        {Class("TCustomPanel"), Gate(xcPanel), Kind("TSkinBox"), 1, ChildrenBefore},
        {Named({"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}), Gate(xcScrollbar), Kind("TSkinScrollbar")},
        {Class("TCustomMemo"), Gate(xcScrollbar), Kind("TSkinScrollbar")},
        {Class("TCustomListView"), Gate(xcScrollbar), Kind("TSkinListView")},
        {Class("THeaderControl"), [](const TSkinData&) { return true; }, Kind("TSkinHeader")},
        {[](TControl& control, const std::string&) {
             return HasScrollBars(control) || InheritsFrom(control, "TCustomListBox");
         },
         Gate(xcScrollbar), Kind("TSkinScrollbar")},
        {Class("TButton"), Gate(xcButton), Kind("TSkinButton")},
        {Class("TCustomEdit"), Gate(xcEdit), Kind("TSkinEdit")},
        {Class("TCustomForm"), [](const TSkinData&) { return true; }, Kind("TSkinBox"), 1, ChildrenAfter},
    };
    return rows;
}

// A Skin3rd kind: its gate, the skinner it gives and what becomes of the children.
struct TThirdPartyKind {
    const char* kind;
    TSkinControlType gate;
    const char* skinner;
    int boxFlag;
    TChildren children;
};

const TThirdPartyKind ThirdPartyKinds[] = {
    {"combobox", xcCombo, "TSkinComBox", 0, NoChildren},
    {"edit", xcEdit, "TSkinEdit", 0, NoChildren},
    {"radiobutton", xcRadioButton, "TSkinRadioButton", 0, NoChildren},
    {"panel", xcPanel, "TSkinBox", 1, NoChildren},
    {"trackbar", xcButton, "TSkinTrackBar", 0, NoChildren},
    {"button", xcButton, "TSkinButton", 0, NoChildren},
    {"datetimepicker", xcCombo, "TSkinDateTime", 0, NoChildren},
    {"mediaplayer", xcButton, "TSkinMP", 0, NoChildren},
    {"bitbtn", xcButton, "TSkinBitButton", 0, NoChildren},
    {"pngbitbtn", xcButton, "TSkinBitButton.Png", 0, NoChildren},
    {"menubtn", xcButton, "TSkinMenuButton", 0, NoChildren},
    {"speedbutton", xcSpeedButton, "TSkinSpeedButton", 0, NoChildren},
    {"tab", xcTab, "TSkinTab", 0, NoChildren},
    {"progress", xcProgress, "TSkinProgress", 0, NoChildren},
    {"scrollbar", xcScrollbar, "TSkinScrollbar", 0, ChildrenAfter},
    {"singlescrollbar", xcScrollbar, "TSkinScrollbar.Single", 0, NoChildren},
    {"groupbox", xcGroupBox, "TSkinGroupBox", 1, NoChildren},
    {"advpagecontrol", xcTab, "TSkinAdvPage", 1, NoChildren},
    {"checkbox", xcCheckBox, "TSkinCheckBox", 0, NoChildren},
};

} // namespace

void TWinSkinForm::SkinChildren()
{
    PurgeSkinners();
    if (!m_form)
        return;
    for (int i = 0; i < m_form->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(m_form->Components(i)))
            SkinComponent(*control);
    SetPopupMenusOwnerDraw(true);
    auto* windowed = dynamic_cast<TWinControl*>(m_form);
    if (!windowed)
        return;
    std::vector<TWinControl*> tabOrder;
    windowed->GetTabOrderList(tabOrder);
    for (TWinControl* control : tabOrder)
        if (control->HandleAllocated() && control->Tag() != m_data->DisableTag() &&
            SendMessageA(control->Handle(), WM_SKIN_QUERYSKINNED, 0, 0) != 1)
            SkinComponent(*control);
}

void TWinSkinForm::SkinComponent(TControl& control)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    const auto skinChildren = [this, windowed] {
        if (windowed)
            for (int i = 0; i < windowed->ControlCount(); ++i)
                SkinComponent(*windowed->Controls(i));
    };
    if (control.Tag() == m_data->DisableTag()) {
        const std::string lower = Lower(control.ClassName());
        if (windowed && (lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos))
            for (int i = 0; i < windowed->ControlCount(); ++i)
                windowed->Controls(i)->SetTag(m_data->DisableTag());
        return;
    }
    if (!control.Parent() || IsControlSkinned(control))
        return;
    const std::string upper = Upper(control.ClassName());
    if (windowed && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (const std::exception&) {
            return;
        }
    }
    if (SkinByEvent(upper, control) || SkinBySkin3rd(upper, control))
        return;
    if (upper == "TDBCOMBOBOXGX" || upper == "TFRDESIGNERPAGE" || upper == "TFRPBOX")
        return;
    for (const TFixedRow& row : FixedTable()) {
        if (!row.matches(control, upper))
            continue;
        if (!row.gate(*m_data)) {
            if (row.stopsWhenGated)
                return;
            continue;
        }
        if (row.children == ChildrenBefore)
            skinChildren();
        AttachNew(row.kind(control), control, row.boxFlag);
        if (row.children == ChildrenAfter)
            skinChildren();
        return;
    }
}

void TWinSkinForm::AttachNew(const std::string& kind, TControl& control, int boxFlag)
{
    if (IsControlSkinned(control))
        return;
    if (auto skinner = CreateSkinner(kind)) {
        TSkinControl& attached = *skinner;
        (void)AddSkinner(std::move(skinner));
        attached.AttachControl(*this, control, boxFlag);
    }
}

void TWinSkinForm::SkinGroupKind(const std::string& kind, TWinControl& group)
{
    const TSkinControlTypes gates = m_data->SkinControls();
    const bool radio = kind == "radiogroup";
    if (kind == "embedscrollbar") {
        if (!gates.Contains(xcScrollbar))
            return;
        for (int i = 0; i < group.ControlCount(); ++i) {
            TControl& child = *group.Controls(i);
            if (InheritsFrom(child, "TScrollBar"))
                AttachNew("TSkinScControl", child, 0);
            else if (HasScrollBars(child) || InheritsFrom(child, "TCustomListBox"))
                AttachNew("TSkinScrollbar", child, 0);
        }
        return;
    }
    // The group's items (the control library's own take the skin's glyphs), then its frame.
    if (!gates.Contains(radio ? xcGroupBox : xcPanel))
        return;
    if (gates.Contains(xcRadioButton))
        for (int i = 0; i < group.ControlCount(); ++i) {
            TControl& item = *group.Controls(i);
            if (Upper(item.ClassName()).find("TKV") != std::string::npos)
                AttachNew(radio ? "TSkinObjImage.Radio" : "TSkinObjImage.Check", item, 1);
            else
                AttachNew(radio ? "TSkinRadioButton" : "TSkinCheckBox", item, 0);
        }
    if (radio || gates.Contains(xcGroupBox))
        AttachNew("TSkinGroupBox", group, 1);
}

bool TWinSkinForm::SkinByEvent(const std::string& upperClassName, TControl& control)
{
    const TOnSkinControl& handler = m_data->OnSkinControl();
    if (!handler)
        return false;
    std::unique_ptr<TSkinControl> skinner;
    handler(m_form, m_data, control.Parent(), &control, upperClassName, skinner);
    if (!skinner)
        return false;
    TSkinControl& attached = *skinner;
    (void)AddSkinner(std::move(skinner));
    attached.AttachControl(*this, control, 0);
    if (auto* panel = dynamic_cast<TWinControl*>(&control); panel && InheritsFrom(control, "TCustomPanel"))
        for (int i = 0; i < panel->ControlCount(); ++i)
            SkinComponent(*panel->Controls(i));
    return true;
}

bool TWinSkinForm::SkinBySkin3rd(const std::string& upperClassName, TControl& control)
{
    const std::string key = Lower(upperClassName) + "=";
    const TStringList& list = *m_data->Skin3rd();
    std::string kind;
    for (int i = 0; i < list.Count(); ++i) {
        const std::string line = Lower(list.Strings(i));
        if (line.rfind(key, 0) == 0) {
            kind = line.substr(key.size(), 50);
            break;
        }
    }
    if (kind.empty())
        return false;
    if (kind == "nil")
        return true;
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    const auto skinChildren = [this, windowed] {
        if (windowed)
            for (int i = 0; i < windowed->ControlCount(); ++i)
                SkinComponent(*windowed->Controls(i));
    };
    if (kind == "container") {
        skinChildren();
        return true;
    }
    if (windowed && (kind == "radiogroup" || kind == "checkgroup" || kind == "embedscrollbar")) {
        SkinGroupKind(kind, *windowed);
        return true;
    }
    for (const TThirdPartyKind& entry : ThirdPartyKinds) {
        if (kind != entry.kind)
            continue;
        if (!m_data->SkinControls().Contains(entry.gate))
            return true;
        if (kind == "edit" && windowed && windowed->HandleAllocated()) {
            RECT client{};
            RECT window{};
            (void)GetClientRect(windowed->Handle(), &client);
            (void)GetWindowRect(windowed->Handle(), &window);
            if (client.right == window.right - window.left && client.bottom == window.bottom - window.top)
                return true;
        }
        AttachNew(entry.skinner, control, entry.boxFlag);
        if (entry.children == ChildrenAfter)
            skinChildren();
        return true;
    }
    return true;
}

void TWinSkinForm::SkinChildWindows(HWND window)
{
    for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongA(child, GWL_STYLE) & WS_CHILD)
            SkinForeignWindow(child);
}

namespace {

// The skinner kind of a bare window of the class (lower case) and style; empty for none.
// `children` is set when the window's own children are skinned first.
std::string ForeignKind(const std::string& cls, LONG style, const TSkinControlTypes& gates, bool& children)
{
    children = false;
    if (cls == "button" && (style & 0xB) != 0xB) {
        if ((style & 7) == 7 || (style & 0x80))
            return "";
        if ((style & 3) == 3 || (style & 2) || (style & 5) == 5)
            return gates.Contains(xcCheckBox) ? "TSkinCheckBox" : "";
        if ((style & 9) == 9 || (style & 4))
            return gates.Contains(xcRadioButton) ? "TSkinRadioButton" : "";
        return gates.Contains(xcButton) ? "TSkinButton" : "";
    }
    if (cls == "combobox" && gates.Contains(xcCombo))
        return (style & 3) == 1 ? "" : "TSkinComBox";
    if (cls == "scrollbar" && !(style & 0x10000))
        return "TSkinSizer";
    if (cls == "#32770" && !(style & 0x10000)) {
        children = true;
        return "TSkinBoxH";
    }
    if (cls == "tpanel") {
        children = true;
        return "";
    }
    if (cls == "tcheckbox" && gates.Contains(xcCheckBox))
        return "TSkinCheckBox";
    if (cls == "tcombobox" && gates.Contains(xcCombo))
        return "TSkinComBox";
    if (cls == "tbutton" && gates.Contains(xcButton))
        return "TSkinButton";
    if (cls == "tprogressbar")
        return "TSkinProgress";
    if (cls == "systabcontrol32" && gates.Contains(xcTab) && !(style & 0x2000))
        return (style & TCS_BUTTONS) ? "TSkinTabBtn" : "TSkinTab";
    if (cls == "toolbarwindow32")
        return "TSkinBoxH";
    if (cls == "edit" && gates.Contains(xcEdit))
        return "TSkinEdit";
    return "";
}

} // namespace

void TWinSkinForm::SkinForeignWindow(HWND window)
{
    if (FindSkinner(window))
        return;
    const std::string cls = Lower(GetWindowClassName(window));
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    bool children = false;
    std::string kind = ForeignKind(cls, style, m_data->SkinControls(), children);
    if (cls == "comboboxex32" && m_data->SkinControls().Contains(xcCombo)) {
        if (const HWND inner = GetTopWindow(window))
            if (auto skinner = CreateSkinner("TSkinComBox")) {
                TSkinControl& attached = *skinner;
                (void)AddSkinner(std::move(skinner));
                attached.AttachWindow(*this, inner);
            }
        return;
    }
    if (children)
        SkinChildWindows(window);
    if (cls == "tpanel")
        if (TControl* control = TSkinData::ControlOfWindow(window))
            control->SetColor(m_data->Elements().Colours().ButtonFace);
    if (kind.empty())
        return;
    if (auto skinner = CreateSkinner(kind)) {
        TSkinControl& attached = *skinner;
        (void)AddSkinner(std::move(skinner));
        attached.AttachWindow(*this, window);
    }
}
