// The main window's cut: the Cut button starts the cut on the render thread, a timer watches it
// and keeps the gauge up to date, Esc stops it; the window stays responsive all along.
#include <cmath>

#include "app/MainFrm.h"
#include "media/CutJob.h"
#include "runtime/Application.h"

namespace app {

namespace {

constexpr const char* kCaption = "Framora";
constexpr const char* kPleaseWait = "Cutting ... Please wait ...";
constexpr int kWatchIntervalMs = 100;
// The gauge sweeps this many steps a tick while the amount of work is not known yet.
constexpr int kSweepStep = 10;

std::string Grouped(std::int64_t n) {
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

std::string Duration(double seconds) {
    const auto s = static_cast<long long>(std::ceil(seconds));
    if (s < 60) return std::to_string(s) + " s";
    if (s < 3600) return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
    return std::to_string(s / 3600) + " h " + std::to_string(s % 3600 / 60) + " min";
}

std::string Seconds(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f s", s);
    return buf;
}

}  // namespace

std::string CutProgressText(std::int64_t done, std::int64_t planned, double elapsedSeconds) {
    if (planned <= 0) return kPleaseWait;
    done = std::clamp<std::int64_t>(done, 0, planned);
    const auto percent = static_cast<int>(done * 100 / planned);
    std::string text = "Cutting ... " + std::to_string(percent) + "%";
    // The rate of the first second says little: the cut reads ahead before it writes.
    if (elapsedSeconds >= 1.0 && done > 0 && done < planned) {
        const double left =
            elapsedSeconds * static_cast<double>(planned - done) / static_cast<double>(done);
        text += " (about " + Duration(left) + " left)";
    }
    return text;
}

std::string CutOutcomeHint(const media::CutOutcome& o) {
    std::string hint;
    if (!o.hasVideo) {
        hint = "sound only";
    } else if (o.path == media::CutPath::Copied) {
        hint = Grouped(o.copiedPictures) + " pictures copied, " + Grouped(o.encodedPictures) +
               " re-encoded";
    } else {
        hint =
            "re-encoded: " + (o.whyReencoded.empty() ? std::string("by choice") : o.whyReencoded);
    }
    if (o.clamped)
        hint +=
            "; the source ends before the end mark, the cut ends at " + Seconds(o.writtenSeconds);
    return hint;
}

void TMainForm::EnableCutCommands(bool on) {
    for (auto* b : {skSkinSpeedButton1, skSkinSpeedButton2, skSkinSpeedButton3, skSkinSpeedButton4})
        b->SetEnabled(on);
    actSelStrart->Enabled = on;
    actSelEnd->Enabled = on;
    Open1->Enabled = on;
    Close1->Enabled = on;
}

void TMainForm::skSkinSpeedButton4Click(rt::TComponent*) {
    if (cutting_) return;
    if (FStartMark == 0 && FEndMark == 0) return;
    SaveDialog1->ProtectedFile = FSourceFile;
    // The first time, the cut is offered beside its source.
    if (SaveDialog1->FileName.empty()) SaveDialog1->InitialDir = rt::ExtractFilePath(FSourceFile);
    if (!SaveDialog1->Execute()) return;

    // Fixed now, so that the cut never depends on the process's current folder.
    const std::string output = OutputPath(SaveDialog1->FileName, FSourceFile);
    auto job = std::make_unique<media::CutJob>();
    if (CutHookForTesting) job->SetProgressHookForTesting(CutHookForTesting);
    try {
        job->Start(FSourceFile, FStartMark, FEndMark, output);
    } catch (const std::exception& e) {
        ProgressBar1->SetValue(0);
        ProgressBar1->SetProgressText("Failed.");
        rt::Application()->MessageBox(std::string("The cut could not be written.\n") + e.what(),
                                      kCaption, rt::MB_OK | rt::MB_ICONERROR);
        return;
    }
    cutJob_ = std::move(job);
    cutting_ = true;
    closeAfterCut_ = false;
    cutStarted_ = std::chrono::steady_clock::now();
    EnableCutCommands(false);
    ProgressBar1->Hint.clear();
    ProgressBar1->SetValue(0);
    ProgressBar1->Show();
    ProgressBar1->SetProgressText(kPleaseWait);
    if (cutTimer_ == nullptr) {
        cutTimer_ = new rt::TTimer(this);
        cutTimer_->SetInterval(kWatchIntervalMs);
        cutTimer_->OnTimer = [this](rt::TComponent*) { WatchCut(); };
    }
    cutTimer_->SetEnabled(true);
}

bool TMainForm::StopCut() {
    if (!cutting_ || !cutJob_) return false;
    if (cutJob_->Progress().StopRequested()) return true;
    // The render ends within a picture or two; the timer sees it end.
    cutJob_->RequestStop();
    ProgressBar1->SetProgressText("Stopping ...");
    return true;
}

void TMainForm::WatchCut() {
    if (!cutJob_) return;
    long code = 0;
    if (cutJob_->WaitForCompletion(0, code)) {
        EndCut(code);
        return;
    }
    const media::CutProgress& p = cutJob_->Progress();
    const std::int64_t planned = p.Planned();
    const std::int64_t done = p.Done();
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - cutStarted_).count();
    if (planned <= 0) {
        // Activity only, while the cut reads ahead and the amount of work is not known yet.
        const int next = ProgressBar1->Value() + kSweepStep;
        ProgressBar1->SetValue(next > ProgressBar1->MaxValue() ? 0 : next);
    } else {
        ProgressBar1->SetValue(
            static_cast<int>(std::clamp<std::int64_t>(done, 0, planned) * 100 / planned));
    }
    ProgressBar1->SetProgressText(p.StopRequested() ? "Stopping ..."
                                                    : CutProgressText(done, planned, elapsed));
}

void TMainForm::EndCut(long code) {
    if (cutTimer_ != nullptr) cutTimer_->SetEnabled(false);
    std::unique_ptr<media::CutJob> job = std::move(cutJob_);
    job->Stop();
    cutting_ = false;
    EnableCutCommands(true);
    UpdateCommands();  // "Cut" stays off while no stretch is marked
    ProgressBar1->SetValue(0);
    if (code == media::EC_COMPLETE) {
        ProgressBar1->SetProgressText("Succeeded!");
        ProgressBar1->Hint = CutOutcomeHint(job->Outcome());
        ProgressBar1->ShowHint = true;
    } else if (code == media::EC_USERABORT) {
        ProgressBar1->SetProgressText("Stopped.");
    } else {
        ProgressBar1->SetProgressText("Failed.");
        const std::string why = job->ErrorText();
        // Also after the window was closed: the user waits for this file.
        rt::Application()->MessageBox(
            "The cut could not be written.\n" +
                (why.empty() ? std::string("The render stopped before the end.") : why),
            kCaption, rt::MB_OK | rt::MB_ICONERROR);
    }
    if (closeAfterCut_) {
        closeAfterCut_ = false;
        Close();
    }
}

}  // namespace app
