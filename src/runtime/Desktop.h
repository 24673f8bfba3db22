#pragma once
// The program's place on the desktop: its icon on every window and files dropped on a form.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Graphics.h"

namespace rt {

class TForm;

// A picture file's bytes held in memory (a PNG image built into the program).
struct TImageBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
};

// Gives every window of the program the icon made of these PNG images, one per size; the
// window system picks the size it shows. False when none of them could be read.
bool SetProgramIcon(const std::vector<TImageBytes>& pngs);

// The name of the program's desktop entry without ".desktop", which the desktop matches the
// program's windows with (their group in a task bar, the entry's icon and name).
void SetDesktopFileName(const std::string& id);

// A PNG image as a bitmap with a transparent colour: pixels at least half opaque keep their
// colour, the others become `transparentColor`. False (and `out` untouched) when the bytes are
// not a readable PNG image.
bool LoadPngBitmap(const TImageBytes& png, TBitmap& out, TColor transparentColor);

// Lets files from the desktop (a file manager) be dropped on the form: a drag that carries at
// least one local file is accepted, anything else is refused; a drop hands `onDrop` the full
// names of its local files, in order.
void AcceptDroppedFiles(TForm& form, std::function<void(const std::vector<std::string>&)> onDrop);

// When the session ends the program (SIGTERM, SIGHUP, SIGINT), it closes as a user closing its
// main window does: open dialogs are cancelled, then the main form's close runs on the UI
// thread (its settings are written) and the message loop ends. Call once, after the
// application object exists.
void CloseOnTerminationSignals();

// True while a modal window (a dialog, a message box) holds the program's input.
bool ModalWindowShowing();

}  // namespace rt
