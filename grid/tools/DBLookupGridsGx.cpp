#include "grid/tools/DBLookupGridsGx.h"

#include "grid/tools/DBLookupGridColumnGx.h"

#include "grid/tools/ToolCtrlsGx.h"
#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/kernel/Clock.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TLookupGridDataLinkGx, TDataLink, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBLookupGridGx, TCustomDBGridGx, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TPopupDataGridGx, TDBLookupGridGx, nullptr, nullptr)

namespace {

// Runs an action when the scope ends, also by an exception.
template <typename Action>
class TFinally {
public:
    explicit TFinally(Action action) : m_action(std::move(action)) {}
    ~TFinally() { m_action(); }
    TFinally(const TFinally&) = delete;
    TFinally& operator=(const TFinally&) = delete;

private:
    Action m_action;
};

} // namespace

// ---- TLookupGridDataLinkGx

void TLookupGridDataLinkGx::ActiveChanged() { m_grid.DataFieldsChanged(); }

void TLookupGridDataLinkGx::LayoutChanged() { m_grid.DataFieldsChanged(); }

void TLookupGridDataLinkGx::RecordChanged(TField* field)
{
    if (field == nullptr || m_grid.WritesField(field))
        m_grid.ReloadKeyValue();
}

void TLookupGridDataLinkGx::FocusControl(TField** field)
{
    if (*field == nullptr || m_grid.WrittenFields().empty() || *field != m_grid.WrittenFields().front())
        return;
    if (m_grid.CanFocus()) {
        *field = nullptr;
        m_grid.SetFocus();
    }
}

// ---- TDBLookupGridGx

TDBLookupGridGx::TDBLookupGridGx(TComponent* owner)
    : TCustomDBGridGx(owner, TDBLookupGridColumnGx::StaticClass()), m_valueLink(std::make_unique<TLookupGridDataLinkGx>(*this)),
      m_specRow(std::make_unique<TSpecRowGx>(this))
{
    SetParentColor(false);
    SetOptions({dgColLines, dgRowSelect});
    SetOptionsGx(OptionsGx().Include(dghTraceColSizing));
    SetTabStop(false);
    m_specRow->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { SpecRowChanged(); }));
}

TDBLookupGridGx::~TDBLookupGridGx()
{
    m_valueLink->SetDataSource(nullptr);
    SetDataSource(nullptr);
}

void TDBLookupGridGx::SetValueSource(TDataSource* source)
{
    m_valueLink->SetDataSource(source);
    DataFieldsChanged();
}

void TDBLookupGridGx::SetDataFieldNames(const std::string& names)
{
    if (names == m_dataFieldNames)
        return;
    m_dataFieldNames = names;
    DataFieldsChanged();
}

void TDBLookupGridGx::CheckNotLookupMode() const
{
    if (m_lookupMode)
        DatabaseError("Property already defined by lookup field", this);
}

void TDBLookupGridGx::CheckNotCircular() const
{
    TDataSet* list = ListSource() ? ListSource()->DataSet() : nullptr;
    if (list && ValueSource() && list->IsLinkedTo(ValueSource()))
        DatabaseError("Circular datalinks are not allowed", this);
}

void TDBLookupGridGx::SetListSource(TDataSource* source)
{
    CheckNotLookupMode();
    SetDataSource(source);
    ListFieldsChanged();
}

void TDBLookupGridGx::SetKeyFieldNames(const std::string& names)
{
    CheckNotLookupMode();
    if (names == m_keyFieldNames)
        return;
    m_keyFieldNames = names;
    ListFieldsChanged();
}

void TDBLookupGridGx::SetListFieldNames(const std::string& names)
{
    CheckNotLookupMode();
    if (names == m_listFieldNames)
        return;
    m_listFieldNames = names;
    ListFieldsChanged();
}

void TDBLookupGridGx::SetListFieldIndex(int index)
{
    if (index == m_listFieldIndex)
        return;
    m_listFieldIndex = index;
    ListFieldsChanged();
}

bool TDBLookupGridGx::WritesField(const TField* field) const
{
    return std::find(m_writtenFields.begin(), m_writtenFields.end(), field) != m_writtenFields.end();
}

void TDBLookupGridGx::DataFieldsChanged()
{
    const bool wasLookupMode = m_lookupMode;
    m_dataFields.clear();
    m_writtenFields.clear();
    m_writtenFieldNames.clear();
    m_lookupMode = false;
    m_lookupField = nullptr;
    if (m_valueLink->Active() && !m_dataFieldNames.empty()) {
        CheckNotCircular();
        TDataSet* dataSet = m_valueLink->DataSet();
        dataSet->GetFieldList(m_dataFields, m_dataFieldNames);
        if (m_dataFields.size() == 1 && m_dataFields.front()->FieldKind() == fkLookup) {
            m_lookupField = m_dataFields.front();
            m_writtenFieldNames = m_lookupField->KeyFields();
            dataSet->GetFieldList(m_writtenFields, m_writtenFieldNames);
            m_lookupMode = true;
            if (!m_lookupSource)
                m_lookupSource = std::make_unique<TDataSource>(nullptr);
            m_lookupSource->SetDataSet(m_lookupField->LookupDataSet());
            m_keyFieldNames = m_lookupField->LookupKeyFields();
            SetDataSource(m_lookupSource.get());
            ListFieldsChanged();
        } else {
            m_writtenFields = m_dataFields;
            m_writtenFieldNames = m_dataFieldNames;
        }
    }
    if (wasLookupMode && !m_lookupMode) {
        SetDataSource(nullptr);
        m_lookupSource->SetDataSet(nullptr);
        ListFieldsChanged();
    }
    ReloadKeyValue();
}

void TDBLookupGridGx::ReloadKeyValue()
{
    // A grid bound to no field keeps the key value it was given.
    if (!m_writtenFields.empty() && m_valueLink->Active())
        SetKeyValue(m_valueLink->DataSet()->FieldValues(m_writtenFieldNames));
    else if (!m_dataFieldNames.empty())
        SetKeyValue(Null());
}

void TDBLookupGridGx::ListFieldsChanged()
{
    m_listActive = false;
    m_displayField = nullptr;
    m_listFields.clear();
    m_keyFields.clear();
    const TFinally refresh([this] {
        if (m_lookupMode)
            m_keyFieldNames = m_lookupField->LookupKeyFields();
        LayoutChanged();
        if (m_listActive)
            KeyValueChanged();
        else
            Invalidate();
    });
    if (!DataLink().Active() || m_keyFieldNames.empty())
        return;
    CheckNotCircular();
    DataLink().DataSet()->GetFieldList(m_keyFields, m_keyFieldNames);
    ResolveListFields();
    m_listActive = true;
}

void TDBLookupGridGx::ResolveListFields()
{
    TDataSet* list = DataLink().DataSet();
    try {
        list->GetFieldList(m_listFields, m_listFieldNames);
    } catch (const EDatabaseError&) {
        m_listFields.clear();
        DatabaseErrorFmt("Field '%s' not found", m_listFieldNames, this);
    }
    if (m_lookupMode) {
        m_displayField = list->FieldByName(m_lookupField->LookupResultField());
        if (std::find(m_listFields.begin(), m_listFields.end(), m_displayField) == m_listFields.end())
            m_listFields.insert(m_listFields.begin(), m_displayField);
        return;
    }
    if (m_listFields.empty())
        m_listFields = m_keyFields;
    if (m_listFieldIndex >= 0 && m_listFieldIndex < static_cast<int>(m_listFields.size()))
        m_displayField = m_listFields[static_cast<std::size_t>(m_listFieldIndex)];
}

std::vector<std::string> TDBLookupGridGx::DefaultColumnFields() const
{
    if (!m_listActive || m_listFields.empty())
        return TCustomDBGridGx::DefaultColumnFields();
    std::vector<std::string> names;
    for (const TField* field : m_listFields)
        names.push_back(field->FieldName());
    return names;
}

void TDBLookupGridGx::SetKeyValue(const Variant& value)
{
    if (VariantsEqual(value, m_keyValue))
        return;
    m_keyValue = value;
    KeyValueChanged();
}

bool TDBLookupGridGx::LocateKey()
{
    if (VarIsNull(m_keyValue) || !m_listActive)
        return false;
    try {
        return DataLink().DataSet()->Locate(m_keyFieldNames, m_keyValue, 0);
    } catch (const Exception&) {
        return false;
    }
}

bool TDBLookupGridGx::CurrentRecordHoldsKey()
{
    TDataSet* list = DataLink().DataSet();
    return !list->IsEmpty() && VariantsEqual(list->FieldValues(m_keyFieldNames), m_keyValue);
}

// The record holding the key value becomes the list's current one; a key value outside the list
// shows nothing (or the special row, when it stands for such values).
void TDBLookupGridGx::KeyValueChanged()
{
    m_specRowSelected = m_specRow->Visible() && VariantsEqual(m_specRow->Value(), m_keyValue);
    bool found = false;
    if (m_listActive && !m_selecting && !m_specRowSelected) {
        found = LocateKey();
        if (!found && m_specRow->Visible() && m_specRow->ShowIfNotInKeyList())
            m_specRowSelected = true;
        else if (!found)
            DataLink().DataSet()->First();
    }
    if (m_selecting)
        found = m_listActive && CurrentRecordHoldsKey();
    if (m_specRowSelected)
        m_text = m_specRow->CellText(m_listFieldIndex);
    else if (found && m_displayField)
        m_text = m_displayField->DisplayText();
    else
        m_text.clear();
    Invalidate();
}

bool TDBLookupGridGx::CanModify() const
{
    if (!m_listActive || m_valueLink->ReadOnly())
        return false;
    return std::all_of(m_writtenFields.begin(), m_writtenFields.end(),
                       [](const TField* field) { return field->CanModify(); });
}

void TDBLookupGridGx::SelectKeyValue(const Variant& value)
{
    if (m_writtenFields.empty())
        SetKeyValue(value);
    else if (m_valueLink->Edit())
        m_valueLink->DataSet()->SetFieldValues(m_writtenFieldNames, value);
    Invalidate();
    Click();
}

void TDBLookupGridGx::SelectCurrent()
{
    if (!m_listActive || m_selecting || DataLink().DataSet()->IsEmpty())
        return;
    const Variant key = DataLink().DataSet()->FieldValues(m_keyFieldNames);
    if (!m_specRowSelected && VariantsEqual(key, m_keyValue))
        return;
    m_selecting = true;
    const TFinally done([this] { m_selecting = false; });
    SelectKeyValue(key);
}

void TDBLookupGridGx::SelectSpecRow()
{
    DataLink().DataSet()->First();
    SelectKeyValue(m_specRow->Value());
}

void TDBLookupGridGx::MoveSelection(int distance, bool fromStart)
{
    TDataSet* list = DataLink().DataSet();
    if (fromStart) {
        if (distance < 0)
            list->First();
        else
            list->Last();
        SelectCurrent();
        return;
    }
    if (m_specRowSelected) {
        if (distance <= 0)
            return;
        list->First();
        distance -= 1;
    } else if (!CurrentRecordHoldsKey() && !LocateKey()) {
        KeyValueChanged();
        return;
    }
    const int moved = list->MoveBy(distance);
    if (distance < 0 && moved > distance && m_specRow->Visible()) {
        SelectSpecRow();
        return;
    }
    SelectCurrent();
}

void TDBLookupGridGx::KeyDown(WORD& key, TShiftState shift)
{
    if (!CanModify()) {
        TCustomDBGridGx::KeyDown(key, shift);
        return;
    }
    const int page = std::max(1, m_rowCount - 1);
    switch (key) {
    case VK_UP:
        MoveSelection(-1, false);
        break;
    case VK_DOWN:
        MoveSelection(1, false);
        break;
    case VK_PRIOR:
        MoveSelection(-page, false);
        break;
    case VK_NEXT:
        MoveSelection(page, false);
        break;
    case VK_HOME:
        MoveSelection(-1, true);
        break;
    case VK_END:
        MoveSelection(1, true);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        // With columns to scroll sideways the arrows do that instead.
        if (HorzScrollBarShown()) {
            TCustomDBGridGx::KeyDown(key, shift);
            return;
        }
        MoveSelection(key == VK_LEFT ? -1 : 1, false);
        break;
    default:
        TCustomDBGridGx::KeyDown(key, shift);
        return;
    }
    key = 0;
}

// Characters arrive a byte at a time; a character of several bytes is searched once complete.
void TDBLookupGridGx::KeyPress(char& key)
{
    const bool stringList = m_displayField && (m_displayField->FieldKind() == fkData ||
                                               m_displayField->FieldKind() == fkInternalCalc) &&
                            (m_displayField->DataType() == ftString || m_displayField->DataType() == ftWideString);
    if (!stringList || !CanModify() || key == VK_BACK || key == VK_ESCAPE ||
        static_cast<unsigned char>(key) < 0x20) {
        TCustomDBGridGx::KeyPress(key);
        return;
    }
    if (!IsUtf8Continuation(key))
        m_pendingCharacter.clear();
    m_pendingCharacter += key;
    key = 0;
    if (m_pendingCharacter.size() >= Utf8SequenceLength(static_cast<unsigned char>(m_pendingCharacter.front()))) {
        Search(m_pendingCharacter);
        m_pendingCharacter.clear();
    }
}

void TDBLookupGridGx::Search(const std::string& character)
{
    const DWORD now = GetTickCount();
    if (now - m_lastSearchTick > SearchPauseMs)
        m_searchText.clear();
    m_lastSearchTick = now;
    if (Utf8CharacterCount(m_searchText) >= MaxSearchCharacters)
        return;
    const std::string candidate = m_searchText + character;
    try {
        if (!DataLink().DataSet()->Locate(m_displayField->FieldName(), Variant(candidate),
                                          LocateOptions({loCaseInsensitive, loPartialKey})))
            return;
        m_searchText = candidate;
        SelectCurrent();
    } catch (const Exception&) {
        m_searchText = candidate;
    }
}

int TDBLookupGridGx::DataRowAt(int x, int y)
{
    if (y < 0 || y >= ClientHeight())
        return -1;
    const int row = CellAtPoint(x, y).Y - TitleOffset();
    return row >= 0 && row < DataLink().RecordCount() ? row : -1;
}

void TDBLookupGridGx::SelectDataRow(int dataRow)
{
    (void)DataLink().DataSet()->MoveBy(dataRow - DataLink().ActiveRecord());
    SelectCurrent();
}

void TDBLookupGridGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    const int row = DataRowAt(x, y);
    const bool onSpecRow = SpecRowAt(x, y);
    if ((row < 0 && !onSpecRow) || GridState() != gsNormalGx) {
        TCustomDBGridGx::MouseDown(button, shift, x, y);
        return;
    }
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    if (m_focusOnClick && !Focused()) {
        SetFocus();
        if (!Focused())
            return;
    }
    if (!CanModify())
        return;
    const bool onCurrent = onSpecRow ? m_specRowSelected : !m_specRowSelected && row == DataLink().ActiveRecord();
    if (shift.Contains(ssDouble) && onCurrent) {
        DblClick();
        return;
    }
    m_tracking = true;
    if (onSpecRow)
        SelectSpecRowByUser();
    else
        SelectDataRow(row);
}

void TDBLookupGridGx::MouseMove(TShiftState shift, int x, int y)
{
    if (m_tracking) {
        const int inside = std::clamp(x, 0, ClientWidth() - 1);
        TrackOutside(y);
        if (SpecRowAt(inside, y))
            SelectSpecRowByUser();
        else if (const int row = DataRowAt(inside, y); row >= 0)
            SelectDataRow(row);
    }
    TCustomDBGridGx::MouseMove(shift, x, y);
}

void TDBLookupGridGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!m_tracking) {
        TCustomDBGridGx::MouseUp(button, shift, x, y);
        return;
    }
    m_tracking = false;
    StopAutoScroll();
    if (SpecRowAt(x, y))
        SelectSpecRowByUser();
    else if (const int row = DataRowAt(x, y); row >= 0)
        SelectDataRow(row);
    TCustomControl::MouseUp(button, shift, x, y);
}

// The record holding the key value is drawn selected, wherever the list's cursor is.
bool TDBLookupGridGx::DataCellColors(bool /*selected*/, bool /*currentRow*/, TFont& font, TColor& background)
{
    if (!m_listActive || m_specRowSelected || !CurrentRecordHoldsKey())
        return false;
    background = clHighlight;
    font.SetColor(clHighlightText);
    return true;
}

// A notch picks the record just below the window (down) or just above it (up).
void TDBLookupGridGx::WheelPage(bool down)
{
    const int current = DataLink().ActiveRecord();
    const int distance = down ? DataLink().RecordCount() - current : -(current + 1);
    if (DataLink().DataSet()->MoveBy(distance) != 0)
        SelectCurrent();
}

void TDBLookupGridGx::LinkActiveChanged(bool active)
{
    TCustomDBGridGx::LinkActiveChanged(active);
    ListFieldsChanged();
}

void TDBLookupGridGx::LinkLayoutChanged()
{
    TCustomDBGridGx::LinkLayoutChanged();
    if (!m_listActive)
        ListFieldsChanged();
}

void TDBLookupGridGx::Dispatch(TMessage& message)
{
    if (message.Msg == WM_MOUSEWHEEL && CanModify()) {
        WheelPage(GET_WHEEL_DELTA_WPARAM(message.WParam) < 0);
        message.Result = 1;
        return;
    }
    if (message.Msg == WM_VSCROLL && message.LParam == 0) {
        ScrollList(LOWORD(message.WParam), HIWORD(message.WParam));
        message.Result = 0;
        return;
    }
    TCustomDBGridGx::Dispatch(message);
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    default:
        break;
    }
}

int TDBLookupGridGx::FrameHeight() const { return HandleAllocated() ? Height() - ClientHeight() : 0; }

int TDBLookupGridGx::RowPitch() const
{
    return DataRowHeight() + (Options().Contains(dgRowLines) ? GridLineWidth() : 0);
}

int TDBLookupGridGx::TitleHeight() const
{
    return Options().Contains(dgTitles) ? RowHeightAt(0) + GridLineWidth() : 0;
}

int TDBLookupGridGx::SpecRowHeight() const { return m_specRow->Visible() ? RowPitch() : 0; }

int TDBLookupGridGx::HeightForRows(int rows) const
{
    return TitleHeight() + SpecRowHeight() + rows * RowPitch() +
           (Options().Contains(dgRowLines) ? GridLineWidth() : 0) + FrameHeight();
}

void TDBLookupGridGx::SetRowsShown(int rows)
{
    m_rowCount = std::clamp(rows, MinRowCount, MaxRowCount);
    SetHeight(HeightForRows(m_rowCount));
}

void TDBLookupGridGx::SetShowTitles(bool show)
{
    if (show == ShowTitles())
        return;
    SetOptions(show ? Options() + TDBGridOptions{dgTitles} : Options() - TDBGridOptions{dgTitles});
    SetRowsShown(m_rowCount);
}

namespace {
constexpr TDBGridOption LineOptionFlags[] = {dgColumnResize, dgColLines, dgRowLines};
} // namespace

int TDBLookupGridGx::LineOptions() const
{
    int flags = 0;
    for (std::size_t bit = 0; bit < std::size(LineOptionFlags); ++bit)
        if (Options().Contains(LineOptionFlags[bit]))
            flags |= 1 << bit;
    return flags;
}

void TDBLookupGridGx::SetLineOptions(int flags)
{
    TDBGridOptions options = Options();
    for (std::size_t bit = 0; bit < std::size(LineOptionFlags); ++bit)
        options = (flags & (1 << bit)) != 0 ? options + TDBGridOptions{LineOptionFlags[bit]}
                                            : options - TDBGridOptions{LineOptionFlags[bit]};
    SetOptions(options);
    SetRowsShown(m_rowCount);
}

void TDBLookupGridGx::SetAutoFitColWidths(bool value)
{
    TCustomDBGridGx::SetAutoFitColWidths(value);
    SetRowsShown(m_rowCount);
}

void TDBLookupGridGx::SetBounds(int left, int top, int width, int height)
{
    if (!m_sizing) {
        m_rowCount = std::clamp((height - FrameHeight() - TitleHeight() - SpecRowHeight()) / std::max(1, RowPitch()),
                                MinRowCount,
                                MaxRowCount);
        height = HeightForRows(m_rowCount);
    }
    m_sizing = true;
    const TFinally done([this] { m_sizing = false; });
    TCustomDBGridGx::SetBounds(left, top, width, height);
}

// ---- TPopupDataGridGx

TPopupDataGridGx::TPopupDataGridGx(TComponent* owner) : TDBLookupGridGx(owner)
{
    SetFocusOnClick(false);
    SetVisible(false);
    m_grip = new TSizeGripGx(this);
    m_grip->SetParent(this);
}

void TPopupDataGridGx::CreateParams(TCreateParams& params)
{
    TDBLookupGridGx::CreateParams(params);
    params.Style = (params.Style & ~WS_CHILD) | WS_POPUP | WS_CLIPCHILDREN | WS_BORDER;
    params.ExStyle = (params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.WindowClass.style |= CS_SAVEBITS | CS_HREDRAW;
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    params.WndParent = owner ? owner->Handle() : nullptr;
}

void TPopupDataGridGx::CreateWnd()
{
    TDBLookupGridGx::CreateWnd();
    m_grip->PlaceInParent();
}

void TPopupDataGridGx::UserAction(const std::function<void()>& action)
{
    const bool outer = !m_userAction;
    m_userAction = true;
    const TFinally done([this, outer] {
        if (outer)
            m_userAction = false;
    });
    action();
}

void TPopupDataGridGx::KeyDown(WORD& key, TShiftState shift)
{
    UserAction([&] { TDBLookupGridGx::KeyDown(key, shift); });
}

void TPopupDataGridGx::KeyPress(char& key)
{
    UserAction([&] { TDBLookupGridGx::KeyPress(key); });
}

void TPopupDataGridGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    m_pressedInside = true;
    UserAction([&] { TDBLookupGridGx::MouseDown(button, shift, x, y); });
}

// The hovering pointer picks the row under it.
void TPopupDataGridGx::MouseMove(TShiftState shift, int x, int y)
{
    UserAction([&] {
        const bool buttonHeld = shift.Contains(ssLeft) || shift.Contains(ssRight) || shift.Contains(ssMiddle);
        if (!buttonHeld && !Tracking() && CanModify()) {
            if (SpecRowAt(x, y))
                SelectSpecRowByUser();
            else if (const int row = DataRowAt(x, y); row >= 0)
                SelectDataRow(row);
        }
        TDBLookupGridGx::MouseMove(shift, x, y);
    });
}

void TPopupDataGridGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const bool pressedInside = std::exchange(m_pressedInside, false);
    const bool normalState = GridState() == gsNormalGx;
    UserAction([&] { TDBLookupGridGx::MouseUp(button, shift, x, y); });
    if (!pressedInside || !normalState || button != mbLeft)
        return;
    const TRect client = ClientRect();
    const bool inClient = x >= client.left && x < client.right && y >= client.top && y < client.bottom;
    if (inClient && (DataRowAt(x, y) >= 0 || SpecRowAt(x, y)))
        m_onCloseUp(this, true);
    else if (x < 0 || y < 0 || x >= Width() || y >= Height())
        m_onCloseUp(this, false);
}

void TPopupDataGridGx::KeyValueChanged()
{
    TDBLookupGridGx::KeyValueChanged();
    if (m_userAction)
        m_onUserKeyValueChange(this);
}

void TPopupDataGridGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_DROPDOWN_GRIPSIDE:
        m_grip->MoveToSide(static_cast<TDropDownSide>(message.WParam));
        return;
    default:
        break;
    }
    TDBLookupGridGx::Dispatch(message);
    if (message.Msg == WM_SIZE && m_grip->HandleAllocated())
        m_grip->PlaceInParent();
}
