// The file dialog's file list, once painting from the dialog controls' skin and once in the
// default look, on folders made under the temporary folder:
//  - a folder of 5,000 files (videos, pictures, texts) and one of 200 folders: listing, sorting
//    by name and painting the first page, as the dialog shows a folder;
//  - going into a folder and back up (Up), each move listed and painted;
//  - the whole open dialog built on each folder, shown and painted, then closed;
//  - 100 lists made, filled with the 5,000 files and destroyed, and 100 dialogs opened on them
//    and closed, each twice: the resident memory before and after the second hundred is printed.
// After the table the medians are printed with the skinned / default ratio.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/skin/controls/DialogControlsSkin.h"
#include "MedianRuns.h"
#include "MemoryGrowth.h"
#include "runtime/Application.h"
#include "skin/dialogs/skFileCtrls.h"
#include "skin/dialogs/skFileDialog.h"

namespace {

namespace fs = std::filesystem;

std::unique_ptr<rt::TForm> gForm;
std::unique_ptr<sk::TskStoredSkin> gSkin;
sk::TskSkinData* gData = nullptr;
std::string gRoot, gFiles, gFolders;
sk::TskSkinFileListView* gLists[2] = {nullptr, nullptr};

sk::TskSkinFileListView* MakeList(bool skinned, int x) {
    auto* panel = new rt::TCustomControl(gForm.get());
    panel->SetBounds(x, 0, 600, 500);
    panel->SetParent(gForm.get());
    auto* h = new sk::TskSkinScrollBar(panel);
    h->SetBounds(0, 0, 100, 19);
    h->SetParent(panel);
    h->SetAlign(rt::TAlign::alBottom);
    auto* v = new sk::TskSkinScrollBar(panel);
    v->SetKind(sk::sbVertical);
    v->SetSkinDataName("vscrollbar");
    v->SetBounds(0, 0, 19, 100);
    v->SetParent(panel);
    v->SetAlign(rt::TAlign::alRight);
    auto* list = new sk::TskSkinFileListView(panel);
    list->SetParent(panel);
    list->SetAlign(rt::TAlign::alClient);
    if (skinned) {
        h->SetSkinData(gData);
        v->SetSkinData(gData);
        list->SetSkinData(gData);
    }
    list->SetVScrollBar(v);
    list->SetHScrollBar(h);
    list->SetViewStyle(rt::TViewStyle::vsReport);
    return list;
}

void MakeFolders() {
    char tmpl[] = "/tmp/framora-filelist-XXXXXX";
    if (::mkdtemp(tmpl) == nullptr) std::abort();
    gRoot = tmpl;
    gFiles = gRoot + "/files";
    gFolders = gRoot + "/folders";
    fs::create_directories(gFiles + "/sub");
    fs::create_directories(gFolders);
    static const char* const ext[] = {".avi", ".mpg", ".jpg", ".txt", ".mpeg"};
    for (int i = 0; i < 5000; ++i)
        std::ofstream(gFiles + "/clip_" + std::to_string((i * 7919) % 5000) + ext[i % 5])
            << std::string(std::size_t(i % 97), 'x');
    for (int i = 0; i < 200; ++i) fs::create_directories(gFolders + "/folder " + std::to_string(i));
}

// Lists the folder again (the same folder is otherwise ignored) and paints the list.
void ListAndPaint(sk::TskSkinFileListView& list, const std::string& folder) {
    if (list.Directory() == folder) {
        list.Refresh();
    } else if (!list.SetDirectory(folder)) {
        std::abort();
    }
    list.Repaint();
}

void BM_List(benchmark::State& state, bool skinned, const std::string* folder, int rows) {
    sk::TskSkinFileListView& list = *gLists[skinned ? 1 : 0];
    for (auto _ : state) ListAndPaint(list, *folder);
    if (list.RowCount() != rows) state.SkipWithError("unexpected row count");
}

void BM_UpInto(benchmark::State& state, bool skinned, const std::string* folder, int rows) {
    sk::TskSkinFileListView& list = *gLists[skinned ? 1 : 0];
    const std::string inner = *folder == gFiles ? gFiles + "/sub" : gFolders + "/folder 100";
    ListAndPaint(list, inner);
    for (auto _ : state) {
        if (!list.Up()) std::abort();
        list.Repaint();
        if (list.RowCount() != rows) state.SkipWithError("unexpected row count");
        ListAndPaint(list, inner);
    }
}

// The open dialog as File > Open builds it on a folder: the window with its tree, drive list and
// file list, shown and painted, then closed. Returns the rows the list showed.
int OpenDialogOnce(bool skinned, const std::string& folder) {
    sk::TskSkinOpenDialog dialog(nullptr);
    dialog.Filter = "All files|*.*";
    dialog.InitialDir = folder;
    if (skinned) dialog.SetCtrlSkinData(gData);
    std::unique_ptr<sk::TskOpenDlgForm> form = dialog.CreateForm();
    form->Show();
    form->Repaint();
    if (form->FileList->Directory() != folder) std::abort();
    const int rows = form->FileList->RowCount();
    form->Hide();
    return rows;
}

void BM_Dialog(benchmark::State& state, bool skinned, const std::string* folder, int rows) {
    for (auto _ : state)
        if (OpenDialogOnce(skinned, *folder) != rows) state.SkipWithError("unexpected row count");
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Offscreen windows cannot be raised, and Qt says so at every dialog shown.
    setenv("QT_LOGGING_RULES", "default.warning=false", 0);
    rt::TApplication app(argc, argv);
    MakeFolders();
    gForm = std::make_unique<rt::TForm>(nullptr);
    gForm->SetBounds(0, 0, 1240, 520);
    gData = new sk::TskSkinData(gForm.get());
    gSkin =
        dialogskin::StoredSkin({dialogskin::PaintPicture()}, dialogskin::ViewDescriptionLines());
    gData->LoadStoredSkin(gSkin.get());
    gLists[0] = MakeList(false, 620);
    gLists[1] = MakeList(true, 0);
    gForm->Show();
    if (gLists[1]->SkinIndex() < 0 || gLists[0]->SkinIndex() >= 0) {
        std::fprintf(stderr, "the skin did not reach the lists\n");
        return 1;
    }

    std::vector<std::string> names;
    for (bool skinned : {false, true}) {
        const std::string look = skinned ? "Skinned" : "NoSkin";
        auto add = [&](const std::string& name,
                       void (*fn)(benchmark::State&, bool, const std::string*, int),
                       const std::string* folder, int rows) {
            names.push_back(name);
            benchmark::RegisterBenchmark(name.c_str(), [fn, skinned, folder,
                                                        rows](benchmark::State& st) {
                fn(st, skinned, folder, rows);
            })->Unit(benchmark::kMillisecond);
        };
        add("BM_List5000Files" + look, BM_List, &gFiles, 5001);
        add("BM_List200Folders" + look, BM_List, &gFolders, 200);
        add("BM_UpInto5000Files" + look, BM_UpInto, &gFiles, 5001);
        add("BM_UpInto200Folders" + look, BM_UpInto, &gFolders, 200);
        add("BM_Dialog5000Files" + look, BM_Dialog, &gFiles, 5001);
        add("BM_Dialog200Folders" + look, BM_Dialog, &gFolders, 200);
    }

    MedianReporter reporter;
    if (!RunInterleaved(argc, argv, 5, reporter)) return 1;

    std::printf("\nMedians (wall time), skinned / default look:\n");
    std::printf("  %-22s %12s %12s %7s\n", "run", "skinned", "default", "ratio");
    for (const std::string& name : names) {
        const std::size_t at = name.find("NoSkin");
        if (at == std::string::npos) continue;
        std::string skinnedName = name;
        skinnedName.replace(at, 6, "Skinned");
        const double plain = MedianReporter::Median(reporter.real, name);
        const double skinned = MedianReporter::Median(reporter.real, skinnedName);
        if (plain <= 0 || skinned <= 0) continue;
        std::string run = name;
        run.replace(at, 6, "");
        std::printf("  %-22s %9.2f ms %9.2f ms %7.2f%s\n", run.c_str(), skinned, plain,
                    skinned / plain,
                    (run.find("List5000") != std::string::npos ||
                     run.find("Dialog5000") != std::string::npos) &&
                            skinned > 150
                        ? "  (first paint above 150 ms)"
                        : "");
    }

    // A hundred dialogs' lists, each made, filled with the 5,000 files and destroyed.
    auto hundredLists = [&app] {
        for (int i = 0; i < 100; ++i) {
            auto* list = new sk::TskSkinFileListView(gForm.get());
            list->SetParent(gForm.get());
            list->SetBounds(0, 0, 500, 300);
            list->SetSkinData(gData);
            list->SetViewStyle(rt::TViewStyle::vsReport);
            if (!list->SetDirectory(gFiles)) std::abort();
            list->Repaint();
            delete list;
            app.ProcessMessages();
        }
    };
    hundredLists();
    const long before = ResidentKb();
    hundredLists();
    std::printf("resident memory: %ld kB before and %ld kB after 100 more lists of 5,000 files\n",
                before, ResidentKb());
    auto hundredDialogs = [&app] {
        for (int i = 0; i < 100; ++i) {
            OpenDialogOnce(true, gFiles);
            app.ProcessMessages();
        }
    };
    hundredDialogs();
    const long beforeDialogs = ResidentKb();
    hundredDialogs();
    std::printf(
        "resident memory: %ld kB before and %ld kB after 100 more open dialogs on 5,000 files\n",
        beforeDialogs, ResidentKb());

    gForm.reset();
    std::error_code ec;
    fs::remove_all(gRoot, ec);
    return 0;
}
