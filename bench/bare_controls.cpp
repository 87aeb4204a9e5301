// A second yardstick: the bare window with as many plain text controls as
// Tivora's main window has (40 fields and 14 labels), default font, no
// pictures. What any window with that much text pays to appear.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(673, 495);
    for (int i = 0; i < 40; ++i) {
        auto* field = new QLineEdit(QString::number(i * 0.125), &window);
        field->setGeometry(16 + (i % 4) * 56, 16 + (i / 4) * 20, 49, 19);
    }
    for (int i = 0; i < 14; ++i) {
        auto* label = new QLabel(QStringLiteral("Generator speed (rad/sec)"), &window);
        label->setGeometry(400, 16 + i * 24, 161, 17);
    }
    window.show();
    return app.exec();
}
