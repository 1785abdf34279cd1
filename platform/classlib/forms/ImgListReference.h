#pragma once

#include "platform/classlib/forms/ImgList.h"

#include <functional>

// A control's reference to an image list it shows. The list's changes (new images, a new size and
// so a new handle) reach `changed` through a change link, and the holder asks to be told when the
// list is freed; its Notification passes opRemove on to Forget so no dangling pointer is kept.
// (When one owner frees both, the list may go first unannounced: the holder then must not touch it
// while it is destroyed, which is why this leaves the free-notification bookkeeping to TComponent.)
class TImageListReference {
public:
    TImageListReference(TComponent& holder, std::function<void()> changed);
    TImageListReference(const TImageListReference&) = delete;
    TImageListReference& operator=(const TImageListReference&) = delete;

    [[nodiscard]] TCustomImageList* List() const { return m_list; }
    // The list's handle, null without a list.
    [[nodiscard]] HIMAGELIST Handle() const;
    void SetList(TCustomImageList* list);
    // Called from the holder's Notification: forgets the list when `component` is it.
    void Forget(TComponent* component, TOperation operation);

private:
    TComponent& m_holder;
    TCustomImageList* m_list = nullptr;
    TChangeLink m_link;
    std::function<void()> m_changed;
};
