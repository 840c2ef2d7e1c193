#include "Frm_main.h"

#include "Command.h"
#include "RebootCountdown.h"
#include "SysUtils.h"
#include "Unt_settings.h"

TFrmMain* FrmMain = nullptr;

namespace {

TFont FontOf(int height)
{
    TFont font;
    // The TrueType successor of the raster "MS Sans Serif", of the same size
    // and look: the raster font holds Western letters alone and takes no
    // part in the system's font linking, through which this one shows every
    // script.
    font.Name = "Microsoft Sans Serif";
    font.Height = height;
    font.Color = clWindowText;
    return font;
}

TPanel* NewPanel(TFrmMain* form, TWinControl* parent, TBevelCut bevel, TAlign align, int left, int top, int width,
                 int height)
{
    auto* panel = new TPanel(form);
    panel->BevelOuter = bevel;
    panel->SetBounds(left, top, width, height);
    panel->SetParent(parent);
    panel->SetAlign(align);
    return panel;
}

TLabel* NewLabel(TFrmMain* form, TWinControl* parent, const char* name, int top)
{
    auto* label = new TLabel(form);
    label->Name = name;
    label->WordWrap = true;
    label->SetFont(FontOf(13));
    label->SetBounds(50, top, 265, 35);
    label->SetParent(parent);
    return label;
}

} // namespace

TFrmMain::TFrmMain(TComponent* owner, std::unique_ptr<TChannelReader> channel)
    : TForm(owner), FMailslot(std::move(channel))
{
    Name = "FrmMain";
    BorderStyle = TBorderStyle::bsDialog;
    SystemMenu = false;
    Position = TPosition::poScreenCenter;
    const TWindowSettings window = Settings->ReadWindowSettings();
    if (window.Place) {
        Position = TPosition::poWorkArea;
        WorkAreaX = window.Place->Horizontal;
        WorkAreaY = window.Place->Vertical;
    }
    TopMost = window.TopMost;
    Color = clBtnFace;
    SetFont(FontOf(11));
    SetClientSize(368, 195);

    PnlMain = NewPanel(this, this, TBevelCut::bvLowered, TAlign::alClient, 0, 0, 368, 195);
    PnlMain->Name = "PnlMain";
    TPanel* upper = NewPanel(this, PnlMain, TBevelCut::bvRaised, TAlign::alTop, 1, 1, 366, 144);
    LblMessage1 = NewLabel(this, upper, "LblMessage1", 32);
    LblMessage2 = NewLabel(this, upper, "LblMessage2", 80);
    TPanel* lower = NewPanel(this, PnlMain, TBevelCut::bvRaised, TAlign::alClient, 1, 145, 366, 49);

    Pgb1 = new TProgressBar(this);
    Pgb1->Name = "Pgb1";
    Pgb1->Smooth = false;
    Pgb1->SetRange(0, 100);
    Pgb1->SetPosition(0);
    Pgb1->SetBounds(16, 16, 337, 16);
    Pgb1->SetParent(lower);

    Tim1 = new TTimer(this);
    Tim1->Name = "Tim1";
    Tim1->SetInterval(500);
    Tim1->OnTimer = [this](TObject* sender) { Tim1Timer(sender); };
    Tim1->SetEnabled(true);

    FRebootTime = 0;
    FRebootStart = 0;
    SetCaption(Settings->GetWindowsCaption());
    LblMessage1->SetCaption(Settings->GetInspectMessage());
    LblMessage2->SetCaption(Settings->GetWaitCloseMessage());
}

TFrmMain::~TFrmMain()
{
    FMailslot.reset();
    if (FrmMain == this)
        FrmMain = nullptr;
}

void TFrmMain::Tim1Timer(TObject*)
{
    CheckMailslot();
    if (FPercent)
        Pgb1->SetPosition(*FPercent);
    else if (Pgb1->Position() > 90)
        Pgb1->SetPosition(0);
    else
        Pgb1->SetPosition(Pgb1->Position() + 10);
    if (FRebootAnnounced)
        UpdateRebootMessage();
}

void TFrmMain::CheckMailslot()
{
    AnsiString message;
    if (FMailslot->ReadMessage(message))
        ExecuteCommand(DecodeMessage(message));
}

void TFrmMain::ExecuteCommand(const TCommand& command)
{
    // A window manager may offer to minimise the window all the same; the
    // next news brings it back, a countdown's start among them.
    if (command.Kind != TCommandKind::Terminate)
        ShowAgain();
    switch (command.Kind) {
    case TCommandKind::Terminate:
        Application->Terminate();
        break;
    case TCommandKind::FinishInstallation:
        LblMessage1->SetCaption(Settings->GetFinishInstallationMessage());
        break;
    case TCommandKind::Reboot:
        if (command.HasTime)
            FRebootTime = command.Time;
        FRebootStart = GetTickCount32();
        FRebootAnnounced = true;
        break;
    case TCommandKind::ProcessPackage:
        switch (command.Action) {
        case TPackageAction::Install:
            LblMessage1->SetCaption(Settings->GetInstallMessage(command.PackageName));
            break;
        case TPackageAction::Upgrade:
            LblMessage1->SetCaption(Settings->GetUpgradeMessage(command.PackageName));
            break;
        case TPackageAction::Remove:
            LblMessage1->SetCaption(Settings->GetRemoveMessage(command.PackageName));
            break;
        case TPackageAction::Other:
            LblMessage1->SetCaption("");
            break;
        }
        break;
    case TCommandKind::Progress:
        FPercent = command.Percent;
        break;
    case TCommandKind::Ignored:
        break;
    }
}

void TFrmMain::UpdateRebootMessage()
{
    AnsiString text;
    if (FRebootTime == 0) {
        text = Settings->GetRebootMessage();
    } else {
        const int64_t left = RebootSecondsLeft(FRebootTime, FRebootStart, GetTickCount32());
        text = left > 0 ? Settings->GetRebootMessageTime(static_cast<unsigned>(left)) : Settings->GetRebootMessage();
    }
    LblMessage1->SetCaption(text);
}
