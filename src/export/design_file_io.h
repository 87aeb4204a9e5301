#pragma once

// The design file on disk, both ways: the bytes a save writes, and a file
// read back into a design. The format itself is the core's
// (sheet/design_file.h); this adds the rotor's performance below the design
// on saving, and the size limit and the reasons in the user's words on
// opening.

#include "performance_sheet.h"
#include "sheet/design_file.h"

#include <QByteArray>
#include <QString>

#include <variant>

namespace tivora {

// The design, and below it the rotor's performance when a window holds an
// analysis (none otherwise).
QByteArray designFileBytes(const DesignSheet& sheet, const DesignSettings& settings, bool unsolved,
                           const PerformanceSheet* performance);

// The design in the file at `path`, in the user's number format, or why it
// cannot be opened ("line 6: expected a number for Wind Speed ..."). Never
// reads more than one byte beyond the largest design file.
std::variant<DesignFile, QString> readDesignFileAt(const QString& path, const NumberFormat& format);

}  // namespace tivora
