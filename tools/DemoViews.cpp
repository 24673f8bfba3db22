#include "DemoViews.h"

#include <memory>
#include <string>
#include <vector>

#include "BuiltinSkins.h"
#include "DemoPaint.h"
#include "runtime/Classes.h"
#include "runtime/ImgList.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinViews.h"
#include "skin/controls/skSkinWalk.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skStoredSkin.h"

namespace demo {

namespace {

// 16 x 16 and 32 x 32 images of a folder and a film clip, on a magenta transparent colour.
void PaintIcons(rt::TImageList& list, int size) {
    list.SetSize(size, size);
    const rt::TColor key = 0xFF00FF;
    const int u = size / 16;
    {
        rt::TBitmap b(size, size);
        Fill(b, rt::Rect(0, 0, size, size), key);
        Fill(b, rt::Rect(1 * u, 3 * u, 7 * u, 5 * u), 0x3AA6E8);
        Fill(b, rt::Rect(1 * u, 4 * u, 15 * u, 14 * u), 0x2E8BC8);
        Fill(b, rt::Rect(2 * u, 6 * u, 14 * u, 13 * u), 0x6CCBF5);
        list.AddMasked(b, key);
    }
    {
        rt::TBitmap b(size, size);
        Fill(b, rt::Rect(0, 0, size, size), key);
        Fill(b, rt::Rect(2 * u, 1 * u, 14 * u, 15 * u), 0x303030);
        Fill(b, rt::Rect(5 * u, 3 * u, 11 * u, 13 * u), 0xD08A4A);
        for (int y = 2; y < 15; y += 3) {
            Fill(b, rt::Rect(3 * u, y * u, 4 * u, (y + 1) * u), 0xF0F0F0);
            Fill(b, rt::Rect(12 * u, y * u, 13 * u, (y + 1) * u), 0xF0F0F0);
        }
        list.AddMasked(b, key);
    }
}

sk::TskCompressedStoredSkin* Embedded(rt::TComponent* owner, const char* name,
                                      const std::vector<std::uint8_t>& bytes) {
    auto* c = new sk::TskCompressedStoredSkin(owner);
    c->SetName(name);
    c->SetFileName("skin.ini");
    rt::TMemoryStream s;
    s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
    s.SetPosition(0);
    c->ReadFormProperty(s);
    return c;
}

class ViewsForm : public rt::TForm {
public:
    ViewsForm(rt::TComponent* owner, const std::string& skin) : rt::TForm(owner) {
        SetCaption("Framora views");
        SetBounds(40, 40, 860, 480);
        SetClientSize(860, 475);
        data_ = new sk::TskSkinData(this);
        for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins)
            skins_.push_back(Embedded(this, builtIn.Name, builtIn.Bytes()));
        small_ = new rt::TImageList(this);
        large_ = new rt::TImageList(this);
        PaintIcons(*small_, 16);
        PaintIcons(*large_, 32);

        // Two rows of toggles: the skin in use and the list's view style stay pressed, so that
        // neither row's first button looks chosen while it is not.
        for (int i = 0; i <= int(skins_.size()); ++i) {
            auto* b = Button(10 + 90 * i, 10, i == 0 ? "No Skin" : sk::kBuiltinSkins[i - 1].Name);
            b->SetGroupIndex(1);
            b->OnClick = [this, i](rt::TComponent*) { UseSkin(i - 1); };
            skinButtons_.push_back(b);
        }
        const char* styles[] = {"Icons", "Small icons", "List", "Details"};
        for (int i = 0; i < 4; ++i) {
            auto* b = Button(400 + 90 * i, 10, styles[i]);
            b->SetGroupIndex(2);
            b->SetDown(i == int(rt::TViewStyle::vsReport));
            b->OnClick = [this, i](rt::TComponent*) {
                list_->SetViewStyle(static_cast<rt::TViewStyle>(i));
            };
        }
        BuildTree();
        BuildList();
        status_ = new rt::TLabel(this);
        status_->SetBounds(10, 450, 800, 16);
        status_->SetParent(this);
        status_->SetCaption("Select a folder or a file");
        int start = skin == "No Skin" ? -1 : 0;
        for (std::size_t i = 0; i < skins_.size(); ++i)
            if (skin == sk::kBuiltinSkins[i].Name) start = int(i);
        UseSkin(start);
    }

private:
    sk::TskSkinButton* Button(int x, int y, const char* caption) {
        auto* b = new sk::TskSkinButton(this);
        b->SetBounds(x, y, 84, 25);
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetSkinData(data_);
        return b;
    }
    // A panel holding a view filling it with a vertical bar at its right, a horizontal below.
    template <class View>
    View* Framed(int x, int y, int w, int h) {
        auto* panel = new rt::TCustomControl(this);
        panel->SetBounds(x, y, w, h);
        panel->SetParent(this);
        auto* hBar = new sk::TskSkinScrollBar(this);
        hBar->SetBounds(0, 0, w, 17);
        hBar->SetParent(panel);
        hBar->SetAlign(rt::TAlign::alBottom);
        hBar->SetSkinData(data_);
        auto* vBar = new sk::TskSkinScrollBar(this);
        vBar->SetKind(sk::sbVertical);
        vBar->SetSkinDataName("vscrollbar");
        vBar->SetBounds(0, 0, 17, h);
        vBar->SetParent(panel);
        vBar->SetAlign(rt::TAlign::alRight);
        vBar->SetSkinData(data_);
        auto* view = new View(this);
        view->SetParent(panel);
        view->SetAlign(rt::TAlign::alClient);
        view->SetSkinData(data_);
        view->SetVScrollBar(vBar);
        view->SetHScrollBar(hBar);
        return view;
    }

    void BuildTree() {
        tree_ = Framed<sk::TskSkinTreeView>(10, 45, 250, 395);
        tree_->SetImages(small_);
        // The top nodes show no picture, their folders do: every row keeps the picture's room.
        for (const char* top : {"/", "Home", "Videos", "Removable"}) {
            rt::TTreeNode* n = tree_->Items().AddChild(nullptr, top);
            n->SetHasChildren(true);
        }
        // Folders appear when they are first opened, as a file system tree reads them.
        tree_->OnExpanding = [this](rt::TComponent*, rt::TTreeNode* node, bool&) {
            if (node->Count() > 0) return;
            const int depth = node->Level();
            const int n = depth == 0 ? 12 : 5;
            for (int i = 0; i < n; ++i) {
                rt::TTreeNode* c = tree_->Items().AddChild(
                    node, (depth == 0 ? "Folder " : "Clips ") + std::to_string(i + 1));
                c->SetHasChildren(depth < 2);
                c->SetImageIndex(depth == 0 ? 0 : 1);
            }
        };
        tree_->OnChange = [this](rt::TComponent*, rt::TTreeNode* node) {
            if (node != nullptr) status_->SetCaption("Folder: " + node->Text());
        };
    }

    void BuildList() {
        list_ = Framed<sk::TskSkinListView>(270, 45, 580, 395);
        list_->SetSmallImages(small_);
        list_->SetLargeImages(large_);
        list_->AddColumn("Name", 180);
        list_->AddColumn("Size", 80, rt::TAlignment::taRightJustify);
        list_->AddColumn("Type", 110);
        list_->AddColumn("Modified", 130);
        list_->Column(0).ImageIndex = 1;
        list_->ColumnsChanged();
        list_->Items().BeginUpdate();
        for (int i = 0; i < 60; ++i) {
            rt::TListItem* item = list_->Items().Add();
            const bool folder = i < 4;
            item->SetCaption(folder ? "Folder " + std::to_string(i + 1)
                                    : "holiday_clip_" + std::to_string(1000 + i * 7) +
                                          (i % 3 == 0 ? ".mpg" : ".avi"));
            item->SetImageIndex(folder ? 0 : 1);
            item->AddSubItem(folder ? "" : std::to_string((i * 7919) % 90000 + 512) + " KB");
            item->AddSubItem(folder ? "Folder" : i % 3 == 0 ? "MPEG video" : "AVI video");
            item->AddSubItem("2026-0" + std::to_string(1 + i % 9) + "-1" + std::to_string(i % 10) +
                             " 12:" + std::to_string(10 + i % 50));
        }
        list_->Items().EndUpdate();
        list_->SetViewStyle(rt::TViewStyle::vsReport);
        list_->OnCompare = [](rt::TListItem* a, rt::TListItem* b, int column) {
            if (column == 1) {
                const long x = std::atol(a->Text(1).c_str()), y = std::atol(b->Text(1).c_str());
                return x < y ? -1 : x > y ? 1 : 0;
            }
            return rt::CompareListText(a->Text(column), b->Text(column));
        };
        list_->OnColumnClick = [this](rt::TComponent*, int column) {
            const bool ascending = list_->SortColumn() != column || !list_->SortAscending();
            list_->SortByColumn(column, ascending);
        };
        list_->OnSelectItem = [this](rt::TComponent*, rt::TListItem* item, bool selected) {
            if (selected) status_->SetCaption("File: " + item->Caption());
        };
    }

    // -1: no skin; else one of the built-in skins.
    void UseSkin(int index) {
        skinButtons_[std::size_t(index + 1)]->SetDown(true);
        if (index >= 0)
            data_->SetCompressedStoredSkin(skins_[std::size_t(index)]);
        else
            data_->ClearSkin();
        sk::ApplySkins(*this, data_);
        // The caption names the skin in use, which the buttons do not show.
        SetCaption(std::string("Framora views - ") +
                   (index >= 0 ? skins_[std::size_t(index)]->Name() : "No Skin"));
        Invalidate();
    }

    sk::TskSkinData* data_;
    std::vector<sk::TskCompressedStoredSkin*> skins_;
    std::vector<sk::TskSkinButton*> skinButtons_;
    rt::TImageList* small_;
    rt::TImageList* large_;
    sk::TskSkinTreeView* tree_ = nullptr;
    sk::TskSkinListView* list_ = nullptr;
    rt::TLabel* status_ = nullptr;
};

}  // namespace

void ShowViewsWindow(rt::TComponent* owner, const std::string& skin) {
    auto* form = new ViewsForm(owner, skin);
    form->Show();
}

}  // namespace demo
