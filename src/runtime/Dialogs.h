#pragma once
// The open and save dialogs until the skinned file dialog replaces them.

#include <functional>
#include <string>

#include "runtime/Classes.h"

namespace rt {

class TFileDialog : public TComponent {
public:
    explicit TFileDialog(TComponent* owner, bool save) : TComponent(owner), save_(save) {}
    std::string Title;
    // "Description|*.a;*.b|Description|*.c" pairs.
    std::string Filter;
    int FilterIndex = 0;
    std::string FileName;
    std::string InitialDir;
    bool IsSave() const { return save_; }

    // Shows the dialog; true when the user chose a file (FileName holds its full path). A save
    // dialog leaves the chosen file's folder as the process's current folder.
    bool Execute();

    // Replaces the dialog's user interaction (tests and scripted runs): it gets the dialog,
    // may set FileName, and returns whether a file was chosen.
    static std::function<bool(TFileDialog&)> Driver;

private:
    bool save_;
};

class TOpenDialog : public TFileDialog {
public:
    explicit TOpenDialog(TComponent* owner) : TFileDialog(owner, false) {}
};

class TSaveDialog : public TFileDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TFileDialog(owner, true) {}
};

}  // namespace rt
