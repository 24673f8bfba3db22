#include "runtime/Dialogs.h"

#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QStringList>
#include <algorithm>

namespace rt {

std::function<bool(TFileDialog&)> TFileDialog::Driver;

namespace {

// "AVI files (*.avi)|*.avi" becomes Qt's "AVI files (*.avi) (*.avi)" list entries.
QStringList QtFilters(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        out << parts[i] + " (" + patterns + ")";
    }
    return out;
}

// A dialog no larger than most of the screen it opens on, centred there: its own wish (or the
// size it had last time) can exceed a small or a scaled screen, whose bottom row of buttons
// would then be out of reach.
void FitOnScreen(QWidget& dialog) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QSize most(area.width() * 9 / 10, area.height() * 9 / 10);
    if (QLayout* layout = dialog.layout()) layout->setSizeConstraint(QLayout::SetNoConstraint);
    dialog.setMinimumSize(std::min(dialog.minimumWidth(), most.width()),
                          std::min(dialog.minimumHeight(), most.height()));
    dialog.setMaximumSize(most);
    const QSize want = dialog.sizeHint().expandedTo(QSize(560, 380));
    const QSize size = want.boundedTo(most);
    dialog.resize(size);
    dialog.move(area.x() + (area.width() - size.width()) / 2,
                area.y() + (area.height() - size.height()) / 2);
}

}  // namespace

bool TFileDialog::Execute() {
    bool chosen = false;
    if (Driver) {
        chosen = Driver(*this);
    } else {
        QFileDialog dlg(nullptr, QString::fromStdString(Title));
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setAcceptMode(save_ ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save_ ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        QStringList filters = QtFilters(Filter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            // FilterIndex counts from 1; 0 means the first filter.
            int idx = FilterIndex > 0 ? FilterIndex - 1 : 0;
            if (idx < filters.size()) dlg.selectNameFilter(filters[idx]);
        }
        std::string dir = InitialDir.empty() ? ExtractFilePath(FileName) : InitialDir;
        if (!dir.empty()) dlg.setDirectory(QString::fromStdString(dir));
        if (!FileName.empty()) dlg.selectFile(QString::fromStdString(ExtractFileName(FileName)));
        FitOnScreen(dlg);
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty()) {
            FileName = QDir::cleanPath(dlg.selectedFiles().first()).toStdString();
            chosen = true;
        }
    }
    if (chosen && save_) {
        std::string folder = ExtractFilePath(FileName);
        // The save dialog's folder becomes the current one, which output names without a
        // folder resolve against; a folder that is gone leaves the current one as it was.
        if (!folder.empty()) (void)::chdir(folder.c_str());
    }
    return chosen;
}

}  // namespace rt
