#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/rtl/Variant.h"

#include <memory>
#include <string>

// The drop-downs of the data grid's cell editor that a higher library supplies: the month calendar
// of date columns, the calculator of numeric columns with a drop-down button and the data grid of
// a lookup column's list. The grid library
// has neither: the tools library installs a factory at start-up (RegisterGridCellDropDowns), and
// without one those columns simply show no list. The pick list is the grid library's own.
enum TCellDropDownKindGx { cdkCalendarGx, cdkCalculatorGx, cdkLookupGridGx };

class TColumnGx;

// What a drop-down asks of the cell editor that opened it.
class ICellDropDownOwnerGx {
public:
    // The drop-down closes itself (a date clicked, Enter in the calculator, Esc).
    virtual void CloseUp(bool accept) = 0;
    // The editor the drop-down sits under and takes its colour and font from.
    [[nodiscard]] virtual TWinControl& DropDownEditor() = 0;
    // The column the editor edits: its list, rows and width.
    [[nodiscard]] virtual TColumnGx* DropDownColumn() = 0;

protected:
    ~ICellDropDownOwnerGx() = default;
};

class ICellDropDownGx {
public:
    virtual ~ICellDropDownGx() = default;

    // Shows the drop-down under the editor holding `value` (a date, a number, or the key of a
    // lookup list), without taking the activation or the focus.
    virtual void Open(const Variant& value) = 0;
    virtual void Hide() = 0;
    [[nodiscard]] virtual bool Visible() const = 0;
    // The value chosen: a date, a number or a key; Null when there is none.
    [[nodiscard]] virtual Variant Value() const = 0;
    // A list of shown values (the lookup list) gives the text of the value chosen, which the
    // editor shows while the user moves through the list; empty for the others.
    [[nodiscard]] virtual std::string ChosenText() const { return {}; }
    // The editor keeps the focus and hands the list its keys while it is open; true when the list
    // took the key.
    virtual bool TakeKey(WORD key, TShiftState shift) = 0;
    // A list that takes the typed characters (the calculator) gets Enter and Esc as characters
    // too and closes itself; the others close on those keys through the editor.
    [[nodiscard]] virtual bool TakesCharacters() const { return false; }
    virtual void TakeChar(char /*key*/) {}
    // The window of the drop-down, so that the editor can tell a click or the focus going into it.
    [[nodiscard]] virtual HWND WindowHandle() const = 0;
};

using TCellDropDownFactoryGx = std::unique_ptr<ICellDropDownGx> (*)(TCellDropDownKindGx kind,
                                                                    ICellDropDownOwnerGx& owner);

void SetCellDropDownFactory(TCellDropDownFactoryGx factory);
[[nodiscard]] TCellDropDownFactoryGx CellDropDownFactory();
