#pragma once

// The box shares its states (TCheckBoxStateGx) with the data grid's check-box cells.
#include "grid/core/DBGridGxColumns.h"
#include "grid/tools/DBCtrlsGxDataLink.h"
#include "grid/tools/ToolCtrlsGx.h"
#include "platform/classlib/forms/Controls.h"

#include <memory>
#include <string>

// A check box bound to a field. The field's text is compared with ValueChecked and
// ValueUnchecked, each one or more values separated by ';' (a trailing ';' also matches an
// empty text); a Boolean field with the default words takes its value directly; anything else
// shows grayed. Without a field the link keeps True, False or Null. BM_GETCHECK and BM_GETSTATE
// answer the state as a standard check box does.
class TCustomDBCheckBoxGx : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomDBCheckBoxGx(TComponent* owner);
    ~TCustomDBCheckBoxGx() override;

    [[nodiscard]] TFieldDataLinkGx& DataLink() const { return *m_link; }
    void SetDataSource(TDataSource* source);
    void SetDataField(const std::string& name);
    [[nodiscard]] TCheckBoxStateGx State() const { return m_state; }
    // The user's choice: written to the field (or the link) at once.
    void SetState(TCheckBoxStateGx state);
    [[nodiscard]] bool Checked() const { return m_state == cbCheckedGx; }
    [[nodiscard]] bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool allowGrayed) { m_allowGrayed = allowGrayed; }
    [[nodiscard]] const std::string& ValueChecked() const { return m_valueChecked; }
    void SetValueChecked(const std::string& value);
    [[nodiscard]] const std::string& ValueUnchecked() const { return m_valueUnchecked; }
    void SetValueUnchecked(const std::string& value);
    [[nodiscard]] bool Flat() const { return m_flat; }
    void SetFlat(bool flat);
    // Box at the left (taRightJustify) or at the right (taLeftJustify).
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    void SetOnUpdateData(const TEvent<TObject*, bool&>& handler) { m_onUpdateData = handler; }

    // Unchecked -> (grayed when allowed) -> checked -> unchecked, when the link can edit.
    void Toggle();
    [[nodiscard]] TRect BoxRect() const;

protected:
    void Paint() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoExit() override;
    void Dispatch(TMessage& message) override;

private:
    void StateFromData();
    void SetStateInternal(TCheckBoxStateGx state);
    [[nodiscard]] TCheckBoxStateGx StateOfText(const std::string& text) const;
    void PostData();
    void CommitPending();

    std::unique_ptr<TFieldDataLinkGx> m_link;
    TCheckBoxStateGx m_state = cbUncheckedGx;
    TAlignment m_alignment = taRightJustify;
    std::string m_valueChecked = "True";
    std::string m_valueUnchecked = "False";
    bool m_allowGrayed = false;
    bool m_flat = false;
    bool m_posting = false;
    bool m_spacePressed = false;
    bool m_mousePressed = false;
    TEvent<TObject*, bool&> m_onUpdateData;
};

class TDBCheckBoxGx : public TCustomDBCheckBoxGx {
    CLASSLIB_DECLARE_CLASS;

    using TCustomDBCheckBoxGx::TCustomDBCheckBoxGx;
};
