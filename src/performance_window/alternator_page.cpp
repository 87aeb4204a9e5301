#include "alternator_page.h"

#include "performance/report.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QStyle>

namespace tivora {

using namespace performance;

namespace {

QScrollArea* scrolled(QWidget* widget)
{
    auto* scroll = new QScrollArea;
    scroll->setWidget(widget);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    return scroll;
}

}  // namespace

AlternatorPage::AlternatorPage(QWidget* inputs, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("alternatorPage"));
    auto* row = new QHBoxLayout(this);
    // The inputs whole across, scrolled only up and down; the figures take
    // the rest of the width.
    QScrollArea* form = scrolled(inputs);
    form->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form->setMinimumWidth(inputs->minimumSizeHint().width() +
                          form->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, form));
    row->addWidget(form, 1);
    figures_ = new QLabel;
    figures_->setObjectName(QStringLiteral("alternatorFigures"));
    figures_->setWordWrap(true);
    figures_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    figures_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(scrolled(figures_), 1);
}

void AlternatorPage::show(const Analysis* analysis, UnitSystem system, const NumberFormat& format)
{
    std::vector<Figure> figures;
    if (analysis)
        addAlternatorFigures(*analysis, figures);
    if (figures.empty()) {
        figures_->setText(analysis ? tr("The alternator's figures are typed under Running. Choose \"Designed from "
                                        "the magnets\" or \"Designed from a test coil\" to design it from its "
                                        "magnets and coils.")
                                   : QString());
        return;
    }
    QString html = QStringLiteral("<table cellspacing=\"3\">");
    for (const Figure& f : figures) {
        const QString value =
            QString::fromStdString(figureText(shownFromSi(f.quantity, system, f.value), f.decimals, format));
        const QString unit = QString::fromStdString(unitOf(f.quantity, system));
        html += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td>%3</td></tr>")
                    .arg(tr(f.caption.c_str()).toHtmlEscaped(), value, unit.toHtmlEscaped());
    }
    figures_->setText(html + QStringLiteral("</table>"));
}

}  // namespace tivora
