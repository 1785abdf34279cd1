#pragma once

#include "platform/classlib/forms/Forms.h"

class TADOQuery;
class TDBComboBoxGx;

// The gallery's grid tools page: the data-aware edit with its buttons, the combo box with its
// list dropped down, the check box in its three states, the calculator and a data grid over a
// table in memory (see
// GridToolsGalleryLayout.h for where each one lies).
class TGridToolsGalleryForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TGridToolsGalleryForm(TComponent* owner);

private:
    void AddGrid();

    TDBComboBoxGx* m_combo = nullptr;
    TADOQuery* m_query = nullptr;
};
