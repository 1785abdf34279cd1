#include "platform/classlib/forms/ImgListReference.h"

TImageListReference::TImageListReference(TComponent& holder, std::function<void()> changed)
    : m_holder(holder), m_changed(std::move(changed))
{
    m_link.SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { m_changed(); }));
}

HIMAGELIST TImageListReference::Handle() const { return m_list ? m_list->Handle() : nullptr; }

void TImageListReference::SetList(TCustomImageList* list)
{
    if (list == m_list)
        return;
    if (m_list) {
        m_list->UnRegisterChanges(&m_link);
        m_list->RemoveFreeNotification(&m_holder);
    }
    m_list = list;
    if (m_list) {
        m_list->RegisterChanges(&m_link);
        m_list->FreeNotification(&m_holder);
    }
    m_changed();
}

void TImageListReference::Forget(TComponent* component, TOperation operation)
{
    if (operation != opRemove || !m_list || component != m_list)
        return;
    // The list is on its way out (its own destructor already let go of the link): touch nothing of it.
    m_list = nullptr;
    m_changed();
}
