// Form1's handlers, and the sheet shown in its controls after each of them.

#include "bring_to_front.h"
#include "fonts_and_pictures.h"
#include "main_window.h"
#include "messages.h"
#include "modules/help_access.h"
#include "performance_window/performance_window.h"
#include "solve/physical_sense.h"
#include "solve/solve.h"
#include "units/unit_switch.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTimer>

// The background's pixels are an object of their own in the static library,
// linked only when named here (see src/CMakeLists.txt); Qt's macro cannot
// stand inside a namespace.
static void linkBackgroundPixels()
{
    Q_INIT_RESOURCE(raw_pictures);
}

namespace tivora {

namespace {

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

}  // namespace

NumberFormat userNumberFormat()
{
    const QLocale locale;
    return {QString(locale.decimalPoint()).toStdString(), QString(locale.groupSeparator()).toStdString()};
}

Form1::Form1(HelpAccess* help, QWidget* parent) : QWidget(parent), sheet_(userNumberFormat()), help_(help)
{
    sharp_ = QGuiApplication::primaryScreen() && QGuiApplication::primaryScreen()->devicePixelRatio() > 1;
    linkBackgroundPixels();
    backgroundLoading_ = std::async(
        std::launch::async, [sharp = sharp_] { return readPicture(QStringLiteral(":/assets/background.ppm"), sharp); });
    setObjectName(QString::fromUtf8(kMainWindowName));
    setWindowTitle(QStringLiteral("Kestrane Engineering's"));
    setWindowIcon(iconOf({QStringLiteral(":/assets/flag-16.png"), QStringLiteral(":/assets/flag-32.png")}, sharp_));
    setFont(windowFont());
    // For a top-level window the geometry is the client area's.
    setGeometry(80, 53, 673, 495);
    setFixedSize(673, 495);

    buildControls();
    timer2_->start();
    bindKeys();
    showSheet();
    button(Button::Solve)->setFocus();
    savedSheet_ = sheet_;
    setAcceptDrops(true);
    // Every window's inputs go into the design file; before a window is
    // made, those of the design last opened stand for its own.
    designSettings = [this] { return gatheredSettings(); };
    openedDesignSettings = [this](const DesignSettings& settings) { handOutSettings(settings); };
}

Form1::~Form1() = default;

void Form1::showFromStart(QLineEdit* edit)
{
    edit->setCursorPosition(0);
}

void Form1::showSheet()
{
    const QScopedValueRollback<bool> showing(showing_, true);
    for (Field f : kAllFields) {
        QLineEdit* edit = field(f);
        const QString text = QString::fromStdString(sheet_.text(f));
        if (edit->text() != text) {
            edit->setText(text);
            showFromStart(edit);
        }
    }
    for (Caption caption : kChangingCaptions)
        labels_[static_cast<int>(caption)]->setText(QString::fromStdString(sheet_.text(caption)));
    // Captions change with the unit system, so the names a screen reader
    // speaks follow them.
    for (Field f : kAllFields)
        field(f)->setAccessibleName(fieldCaption(sheet_, f));
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

// The operation has already put the sheet back as it was; what is left is to
// tell the user and take them to an input they can change, never to a
// result that the next solve overwrites.
void Form1::report(const Failure& failure)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Tivora"), failureMessage(failure, sheet_), QMessageBox::Ok,
                    this);
    box.setObjectName(QStringLiteral("failureMessage"));
    box.exec();
    const Field target = failure.inputs.empty() ? failure.field : failure.inputs.front();
    if (QLineEdit* edit = field(target); edit->isVisible()) {
        edit->setFocus(Qt::OtherFocusReason);
        // All selected, to be typed over, and shown from its first digit.
        edit->setSelection(int(edit->text().size()), -int(edit->text().size()));
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
        QLineEdit* edit = field(input);
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
    comeToFrontOnceOthersAreUp(this);
    timer2_->stop();
}

}  // namespace tivora
