#include "grid/tools/DBCtrlsGx.h"

#include "platform/classlib/data/DBDataSet.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/GdiOwners.h"

CLASSLIB_IMPLEMENT_CLASS(TCustomDBEditGx, TCustomMaskEdit, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBEditGx, TCustomDBEditGx, ComponentCreator<TDBEditGx>, nullptr)

namespace {

bool IsStringField(const TField* field)
{
    return field && (field->DataType() == ftString || field->DataType() == ftWideString);
}

} // namespace

TCustomDBEditGx::TCustomDBEditGx(TComponent* owner)
    : TCustomMaskEdit(owner),
      m_link(std::make_unique<TFieldDataLinkGx>(this)),
      m_editButton(std::make_unique<TEditButtonGx>(static_cast<TWinControl*>(this))),
      m_editButtons(std::make_unique<TEditButtonsGx>(this, TVisibleEditButtonGx::StaticClass())),
      m_mruList(std::make_unique<TMRUListGx>(this)), m_editImage(std::make_unique<TEditImageGx>(*this))
{
    SetControlStyle(ControlStyle() + TControlStyle{csCaptureMouse, csReplicatable});
    m_link->SetOnDataChange(TNotifyEvent::FromFunction([this](TObject*) { LinkDataChanged(); }));
    m_link->SetOnEditingChange(TNotifyEvent::FromFunction([this](TObject*) { UpdateWindowReadOnly(); }));
    m_link->SetOnUpdateData(TNotifyEvent::FromFunction([this](TObject*) { CommitValue(); }));
    m_link->SetOnActiveChange(TNotifyEvent::FromFunction([this](TObject*) {
        LinkDataChanged();
        RefreshButtonStates();
    }));
    const auto relayout = TNotifyEvent::FromFunction([this](TObject*) { LayoutButtons(); });
    m_editButton->SetOnChange(relayout);
    m_editButtons->SetOnChanged(
        TEvent<TObject*, TCollectionItem*>::FromFunction([this](TObject*, TCollectionItem*) { LayoutButtons(); }));
    m_mruList->SetOnDropDown(TNotifyEvent::FromFunction([this](TObject*) { OpenMRUList(); }));
    m_mruList->SetOnCloseUp(TEvent<TObject*, bool>::FromFunction([this](TObject*, bool accept) { CloseMRUList(accept); }));
}

TCustomDBEditGx::~TCustomDBEditGx()
{
    m_link->SetOnDataChange({});
    m_link->SetOnEditingChange({});
    m_link->SetOnUpdateData({});
    m_link->SetOnActiveChange({});
    m_link->SetDataSource(nullptr);
}

// ---- data

void TCustomDBEditGx::SetDataSource(TDataSource* source)
{
    m_link->SetLinkDataSource(source);
    LinkDataChanged();
    RefreshButtonStates();
}

void TCustomDBEditGx::SetDataField(const std::string& name)
{
    // A length taken over from the old field goes with it.
    if (MaxLength() > 0 && IsStringField(Field()) && Field()->Size() == MaxLength())
        SetMaxLength(0);
    m_link->SetFieldName(name);
    LinkDataChanged();
    RefreshButtonStates();
}

Variant TCustomDBEditGx::Value() const { return Variant(GetText()); }

void TCustomDBEditGx::SetValue(const Variant& value)
{
    std::string text;
    try {
        text = VarIsArray(value) || VarIsNull(value) ? std::string() : value.ToString();
    } catch (const Exception&) {
        text.clear();
    }
    SetEditorText(text);
}

void TCustomDBEditGx::SetEditorText(const std::string& text)
{
    if (!m_link->DataIndependent())
        (void)m_link->EditValue();
    PutText(text);
    if (m_posting)
        return;
    try {
        CommitValue();
    } catch (...) {
        m_link->Reset();
        throw;
    }
}

void TCustomDBEditGx::RevertText()
{
    m_link->Reset();
    SelectAll();
}

// The window keeps its caret and selection when the text stays the same.
void TCustomDBEditGx::PutText(const std::string& text)
{
    if (HandleAllocated() && text == EditText())
        return;
    m_loadingText = true;
    SetEditText(text);
    m_loadingText = false;
}

// The field's (or the link's own) value into the window: its edit text while the user may change
// it, its display text otherwise.
void TCustomDBEditGx::LinkDataChanged()
{
    if (TField* field = Field()) {
        if (EditMask().empty() && !field->EditMask().empty())
            SetEditMask(field->EditMask());
        if (IsStringField(field) && MaxLength() == 0)
            SetMaxLength(field->Size());
        const bool editing = Focused() && m_link->CanModify();
        PutText(field->DataType() == ftMemo ? field->AsString() : editing ? field->Text() : field->DisplayText());
    } else if (m_link->DataIndependent()) {
        const Variant& value = m_link->UnboundValue();
        std::string text;
        try {
            text = VarIsArray(value) || VarIsNull(value) ? std::string() : value.ToString();
        } catch (const Exception&) {
            text.clear();
        }
        PutText(text);
    } else {
        PutText("");
    }
    UpdateWindowReadOnly();
    SetModified(false);
}

void TCustomDBEditGx::CommitValue()
{
    if (Focused())
        ValidateEdit();
    bool handled = false;
    m_posting = true;
    try {
        m_onUpdateData(this, handled);
    } catch (...) {
        m_posting = false;
        throw;
    }
    m_posting = false;
    if (!handled)
        PostToLink();
    SetModified(false);
    if (m_mruList->AutoAdd() && m_mruList->Active() && Showing())
        m_mruList->AddText(GetText());
}

void TCustomDBEditGx::PostToLink()
{
    m_posting = true;
    try {
        m_link->AssignText(m_link->DataIndependent() ? EditText() : GetText());
    } catch (...) {
        m_posting = false;
        throw;
    }
    m_posting = false;
}

void TCustomDBEditGx::SetEditorReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    m_link->SetReadOnly(readOnly);
    UpdateWindowReadOnly();
}

// Read-only unless the link edits (or an OnUpdateData handler takes the value while the data
// set edits).
void TCustomDBEditGx::UpdateWindowReadOnly()
{
    if (!HandleAllocated())
        return;
    const bool handlerEdits = m_onUpdateData && m_link->DataSet() && m_link->DataSet()->State() == dsEdit;
    const bool holderForbids = m_holder && !m_holder->EditorMayModify();
    SetReadOnly(m_readOnly || holderForbids || (!m_link->EditingValue() && !handlerEdits));
    if (m_highlightRequired)
        Invalidate();
}

// ---- typing

void TCustomDBEditGx::KeyPress(char& key)
{
    if (m_holder) {
        m_holder->EditorKeyPress(*this, key);
        if (key == 0)
            return;
    }
    TCustomMaskEdit::KeyPress(key);
    const auto code = static_cast<unsigned char>(key);
    if (code >= 32 && Field() && !Field()->IsValidChar(key)) {
        (void)MessageBeep(0);
        key = 0;
        return;
    }
    if ((code >= 32 || key == VK_BACK || key == 22 || key == 24) && !m_readOnly)
        (void)m_link->EditValue();
    if (key == VK_ESCAPE) {
        m_link->Reset();
        SelectAll();
        key = 0;
    }
}

void TCustomDBEditGx::KeyDown(WORD& key, TShiftState shift)
{
    if (m_holder) {
        m_holder->EditorKeyDown(*this, key, shift);
        if (key == 0)
            return;
    }
    if (MRUListOpen() && ForwardToMRUList(key, shift)) {
        key = 0;
        return;
    }
    TCustomMaskEdit::KeyDown(key, shift);
    if (key == 0)
        return;
    if ((key == VK_DELETE || (key == VK_INSERT && shift.Contains(ssShift))) && !m_readOnly)
        (void)m_link->EditValue();
    if (key == 'A' && shift == TShiftState{ssCtrl})
        SelectAll();
    if (TakeShortCut(key, shift))
        key = 0;
}

void TCustomDBEditGx::Change()
{
    TCustomMaskEdit::Change();
    RefreshImageIndex();
    if (m_loadingText)
        return;
    m_link->SetModified();
    TextEditedByUser();
}

void TCustomDBEditGx::DoEnter()
{
    m_link->Reset();
    TCustomMaskEdit::DoEnter();
}

void TCustomDBEditGx::DoExit()
{
    CloseMRUList(false);
    TCustomMaskEdit::DoExit();
    try {
        m_link->CommitPending();
    } catch (...) {
        SelectAll();
        SetFocus();
        throw;
    }
    m_link->Reset();
}

// ---- window

void TCustomDBEditGx::CreateParams(TCreateParams& params)
{
    TCustomMaskEdit::CreateParams(params);
    if (PasswordChar() == '\0')
        params.Style |= ES_MULTILINE;
}

void TCustomDBEditGx::CreateWnd()
{
    TCustomMaskEdit::CreateWnd();
    LayoutButtons();
    UpdateWindowReadOnly();
    RedrawFrame();
}

void TCustomDBEditGx::Dispatch(TMessage& message)
{
    if (m_holder && m_holder->EditorMessageHook(*this, message))
        return;
    switch (message.Msg) {
    case WM_CHAR:
        // One line: no line breaks, and Tab moves on.
        if (message.WParam == '\r' || message.WParam == '\n' || message.WParam == '\t')
            return;
        break;
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTCHARS;
        if (m_holder && m_holder->EditorWantsTabs())
            message.Result |= DLGC_WANTTAB;
        return;
    case WM_LBUTTONDOWN:
        if (m_holder && PairsWithHolderPress(message.LParam))
            message.Msg = WM_LBUTTONDBLCLK;
        break;
    case CM_WANTSPECIALKEY:
        if ((message.WParam == VK_RETURN || message.WParam == VK_ESCAPE) && MRUListOpen() &&
            m_mruControl->ItemIndex() >= 0) {
            message.Result = 1;
            return;
        }
        if (message.WParam == VK_ESCAPE && m_link->IsModified()) {
            message.Result = 1;
            return;
        }
        break;
    case WM_PASTE:
    case WM_CUT:
    case WM_UNDO:
        if (!m_readOnly)
            (void)m_link->EditValue();
        break;
    case WM_MOUSEWHEEL:
        if (MRUListOpen()) {
            (void)SendMessageA(m_mruControl->Handle(), WM_MOUSEWHEEL, message.WParam, message.LParam);
            message.Result = 1;
            return;
        }
        break;
    case WM_EDITIMAGE_CHANGED:
        LayoutButtons();
        Invalidate();
        return;
    case WM_SYSCOLORCHANGE:
        ClearEditButtonBitmapCache();
        break;
    case WM_NCPAINT:
        if (m_flat && BorderStyle() == bsSingle) {
            PaintFlatBorder();
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        m_mouseOver = message.Msg == CM_MOUSEENTER;
        UpdateBorderLit();
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TCustomMaskEdit::Dispatch(message);
        UpdateBorderLit();
        return;
    default:
        break;
    }
    TCustomMaskEdit::Dispatch(message);
    if (message.Msg == WM_SIZE)
        LayoutButtons();
    if (message.Msg == WM_PAINT) {
        DrawEditImage();
        DrawRequiredMark();
    }
}

void TCustomDBEditGx::SetFlat(bool flat)
{
    if (flat == m_flat)
        return;
    m_flat = flat;
    LayoutButtons();
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomDBEditGx::SetAlwaysShowBorder(bool always)
{
    m_alwaysShowBorder = always;
    UpdateBorderLit();
}

void TCustomDBEditGx::UpdateBorderLit()
{
    const bool lit = Focused() || m_mouseOver || m_alwaysShowBorder;
    if (lit == m_borderLit)
        return;
    m_borderLit = lit;
    RefreshButtonStates();
    RedrawFrame();
}

void TCustomDBEditGx::RedrawFrame()
{
    if (m_flat && HandleAllocated())
        (void)SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                           SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Lit: a thin sunken edge; unlit: the button face. Inside either, a line of the button face.
void TCustomDBEditGx::PaintFlatBorder()
{
    RECT frame{0, 0, Width(), Height()};
    const HDC dc = GetWindowDC(Handle());
    const GdiObject<HBRUSH> face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    if (m_borderLit)
        (void)DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    else
        (void)FrameRect(dc, &frame, face.Get());
    InflateRect(&frame, -1, -1);
    (void)FrameRect(dc, &frame, face.Get());
    (void)ReleaseDC(Handle(), dc);
}

void TCustomDBEditGx::SetHighlightRequired(bool highlight)
{
    m_highlightRequired = highlight;
    Invalidate();
}

// Data-independent: no value or no text; bound: a required field left empty while the record
// is edited or inserted.
bool TCustomDBEditGx::RequiredMarkShown() const
{
    bool draw = false;
    if (m_highlightRequired && m_link->LinkActive()) {
        if (m_link->DataIndependent()) {
            draw = VarIsNull(m_link->UnboundValue()) || GetText().empty();
        } else if (TField* field = Field()) {
            const TDataSetState state = m_link->DataSet()->State();
            draw = (state == dsEdit || state == dsInsert) && field->Required() && field->IsNull();
        }
    }
    m_onCheckDrawRequiredState(const_cast<TCustomDBEditGx*>(this), draw);
    return draw;
}

void TCustomDBEditGx::DrawRequiredMark()
{
    if (!HandleAllocated() || !RequiredMarkShown())
        return;
    const TRect text = TextAreaRect();
    const int y = ClientRect().bottom - 1;
    const HDC dc = GetDC(Handle());
    {
        const GdiObject<HPEN> pen(CreatePen(PS_DOT, 1, RGB(255, 0, 0)));
        const SelectionGuard selected(dc, pen.Get());
        (void)MoveToEx(dc, text.left + 2, y, nullptr);
        (void)LineTo(dc, text.right - 3, y);
    }
    (void)ReleaseDC(Handle(), dc);
}

TRect TCustomDBEditGx::TextAreaRect() const
{
    const TRect client = ClientRect();
    return Rect(m_editImage->ColumnWidth(), 0, client.right - m_buttonWidth, client.bottom);
}

void TCustomDBEditGx::SetDroppedDown(bool droppedDown)
{
    m_droppedDown = droppedDown;
    if (!m_buttonControls.empty())
        m_buttonControls.front()->SetAlwaysDown(droppedDown);
}

void TCustomDBEditGx::ClosePopup(bool /*accept*/) { SetDroppedDown(false); }
