#pragma once

// `tivora --export KIND [--output FILE] [DESIGN.csv]`: the drawings and
// tables of a design, without a window. The design is solved as Solve!
// solves it and drawn by the functions the windows' export commands call,
// with the settings its file keeps (the trim, the thickness, the site).
// Exit statuses as `tivora --analyse`: 2 for a bad option, value or file,
// 1 when the output cannot be written, one line on standard error.

#include "command_line/command_table.h"

#include <iosfwd>

namespace tivora {

// `line` as the command line's parser read it, in the Export mode. A binary
// kind is refused when no --output is given and `outputIsTerminal`. The PDF
// kinds make a QGuiApplication on the offscreen platform when there is no
// application yet: they need Qt's painting and fonts, never a display.
int runExportCommand(const command_line::ParsedLine& line, std::ostream& out, std::ostream& err, bool outputIsTerminal);

}  // namespace tivora
