// Saving through Qt's own file dialog, with HOME and the XDG folders pointing
// at empty folders: the chosen files appear and nothing else, no dialog
// state, no settings.

#include "window_fixture.h"

#include "export/design_export.h"

#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>

using namespace tivora;
using namespace tivora::testing;

namespace {

QTemporaryDir* home = nullptr;

// Answers the file dialog the way a user does who takes the proposed name.
// A dialog that never comes fails the test instead of waiting forever.
void savingThroughTheDialog(const std::function<void()>& action)
{
    int ticks = 0;
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the Save button calls it
        } else if (++ticks > 500) {
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
        }
    });
    answer.start();
    action();
    answer.stop();
}

}  // namespace

class ExportFilesTest : public QObject {
    Q_OBJECT

private slots:
    void noFileAppearsButTheChosenOnes()
    {
        QCOMPARE(filesBelow(home->path()), QStringList());
        {
            Form1 window;
            window.show();
            control(&window, Button::Solve)->click();
            const QString documents = home->filePath(QStringLiteral("Documents"));
            QVERIFY(QDir().mkpath(documents));
            using enum DesignExport::Command;
            for (const auto command : {SaveCsv, SavePdf, SaveSvg})
                savingThroughTheDialog([&window, command] { window.designExport().run(command); });
        }
        QCOMPARE(filesBelow(home->path()),
                 QStringList({"Documents/tivora-3-blades-1m-template.svg", "Documents/tivora-3-blades-1m.csv",
                              "Documents/tivora-3-blades-1m.pdf"}));
    }

    void aNameTooLongForTheFileSystemIsToldNotGreyedOut()
    {
        Form1 window;
        window.show();
        control(&window, Button::Solve)->click();
        const QStringList before = filesBelow(home->path());
        // In an empty folder: the dialog's view, once loaded, would select a
        // file of the proposed name and put that name back in the field.
        const QString empty = home->filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(empty));
        window.designExport().chooseFile = [&window, &empty](const DesignExport::FileRequest& request) {
            DesignExport::FileRequest there = request;
            there.proposedPath = empty + u'/' + QFileInfo(request.proposedPath).fileName();
            return DesignExport::chooseFileInDialog(&window, there);
        };
        QStringList said;
        bool named = false;
        QTimer answer;
        answer.setInterval(20);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                said << box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !named) {
                named = true;
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QString(300, u'a'));
                // Pressed as a user presses it, a greyed-out button taking no
                // click; later, so that this timer is free to answer the message.
                for (QAbstractButton* button : dialog->findChild<QDialogButtonBox*>()->buttons()) {
                    if (dialog->findChild<QDialogButtonBox*>()->buttonRole(button) == QDialogButtonBox::AcceptRole)
                        QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
                }
            } else if (dialog) {
                dialog->reject();
            }
        });
        answer.start();
        window.designExport().run(DesignExport::Command::SaveCsv);
        answer.stop();
        QCOMPARE(said.size(), 1);
        QVERIFY2(said.first().startsWith(QStringLiteral("The name is too long for this folder")),
                 qPrintable(said.first()));
        QCOMPARE(filesBelow(home->path()), before);
    }
};

// The folders must be set before Qt first asks for them.
int main(int argc, char** argv)
{
    QTemporaryDir folder;
    home = &folder;
    qputenv("HOME", folder.path().toUtf8());
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(variable, folder.filePath(QString::fromLatin1(variable)).toUtf8());
    qunsetenv("XDG_CONFIG_DIRS");
    QApplication application(argc, argv);
    ExportFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_files_test.moc"
