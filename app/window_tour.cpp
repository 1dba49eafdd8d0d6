#include "app/window_tour.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QWidget>
#include <cstdio>

#include "app/window_gallery.h"
#include "app/windows.h"

namespace kobrix {
namespace {

void Say(const char* kind, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", kind, text.toLocal8Bit().constData());
}

void Settle() {
    // Layouts, paints and the timers that fill a window when it is first shown.
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

}  // namespace

void UnattendedPrompts::Information(const QString& text) {
    Say("information", text);
}
void UnattendedPrompts::Warning(const QString& text) {
    Say("warning", text);
}
void UnattendedPrompts::Message(const QString& text) {
    Say("message", text);
}
void UnattendedPrompts::Error(const QString& text) {
    Say("error", text);
}
bool UnattendedPrompts::YesCancel(const QString& text) {
    Say("question (answered Yes)", text);
    return true;
}

void UnattendedDesktop::Wait(int milliseconds) {
    real_.Wait(milliseconds);
    if (afterWait) afterWait();
}

QString WindowPictureName(int index, const QString& caption) {
    QString slug = caption.toLower();
    slug.replace(QRegularExpression("[^a-z0-9]+"), "-");
    slug.remove(QRegularExpression("^-+|-+$"));
    if (slug.size() > 40) slug = slug.left(40).remove(QRegularExpression("-+$"));
    if (slug.isEmpty()) slug = "window";
    return QString("%1-%2.png").arg(index, 2, 10, QChar('0')).arg(slug);
}

QStringList SaveWindowPictures(Windows& windows, const QString& directory, WindowGallery* gallery) {
    QDir().mkpath(directory);
    QList<QWidget*> shown;
    for (QWidget* window : windows.All()) {
        if (window->isVisible()) shown << window;
    }
    QStringList written;
    int index = 0;
    for (QWidget* window : windows.All()) {
        ++index;
        QImage caught;
        if (gallery != nullptr) caught = gallery->Stage(*window);
        window->show();
        window->raise();
        Settle();
        // The main window's caption changes with what it reports; its name does not.
        const QString name =
            WindowPictureName(index, index == 1 ? QString("main window") : window->windowTitle());
        const QImage picture = caught.isNull() ? window->grab().toImage() : caught;
        if (picture.save(QDir(directory).filePath(name))) written << name;
        if (gallery != nullptr) gallery->Finish(*window);
        // A scene may have shown other windows on its way.
        for (QWidget* other : windows.All()) {
            if (!shown.contains(other) && other->isVisible()) other->hide();
        }
    }
    return written;
}

}  // namespace kobrix
