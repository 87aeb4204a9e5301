#pragma once

// What the command line says about itself, all written from its tables
// (command_table.h): --help, the manual page and the bash completion. An
// option added to a table appears in all three.

#include "command_table.h"

#include <iosfwd>
#include <optional>
#include <string_view>

namespace tivora::command_line {

// The program's --help, or a mode's own (`tivora --analyse --help`).
void writeHelp(std::ostream& out, std::optional<Mode> mode = std::nullopt);

// "tivora 1.0.0", as --version prints it.
void writeVersion(std::ostream& out);

// The manual page tivora(1) in man(7) macros, dated `date` (YYYY-MM-DD).
void writeManPage(std::ostream& out, std::string_view date);

// A bash completion script for `tivora`: the modes, each mode's options,
// the export kinds, a choice's values, file names where a file is asked for.
void writeBashCompletion(std::ostream& out);

}  // namespace tivora::command_line
