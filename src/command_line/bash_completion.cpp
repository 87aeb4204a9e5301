// The bash completion script, written from the command line's tables.

#include "reference.h"

#include <algorithm>
#include <ostream>

namespace tivora::command_line {

namespace {

std::string dashed(const std::string& name)
{
    return "--" + name;
}

std::string joined(const std::vector<std::string>& words, std::string_view between)
{
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : std::string(between)) + word;
    return out;
}

void writeWords(std::ostream& out, std::string_view indent, const std::vector<std::string>& words)
{
    out << indent << "COMPREPLY=($(compgen -W '" << joined(words, " ") << "' -- \"$cur\"))\n";
}

// The completions after a mode's option: its values, its options, or a
// design file where the mode takes one.
void writeModeArm(std::ostream& out, const ModeEntry& entry)
{
    std::vector<std::string> files, numbers, names;
    out << "    --" << entry.option << ")\n";
    if (entry.mode == Mode::Export) {
        std::vector<std::string> kinds;
        for (const ExportKindEntry& kind : exportKinds())
            kinds.emplace_back(kind.name);
        out << "        if ((COMP_CWORD == 2)); then\n";
        writeWords(out, "            ", kinds);
        out << "            return\n        fi\n";
    }
    out << "        case $prev in\n";
    for (const Option& option : optionsOf(entry.mode)) {
        names.push_back(dashed(option.name));
        if (option.value == ValueKind::File)
            files.push_back(dashed(option.name));
        else if (option.value == ValueKind::Number)
            numbers.push_back(dashed(option.name));
        else if (option.value == ValueKind::Choice) {
            out << "        " << dashed(option.name) << ")\n";
            writeWords(out, "            ", option.choices);
            out << "            return ;;\n";
        }
    }
    if (!files.empty())
        out << "        " << joined(files, "|") << ") _tivora_files \"$cur\"; return ;;\n";
    if (!numbers.empty())
        out << "        " << joined(numbers, "|") << ") return ;;\n";
    out << "        esac\n";
    if (entry.mostOperands > 0) {
        out << "        if [[ $cur != -* ]]; then\n            _tivora_designs \"$cur\"\n            return\n"
               "        fi\n";
    }
    writeWords(out, "        ", names);
    out << "        return ;;\n";
}

}  // namespace

void writeBashCompletion(std::ostream& out)
{
    out << "# bash completion for tivora(1), written by tivora_reference from the program's\n"
           "# table of options: edit the table, not this file.\n\n"
           "_tivora_files()\n{\n    local IFS=$'\\n'\n    compopt -o filenames 2>/dev/null\n"
           "    COMPREPLY=($(compgen -f -- \"$1\"))\n}\n\n"
           "_tivora_designs()\n{\n    local IFS=$'\\n'\n    compopt -o filenames 2>/dev/null\n"
           "    COMPREPLY=($(compgen -d -- \"$1\") $(compgen -f -X '!*.[cC][sS][vV]' -- \"$1\"))\n}\n\n"
           "_tivora()\n{\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]} mode=\n"
           "    # --option=value: bash splits at the equals sign.\n"
           "    if [[ $cur == = ]]; then\n        cur=\n    elif [[ $prev == = ]]; then\n"
           "        prev=${COMP_WORDS[COMP_CWORD - 2]}\n    fi\n"
           "    COMPREPLY=()\n"
           "    ((COMP_CWORD > 1)) && mode=${COMP_WORDS[1]}\n"
           "    case $mode in\n";
    std::vector<std::string> first, later;
    for (const ModeEntry& entry : modes()) {
        if (entry.mode != Mode::Window)
            writeModeArm(out, entry);
    }
    for (const Option& option : optionsOf(Mode::Window)) {
        first.push_back(dashed(option.name));
        // A mode's option comes first or not at all.
        if (std::none_of(modes().begin(), modes().end(), [&](const ModeEntry& m) { return m.option == option.name; }))
            later.push_back(dashed(option.name));
    }
    out << "    esac\n"
           "    if [[ $cur != -* ]]; then\n        _tivora_designs \"$cur\"\n"
           "    elif ((COMP_CWORD == 1)); then\n";
    writeWords(out, "        ", first);
    out << "    else\n";
    writeWords(out, "        ", later);
    out << "    fi\n}\n\ncomplete -F _tivora tivora\n";
}

}  // namespace tivora::command_line
