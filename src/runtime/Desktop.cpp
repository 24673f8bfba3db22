#include "runtime/Desktop.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QIcon>
#include <QImage>
#include <QMimeData>
#include <QPixmap>
#include <QSocketNotifier>
#include <QUrl>
#include <cerrno>
#include <csignal>

#include "runtime/Application.h"
#include "runtime/ControlWidget.h"

namespace rt {

namespace {

// The local files a drag carries, in its order.
std::vector<std::string> LocalFiles(const QMimeData* mime) {
    std::vector<std::string> files;
    if (mime == nullptr || !mime->hasUrls()) return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

// Watches a form's window for drags from the desktop; lives as long as the window.
class DropFilter : public QObject {
public:
    DropFilter(QWidget* window, std::function<void(const std::vector<std::string>&)> onDrop)
        : QObject(window), onDrop_(std::move(onDrop)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove: {
                auto* d = static_cast<QDropEvent*>(e);
                if (LocalFiles(d->mimeData()).empty()) {
                    d->ignore();
                } else {
                    d->setDropAction(Qt::CopyAction);
                    d->accept();
                }
                return true;
            }
            case QEvent::Drop: {
                auto* d = static_cast<QDropEvent*>(e);
                std::vector<std::string> files = LocalFiles(d->mimeData());
                if (files.empty()) {
                    d->ignore();
                    return true;
                }
                d->setDropAction(Qt::CopyAction);
                d->accept();
                if (onDrop_) GuardedCall([&] { onDrop_(files); });
                return true;
            }
            default:
                return QObject::eventFilter(watched, e);
        }
    }

private:
    std::function<void(const std::vector<std::string>&)> onDrop_;
};

// The write end of the pipe that carries a termination signal to the UI thread.
int gSignalPipe[2] = {-1, -1};

extern "C" void OnTerminationSignal(int) {
    const int saved = errno;
    const char byte = 1;
    (void)!::write(gSignalPipe[1], &byte, 1);
    errno = saved;
}

void CloseForTermination() {
    TApplication* app = Application();
    if (app == nullptr) return;
    for (int i = 0; i < app->FormCount(); ++i)
        if (TForm* f = app->Forms(i);
            f != nullptr && f->ModalResult == mrNone && f->Visible() && f != app->MainForm())
            f->ModalResult = mrCancel;
    if (TForm* main = app->MainForm(); main != nullptr && main->Visible()) main->Close();
    app->Terminate();
}

}  // namespace

void CloseOnTerminationSignals() {
    if (gSignalPipe[0] >= 0) return;
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char buf[16];
        while (::read(gSignalPipe[0], buf, sizeof buf) > 0) {
        }
        GuardedCall(CloseForTermination);
    });
    struct sigaction sa {};
    sa.sa_handler = OnTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT}) ::sigaction(sig, &sa, nullptr);
}

bool SetProgramIcon(const std::vector<TImageBytes>& pngs) {
    QIcon icon;
    for (const TImageBytes& png : pngs) {
        QImage image;
        if (png.data == nullptr || !image.loadFromData(png.data, qsizetype(png.size), "PNG"))
            continue;
        icon.addPixmap(QPixmap::fromImage(image));
    }
    if (icon.isNull()) return false;
    QApplication::setWindowIcon(icon);
    return true;
}

void SetDesktopFileName(const std::string& id) {
    QGuiApplication::setDesktopFileName(QString::fromStdString(id));
}

bool LoadPngBitmap(const TImageBytes& png, TBitmap& out, TColor transparentColor) {
    QImage image;
    if (png.data == nullptr || !image.loadFromData(png.data, qsizetype(png.size), "PNG"))
        return false;
    image = image.convertToFormat(QImage::Format_ARGB32);
    TBitmap bitmap(image.width(), image.height());
    const std::uint32_t key = ColorToPixel(transparentColor);
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::uint32_t* dst = bitmap.ScanLine(y);
        for (int x = 0; x < image.width(); ++x)
            dst[x] = qAlpha(src[x]) >= 128 ? (src[x] & 0xFFFFFFu) : key;
    }
    bitmap.Transparent = true;
    bitmap.TransparentColor = transparentColor;
    out = std::move(bitmap);
    return true;
}

void AcceptDroppedFiles(TForm& form, std::function<void(const std::vector<std::string>&)> onDrop) {
    QWidget* window = ImplOf(form).Window();
    if (window == nullptr) return;
    window->setAcceptDrops(true);
    window->installEventFilter(new DropFilter(window, std::move(onDrop)));
}

bool ModalWindowShowing() { return QApplication::activeModalWidget() != nullptr; }

}  // namespace rt
