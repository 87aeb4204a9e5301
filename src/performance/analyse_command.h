#pragma once

// `tivora --analyse`: the analysis from the command line, for scripts and for
// checking against other tools. The design's inputs and the site, airfoil,
// running and generator figures are long options; the result is CSV on
// standard output. A bad option or file: one line on standard error and
// exit status 2.

#include <iosfwd>
#include <string>
#include <vector>

namespace tivora::performance {

// `arguments` are those after `--analyse`, read against the command line's
// table (command_line/command_table.h), whose options of --analyse are the
// rows of the analysis's input table. Returns the exit status.
int runAnalyseCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tivora::performance
