#include "runtime/Dialogs.h"

#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QStringList>

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
