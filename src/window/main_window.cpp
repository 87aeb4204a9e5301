#include "main_window.h"

#include "control_table.h"
#include "export/design_export.h"
#include "help_access.h"
#include "solve/physical_sense.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <memory>

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

// The tint of an input that makes no physical sense: a pale amber that keeps
// black figures readable.
const QColor kWarningTint(255, 228, 160);
// Calls `then` once `window` is on screen, or once it is hidden or gone
// before that; then goes away.
class WhenExposed : public QObject {
public:
    WhenExposed(QWindow* window, std::function<void()> then) : QObject(window), then_(std::move(then))
    {
        window->installEventFilter(this);
    }
    ~WhenExposed() override { done(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) ||
            event->type() == QEvent::Hide) {
            watched->removeEventFilter(this);
            done();
            deleteLater();
        }
        return false;
    }

private:
    void done()
    {
        if (then_)
            std::exchange(then_, nullptr)();
    }

    std::function<void()> then_;
};

QString toQt(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string fromQt(const QString& text)
{
    return text.toStdString();
}

QString quoted(const QString& text)
{
    return QStringLiteral("\"%1\"").arg(text);
}

// What an input is, in words that stay true whatever unit system is shown.
QString inputNoun(Field field)
{
    switch (field) {
    case Field::Tsr:
        return QObject::tr("the tip speed ratio");
    case Field::Radius:
        return QObject::tr("the blade radius");
    case Field::WindSpeed:
        return QObject::tr("the wind speed");
    case Field::Cl:
        return QObject::tr("the lift coefficient Cl");
    default:
        return QString::fromUtf8(nameOf(field));
    }
}

// "A", "A" and "B", "A", "B" and "C".
QString listed(const QStringList& items)
{
    if (items.size() < 2)
        return items.value(0);
    return QObject::tr("%1 and %2").arg(items.mid(0, items.size() - 1).join(QStringLiteral(", ")), items.last());
}

// "In "0,35", use a full stop as the decimal point."
QString decimalPointHint(const QString& text, const NumberFormat& format)
{
    return format.decimalSeparator == ","
               ? QObject::tr("In %1, use a comma as the decimal point.").arg(quoted(text))
               : QObject::tr("In %1, use a full stop as the decimal point.").arg(quoted(text));
}

// Whether the whole text shows in the box, measured as QLineEdit lays it
// out: the contents rectangle less the text margins and a two-pixel margin
// each side, with room for the cursor.
bool textFits(const QLineEdit* edit)
{
    QStyleOptionFrame frame;
    frame.initFrom(edit);
    frame.rect = edit->rect();
    frame.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, edit) : 0;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &frame, edit).marginsRemoved(edit->textMargins());
    const int needed = QFontMetrics(edit->font()).horizontalAdvance(edit->text()) + 2;
    return needed <= contents.width() - 4;
}

// Shows a text from its first character, as a figure is read.
void showFromStart(QLineEdit* edit)
{
    edit->setCursorPosition(0);
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
    bindKeys();
    showSheet();
    buttons_.value(QStringLiteral("Command1"))->setFocus();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    options_ = new QButtonGroup(this);
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const ControlSpec& entry : mainWindowControls()) {
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case ControlKind::TextField:
        case ControlKind::HiddenField: {
            // Made with its text, so that it is laid out once.
            auto* edit = new QLineEdit(toQt(sheet_.text(fromQt(entry.name))), this);
            showFromStart(edit);
            if (entry.buttonTextColour) {
                QPalette palette = edit->palette();
                palette.setColor(QPalette::Text, palette.color(QPalette::ButtonText));
                edit->setPalette(palette);
            }
            edit->installEventFilter(this);
            // textChanged, not textEdited: an assistive tool or anything else
            // that sets the text must reach the sheet as typing does; the
            // window's own writes (showing_) do not echo back.
            connect(
                edit, &QLineEdit::textChanged, this,
                [this, edit, field = *fieldNamed(fromQt(entry.name)), handler = entry.handler](const QString& text) {
                    describe(edit);
                    if (showing_)
                        return;
                    sheet_.setText(field, fromQt(text));
                    // Outputs and stations are editable too: a figure typed
                    // there is no longer what Solve! computed.
                    inputEditedSinceSolve_ = true;
                    if (handler)
                        (this->*handler)();
                });
            // A field's own menu (undo, cut, paste) gets the design's commands too.
            edit->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(edit, &QWidget::customContextMenuRequested, this,
                    [this, edit](QPoint at) { showDesignMenu(edit, edit->mapToGlobal(at)); });
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
            options_->addButton(option, static_cast<int>(*entry.system));
            // An option turned on by any route (the mouse, the arrow keys, an
            // assistive tool's toggle) switches the units; the window's own
            // setting of the option that a failed switch leaves in force does not.
            connect(option, &QAbstractButton::toggled, this,
                    [this, system = *entry.system, handler = entry.handler](bool on) {
                        if (on && !showing_) {
                            sheet_.setSelectedSystem(system);
                            (this->*handler)();
                        }
                    });
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
            button->setAccessibleName(entry.accessibleName);
            connect(button, &QAbstractButton::clicked, this, entry.handler);
            buttons_.insert(entry.name, button);
            widget = button;
            break;
        }
        case ControlKind::Timer:
            timer2_ = new QTimer(this);
            timer2_->setObjectName(entry.name);
            timer2_->setInterval(3000);
            connect(timer2_, &QTimer::timeout, this, entry.handler);
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
}

void Form1::bindControls()
{
    timer2_->start();
}

// Keys beyond what the controls do by themselves.
void Form1::bindKeys()
{
    auto* solveButton = findChild<QAbstractButton*>(QStringLiteral("Command1"));
    auto* helpButton = findChild<QAbstractButton*>(QStringLiteral("Command2"));
    // Enter in any field is a press of Solve!, so the keyboard never has to
    // leave the figures.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        connect(field, &QLineEdit::returnPressed, solveButton, &QAbstractButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, helpButton, &QAbstractButton::click);
    // From either window: the help window has no menu to quit from.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setContext(Qt::ApplicationShortcut);
    connect(quit, &QShortcut::activated, qApp, &QApplication::closeAllWindows);
}

void Form1::showSheet()
{
    const QScopedValueRollback<bool> showing(showing_, true);
    for (auto it = fields_.cbegin(); it != fields_.cend(); ++it) {
        const QString text = toQt(sheet_.text(fromQt(it.key())));
        if ((*it)->text() != text) {
            (*it)->setText(text);
            showFromStart(*it);
        }
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

QString Form1::fieldCaption(Field field) const
{
    return fieldCaption(QString::fromUtf8(nameOf(field)));
}

QString Form1::failureMessage(const Failure& failure) const
{
    const QString caption = quoted(fieldCaption(failure.field));
    QStringList inputs;
    for (Field input : failure.inputs)
        inputs << quoted(fieldCaption(input));
    QString what;
    switch (failure.kind) {
    case FailureKind::NotANumber:
        what = tr("The field %1 holds no number.").arg(caption);
        if (const std::string& text = sheet_.text(failure.field);
            readsWithTheOtherDecimalSeparator(text, sheet_.numberFormat()))
            what += u' ' + decimalPointHint(toQt(text), sheet_.numberFormat());
        break;
    case FailureKind::TooLargeToRead:
        what = tr("The field %1 holds a figure too large to compute with.").arg(caption);
        break;
    case FailureKind::DivisionByZero:
        if (!failure.zeroField) {
            what = tr("Division by zero while computing %1: the figures from %2 make its divisor zero.")
                       .arg(caption, listed(inputs));
        } else if (infoOf(*failure.zeroField).typedByUser) {
            what = tr("Division by zero while computing %1: it divides by %2, which comes to zero.")
                       .arg(caption, quoted(fieldCaption(*failure.zeroField)));
        } else {
            what = tr("Division by zero while computing %1: it divides by %2, which comes to zero from %3.")
                       .arg(caption, quoted(fieldCaption(*failure.zeroField)), listed(inputs));
        }
        break;
    case FailureKind::Overflow:
        what = inputs.isEmpty() ? tr("A figure is too large while computing %1.").arg(caption)
                                : tr("A figure is too large while computing %1 from %2.").arg(caption, listed(inputs));
        break;
    }
    return what + QStringLiteral("\n\n") + tr("Nothing was changed.");
}

// The operation has already put the sheet back as it was; what is left is to
// tell the user and take them to an input they can change, never to a
// result that the next solve overwrites.
void Form1::report(const Failure& failure)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"), failureMessage(failure), QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("failureMessage"));
    box.exec();
    const Field target = failure.inputs.empty() ? failure.field : failure.inputs.front();
    if (QLineEdit* field = fields_.value(QString::fromUtf8(nameOf(target))); field && field->isVisible()) {
        field->setFocus(Qt::OtherFocusReason);
        // All selected, to be typed over, and shown from its first digit.
        field->setSelection(int(field->text().size()), -int(field->text().size()));
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
    markSenselessInputs();
    inputEditedSinceSolve_ = false;
    return true;
}

// Marks, never blocks: the figures stand as computed, and the user decides.
void Form1::markSenselessInputs()
{
    for (Field input : kInputFields) {
        QLineEdit* edit = fields_.value(QString::fromUtf8(nameOf(input)));
        QPalette palette = edit->palette();
        if (brokenSenseRule(sheet_, input)) {
            marks_.insert(edit, senseRuleText(input));
            palette.setColor(QPalette::Base, kWarningTint);
        } else {
            marks_.remove(edit);
            palette.setColor(QPalette::Base, this->palette().color(QPalette::Base));
        }
        edit->setPalette(palette);
        describe(edit);
    }
}

QString Form1::senseRuleText(Field field) const
{
    const QLocale locale;
    switch (*senseRuleOf(field)) {
    case SenseRule::WholeAtLeastOne:
        return tr("No physical sense: a rotor has a whole number of blades, at least 1.");
    case SenseRule::AboveZero:
        return tr("No physical sense: %1 must be above 0.").arg(inputNoun(field));
    case SenseRule::BetzLimit:
        return tr("No physical sense: the blade efficiency must be above 0 and at most %1, the Betz limit; "
                  "no rotor takes more of the wind's power.")
            .arg(locale.toString(kBetzLimit));
    case SenseRule::UnstalledAngle:
        return tr("No physical sense: the angle of attack must lie from %1\u00b0 to %2\u00b0; beyond that a thin "
                  "airfoil has stalled.")
            .arg(QString(locale.toString(kLowestAlpha)).replace(QLatin1Char('-'), QChar(0x2212)),
                 locale.toString(kHighestAlpha));
    }
    return {};
}

// The tooltip and the accessible description: the rule a marked input
// breaks, and the whole text where the box shows only part of it.
void Form1::describe(QLineEdit* edit)
{
    QStringList parts;
    if (const auto mark = marks_.constFind(edit); mark != marks_.cend())
        parts << *mark;
    if (!textFits(edit))
        parts << edit->text();
    const QString description = parts.join(QLatin1Char('\n'));
    edit->setToolTip(description);
    edit->setAccessibleDescription(description);
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
    comeToFrontOnceOthersAreUp();
    timer2_->stop();
}

// A field that loses the focus shows its figure from the first digit again,
// whatever part of it the user was editing.
bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A context menu or another window takes the focus only for a while.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            showFromStart(static_cast<QLineEdit*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

// A window manager puts a window on screen some time after show() and gives
// it the focus then, in front of a main window raised before. So the main
// window comes to the front once every other window is really up; Qt keeps
// its focus where it was, in the field the user may be typing in.
void Form1::comeToFrontOnceOthersAreUp()
{
    auto comeToFront = [window = QPointer<Form1>(this)] {
        if (!window)
            return;
        window->raise();
        window->activateWindow();
        // A failure message still open stays in front of the window it is about.
        if (QWidget* message = QApplication::activeModalWidget()) {
            message->raise();
            message->activateWindow();
        }
    };
    std::vector<QWindow*> coming;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != this && other->isVisible() && other->windowHandle() && !other->windowHandle()->isExposed())
            coming.push_back(other->windowHandle());
    }
    if (coming.empty()) {
        comeToFront();
        return;
    }
    // Once the last of them is up.
    auto left = std::make_shared<std::size_t>(coming.size());
    for (QWindow* window : coming)
        new WhenExposed(window, [left, comeToFront] {
            if (--*left == 0)
                comeToFront();
        });
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
