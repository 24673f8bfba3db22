// The skinned list view and tree view with their external scroll bars, once painting from the
// built-in skin WinAqua's descriptions and once in the default look:
//  - a report list of 10,000 file rows (name, size, type, modified): filling it, sorting it by
//    each column (the direction alternates, so no run sorts sorted rows), and scrolling it page
//    by page through the external vertical bar, each page painted;
//  - a folder tree of 2,010 folders (10 x 10 x 19) expanded node by node, each node's
//    children added when it is first expanded, as a file system tree reads them.
// After the table the medians are printed with the skinned / default ratio.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../tests/skin/controls/DialogControlsSkin.h"
#include "MedianRuns.h"
#include "runtime/Application.h"
#include "skin/controls/skSkinViews.h"

namespace {

constexpr int kRows = 10000;
const char* const kColumns[] = {"Name", "Size", "Type", "Modified"};

struct Set {
    rt::TCustomControl* panel = nullptr;
    sk::TskSkinListView* list = nullptr;
    sk::TskSkinTreeView* tree = nullptr;
    sk::TskSkinScrollBar* listBar = nullptr;
};

std::unique_ptr<rt::TForm> gForm;
std::unique_ptr<sk::TskStoredSkin> gSkin;
Set gSkinned, gPlain;

template <class View>
View* Framed(rt::TCustomControl* panel, sk::TskSkinData* data, sk::TskSkinScrollBar** vOut) {
    auto* h = new sk::TskSkinScrollBar(gForm.get());
    h->SetBounds(0, 0, 100, 17);
    h->SetParent(panel);
    h->SetAlign(rt::TAlign::alBottom);
    auto* v = new sk::TskSkinScrollBar(gForm.get());
    v->SetKind(sk::sbVertical);
    v->SetSkinDataName("vscrollbar");
    v->SetBounds(0, 0, 17, 100);
    v->SetParent(panel);
    v->SetAlign(rt::TAlign::alRight);
    auto* view = new View(gForm.get());
    view->SetParent(panel);
    view->SetAlign(rt::TAlign::alClient);
    if (data != nullptr) {
        h->SetSkinData(data);
        v->SetSkinData(data);
        view->SetSkinData(data);
    }
    view->SetVScrollBar(v);
    view->SetHScrollBar(h);
    if (vOut != nullptr) *vOut = v;
    return view;
}

Set MakeSet(sk::TskSkinData* data, int x) {
    Set s;
    s.panel = new rt::TCustomControl(gForm.get());
    s.panel->SetBounds(x, 0, 600, 500);
    s.panel->SetParent(gForm.get());
    s.list = Framed<sk::TskSkinListView>(s.panel, data, &s.listBar);
    for (const char* c : kColumns) s.list->AddColumn(c, 140);
    s.list->SetViewStyle(rt::TViewStyle::vsReport);
    auto* treePanel = new rt::TCustomControl(gForm.get());
    treePanel->SetBounds(x, 510, 300, 400);
    treePanel->SetParent(gForm.get());
    s.tree = Framed<sk::TskSkinTreeView>(treePanel, data, nullptr);
    return s;
}

Set& Pick(bool skinned) { return skinned ? gSkinned : gPlain; }

void Fill(sk::TskSkinListView& list) {
    static const char* const types[] = {"AVI video", "MPEG video", "Folder", "Text"};
    list.Items().BeginUpdate();
    list.Items().Clear();
    for (int i = 0; i < kRows; ++i) {
        rt::TListItem* item = list.Items().Add();
        item->SetCaption("clip_" + std::to_string((i * 7919) % kRows) + ".avi");
        item->SetSubItems({std::to_string((i * 104729) % 900000 + 1) + " KB", types[i % 4],
                           "2026-" + std::to_string(10 + i % 3) + "-" +
                               std::to_string(10 + i % 19) + " 1" + std::to_string(i % 10) + ":" +
                               std::to_string(10 + i % 49)});
    }
    list.Items().EndUpdate();
    benchmark::DoNotOptimize(list.ScrollInfo(rt::SB_VERT));
}

void BM_Fill(benchmark::State& state, bool skinned, int) {
    Set& s = Pick(skinned);
    for (auto _ : state) Fill(*s.list);
    if (!s.listBar->Visible()) state.SkipWithError("the vertical bar should show");
}

void BM_Sort(benchmark::State& state, bool skinned, int column) {
    Set& s = Pick(skinned);
    if (s.list->Items().Count() != kRows) Fill(*s.list);
    bool ascending = true;
    for (auto _ : state) {
        s.list->SortByColumn(column, ascending);
        benchmark::DoNotOptimize(s.list->ScrollInfo(rt::SB_VERT));
        ascending = !ascending;
    }
}

void BM_PageScroll(benchmark::State& state, bool skinned, int) {
    Set& s = Pick(skinned);
    if (s.list->Items().Count() != kRows) Fill(*s.list);
    sk::TskSkinScrollBar& bar = *s.listBar;
    bar.SetPosition(0);
    for (auto _ : state) {
        const int next = bar.Position() + bar.PageSize();
        bar.SetPosition(next > bar.Max() - bar.PageSize() + 1 ? 0 : next);
        s.list->Repaint();
        bar.Repaint();
    }
    if (s.list->TopIndex() != bar.Position()) state.SkipWithError("the list did not follow");
}

void BM_TreeExpand(benchmark::State& state, bool skinned, int) {
    Set& s = Pick(skinned);
    rt::TCustomTreeView& tree = *s.tree;
    tree.OnExpanding = [&tree](rt::TComponent*, rt::TTreeNode* node, bool&) {
        if (node->Count() > 0) return;
        const int level = node->Level();
        const int n = level == 0 ? 10 : 19;
        for (int i = 0; i < n; ++i) {
            rt::TTreeNode* c = tree.Items().AddChild(node, "folder " + std::to_string(i));
            c->SetHasChildren(level == 0);
        }
    };
    for (auto _ : state) {
        tree.Items().Clear();
        for (int i = 0; i < 10; ++i)
            tree.Items().AddChild(nullptr, "volume " + std::to_string(i))->SetHasChildren(true);
        // Depth first, each node as a user would open it.
        std::vector<rt::TTreeNode*> open;
        for (int i = 9; i >= 0; --i) open.push_back(tree.Items().TopLevelItem(i));
        while (!open.empty()) {
            rt::TTreeNode* n = open.back();
            open.pop_back();
            if (!n->HasChildren()) continue;
            n->Expand(false);
            for (int i = n->Count() - 1; i >= 0; --i) open.push_back(n->Item(i));
        }
        benchmark::DoNotOptimize(tree.ScrollInfo(rt::SB_VERT));
    }
    if (tree.Items().Count() != 2010) state.SkipWithError("unexpected folder count");
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    rt::TApplication app(argc, argv);
    gForm = std::make_unique<rt::TForm>(nullptr);
    gForm->SetBounds(0, 0, 1240, 940);
    auto* data = new sk::TskSkinData(gForm.get());
    gSkin =
        dialogskin::StoredSkin({dialogskin::PaintPicture()}, dialogskin::ViewDescriptionLines());
    data->LoadStoredSkin(gSkin.get());
    gSkinned = MakeSet(data, 0);
    gPlain = MakeSet(nullptr, 620);
    gForm->Show();
    if (gSkinned.list->SkinIndex() < 0 || gSkinned.list->HeaderSkinIndex() < 0 ||
        gPlain.list->SkinIndex() >= 0) {
        std::fprintf(stderr, "the skin did not reach the views\n");
        return 1;
    }

    std::vector<std::string> names;
    for (bool skinned : {false, true}) {
        const std::string look = skinned ? "Skinned" : "NoSkin";
        auto add = [&](const std::string& name, void (*fn)(benchmark::State&, bool, int), int arg) {
            names.push_back(name);
            return benchmark::RegisterBenchmark(
                       name.c_str(),
                       [fn, skinned, arg](benchmark::State& st) { fn(st, skinned, arg); })
                ->Unit(benchmark::kMillisecond);
        };
        add("BM_Fill10000" + look, BM_Fill, 0);
        for (int c = 0; c < 4; ++c) add("BM_Sort10000" + look + "_" + kColumns[c], BM_Sort, c);
        add("BM_PageScroll" + look, BM_PageScroll, 0)->Unit(benchmark::kMicrosecond);
        add("BM_TreeExpand2010" + look, BM_TreeExpand, 0);
    }

    MedianReporter reporter;
    if (!RunInterleaved(argc, argv, 5, reporter)) return 1;

    std::printf("\nMedians (processor time), skinned / default look:\n");
    std::printf("  %-26s %12s %12s %7s\n", "run", "skinned", "default", "ratio");
    for (const std::string& name : names) {
        const std::size_t at = name.find("NoSkin");
        if (at == std::string::npos) continue;
        std::string skinnedName = name;
        skinnedName.replace(at, 6, "Skinned");
        const double plain = MedianReporter::Median(reporter.cpu, name);
        const double skinned = MedianReporter::Median(reporter.cpu, skinnedName);
        if (plain <= 0 || skinned <= 0) continue;
        const bool micro = name.find("PageScroll") != std::string::npos;
        std::string run = name;
        run.replace(at, 6, "");
        std::printf("  %-26s %9.3f %s %9.3f %s %7.2f%s\n", run.c_str(), skinned,
                    micro ? "us" : "ms", plain, micro ? "us" : "ms", skinned / plain,
                    skinned / plain > 1.5 ? "  (above 1.5)" : "");
    }
    gForm.reset();
    return 0;
}
