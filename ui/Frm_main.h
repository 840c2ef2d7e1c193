#pragma once
// The message window: two lines of text and a moving bar, driven by the
// commands that arrive through the command channel.
#include <cstdint>
#include <memory>

#include "Classes.h"
#include "Command.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Channel.h"
#include "StdCtrls.h"

class TFrmMain : public TForm {
public:
    // Builds the window, which reads its commands from `channel`: the window
    // run creates the channel before anything else, so that senders find it
    // as early as possible.
    TFrmMain(TComponent* owner, std::unique_ptr<TChannelReader> channel);
    ~TFrmMain() override;

    const char* ClassName() const override { return "TFrmMain"; }

    // One tick: at most one command, the bar, the countdown.
    void Tim1Timer(TObject* sender);

    TPanel* PnlMain;
    TProgressBar* Pgb1;
    TLabel* LblMessage1;
    TLabel* LblMessage2;
    TTimer* Tim1;

private:
    void CheckMailslot();
    void ExecuteCommand(const TCommand& command);
    void UpdateRebootMessage();

    int FRebootTime = 0;
    uint32_t FRebootStart = 0;
    // A reboot applied when the tick count read 0 is still a reboot.
    bool FRebootAnnounced = false;
    // The percentage that a script set, which holds the bar; none while the
    // bar cycles on its own.
    std::optional<int> FPercent;
    std::unique_ptr<TChannelReader> FMailslot;
};

extern TFrmMain* FrmMain;
