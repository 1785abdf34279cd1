#pragma once

#include "platform/classlib/forms/Controls.h"

// A control that hosts editors of the grid library over its own cells (the data grid does): it
// sees the editor's messages and keys before the editor, and says whether the editor may change
// its value.
class IInplaceEditHolderGx {
public:
    [[nodiscard]] virtual bool EditorMayModify() const = 0;
    // The screen point and time of the press that opened the editor; the time is handed out once
    // (0 afterwards), so the editor turns at most one following press into a double click.
    virtual void PendingMouseDown(POINT& screenPos, DWORD& time) = 0;
    // Every message of the editor comes here first; true when the holder handled it.
    [[nodiscard]] virtual bool EditorMessageHook(TWinControl& editor, TMessage& message) = 0;
    // A key the holder sets to 0 goes no further.
    virtual void EditorKeyDown(TWinControl& editor, WORD& key, TShiftState shift) = 0;
    virtual void EditorKeyPress(TWinControl& editor, char& key) = 0;
    virtual void EditorKeyUp(TWinControl& editor, WORD& key, TShiftState shift) = 0;
    // Tab moves between the holder's cells, so the editor takes it rather than the dialog.
    [[nodiscard]] virtual bool EditorWantsTabs() const = 0;

protected:
    ~IInplaceEditHolderGx() = default;
};

// An editor a holder can host: null leaves the hosted mode.
class IInplaceEditorGx {
public:
    // Raises Exception "InplaceEditHolder have to support IInplaceEditHolderGx interface" for a
    // holder that is not one.
    virtual void SetInplaceEditHolder(TWinControl* holder) = 0;

protected:
    ~IInplaceEditorGx() = default;
};
