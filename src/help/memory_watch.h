#pragma once

// The memory a help page takes, watched four times a second while the page
// can run: the resident memory of the web engine's processes (its renderers,
// workers and helpers) plus what the program's own process has grown by
// since the page came (the page's session history lives there).

#include <QObject>
#include <QTimer>

namespace tivora {

class MemoryWatch : public QObject {
    Q_OBJECT

public:
    MemoryWatch(qint64 bound, QObject* parent);

    // From now on, for a new page: the program's memory as it is now is
    // not the page's.
    void startOver();
    // Watches while the page can run.
    void watch(bool pageCanRun);

    // What the page takes now.
    qint64 pageMemory() const;

signals:
    // Every check, after `exceeded` if the page took more than the bound.
    void checked();
    void exceeded();

private:
    void check();

    qint64 bound_;
    qint64 baseline_ = 0;
    QTimer timer_;
};

}  // namespace tivora
