// Framora: the entry. One instance runs at a time; a second start wakes the first and ends.
#include "app/MainFrm.h"
#include "media/LibraryLogs.h"
#include "runtime/Application.h"
#include "runtime/SysUtils.h"

int main(int argc, char** argv) {
    rt::TApplication application(argc, argv);
    rt::TSingleInstance instance("Framora");
    if (instance.SignalRunning(rt::WM_ACTIVATEINSTANCE)) return 0;

    media::QuietLibraryLogs();
    application.Title = "Framora";
    auto* mainForm = application.CreateForm<app::TMainForm>();
    instance.Listen([mainForm](unsigned msg) { mainForm->Perform(msg, 0, 0); });
    mainForm->Show();
    application.Run();
    return 0;
}
