// What the grid does when a component it refers to is freed: every reference to it is dropped
// before anything can reach it again.
#include "grid/core/DBGridGx.h"

#include "platform/classlib/data/DBDataSet.h"

void TCustomDBGridGx::Notification(TComponent* component, TOperation operation)
{
    TCustomGridGx::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == m_titleImages) {
        m_titleImages = nullptr;
        Invalidate();
    }
    // The component is only a component by now: a field is known by the columns that show it.
    bool fieldFreed = false;
    for (int i = 0; i < m_columns->Count(); ++i)
        fieldFreed = m_columns->ColumnAt(i)->ComponentFreed(component) || fieldFreed;
    if (fieldFreed)
        FieldFreed();
}

// The layout follows a freed field, after the data set's controls are enabled again when they are
// disabled now.
void TCustomDBGridGx::FieldFreed()
{
    const TDataSet* dataSet = m_dataLink->DataSet();
    if (dataSet && dataSet->ControlsDisabled())
        PostDeferredLayout();
    else
        LayoutChanged();
}
