#include "SkinnedFormFixture.h"

#include "platform/classlib/core/Streams.h"
#include "tools/skinpack/lib/SkinFolder.h"

std::string OurSkinFile()
{
    return std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem.skn";
}

std::vector<std::uint8_t> OurSkinPackage(const std::function<void(TSkinEntries&)>& change)
{
    TSkinEntries entries = ReadSkinFolder(std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem");
    change(entries);
    return PackSkinContainer(BuildSkinContainer(entries, TSkinPackageVersion::v40000));
}

std::function<void(TSkinEntries&)> Without(const std::string& name)
{
    return [name](TSkinEntries& entries) {
        std::erase_if(entries, [&name](const TSkinPackageEntry& entry) { return entry.name == name; });
    };
}

std::function<void(TSkinEntries&)> Setting(const std::string& key, const std::string& value)
{
    return [key, value](TSkinEntries& entries) {
        // The INI is the first entry.
        std::vector<std::uint8_t>& bytes = entries.front().bytes;
        std::string text(bytes.begin(), bytes.end());
        for (std::size_t at = text.find("\n" + key + "="); at != std::string::npos;
             at = text.find("\n" + key + "=", at + 1)) {
            const std::size_t start = at + 1 + key.size() + 1;
            text.replace(start, text.find_first_of("\r\n", start) - start, value);
        }
        bytes.assign(text.begin(), text.end());
    };
}

void SkinnedFormFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    m_clock = std::make_unique<FakeClock>();
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(40, 40, 424, 374);
    m_form->SetCaption("Skinned form");
    m_data = new TSkinData(m_form.get());
    TFileStream file(OurSkinFile(), fmOpenRead);
    ASSERT_TRUE(m_data->LoadSkinFromStream(file));
    m_data->SetActive(true);
}

void SkinnedFormFixture::TearDown()
{
    FreeSkinManager();
    m_form.reset();
    Pump();
    m_clock.reset();
}

void SkinnedFormFixture::ShowSkinned()
{
    (void)m_form->Handle();
    m_clientBefore = ClientSize();
    m_form->Show();
    Pump();
    ASSERT_NE(Skinner(), nullptr);
}

void SkinnedFormFixture::Pump()
{
    for (int round = 0; round < 5; ++round)
        Application->ProcessMessages();
}

void SkinnedFormFixture::Advance(std::uint64_t ms)
{
    m_clock->Advance(ms);
    Pump();
}

TWinSkinForm* SkinnedFormFixture::Skinner() const
{
    return SkinManager() ? SkinManager()->FindFormSkinner(m_form->Handle()) : nullptr;
}

SIZE SkinnedFormFixture::WindowSize() const
{
    RECT rect{};
    (void)GetWindowRect(m_form->Handle(), &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SIZE SkinnedFormFixture::ClientSize() const
{
    RECT rect{};
    (void)GetClientRect(m_form->Handle(), &rect);
    return SIZE{rect.right, rect.bottom};
}

std::uint32_t SkinnedFormFixture::Shown(POINT window) const
{
    const auto id = reinterpret_cast<WindowId>(m_form->Handle());
    return m_display->WindowPixel(id, window.x, window.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

void SkinnedFormFixture::MoveMouse(POINT window)
{
    m_display->InjectMouseMove(reinterpret_cast<WindowId>(m_form->Handle()), window);
    Pump();
}

void SkinnedFormFixture::Button(POINT window, bool down)
{
    m_display->InjectMouseButton(reinterpret_cast<WindowId>(m_form->Handle()), window, MouseButton::Left, down);
    Pump();
}

bool SkinnedFormFixture::LoadPackage(const std::vector<std::uint8_t>& package)
{
    TMemoryStream stream;
    stream.WriteBuffer(package.data(), static_cast<std::int64_t>(package.size()));
    const bool loaded = m_data->LoadSkinFromStream(stream);
    Advance(TSkinManage::ActionDelay);
    return loaded;
}

TMenuItem* SkinnedMenuFixture::AddItem(TMenuItem* parent, const std::string& caption)
{
    auto* item = new TMenuItem(m_form.get());
    item->SetCaption(caption);
    item->SetOnClick(TNotifyEvent::FromFunction([this, caption](TObject*) { m_clicks.push_back(caption); }));
    parent->Add(item);
    return item;
}
