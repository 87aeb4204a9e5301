// Making the window's controls from the control table and connecting each to
// the sheet and its handler.

#include "control_table.h"
#include "fonts_and_pictures.h"
#include "main_window.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace tivora {

namespace {

// Three pixels between an option's mark and its caption.
class NarrowOptionGap : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        return metric == PM_RadioButtonLabelSpacing ? 3 : QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

void Form1::buildControls()
{
    setPalette(drawnPalette());
    options_ = new QButtonGroup(this);
    std::vector<std::pair<int, QWidget*>> tabStops;
    for (const ControlEntry& entry : mainWindowControls()) {
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case ControlKind::TextField:
        case ControlKind::HiddenField:
            widget = buildField(entry);
            break;
        case ControlKind::Label:
            widget = buildLabel(entry);
            break;
        case ControlKind::Option:
            widget = buildOption(entry);
            break;
        case ControlKind::PictureButton:
            widget = buildPictureButton(entry);
            break;
        case ControlKind::Timer:
            timer2_ = new QTimer(this);
            timer2_->setObjectName(controlName(entry.id));
            timer2_->setInterval(3000);
            connect(timer2_, &QTimer::timeout, this, entry.handler);
            continue;
        }
        dressControl(widget, entry);
        if (entry.kind != ControlKind::Label && entry.kind != ControlKind::HiddenField)
            tabStops.emplace_back(entry.tab, widget);
    }

    std::sort(tabStops.begin(), tabStops.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i)
        QWidget::setTabOrder(tabStops[i - 1].second, tabStops[i].second);
}

QWidget* Form1::buildField(const ControlEntry& entry)
{
    const Field field = std::get<Field>(entry.id);
    // Made with its text, so that it is laid out once.
    auto* edit = new QLineEdit(QString::fromStdString(sheet_.text(field)), this);
    showFromStart(edit);
    if (entry.buttonTextColour) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Text, palette.color(QPalette::ButtonText));
        edit->setPalette(palette);
    }
    edit->installEventFilter(this);
    // textChanged, not textEdited: an assistive tool or anything else that
    // sets the text must reach the sheet as typing does; the window's own
    // writes (showing_) do not echo back.
    connect(edit, &QLineEdit::textChanged, this, [this, edit, field, handler = entry.handler](const QString& text) {
        describe(edit);
        if (showing_)
            return;
        sheet_.setText(field, text.toStdString());
        // Outputs and stations are editable too: a figure typed there is no
        // longer what Solve! computed.
        inputEditedSinceSolve_ = true;
        if (handler)
            (this->*handler)();
    });
    // A field's own menu (undo, cut, paste) gets the design's commands too.
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QWidget::customContextMenuRequested, this,
            [this, edit](QPoint at) { showDesignMenu(edit, edit->mapToGlobal(at)); });
    if (entry.kind == ControlKind::HiddenField) {
        edit->setFocusPolicy(Qt::NoFocus);
        edit->hide();
    }
    fields_[static_cast<int>(field)] = edit;
    return edit;
}

QWidget* Form1::buildLabel(const ControlEntry& entry)
{
    auto* label = new QLabel(entry.caption, this);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignTop | (entry.centred ? Qt::AlignHCenter : Qt::AlignLeft));
    labels_[static_cast<int>(std::get<Caption>(entry.id))] = label;
    return label;
}

QWidget* Form1::buildOption(const ControlEntry& entry)
{
    const UnitSystem system = std::get<UnitSystem>(entry.id);
    auto* option = new QRadioButton(entry.caption, this);
    // The style's default gap after the mark would cut "Imperial" off. Set
    // by a style, not a style sheet, which would keep the option from the
    // window's palette.
    auto* style = new NarrowOptionGap;
    style->setParent(option);
    option->setStyle(style);
    options_->addButton(option, static_cast<int>(system));
    // An option turned on by any route (the mouse, the arrow keys, an
    // assistive tool's toggle) switches the units; the window's own setting
    // of the option that a failed switch leaves in force does not.
    connect(option, &QAbstractButton::toggled, this, [this, system, handler = entry.handler](bool on) {
        if (on && !showing_) {
            sheet_.setSelectedSystem(system);
            (this->*handler)();
        }
    });
    return option;
}

QWidget* Form1::buildPictureButton(const ControlEntry& entry)
{
    auto* button = new QPushButton(this);
    button->setAutoDefault(true);  // Enter presses a focused button, as Space does
    const QImage picture = readPicture(entry.picture, sharp_);
    button->setIcon(QPixmap::fromImage(picture));
    button->setIconSize(picture.deviceIndependentSize().toSize());
    button->setAccessibleName(entry.accessibleName);
    connect(button, &QAbstractButton::clicked, this, entry.handler);
    buttons_[static_cast<int>(std::get<Button>(entry.id))] = button;
    return button;
}

// What every kind shares: name, place, typeface and ground.
void Form1::dressControl(QWidget* widget, const ControlEntry& entry)
{
    widget->setObjectName(controlName(entry.id));
    widget->setGeometry(entry.rect);
    if (entry.font != FontRole::Window)  // the others take the window's
        widget->setFont(fontFor(entry.font));
    if (entry.back != BackColour::Standard) {
        QPalette palette = widget->palette();
        const QColor back = entry.back == BackColour::InactiveTitle ? kInactiveTitle : palette.color(QPalette::Light);
        palette.setColor(QPalette::Window, back);
        palette.setColor(QPalette::Button, back);
        widget->setPalette(palette);
        widget->setAutoFillBackground(true);
    }
}

}  // namespace tivora
