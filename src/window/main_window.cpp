#include "main_window.h"

#include "control_table.h"
#include "export/design_export.h"
#include "help_access.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace tivora {

namespace {

// Qt has no role for an inactive title bar. This is the default of that
// system colour on current Windows (191, 205, 219); the gray of the old
// Classic scheme would leave the black captions on it hard to read.
const QColor kInactiveTitle(191, 205, 219);

// "MS Sans Serif" and "Symbol" are not on Linux. Liberation Sans has Arial's
// widths, narrow enough that every start caption fits its box on one line,
// and has the Greek letters the two Symbol captions show.

const QString kFontFamily = QStringLiteral("Liberation Sans");

QFont fontFor(FontRole role)
{
    QFont font(kFontFamily);
    switch (role) {
    case FontRole::Window:
        font.setPointSizeF(8.25);
        break;
    case FontRole::Caption:
    case FontRole::Greek:
        font.setPointSizeF(9.75);
        break;
    case FontRole::GreekLarge:
        font.setPointSizeF(12);
        break;
    }
    return font;
}

// Read in the format its name ends with. Left to guess, Qt's image reader
// first loads every image-format plugin on the machine.
QImage readPicture(const QString& path, bool sharp)
{
    QString file = path;
    const qsizetype dot = file.lastIndexOf(u'.');
    const QByteArray format = file.mid(dot + 1).toLatin1();
    if (sharp)
        file.insert(dot, QStringLiteral("@2x"));
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    QImage picture = reader.read();
    picture.setDevicePixelRatio(sharp ? 2 : 1);
    return picture;
}

QIcon iconOf(std::initializer_list<QString> paths, bool sharp)
{
    QIcon icon;
    for (const QString& path : paths)
        icon.addPixmap(QPixmap::fromImage(readPicture(path, sharp)));
    return icon;
}

QString toQt(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string fromQt(const QString& text)
{
    return text.toStdString();
}

}  // namespace

QFont windowFont()
{
    return fontFor(FontRole::Window);
}

NumberFormat userNumberFormat()
{
    const QLocale locale;
    return {fromQt(locale.decimalPoint()), fromQt(locale.groupSeparator())};
}

Form1::Form1(HelpAccess* help, QWidget* parent) : QWidget(parent), sheet_(userNumberFormat()), help_(help)
{
    // The picture for the screen's density: the @2x one on sharp screens.
    sharp_ = QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->devicePixelRatio() > 1;
    backgroundLoading_ = std::async(
        std::launch::async, [sharp = sharp_] { return readPicture(QStringLiteral(":/assets/background.ppm"), sharp); });
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kestrane Engineering's"));
    setWindowIcon(iconOf({QStringLiteral(":/assets/flag-16.png"), QStringLiteral(":/assets/flag-32.png")}, sharp_));
    setFont(windowFont());
    // For a top-level window the geometry is the client area's.
    setGeometry(80, 53, 673, 495);
    setFixedSize(673, 495);

    buildControls();
    bindControls();
    showSheet();
    buttons_.value(QStringLiteral("Command1"))->setFocus();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const ControlSpec& entry : mainWindowControls()) {
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case ControlKind::TextField:
        case ControlKind::HiddenField: {
            // Made with its text, so that it is laid out once.
            auto* edit = new QLineEdit(toQt(sheet_.text(fromQt(entry.name))), this);
            if (entry.buttonTextColour) {
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Text, palette.color(QPalette::ButtonText));
                edit->setPalette(palette);
            }
            fields_.insert(entry.name, edit);
            widget = edit;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(entry.caption, this);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignTop | (entry.centred ? Qt::AlignHCenter : Qt::AlignLeft));
            labels_.insert(entry.name, label);
            widget = label;
            break;
        }
        case ControlKind::Option: {
            auto* option = new QRadioButton(entry.caption, this);
            // The style's default gap after the mark would cut "Imperial" off.
            option->setStyleSheet(QStringLiteral("QRadioButton { spacing: 3px; }"));
            buttons_.insert(entry.name, option);
            widget = option;
            break;
        }
        case ControlKind::PictureButton: {
            auto* button = new QPushButton(this);
            button->setAutoDefault(true);  // Enter presses a focused button, as Space does
            const QImage picture = readPicture(entry.picture, sharp_);
            button->setIcon(QPixmap::fromImage(picture));
            button->setIconSize(picture.deviceIndependentSize().toSize());
            buttons_.insert(entry.name, button);
            widget = button;
            break;
        }
        case ControlKind::Timer:
            timer2_ = new QTimer(this);
            timer2_->setObjectName(entry.name);
            timer2_->setInterval(3000);
            continue;
        }

        widget->setObjectName(entry.name);
        widget->setGeometry(entry.rect);
        if (entry.font != FontRole::Window)  // the others take the window's
            widget->setFont(fontFor(entry.font));
        if (entry.back != BackColour::Standard) {
            QPalette palette = widget->palette();
            const QColor back =
                entry.back == BackColour::InactiveTitle ? kInactiveTitle : palette.color(QPalette::Light);
            palette.setColor(QPalette::Window, back);
            palette.setColor(QPalette::Button, back);
            widget->setPalette(palette);
            widget->setAutoFillBackground(true);
        }
        if (entry.kind == ControlKind::HiddenField) {
            widget->setFocusPolicy(Qt::NoFocus);
            widget->hide();
        } else if (entry.kind != ControlKind::Label) {
            tabStops.emplace_back(entry.tab, widget);
        }
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);

    buttons_.value(QStringLiteral("Command1"))->setAccessibleName(QStringLiteral("Solve!"));
    buttons_.value(QStringLiteral("Command2"))->setAccessibleName(QStringLiteral("Help!"));
}

void Form1::bindControls()
{
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) {
        const std::string name = fromQt(it.key());
        const bool input = infoOf(*fieldNamed(name)).typedByUser;
        connect(*it, &QLineEdit::textEdited, this, [this, name, input](const QString& text) {
            sheet_.setText(name, fromQt(text));
            inputEditedSinceSolve_ = inputEditedSinceSolve_ || input;
        });
        // A field's own menu (undo, cut, paste) gets the design's commands too.
        (*it)->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(*it, &QWidget::customContextMenuRequested, this,
                [this, field = *it](QPoint at) { showDesignMenu(field, field->mapToGlobal(at)); });
    }
    connect(fields_.value(QString::fromUtf8(nameOf(Field::Alpha))), &QLineEdit::textEdited, this, &Form1::alpha_Change);
    connect(fields_.value(QString::fromUtf8(nameOf(Field::Cl))), &QLineEdit::textEdited, this, &Form1::cl_Change);

    options_ = new QButtonGroup(this);
    options_->addButton(buttons_.value(QStringLiteral("Option1")), static_cast<int>(UnitSystem::SI));
    options_->addButton(buttons_.value(QStringLiteral("Option2")), static_cast<int>(UnitSystem::Metric));
    options_->addButton(buttons_.value(QStringLiteral("Option4")), static_cast<int>(UnitSystem::Imperial));
    connect(options_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) {
            sheet_.setSelectedSystem(static_cast<UnitSystem>(id));
            showSelectedSystem();
        }
    });
    connect(buttons_.value(QStringLiteral("Option1")), &QAbstractButton::clicked, this, &Form1::Option1_Click);
    connect(buttons_.value(QStringLiteral("Option2")), &QAbstractButton::clicked, this, &Form1::Option2_Click);
    connect(buttons_.value(QStringLiteral("Option4")), &QAbstractButton::clicked, this, &Form1::Option4_Click);

    connect(buttons_.value(QStringLiteral("Command1")), &QAbstractButton::clicked, this, &Form1::Command1_Click);
    connect(buttons_.value(QStringLiteral("Command2")), &QAbstractButton::clicked, this, &Form1::Command2_Click);
    connect(timer2_, &QTimer::timeout, this, &Form1::Timer2_Timer);
    timer2_->start();
}

void Form1::showSheet()
{
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) {
        const QString text = toQt(sheet_.text(fromQt(it.key())));
        if ((*it)->text() != text)
            (*it)->setText(text);
    }
    for (Caption caption : kChangingCaptions)
        labels_.value(QString::fromUtf8(nameOf(caption)))->setText(toQt(sheet_.text(caption)));
    // Captions change with the unit system, so the names a screen reader
    // speaks follow them.
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it)
        (*it)->setAccessibleName(fieldCaption(it.key()));
    showSelectedSystem();
}

void Form1::showSelectedSystem()
{
    if (QAbstractButton* option = options_->button(static_cast<int>(sheet_.selectedSystem())))
        option->setChecked(true);
    // Tab enters the group at the option that is on; the arrow keys move
    // within it.
    for (QAbstractButton* option : options_->buttons())
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

QString Form1::fieldCaption(const QString& field) const
{
    const FieldCaption caption = captionOfField(field);
    if (caption.label.isEmpty())
        return field;
    const QString text = labels_.value(caption.label)->text().trimmed();
    return caption.station ? QStringLiteral("%1, station %2").arg(text).arg(caption.station) : text;
}

QString Form1::failureMessage(const Failure& failure) const
{
    const QString caption = fieldCaption(QString::fromUtf8(nameOf(failure.field)));
    QString what;
    switch (failure.kind) {
    case FailureKind::NotANumber:
        what = tr("The field \"%1\" holds no number.").arg(caption);
        break;
    case FailureKind::DivisionByZero:
        what = tr("Division by zero while computing \"%1\".").arg(caption);
        break;
    case FailureKind::Overflow:
        what = tr("A figure is too large while computing \"%1\".").arg(caption);
        break;
    }
    return what + QStringLiteral("\n\n") + tr("Nothing was changed.");
}

// The operation has already put the sheet back as it was; what is left is to
// tell the user and take them to the field at fault.
void Form1::report(const Failure& failure)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"), failureMessage(failure), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("failureMessage"));
    box.exec();
    if (QLineEdit* field = fields_.value(QString::fromUtf8(nameOf(failure.field))); field && field->isVisible()) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void Form1::Command1_Click()
{
    solveAndShow();
}

bool Form1::solveAndShow()
{
    const auto failure = solve(sheet_);
    showSheet();
    if (failure) {
        report(*failure);
        return false;
    }
    inputEditedSinceSolve_ = false;
    return true;
}

void Form1::switchUnits(UnitSystem target)
{
    const auto failure = switchUnitSystem(sheet_, target);
    if (failure) {
        // The figures are still in the system `units` names: so is the option.
        if (const auto inForce = systemInForce(sheet_))
            sheet_.setSelectedSystem(*inForce);
    }
    showSheet();
    if (failure)
        report(*failure);
}

void Form1::Option1_Click()
{
    switchUnits(UnitSystem::SI);
}

void Form1::Option2_Click()
{
    switchUnits(UnitSystem::Metric);
}

void Form1::Option4_Click()
{
    switchUnits(UnitSystem::Imperial);
}

void Form1::alpha_Change()
{
    markAirfoilUserDefined(sheet_);
    showSheet();
}

void Form1::cl_Change()
{
    markAirfoilUserDefined(sheet_);
    showSheet();
}

void Form1::Form_Load()
{
    if (help_)
        help_->navigate(helpPageAddress());
}

void Form1::Command2_Click()
{
    if (!help_)
        return;
    help_->show();
    help_->navigate(helpPageAddress());
}

void Form1::Timer2_Timer()
{
    if (help_)
        help_->show();
    show();
    raise();
    activateWindow();
    // A failure message still open stays in front of the window it is about.
    if (QWidget* message = QApplication::activeModalWidget()) {
        message->raise();
        message->activateWindow();
    }
    timer2_->stop();
}

DesignExport& Form1::designExport()
{
    if (!export_) {
        export_ = new DesignExport(
            this, sheet_, [this] { return inputEditedSinceSolve_; }, [this] { return solveAndShow(); });
    }
    return *export_;
}

void Form1::showDesignMenu(QWidget* under, QPoint globalPos)
{
    QMenu* menu = nullptr;
    if (auto* field = qobject_cast<QLineEdit*>(under)) {
        menu = field->createStandardContextMenu();
        menu->addSeparator();
    } else {
        menu = new QMenu(this);
    }
    menu->setObjectName(QStringLiteral("designMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addActions(designExport().actions());
    menu->popup(globalPos);
}

void Form1::contextMenuEvent(QContextMenuEvent* event)
{
    showDesignMenu(this, event->globalPos());
}

// The design's shortcuts, read here rather than registered as shortcuts, so
// that nothing of the export exists until it is used. The fields pass on the
// keys they do not use.
void Form1::keyPressEvent(QKeyEvent* event)
{
    const QKeySequence keys(event->keyCombination());
    if (const auto command = DesignExport::commandForKeys(keys)) {
        designExport().run(*command);
        return;
    }
    if (keys == QKeySequence(Qt::SHIFT | Qt::Key_F10) || keys == QKeySequence(Qt::Key_Menu)) {
        QWidget* under = focusWidget() ? focusWidget() : this;
        showDesignMenu(under, under->mapToGlobal(QPoint(0, under->height())));
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form1::paintEvent(QPaintEvent*)
{
    if (backgroundLoading_.valid())
        background_ = QPixmap::fromImage(backgroundLoading_.get());
    QPainter painter(this);
    // Drawn at its own size from the top-left corner, never stretched; the
    // strips right of and below it show the window's colour.
    const QRect picture(QPoint(0, 0), background_.deviceIndependentSize().toSize());
    for (const QRect& strip : QRegion(rect()) - picture)
        painter.fillRect(strip, kInactiveTitle);
    painter.drawPixmap(0, 0, background_);
}

}  // namespace tivora
