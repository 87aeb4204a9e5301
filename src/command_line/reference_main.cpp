// Writes what the build installs beside the program from its table of
// options: `tivora_reference man-page YYYY-MM-DD` the manual page,
// `tivora_reference bash-completion` the completion script.

#include "reference.h"

#include <iostream>
#include <string_view>

int main(int argc, char* argv[])
{
    using namespace tivora::command_line;
    const std::string_view what = argc > 1 ? argv[1] : "";
    if (what == "man-page" && argc == 3)
        writeManPage(std::cout, argv[2]);
    else if (what == "bash-completion" && argc == 2)
        writeBashCompletion(std::cout);
    else {
        std::cerr << "usage: tivora_reference man-page YYYY-MM-DD | bash-completion\n";
        return kBadUsage;
    }
    std::cout.flush();
    return std::cout ? kDone : kNotWritten;
}
