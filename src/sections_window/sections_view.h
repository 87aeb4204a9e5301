#pragma once

// The sections in the plank in a grid, each as large as its box allows: what
// the Blade Sections window shows of the drawing the gauges and the SVG are
// made of.

#include "export/section_drawing.h"

#include <QWidget>

#include <vector>

namespace tivora {

class SectionsView : public QWidget {
    Q_OBJECT

public:
    explicit SectionsView(QWidget* parent = nullptr);

    void setFigures(std::vector<SectionFigure> figures);
    const std::vector<SectionFigure>& figures() const { return figures_; }
    // Device pixels per millimetre of the smallest drawing, as last painted.
    double scale() const { return scale_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<SectionFigure> figures_;
    double scale_ = 0;
};

}  // namespace tivora
