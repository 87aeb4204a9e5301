#pragma once

// The clipboard and the primary selection stay the user's while a help page
// exists. The web engine writes both on a page's behalf whatever its
// settings say: a copy the page makes within five seconds of a click, or
// late; the text the page selects, which X makes the primary selection. So
// whatever the engine writes, the guard puts back at once; the user's own
// copy of the page's selection (Ctrl+C, the context menu) is made here, as
// plain text, so a page's copy handler cannot change it either.

#include <QClipboard>
#include <QObject>

#include <array>
#include <memory>

class QMimeData;

namespace tivora {

class ClipboardGuard : public QObject {
    Q_OBJECT

public:
    explicit ClipboardGuard(QObject* parent);
    ~ClipboardGuard() override;

    // The user's copy.
    void copyForUser(const QString& text);

signals:
    // The page wrote the clipboard (not only the selection); it was put back.
    void clipboardPutBack();

private:
    void changed(QClipboard::Mode mode);

    // What each mode held when the engine last wrote it: the user's.
    std::array<std::unique_ptr<QMimeData>, 2> held_;
    bool puttingBack_ = false;
};

}  // namespace tivora
