// What the window does beyond its handlers: the design's menu and
// shortcuts, the keys that reach Solve! and Help!, and the background.

#include "export/design_export.h"
#include "export/file_dialog.h"
#include "fonts_and_pictures.h"
#include "main_window.h"
#include "performance_window/performance_window.h"
#include "sections_window/sections_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>

namespace tivora {

namespace {
QKeySequence performanceKeys()
{
    return QKeySequence(Qt::CTRL | Qt::Key_R);
}

QKeySequence sectionsKeys()
{
    return QKeySequence(Qt::CTRL | Qt::Key_B);
}
}  // namespace

// Keys beyond what the controls do by themselves.
void Form1::bindKeys()
{
    // Enter in any field is a press of Solve!, so the keyboard never has to
    // leave the figures.
    for (QLineEdit* edit : fields_)
        connect(edit, &QLineEdit::returnPressed, button(Button::Solve), &QAbstractButton::click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, button(Button::Help),
            &QAbstractButton::click);
    // From either window: the help window has no menu to quit from.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    quit->setContext(Qt::ApplicationShortcut);
    // The main window first: when the user keeps a changed design, the
    // other windows stay open too.
    connect(quit, &QShortcut::activated, this, [this] {
        if (isVisible() && !close())
            return;
        QApplication::closeAllWindows();
    });
}

// A field that loses the focus shows its figure from the first digit again,
// whatever part of it the user was editing.
bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    // A file dropped on a field opens, as on the rest of the window, rather
    // than landing in the field as its address.
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData() && drag->mimeData()->hasUrls()) {
            if (event->type() == QEvent::DragEnter)
                dragEnterEvent(static_cast<QDragEnterEvent*>(event));
            else
                drag->setAccepted(true);
            return true;
        }
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData() && drop->mimeData()->hasUrls()) {
            dropEvent(drop);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A context menu or another window takes the focus only for a while.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            showFromStart(static_cast<QLineEdit*>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

DesignExport& Form1::designExport()
{
    if (!export_) {
        export_ = new DesignExport(
            this, sheet_, [this] { return inputEditedSinceSolve_; }, [this] { return solveAndShow(); });
        export_->designSettings = [this] { return settingsToSave(); };
        export_->designSaved = [this] { markSaved(); };
        export_->performanceSheet = [this] {
            return performance_ ? performance_->exportSheet() : std::optional<PerformanceSheet>();
        };
        export_->carvingSheet = [this] {
            return sections_ ? sections_->carvingSheet() : std::optional<CarvingSheet>();
        };
    }
    return *export_;
}

void Form1::showPerformance()
{
    if (!performance_) {
        makeWithOpenedSettings([this] {
            performance_ = new PerformanceWindow(this, sheet_,
                                                 [this] { return resultsMayBeStale(sheet_, inputEditedSinceSolve_); });
            // Every change of the design shows in a field or the options;
            // Solve! also ends the results' staleness when no figure changes.
            for (QLineEdit* edit : fields_)
                connect(edit, &QLineEdit::textChanged, performance_, &PerformanceWindow::designChanged);
            for (QAbstractButton* option : options_->buttons())
                connect(option, &QAbstractButton::toggled, performance_, &PerformanceWindow::designChanged);
            connect(button(Button::Solve), &QAbstractButton::clicked, performance_, &PerformanceWindow::designChanged);
            // Its files are usually kept beside the design's.
            performance_->designFolder = [] { return startFolder(); };
            // The rotor is analysed as the Blade Sections window carves it,
            // or as the design's settings would, before that window is made.
            performance_->carvedBlade = [this] {
                performance::AnalysisInputs::Carved carved;
                carved.settings = sections_ ? sections_->settings() : ownedSettings(openedSettings_, SectionsSettings);
                if (sections_)
                    carved.coordinates = sections_->coordinates();
                return carved;
            };
            performance_->applySettings(ownedSettings(openedSettings_, PerformanceSettings));
        });
    }
    performance_->show();
    performance_->raise();
    performance_->activateWindow();
}

void Form1::showSections()
{
    if (!sections_) {
        makeWithOpenedSettings([this] {
            sections_ =
                new SectionsWindow(this, sheet_, [this] { return resultsMayBeStale(sheet_, inputEditedSinceSolve_); });
            for (QLineEdit* edit : fields_)
                connect(edit, &QLineEdit::textChanged, sections_, &SectionsWindow::designChanged);
            for (QAbstractButton* option : options_->buttons())
                connect(option, &QAbstractButton::toggled, sections_, &SectionsWindow::designChanged);
            connect(button(Button::Solve), &QAbstractButton::clicked, sections_, &SectionsWindow::designChanged);
            // The trim, the wood and the section carve the blade the rotor is analysed as.
            connect(sections_, &SectionsWindow::settingsChanged, this, [this] {
                if (performance_)
                    performance_->designChanged();
            });
            // The airfoil's name is no field: it changes with Cl and α, and
            // an opened design hands the window its settings, which carves
            // again.
            sections_->applySettings(ownedSettings(openedSettings_, SectionsSettings));
        });
    }
    sections_->show();
    sections_->raise();
    sections_->activateWindow();
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
    menu->addAction(openAction());
    menu->addActions(designExport().actions());
    QAction* performance = menu->addAction(tr("Rotor Performance…"), this, &Form1::showPerformance);
    performance->setObjectName(QStringLiteral("Rotor Performance"));
    performance->setShortcut(performanceKeys());
    performance->setShortcutVisibleInContextMenu(true);
    performance->setShortcutContext(Qt::WidgetShortcut);
    QAction* sections = menu->addAction(tr("Blade Sections…"), this, &Form1::showSections);
    sections->setObjectName(QStringLiteral("Blade Sections"));
    sections->setShortcut(sectionsKeys());
    sections->setShortcutVisibleInContextMenu(true);
    sections->setShortcutContext(Qt::WidgetShortcut);
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
    if (keys == QKeySequence(Qt::CTRL | Qt::Key_O)) {
        openDesignFromChooser();
        return;
    }
    if (const auto command = DesignExport::commandForKeys(keys)) {
        designExport().run(*command);
        return;
    }
    if (keys == performanceKeys()) {
        showPerformance();
        return;
    }
    if (keys == sectionsKeys()) {
        showSections();
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
