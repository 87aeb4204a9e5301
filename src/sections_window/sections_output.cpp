// What the Blade Sections window shows and hands on: the drawing, the
// table, the gauges and the SVG, the settings the design file keeps.

#include "export/design_page.h"
#include "export/document_titles.h"
#include "export/file_dialog.h"
#include "export/saved_file.h"
#include "export/section_gauges.h"
#include "sections_view.h"
#include "sections_window.h"
#include "workshop/carving_table.h"
#include "workshop/coordinates_file.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QScreen>
#include <QTableWidget>

namespace tivora {

using namespace workshop;

namespace {

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

// A column's caption on lines of a dozen characters or so, so that ten
// columns fit the table's width.
QString onShortLines(const QString& caption)
{
    QStringList lines;
    for (const QString& word : caption.split(u' ')) {
        if (!lines.isEmpty() && lines.back().size() + 1 + word.size() <= 14)
            lines.back() += u' ' + word;
        else
            lines << word;
    }
    return lines.join(u'\n');
}

}  // namespace

QStringList SectionsWindow::notes() const
{
    return carving_ ? carvingNotes(trimOf(inputs_), shownSystem_, sheet_.numberFormat()) : QStringList();
}

void SectionsWindow::showCarving()
{
    view_->setFigures(figures());
    tableView_->setRowCount(0);
    if (!table_) {
        summary_->clear();
        tableView_->setColumnCount(0);
        return;
    }
    tableView_->setColumnCount(static_cast<int>(table_->header.size()));
    QStringList header;
    for (const std::string& cell : table_->header)
        header << onShortLines(q(cell));
    tableView_->setHorizontalHeaderLabels(header);
    for (const auto& row : table_->rows) {
        const int r = tableView_->rowCount();
        tableView_->insertRow(r);
        for (std::size_t c = 0; c < row.size(); ++c) {
            auto* item = new QTableWidgetItem(q(row[c]));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tableView_->setItem(r, static_cast<int>(c), item);
        }
    }
    QStringList facts;
    for (const auto& figure : table_->figures)
        facts << QStringLiteral("%1 %2%3").arg(q(figure.caption), q(figure.value),
                                               figure.unit.empty() ? QString() : u' ' + q(figure.unit));
    summary_->setText(facts.mid(0, 4).join(QStringLiteral(" · ")) + u'\n' + facts.mid(4).join(QStringLiteral(" · ")) +
                      u'\n' + notes().join(u'\n'));
}

std::vector<SectionFigure> SectionsWindow::figures() const
{
    if (!carving_ || !table_)
        return {};
    return sectionFigures(*carving_, *table_);
}

std::optional<CarvingSheet> SectionsWindow::carvingSheet() const
{
    if (!table_)
        return std::nullopt;
    return CarvingSheet{*table_, notes()};
}

void SectionsWindow::copyTable()
{
    if (!table_)
        return;
    auto* data = new QMimeData;
    data->setText(carvingTableText(*table_));
    data->setHtml(carvingTableHtml(*table_));
    QGuiApplication::clipboard()->setMimeData(data);
}

void SectionsWindow::loadCoordinates(const QString& path)
{
    const auto read = readCoordinatesFile(QFile::encodeName(path).toStdString());
    const QString name = QFileInfo(path).fileName();
    if (const auto* problem = std::get_if<CoordinatesProblem>(&read)) {
        say(tr("\"%1\" is no section's coordinates: %2. The section was not changed.")
                .arg(name, q(describe(*problem))));
        return;
    }
    fileProfile_ = std::get<Profile>(read);
    if (fileProfile_->name.empty())
        fileProfile_->name = name.toStdString();
    inputs_.coordinatesFile = name.toStdString();
    say({});
    inputsChanged();
}

DesignSettings SectionsWindow::settings() const
{
    return settingsOf(inputs_);
}

void SectionsWindow::applySettings(const DesignSettings& settings)
{
    inputs_ = workshopFrom(settings);
    fileProfile_.reset();
    inputsChanged();
    if (!inputs_.coordinatesFile.empty())
        say(tr("The design was saved with the section from \"%1\": load it again with \"Coordinates File…\"; "
               "until then the main window's airfoil is used.")
                .arg(q(inputs_.coordinatesFile)));
}

void SectionsWindow::saveGauges()
{
    const std::vector<SectionFigure> drawn = figures();
    const QPageSize paper = systemPaper();
    if (const QString problem = gaugesProblem(drawn, paper); !problem.isEmpty()) {
        say(problem + QStringLiteral(" ") + tr("Nothing was written."));
        return;
    }
    const QString path = chooseFileToSave(tr("Save Gauges as PDF"),
                                          QDir(startFolder()).filePath(QStringLiteral("tivora-section-gauges.pdf")),
                                          QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    rememberFolderOf(path);
    const QString reason = writeWholeFile(
        path, [&](QIODevice& file) { return writeSectionGaugesPdf(drawn, paper, gaugesTitle(), &file); });
    say(reason.isEmpty()
            ? QString()
            : tr("Could not save \"%1\": %2. No file was written.").arg(QDir::toNativeSeparators(path), reason));
}

void SectionsWindow::saveSvg()
{
    const QByteArray svg = sectionsSvg(figures(), sectionsTitle());
    if (svg.isEmpty()) {
        say(tr("There is no blade to draw: solve the design first. Nothing was written."));
        return;
    }
    const QString path =
        chooseFileToSave(tr("Save Sections as SVG"),
                         QDir(startFolder()).filePath(QStringLiteral("tivora-sections.svg")), QStringLiteral("svg"));
    if (path.isEmpty())
        return;
    rememberFolderOf(path);
    const QString reason = writeWholeFile(path, [&svg](QIODevice& file) { return file.write(svg) == svg.size(); });
    say(reason.isEmpty()
            ? QString()
            : tr("Could not save \"%1\": %2. No file was written.").arg(QDir::toNativeSeparators(path), reason));
}

void SectionsWindow::placeBesideMain()
{
    if (!main_)
        return;
    const QRect beside = main_->frameGeometry();
    QPoint at(beside.right() + 8, beside.top());
    if (const QScreen* screen = main_->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::max(room.left(), std::min(at.x(), room.right() - width())));
        at.setY(std::max(room.top(), std::min(at.y(), room.bottom() - height())));
    }
    move(at);
}

void SectionsWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SectionsWindow::changeEvent(QEvent* event)
{
    // A new palette (a desktop switched to a dark theme) gets a note colour of its own.
    if (event->type() == QEvent::PaletteChange && note_ && !note_->text().isEmpty())
        say(note_->text());
    QWidget::changeEvent(event);
}

bool SectionsWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Only once the main window has really gone: its close may still be
    // refused (the user keeps a changed design), and a minimised main window
    // is hidden only spontaneously, still visible to Qt.
    if (watched == main_ && event->type() == QEvent::Hide && !main_->isVisible())
        close();
    return QWidget::eventFilter(watched, event);
}

}  // namespace tivora
