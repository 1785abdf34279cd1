// Loads arbitrary bytes as a skin package into the skin data of a skinned form on the headless
// display, applies it, and paints and pokes the frame and paints menu items: no skin may crash the
// form.

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuItem.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

// Our own skin unpacks to about 320 KiB; larger claims only make runs slow.
constexpr std::uint32_t LargestClaim = 1u << 20;

std::uint32_t ClaimedSize(const std::uint8_t* data)
{
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

struct SkinnedForm {
    SkinnedForm()
    {
        (void)SelectHeadlessDisplay();
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(40, 40, 424, 374);
        form->SetCaption("Fuzzed skin");
        data = new TSkinData(form.get());
        data->SetOnVersionMessage([](const std::string&) {});
        data->Loaded();
        form->Show();
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> form;
    TSkinData* data = nullptr;
};

// Kept to the end of the process: it outlives every input.
SkinnedForm& Form()
{
    static auto* form = new SkinnedForm;
    return *form;
}

void Poke(HWND window)
{
    RECT rect{};
    (void)GetWindowRect(window, &rect);
    const POINT points[] = {{rect.left + 2, rect.top + 2}, {rect.right - 20, rect.top + 8}, {rect.left + 100, rect.top + 12}};
    for (const POINT p : points) {
        const LPARAM at = MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
        const LRESULT hit = SendMessageA(window, WM_NCHITTEST, 0, at);
        (void)SendMessageA(window, WM_NCMOUSEMOVE, static_cast<WPARAM>(hit), at);
    }
    (void)SendMessageA(window, WM_NCACTIVATE, FALSE, 0);
    (void)SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    (void)RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

// A plain, a checked and disabled, a default and a separator item, each normal and selected, on
// a background and without one.
void PaintMenuItems(TSkinData& data)
{
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(160, 80);
    TSkinMenuItemInfo plain;
    plain.Caption = "&Open";
    plain.ShortCut = "Ctrl+O";
    TSkinMenuItemInfo checked = plain;
    checked.Checked = true;
    checked.Enabled = false;
    TSkinMenuItemInfo bold = plain;
    bold.Default = true;
    TSkinMenuItemInfo line;
    line.Separator = true;
    const HDC dc = target.Canvas()->Handle();
    const TSkinMenuItemInfo items[] = {plain, checked, bold, line};
    for (const bool selected : {false, true})
        for (const TSkinMenuItemInfo& item : items) {
            DrawSkinMenuItem(&data, dc, RECT{0, 0, 150, 19}, selected, item, &target);
            DrawSkinMenuItem(&data, dc, RECT{0, 20, 150, 28}, selected, item, nullptr);
        }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    if (size >= 4 && ClaimedSize(bytes) > LargestClaim && ClaimedSize(bytes) <= TSkinReader::MaxUnpackedSize)
        return 0;
    SkinnedForm& skinned = Form();
    TMemoryStream package;
    package.WriteBuffer(bytes, static_cast<std::int64_t>(size));
    (void)skinned.data->LoadSkinFromStream(package);
    TSkinManage& manager = *SkinManager();
    if (!skinned.data->Pending() && !manager.FindFormSkinner(skinned.form->Handle())) {
        manager.SetOn(true);
        (void)manager.SkinWindow(skinned.form->Handle());
    }
    manager.SetCurrentSkinData(skinned.data);
    manager.ScheduleAction(TSkinManage::ActionSkinChanged, 0);
    manager.RunAction();
    Application->ProcessMessages();
    Poke(skinned.form->Handle());
    Application->ProcessMessages();
    if (!skinned.data->Pending())
        PaintMenuItems(*skinned.data);
    return 0;
}
