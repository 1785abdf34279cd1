#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <functional>
#include <initializer_list>
#include <vector>

class TForm;

namespace gallery {

// Makes the controls of one column: each set up, then placed on its parent (as form data does; list
// view columns added while the view has a window upset it), owned by the form, and kept so the
// disabled column can turn them all off at the end.
class TColumnBuilder {
public:
    TColumnBuilder(TComponent* owner, TWinControl* column) : m_owner(owner), m_column(column) {}

    template <class T>
    T* Add(const RECT& where, const std::function<void(T&)>& setup = {})
    {
        return AddTo<T>(m_column, where, setup);
    }

    template <class T>
    T* AddTo(TWinControl* parent, const RECT& where, const std::function<void(T&)>& setup = {})
    {
        auto* control = new T(m_owner);
        control->SetBounds(where.left, where.top, where.right - where.left, where.bottom - where.top);
        if (setup)
            setup(*control);
        control->SetParent(parent);
        m_made.push_back(control);
        return control;
    }

    // A control the builder did not place itself (a tab sheet) that still follows the column.
    void Keep(TControl* control) { m_made.push_back(control); }

    void DisableAll()
    {
        for (TControl* control : m_made)
            control->SetEnabled(false);
    }

    [[nodiscard]] TComponent* Owner() const { return m_owner; }

private:
    TComponent* m_owner;
    TWinControl* m_column;
    std::vector<TControl*> m_made;
};

using TColumnFiller = void (*)(TColumnBuilder&);

// A captioned group box at `where` on the form, filled by each of `fillers` in turn; every
// control in it is disabled unless `enabled`.
void BuildColumn(TForm& form, const RECT& where, const char* caption, bool enabled,
                 std::initializer_list<TColumnFiller> fillers);

} // namespace gallery
