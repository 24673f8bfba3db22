// Framora: the entry. One instance runs per user and desktop session; a second start wakes the
// first and ends.
#include "app/AboutFrm.h"
#include "app/MainFrm.h"
#include "media/LibraryLogs.h"
#include "runtime/Application.h"
#include "runtime/SingleInstance.h"

int main(int argc, char** argv) {
    rt::TApplication application(argc, argv);
    application.Title = "Framora";
    rt::TSingleInstance instance("Framora");
    switch (instance.Start({rt::TInstanceCommand::Activate, {}})) {
        case rt::TSingleInstance::TStart::Signalled:
            return 0;
        case rt::TSingleInstance::TStart::NotAnswering:
            application.MessageBox(
                "Framora is already running, but it does not answer.\n\nSwitch to it, or end it "
                "if it has stopped responding, then start Framora again.",
                "Framora", rt::MB_OK | rt::MB_ICONWARNING);
            return 1;
        case rt::TSingleInstance::TStart::First:
            break;
    }

    media::QuietLibraryLogs();
    app::TMainForm* mainForm = nullptr;
    // Listening before the window exists lets a start made meanwhile wait for this one instead
    // of starting a second; its message is handled once the window is there.
    instance.Listen([&mainForm](const rt::TInstanceMessage& message) {
        if (mainForm == nullptr) return;
        switch (message.command) {
            case rt::TInstanceCommand::Activate:
                mainForm->Perform(rt::WM_ACTIVATEINSTANCE, 0, 0);
                break;
        }
    });
    mainForm = application.CreateForm<app::TMainForm>();
    // The About window paints with the main window's skin: it comes second, hidden.
    mainForm->AboutForm =
        application.CreateForm<app::TAboutForm>(mainForm->skSkinData1, mainForm->FAppDir);
    mainForm->Show();
    application.Run();
    return 0;
}
