#include "modem/app/PageWiring.h"

#include "platform/classlib/forms/StdCtrlsListBox.h"

TNotifyEvent PageHandler(std::function<void()> action)
{
    return TNotifyEvent::FromFunction([action = std::move(action)](TObject*) { action(); });
}

bool IsDigitOrBackspace(char key) { return (key >= '0' && key <= '9') || key == '\b'; }

TKeyPressEvent DigitKeysOnly()
{
    return TKeyPressEvent::FromFunction([](TObject*, char& key) {
        if (!IsDigitOrBackspace(key))
            key = 0;
    });
}

const std::string* SelectedNumber(const TListBox& names, const std::vector<std::string>& numbers)
{
    const int index = names.ItemIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= numbers.size())
        return nullptr;
    return &numbers[static_cast<std::size_t>(index)];
}
