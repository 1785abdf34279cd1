#pragma once

#include "grid/tools/DBCtrlsGxDataLink.h"
#include "grid/tools/ToolCtrlsGxButtons.h"
#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "grid/core/InplaceEditHolderGx.h"
#include "platform/classlib/forms/Mask.h"

#include <memory>
#include <string>
#include <vector>

class TCustomDBEditGx;
class TCustomImageList;

// Told to an editor whose image changed in size or visibility: it lays its text out again.
inline constexpr UINT WM_EDITIMAGE_CHANGED = WM_USER + 101;

// The image an editor shows at its left edge, in a column of its own before the text.
class TEditImageGx : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    explicit TEditImageGx(TCustomDBEditGx& editor) : m_editor(editor) {}

    void Assign(const TPersistent* source) override;

    // -1 shows no image.
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    [[nodiscard]] TCustomImageList* Images() const { return m_images; }
    void SetImages(TCustomImageList* images);
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    // 0: the image list's width.
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width);
    // The column the image takes: its width and a margin, or 0 when nothing shows.
    [[nodiscard]] int ColumnWidth() const;

private:
    void Changed();

    TCustomDBEditGx& m_editor;
    int m_imageIndex = -1;
    TCustomImageList* m_images = nullptr;
    bool m_visible = false;
    int m_width = 0;
};

// Sender, var ImageIndex.
using TGetImageIndexEventGx = TEvent<TObject*, int&>;

// The grid library's single-line editor bound to a field (or to several, or to none): edit
// buttons at its right edge, a drop-down of recently entered texts, and its value written back
// when the user leaves it. A holder (the data grid) may host it over one of its cells.
class TCustomDBEditGx : public TCustomMaskEdit, public IPopupOwnerGx, public IInplaceEditorGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomDBEditGx(TComponent* owner);
    ~TCustomDBEditGx() override;

    [[nodiscard]] TFieldDataLinkGx& DataLink() const { return *m_link; }
    [[nodiscard]] TDataSource* DataSource() const { return m_link->DataSource(); }
    void SetDataSource(TDataSource* source);
    [[nodiscard]] const std::string& DataField() const { return m_link->FieldName(); }
    void SetDataField(const std::string& name);
    [[nodiscard]] TField* Field() const { return m_link->Field(); }

    // The text as a string variant.
    [[nodiscard]] Variant Value() const;
    void SetValue(const Variant& value);
    // Sets the text as the user's entry: written to the link at once.
    void SetEditorText(const std::string& text);
    // Reloads the field's value and selects it.
    void RevertText();

    [[nodiscard]] TEditButtonGx* EditButton() const { return m_editButton.get(); }
    [[nodiscard]] TEditButtonsGx* EditButtons() const { return m_editButtons.get(); }
    // The control showing the default button (0) or collection button i (i + 1).
    [[nodiscard]] TEditButtonControlGx* ButtonControl(int index) const;
    [[nodiscard]] int ButtonWidth() const { return m_buttonWidth; }
    [[nodiscard]] TMRUListGx* MRUList() const { return m_mruList.get(); }
    [[nodiscard]] TEditImageGx* EditImage() const { return m_editImage.get(); }
    // The image follows the value: an integer or real value is the index, which OnGetImageIndex
    // may change.
    void SetOnGetImageIndex(const TGetImageIndexEventGx& handler);
    void RefreshImageIndex();
    [[nodiscard]] TMRUListboxGx* MRUListControl() const { return m_mruControl; }
    [[nodiscard]] bool EditorReadOnly() const { return m_readOnly; }
    void SetEditorReadOnly(bool readOnly);
    [[nodiscard]] bool DroppedDown() const { return m_droppedDown; }
    // A flat editor shows its 3-D border, and its buttons' edges, only while lit: focused, under
    // the mouse, or always with AlwaysShowBorder.
    [[nodiscard]] bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    [[nodiscard]] bool AlwaysShowBorder() const { return m_alwaysShowBorder; }
    void SetAlwaysShowBorder(bool always);
    [[nodiscard]] bool BorderLit() const { return m_borderLit; }
    // A required value that is missing is underlined with a red dotted line.
    [[nodiscard]] bool HighlightRequired() const { return m_highlightRequired; }
    void SetHighlightRequired(bool highlight);
    [[nodiscard]] bool RequiredMarkShown() const;

    void SetOnButtonClick(const TButtonClickEventGx& handler) { m_onButtonClick = handler; }
    void SetOnButtonDown(const TButtonDownEventGx& handler) { m_onButtonDown = handler; }
    void SetOnUpdateData(const TButtonClickEventGx& handler) { m_onUpdateData = handler; }
    // Sender, var DrawState.
    void SetOnCheckDrawRequiredState(const TEvent<TObject*, bool&>& handler) { m_onCheckDrawRequiredState = handler; }

    // IPopupOwnerGx
    void ClosePopup(bool accept) override;

    // ---- Hosted by a holder (DBCtrlsGxInplace.cpp): the holder sees the editor's messages and
    // keys first and may keep it read-only; the editor shows only where it is placed.
    void SetInplaceEditHolder(TWinControl* holder) override;
    [[nodiscard]] bool HostedMode() const { return m_holder != nullptr; }
    // Shows the editor over `rect` (an empty one hides it), focused when the holder has the focus.
    void PlaceAt(const TRect& rect);
    // Hides the editor; the holder takes back the focus the editor had.
    void HideEditor();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void Change() override;
    void DoEnter() override;
    void DoExit() override;
    bool EditCanModify() override { return m_link->EditValue(); }
    void Notification(TComponent* component, TOperation operation) override;

    // Descendants: what the default button's press does, and what the drop-down is.
    virtual void DefaultButtonDown();
    virtual void OpenDropDown() {}
    virtual void LinkDataChanged();
    virtual void PostToLink();
    [[nodiscard]] virtual bool ButtonsEnabled() const;
    // The text area of the window: the client area less the button strip.
    [[nodiscard]] virtual TRect TextAreaRect() const;
    // The image index before the value and OnGetImageIndex have their say.
    [[nodiscard]] virtual int BaseImageIndex() const { return -1; }
    // Shows a text without writing it.
    void PutText(const std::string& text);
    void CommitValue();
    void SetDroppedDown(bool droppedDown);
    [[nodiscard]] bool Posting() const { return m_posting; }

private:
    void UpdateWindowReadOnly();
    void DrawRequiredMark();
    void DrawEditImage();
    void UpdateBorderLit();
    void PaintFlatBorder();
    void RedrawFrame();
    void LayoutButtons();
    void RefreshButtonStates();
    void ButtonPressed(TEditButtonControlGx& control, bool topButton, bool& autoRepeat);
    void ButtonClicked(TEditButtonControlGx& control);
    [[nodiscard]] TEditButtonGx* ButtonOfControl(int index) const;
    bool TakeShortCut(WORD key, TShiftState shift);
    void TextEditedByUser();
    void OpenMRUList();
    void CloseMRUList(bool accept);
    [[nodiscard]] bool MRUListOpen() const;
    bool ForwardToMRUList(WORD key, TShiftState shift);
    // A press the holder left pending and this one form a double click.
    [[nodiscard]] bool PairsWithHolderPress(LPARAM point) const;

    std::unique_ptr<TFieldDataLinkGx> m_link;
    std::unique_ptr<TEditButtonGx> m_editButton;
    std::unique_ptr<TEditButtonsGx> m_editButtons;
    std::vector<TEditButtonControlGx*> m_buttonControls;
    int m_buttonWidth = 0;
    std::unique_ptr<TMRUListGx> m_mruList;
    std::unique_ptr<TEditImageGx> m_editImage;
    TGetImageIndexEventGx m_onGetImageIndex;
    TMRUListboxGx* m_mruControl = nullptr;
    bool m_readOnly = false;
    bool m_droppedDown = false;
    bool m_keepOpenOnClick = false;
    bool m_posting = false;
    bool m_loadingText = false;
    bool m_highlightRequired = false;
    bool m_flat = false;
    bool m_alwaysShowBorder = false;
    bool m_borderLit = false;
    bool m_mouseOver = false;
    TEvent<TObject*, bool&> m_onCheckDrawRequiredState;
    TButtonClickEventGx m_onButtonClick;
    TButtonDownEventGx m_onButtonDown;
    TButtonClickEventGx m_onUpdateData;
    TWinControl* m_holderControl = nullptr;
    IInplaceEditHolderGx* m_holder = nullptr;
};

class TDBEditGx : public TCustomDBEditGx {
    CLASSLIB_DECLARE_CLASS;

    using TCustomDBEditGx::TCustomDBEditGx;
};
