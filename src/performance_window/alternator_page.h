#pragma once

// The Rotor Performance window's Alternator page (Ctrl+G): the inputs of the
// alternator designed from its magnets and coils, beside the figures the
// analysis designs from them (the turns for the wanted cut-in among them).

#include "performance/analysis.h"

#include <QWidget>

class QLabel;

namespace tivora {

class AlternatorPage : public QWidget {
    Q_OBJECT

public:
    // `inputs`: the form's box of the alternator's inputs, shown here.
    explicit AlternatorPage(QWidget* inputs, QWidget* parent = nullptr);

    // The figures of the analysis shown; none while none is.
    void show(const performance::Analysis* analysis, UnitSystem system, const NumberFormat& format);

private:
    QLabel* figures_ = nullptr;
};

}  // namespace tivora
