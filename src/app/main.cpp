// Tivora: builds the main window and runs the event loop.

#include "window/main_window.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    tivora::Form1 form;
    form.Form_Load();
    form.show();
    return app.exec();
}
