#include "clipboard_guard.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QWebEnginePage>

#include <dlfcn.h>
#include <execinfo.h>

namespace tivora {

namespace {

constexpr QClipboard::Mode kModes[] = {QClipboard::Clipboard, QClipboard::Selection};

std::unique_ptr<QMimeData> copyOf(const QMimeData* data)
{
    auto copy = std::make_unique<QMimeData>();
    if (data)
        for (const QString& format : data->formats())
            copy->setData(format, data->data(format));
    return copy;
}

// Whether the web engine is writing: Qt reports a change from inside the
// call that makes it, so the writer is on the stack. Nothing else tells the
// engine's writes from the calculator's own (a field's selection, its Copy).
bool engineIsWriting()
{
    static const void* engine = [] {
        Dl_info library{};
        return dladdr(reinterpret_cast<const void*>(&QWebEnginePage::staticMetaObject), &library) ? library.dli_fbase
                                                                                                  : nullptr;
    }();
    void* frames[128];
    const int depth = backtrace(frames, 128);
    for (int i = 0; i < depth; ++i) {
        Dl_info library{};
        if (dladdr(frames[i], &library) && library.dli_fbase == engine)
            return true;
    }
    return false;
}

}  // namespace

ClipboardGuard::ClipboardGuard(QObject* parent) : QObject(parent)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (QClipboard::Mode mode : kModes)
        if (mode == QClipboard::Clipboard || clipboard->supportsSelection())
            held_[mode] = copyOf(clipboard->mimeData(mode));
    connect(clipboard, &QClipboard::changed, this, &ClipboardGuard::changed);
}

ClipboardGuard::~ClipboardGuard() = default;

void ClipboardGuard::copyForUser(const QString& text)
{
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void ClipboardGuard::changed(QClipboard::Mode mode)
{
    if (puttingBack_ || mode > QClipboard::Selection)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!engineIsWriting()) {
        // The user's, by the calculator or another program: kept, to be put
        // back should the engine write over it.
        held_[mode] = copyOf(clipboard->mimeData(mode));
        return;
    }
    puttingBack_ = true;
    if (held_[mode])
        clipboard->setMimeData(copyOf(held_[mode].get()).release(), mode);
    else
        clipboard->clear(mode);
    puttingBack_ = false;
    if (mode == QClipboard::Clipboard)
        emit clipboardPutBack();
}

}  // namespace tivora
