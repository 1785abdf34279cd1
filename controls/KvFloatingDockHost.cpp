#include "controls/KvFloatingDockHost.h"

TKvFloatingDockHost::TKvFloatingDockHost(TComponent* owner) : TForm(owner) { SetBorderStyle(bsSizeToolWin); }

TKvFloatingDockHost& TKvFloatingDockHost::Float(TControl& client)
{
    const TPoint origin = client.ClientToScreen(TPoint{0, 0});
    auto* host = new TKvFloatingDockHost(client.Owner());
    host->SetCaption(client.Text());
    host->SetClientWidth(client.Width());
    host->SetClientHeight(client.Height());
    host->SetLeft(origin.x);
    host->SetTop(origin.y);
    // The frame goes round the place, so that the control itself stays put.
    (void)host->Handle();
    const TPoint inner = host->ClientToScreen(TPoint{0, 0});
    host->SetBounds(2 * origin.x - inner.x, 2 * origin.y - inner.y, host->Width(), host->Height());
    client.ManualDock(host);
    host->Show();
    return *host;
}

void TKvFloatingDockHost::DockDrop(TControl& client, TPoint /*drop*/)
{
    client.SetParent(this);
    client.SetAlign(alClient);
}

void TKvFloatingDockHost::ClientUndocked(TControl& client)
{
    TForm::ClientUndocked(client);
    Release();
}
