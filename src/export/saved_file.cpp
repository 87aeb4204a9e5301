#include "saved_file.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <cerrno>
#include <csignal>

namespace tivora {

namespace {

// Why a write failed, in the user's words: the cases a user can act on are
// named, the rest left in the system's words.
QString writeFailureReason(const QFileDevice& file)
{
    const QString reason = file.errorString();
    if (reason == qt_error_string(ENOSPC) || reason == qt_error_string(EDQUOT))
        return QCoreApplication::translate("DesignExport", "the disk is full");
    if (reason == qt_error_string(EFBIG))
        return QCoreApplication::translate("DesignExport", "the file would be larger than this system allows");
    if (reason == qt_error_string(ENAMETOOLONG))
        return QCoreApplication::translate("DesignExport", "the name is too long for this file system");
    if (reason.isEmpty() || reason == u"Unknown error")
        return QCoreApplication::translate("DesignExport", "the file could not be written");
    return reason;
}

// Between the writers and the file. A disk that takes only part of a write
// returns no error for it, and neither the PDF writer nor a stream checks
// what each write took; so each write is carried on until it is whole or
// fails, and the first failure ends all writing and is kept.
class CheckedWrites : public QIODevice {
public:
    explicit CheckedWrites(QSaveFile& file) : file_(file) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    bool failed() const { return !reason_.isEmpty(); }
    QString reason() const { return reason_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        if (failed())
            return -1;
        for (qint64 done = 0; done < length;) {
            const qint64 wrote = file_.write(data + done, length - done);
            if (wrote <= 0) {
                reason_ = writeFailureReason(file_);
                return -1;
            }
            done += wrote;
        }
        return length;
    }

private:
    QSaveFile& file_;
    QString reason_;
};

// Beyond a file-size limit (ulimit -f) the kernel ends the program with
// SIGXFSZ unless it is ignored; ignored, the write fails with EFBIG and is
// reported as any other. Only while the program writes a file.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored()
    {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &before_);
    }
    ~FileSizeSignalIgnored() { sigaction(SIGXFSZ, &before_, nullptr); }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    struct sigaction before_ = {};
};

}  // namespace

QString writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    // Unbuffered, every write of the PDF writer or of the text reaches the
    // disk at once and its failure is recorded; a failed flush in commit()
    // would not be.
    const FileSizeSignalIgnored fileSizeSignal;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeFailureReason(file);
    CheckedWrites checked(file);
    if (write(checked) && !checked.failed() && file.commit())
        return {};
    const QString reason = checked.failed() ? checked.reason() : writeFailureReason(file);
    if (file.isOpen())
        file.cancelWriting();  // and the destructor removes what was written
    return reason;
}

}  // namespace tivora
