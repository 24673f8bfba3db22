// Framora: the entry. One instance runs per user and desktop session; a second start wakes the
// first (handing it the file to open, when given one) and ends.
#include <cstdio>
#include <string>
#include <vector>

#include "app/AboutFrm.h"
#include "app/CommandLine.h"
#include "app/MainFrm.h"
#include "app/Resources.h"
#include "app/StartMessage.h"
#include "media/LibraryLogs.h"
#include "runtime/Application.h"
#include "runtime/Desktop.h"
#include "runtime/FileHandOver.h"
#include "runtime/SingleInstance.h"
#include "runtime/SysUtils.h"

namespace {

std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
}

// --help and --version answer before anything needs a display.
int Answer(const app::TCommandLine& cl) {
    switch (cl.action) {
        case app::TCommandLine::TAction::Help:
            std::fputs(app::HelpText().c_str(), stdout);
            return 0;
        case app::TCommandLine::TAction::Version:
            std::fputs(app::VersionLine().c_str(), stdout);
            return 0;
        case app::TCommandLine::TAction::Error:
            std::fprintf(stderr, "framora: %s\nUsage: framora [FILE]; see framora --help\n",
                         cl.error.c_str());
            return 2;
        case app::TCommandLine::TAction::Run:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    // The command line is Framora's own, read before anything needs a display; the toolkit
    // gets none of it (its settings come from the environment, QT_QPA_PLATFORM and the like).
    app::TCommandLine cl = app::ParseCommandLine(Arguments(argc, argv), rt::GetCurrentDir());
    // A name that cannot travel to a running Framora (not UTF-8, overlong) is refused here,
    // whether one runs or not.
    if (!cl.file.empty() && rt::FormatOpenRequest(cl.file).empty()) {
        cl.action = app::TCommandLine::TAction::Error;
        cl.error = "the file name is not UTF-8 or is too long";
    }
    if (int status = Answer(cl); status >= 0) return status;
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    rt::TApplication application(toolkitArgc, toolkitArgv);
    application.Title = "Framora";
    app::InstallProgramIcon();
    rt::SetDesktopFileName("org.framora.Framora");
    rt::TSingleInstance instance("Framora");
    const rt::TInstanceMessage request =
        cl.file.empty() ? rt::TInstanceMessage{rt::TInstanceCommand::Activate, {}}
                        : rt::TInstanceMessage{rt::TInstanceCommand::Open, cl.file};
    switch (instance.Start(request)) {
        case rt::TSingleInstance::TStart::Signalled:
            return 0;
        case rt::TSingleInstance::TStart::NotAnswering:
            app::ShowStartMessage(
                "Framora is already running, but it does not answer.\n\nSwitch to it, or end it "
                "if it has stopped responding, then start Framora again.",
                rt::MB_OK | rt::MB_ICONWARNING);
            return 1;
        case rt::TSingleInstance::TStart::First:
            break;
    }

    media::QuietLibraryLogs();
    // Logging out (SIGTERM) closes the window as the user would: the settings are kept.
    rt::CloseOnTerminationSignals();
    app::TMainForm* mainForm = nullptr;
    // Listening before the window exists lets a start made meanwhile wait for this one instead
    // of starting a second; its message is handled once the window is there.
    instance.Listen([&mainForm](const rt::TInstanceMessage& message) {
        if (mainForm == nullptr) return;
        switch (message.command) {
            case rt::TInstanceCommand::Activate:
                mainForm->Perform(rt::WM_ACTIVATEINSTANCE, 0, 0);
                break;
            case rt::TInstanceCommand::Open:
                mainForm->Perform(rt::WM_ACTIVATEINSTANCE, 0, 0);
                mainForm->OpenFromOutside(message.argument);
                break;
        }
    });
    mainForm = application.CreateForm<app::TMainForm>();
    // The About window paints with the main window's skin: it comes second, hidden.
    mainForm->AboutForm =
        application.CreateForm<app::TAboutForm>(mainForm->skSkinData1, mainForm->FFilesDir);
    mainForm->Show();
    if (!cl.file.empty()) mainForm->OpenFromOutside(cl.file);
    application.Run();
    return 0;
}
