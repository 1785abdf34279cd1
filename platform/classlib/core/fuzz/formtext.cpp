// Feeds arbitrary text to the form reader: the parser's limits (MaxFormTextSize, MaxFormNesting)
// bound the work, and every failure must be one of the reader's exceptions.
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/StringLists.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

// A component with one property of each kind the reader sets, so that values reach the registry.
class TFuzzComponent : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TFuzzComponent(TComponent* owner) : TComponent(owner) {}
    int Number() const { return m_number; }
    void SetNumber(int number) { m_number = number; }
    bool Flag() const { return m_flag; }
    void SetFlag(bool flag) { m_flag = flag; }
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& text) { m_text = text; }
    double Ratio() const { return m_ratio; }
    void SetRatio(double ratio) { m_ratio = ratio; }
    TStringList* Lines() const { return m_lines.get(); }
    TFuzzComponent* Link() const { return m_link; }
    void SetLink(TFuzzComponent* link) { m_link = link; }
    const TNotifyEvent& OnEvent() const { return m_onEvent; }
    void SetOnEvent(const TNotifyEvent& handler) { m_onEvent = handler; }
    void Handler(TObject*) {}

private:
    int m_number = 0;
    bool m_flag = false;
    std::string m_text;
    double m_ratio = 0;
    std::unique_ptr<TStringList> m_lines = std::make_unique<TStringList>();
    TFuzzComponent* m_link = nullptr;
    TNotifyEvent m_onEvent;
};

void DescribeFuzzComponent(TClassBuilder& c)
{
    c.Integer("Number", &TFuzzComponent::Number, &TFuzzComponent::SetNumber).Default(0);
    c.Boolean("Flag", &TFuzzComponent::Flag, &TFuzzComponent::SetFlag);
    c.String("Text", &TFuzzComponent::Text, &TFuzzComponent::SetText);
    c.Float("Ratio", &TFuzzComponent::Ratio, &TFuzzComponent::SetRatio);
    c.Object("Lines", &TFuzzComponent::Lines);
    c.Event("OnEvent", &TFuzzComponent::OnEvent, &TFuzzComponent::SetOnEvent);
    c.Method("Handler", &TFuzzComponent::Handler);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TFuzzComponent, TComponent, ComponentCreator<TFuzzComponent>, DescribeFuzzComponent)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RegisterClass(TFuzzComponent::StaticClass());
    try {
        std::unique_ptr<TComponent> root(
            ReadComponentText(std::string_view(reinterpret_cast<const char*>(data), size)));
    } catch (const Exception&) {
    }
    return 0;
}
