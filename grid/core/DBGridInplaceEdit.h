#pragma once

#include "grid/core/DBGridGxCellDropDown.h"
#include "grid/core/EditButtonsGx.h"
#include "grid/core/GridsGx.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"

#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TMRUListGx;
class TCustomDBGridGx;
class TDBGridInplaceEdit;

// How the cell editor offers values: the kind of its built-in button and list.
enum TEditStyleGx { esSimpleGx, esEllipsisGx, esPickListGx, esDataListGx, esDateGx, esUpDownGx, esDropDownGx };

// The face of a button of the cell editor (or of a cell that always shows them): a combo arrow,
// an up-down pair, or a push button with dots, a plus, a minus or the button's own glyph. The
// built-in button passes no button and its style.
void PaintCellButtonFace(HDC dc, const TRect& rect, const TEditButtonGx* button, TEditButtonStyleGx style,
                         bool pressed);
[[nodiscard]] TEditButtonStyleGx BuiltInButtonStyle(TEditStyleGx style);
// A button's own width, or the default (a scroll bar's width) when it has none.
[[nodiscard]] int CellButtonWidth(const TEditButtonGx* button);
// The buttons a column shows right of the text of every cell: its built-in one and its visible
// EditButtons, side by side.
[[nodiscard]] int CellButtonsWidth(const TColumnGx& column);

// The pick list the cell editor drops down under itself: a top-level list that never takes the
// activation or the focus (the editor keeps both and passes it the arrow keys); a click on an
// item closes it accepting that item.
class TGridPickListGx : public TCustomListBox {
    CLASSLIB_DECLARE_CLASS;

    TGridPickListGx(TComponent* owner, TDBGridInplaceEdit& editor);

    // Height of `rows` rows, frame included.
    [[nodiscard]] int HeightForRows(int rows) const;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;

private:
    TDBGridInplaceEdit& m_editor;
};

// The data grid's editor of the current cell. From the current column it takes a built-in button
// (ellipsis, drop-down arrow or up-down pair) at its right edge, a pick list, the calendar or the
// calculator (supplied through the drop-down factory), and the typing rules of pick-list and
// key-list columns: a typed prefix completes to the first matching item with the rest selected.
class TDBGridInplaceEdit : public TInplaceEdit, public ICellDropDownOwnerGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TDBGridInplaceEdit(TComponent* owner);
    ~TDBGridInplaceEdit() override;

    [[nodiscard]] TEditStyleGx EditStyle() const { return m_editStyle; }
    // The text wraps over several lines: a word-wrapped column in rows taller than one line.
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    // The image shown left of the text of a column that shows images and text; -1 for none.
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetEditStyle(TEditStyleGx style);
    void UpdateContents() override;
    void BoundsChanged() override;

    void DropDown();
    // Closes the open list; with accept its value becomes the cell's.
    void CloseUp(bool accept) override;
    [[nodiscard]] bool ListVisible() const { return m_listVisible; }
    [[nodiscard]] TGridPickListGx* PickListControl() const { return m_pickList; }
    [[nodiscard]] ICellDropDownGx* ActiveHookedList() const { return m_activeHooked; }
    // The list of the column's remembered texts that match what the user typed.
    [[nodiscard]] bool MRUListOpen() const;
    [[nodiscard]] TGridPickListGx* MRUListControl() const { return m_mruBox; }
    void OpenMRUList();
    // Accepted, its chosen text becomes the cell's.
    void CloseMRUList(bool accept);
    // Enter, Esc and Alt+arrows open and close the list; true when the key was taken.
    bool DoDropDownKeys(WORD key, TShiftState shift);

    // The built-in button's width (0 without one) and its rectangle in client coordinates.
    [[nodiscard]] int ButtonWidth() const { return m_buttonWidth; }
    [[nodiscard]] TRect ButtonRect() const;
    // The column's visible edit buttons, placed leftwards from the built-in one, and the width
    // all buttons take together.
    [[nodiscard]] std::vector<TEditButtonGx*> ExtraButtons() const;
    [[nodiscard]] TRect ExtraButtonRect(int index) const;
    [[nodiscard]] int ButtonsWidth() const;

    TWinControl& DropDownEditor() override { return *this; }
    TColumnGx* DropDownColumn() override { return Column(); }

protected:
    [[nodiscard]] TCustomDBGridGx* DataGrid() const;
    // The column of the current cell; none when the grid has no columns.
    [[nodiscard]] TColumnGx* Column() const;
    // A press on the built-in button: a step for the up-down pair (the lower half steps down),
    // else the list opens.
    virtual void BuiltInButtonDown(bool bottomHalf);
    virtual void RefreshImageIndex();
    // Typed text (a whole UTF-8 character, or Backspace): true when it was taken here.
    virtual bool KeyPressStr(const std::string& text);
    void CreateParams(TCreateParams& params) override;
    void Change() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    bool TypeCharacter(char key) override;
    void DblClick() override;
    void Dispatch(TMessage& message) override;

private:
    [[nodiscard]] bool ListColumn() const;
    [[nodiscard]] bool KeyPickColumn() const;
    // The column's values are keys of a list: a key list, or a lookup field's list.
    [[nodiscard]] bool KeyedColumn() const;
    bool TypeIntoLookup(const std::string& text);
    bool LookupComplete(const std::string& candidate);
    [[nodiscard]] Variant LookupKeyValue() const;
    void WriteKey(const std::string& display, const Variant& key);
    void ShowListItem(int index);
    bool ForwardToList(WORD key, TShiftState shift);
    void FillPickList();
    void PlaceList(TWinControl& list, int width, int height);
    void ClosePickList(bool accept);
    void CloseHookedList(bool accept);
    void StepValue(bool upperHalf);
    void CompleteText(const std::string& text, std::size_t typedLength);
    [[nodiscard]] bool PasteIntoList();
    bool KeyedDelete(WORD& key, TShiftState shift);
    void ButtonPress(int y);
    void ButtonRelease();
    // The extra button under a client point; -1 for none.
    [[nodiscard]] int ExtraButtonAt(LPARAM point) const;
    void ExtraButtonPress(int index, int y);
    void ExtraButtonRelease(bool inside);
    [[nodiscard]] TMRUListGx* MRUList() const;
    void TextEditedByUser();
    bool ForwardToMRUList(WORD key, TShiftState shift);
    void PaintButton();
    void DrawRequiredState();
    void DrawCellImage();
    [[nodiscard]] int ImageWidth() const;
    bool GridKeys(WORD& key, TShiftState shift);
    void UpdateWindowStyle();
    [[nodiscard]] bool CaretMovesInText(WORD key);
    [[nodiscard]] bool InButton(LPARAM point) const;
    // The open list's window (or the remembered texts'), or one inside it.
    [[nodiscard]] bool IsListWindow(HWND window) const;
    [[nodiscard]] Variant HookedOpenValue() const;

    TEditStyleGx m_editStyle = esSimpleGx;
    TGridPickListGx* m_pickList = nullptr; // owned as a component of the editor
    TGridPickListGx* m_mruBox = nullptr;   // the remembered texts; owned likewise
    std::unique_ptr<ICellDropDownGx> m_calendar;
    std::unique_ptr<ICellDropDownGx> m_calculator;
    std::unique_ptr<ICellDropDownGx> m_dataList;
    ICellDropDownGx* m_activeHooked = nullptr; // the calendar or calculator this style uses
    bool m_listVisible = false;
    bool m_noCloseUpOnClick = false;
    bool m_buttonPressed = false;
    bool m_backspaceAsLeft = false;
    bool m_closedByKey = false;
    bool m_wordWrap = false;
    TAlignment m_alignment = taLeftJustify; // the column's, for the text
    int m_imageIndex = -1; // the key's Enter or Esc character has nothing left to do
    int m_buttonWidth = 0;
    int m_pressedExtra = -1; // the extra button held down
    std::string m_textBeforeDropDown;
    std::string m_pendingChar; // the bytes of a UTF-8 character typed so far
};
