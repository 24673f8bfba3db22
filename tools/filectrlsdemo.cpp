// The file dialog's controls for looking at them: the drive list and the file-type list above,
// the folder tree on the left and the file list in report style on the right, all painted from
// one built-in skin ("--skin WinAqua", "Winxpblue", "Wistler" or "No Skin") and showing the
// folder given as the last argument (the home folder otherwise). Run it under Xvfb and take a
// screenshot.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BuiltinSkins.h"
#include "runtime/Application.h"
#include "runtime/Classes.h"
#include "skin/data/skSkinData.h"
#include "skin/dialogs/skFileCtrls.h"
#include "skin/form/skSkinForm.h"

namespace {

template <class T>
T* Place(rt::TComponent* owner, rt::TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(owner);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

sk::TskSkinScrollBar* Bar(rt::TForm* form, sk::TskSkinData* data, bool vertical, int x, int y,
                          int w, int h) {
    auto* b = Place<sk::TskSkinScrollBar>(form, form, x, y, w, h);
    if (vertical) {
        b->SetKind(sk::sbVertical);
        b->SetSkinDataName("vscrollbar");
    }
    if (data != nullptr) b->SetSkinData(data);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    std::string skin = "WinAqua";
    std::string folder = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "/";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc)
            skin = argv[++i];
        else
            folder = argv[i];
    }
    rt::TApplication app(argc, argv);
    auto form = std::make_unique<rt::TForm>(nullptr);
    form->SetCaption("Framora file dialog controls");
    form->SetBounds(40, 40, 760, 460);
    sk::TskSkinData* data = nullptr;
    for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins) {
        if (skin != builtIn.Name) continue;
        const std::vector<std::uint8_t>* bytes = &builtIn.Bytes();
        auto* stored = new sk::TskCompressedStoredSkin(form.get());
        rt::TMemoryStream s;
        s.WriteBuffer(bytes->data(), std::int64_t(bytes->size()));
        s.SetPosition(0);
        stored->ReadFormProperty(s);
        data = new sk::TskSkinData(form.get());
        auto* skinForm = new sk::TskSkinForm(form.get());
        skinForm->SetSkinData(data);
        data->LoadCompressedStoredSkin(stored);
    }

    auto* drives = Place<sk::TskSkinShellDriveComboBox>(form.get(), form.get(), 10, 8, 220, 21);
    auto* filter = Place<sk::TskSkinFilterComboBox>(form.get(), form.get(), 240, 8, 300, 21);
    filter->SetFilter(
        "All files (*.avi,*.mpg,*.mpeg)|*.avi;*.mpg;*.mpeg|AVI files (*.avi)|*.avi|MPEG files "
        "(*.mpg,*.mpeg)|*.mpg;*.mpeg|Every file|*");
    filter->SetItemIndex(3);

    auto* tree = Place<sk::TskSkinDirTreeView>(form.get(), form.get(), 10, 40, 200, 380);
    tree->SetVScrollBar(Bar(form.get(), data, true, 210, 40, 19, 380));
    auto* list = Place<sk::TskSkinFileListView>(form.get(), form.get(), 240, 40, 480, 380);
    list->SetVScrollBar(Bar(form.get(), data, true, 720, 40, 19, 380));
    list->SetHScrollBar(Bar(form.get(), data, false, 240, 420, 480, 19));
    list->SetViewStyle(rt::TViewStyle::vsReport);
    if (data != nullptr) {
        drives->SetSkinData(data);
        filter->SetSkinData(data);
        tree->SetSkinData(data);
        list->SetSkinData(data);
    }
    list->SetMask(filter->Mask());
    list->SetDirectory(folder);
    tree->SelectPath(folder);
    drives->SetDrive(folder);
    tree->OnPathChange = [&](rt::TComponent*) {
        const std::string path = tree->SelectedPath();
        if (!path.empty()) list->SetDirectory(path);
        drives->SetDrive(path);
    };
    filter->OnChange = [&](rt::TComponent*) { list->SetMask(filter->Mask()); };
    form->Show();
    app.Run();
    return 0;
}
