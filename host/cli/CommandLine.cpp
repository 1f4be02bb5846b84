#include "CommandLine.h"

#include <algorithm>
#include <cctype>

#include "CommentSyntax.h"

namespace {

// One option: its spellings, its value (if any) and its lines in --help.
struct OptionSpec {
    const char* shortName;  // may be null
    const char* longName;
    const char* valueName;  // null for a flag
    std::string Options::*value;
    bool Options::*flag;
    std::vector<std::string> Options::*list;  // a value that may be given again
    const char* help;                         // wrapped to the width of the terminal's usual 80 columns
};

const OptionSpec kOptions[] = {
    {"-m", "--model", "FILE", &Options::modelPath, nullptr, nullptr,
     "the model to evaluate the template against, JSON or YAML (.yaml, .yml) (needed unless --late or --dump); - reads standard input"},
    {nullptr, "--model-format", "FORMAT", &Options::modelFormat, nullptr, nullptr,
     "read the model as json or yaml, whatever its name says (for a model on standard input)"},
    {"-o", "--output", "FILE", &Options::outputPath, nullptr, nullptr,
     "write the result of the template given before it to FILE instead of standard output (an -o before the first template, or after one that has its FILE, goes with the template after it); several TEMPLATE -o FILE pairs, or -o FILE TEMPLATE pairs, write several files in one run (see Output files below)"},
    {nullptr, "--each", "PATH", &Options::eachPath, nullptr, nullptr,
     "write one file per element of the model list at PATH (as in [% foreach PATH %]); the -o FILE name is then a template evaluated for each element, e.g. -o 'gen/${name|snake}.h' (missing folders are made)"},
    {"-D", "--define", "NAME=VALUE", nullptr, nullptr, &Options::defines,
     "set the template variable NAME to the text VALUE before evaluating (may be given again)"},
    {"-I", "--include-dir", "DIR", nullptr, nullptr, &Options::includeDirs,
     "look for included and imported templates in DIR after the including file's folder (may be given again)"},
    {nullptr, "--strict", nullptr, nullptr, &Options::strict, nullptr,
     "a value that the model lacks (${name} of an object without that member) is an error, not the empty text"},
    {nullptr, "--force", nullptr, nullptr, &Options::force, nullptr,
     "write even when what a person wrote would have no place: user code without a sure owner goes to FILE.orphans, a file changed by hand outside its user-code sections (or not written by mttgen) is kept as FILE.edited, and --each files whose element has gone give their user code to their .orphans and are removed"},
    {nullptr, "--prune", nullptr, nullptr, &Options::prune, nullptr,
     "remove the files an earlier --each run wrote for elements that are gone, when they hold no user code"},
    {nullptr, "--output-root", "DIR", &Options::outputRoot, nullptr, nullptr,
     "the folder every output must stay inside, where .mttgen-manifest records what was generated (default: the folder part of -o, up to its first ${ or [%)"},
    {nullptr, "--comment-syntax", "OPENER", &Options::commentSyntax, nullptr, nullptr,
     "the comment syntax of the user-code marker lines: //, #, --, <!-- or /* (default: chosen from the output file's extension)"},
    {nullptr, "--key-members", "LIST", &Options::keyMembers, nullptr, nullptr,
     "the members that identify a user-code section's owner, first found wins (default: id,name)"},
    {nullptr, "--late", nullptr, nullptr, &Options::late, nullptr,
     "generate C++ code that reads the model when it runs, instead of reading the model now (takes no -m)"},
    {nullptr, "--normalize", nullptr, nullptr, &Options::normalize, nullptr,
     "empty every literal text made only of blanks, tabs and line breaks before evaluating or dumping"},
    {nullptr, "--dump", nullptr, nullptr, &Options::dump, nullptr,
     "print the template's syntax tree on standard output and stop (no evaluation, no -o); it is one line unless the template's texts hold line breaks, which it shows as they are"},
    {nullptr, "--check", nullptr, nullptr, &Options::check, nullptr,
     "write nothing: say which files a run would change and exit with status 1 if any (0 when all are up to date), e.g. in continuous integration"},
    {nullptr, "--diff", nullptr, nullptr, &Options::diff, nullptr,
     "like --check, and print each change as a unified diff on standard output"},
    {nullptr, "--depfile", "FILE", &Options::depFile, nullptr, nullptr,
     "also write FILE, a Make/Ninja dependency file naming the outputs and every template, included file and model the run read (for build tools: CMake's DEPFILE)"},
    {nullptr, "--depfile-target", "FILE", &Options::depFileTarget, nullptr, nullptr,
     "the target the dependency file names instead of the outputs, as compilers' -MT (a stamp file the build rule writes)"},
    {nullptr, "--keep-going", nullptr, nullptr, &Options::keepGoing, nullptr,
     "write the output even when evaluation reports errors (the exit status is still 1)"},
    {nullptr, "--trace", nullptr, nullptr, &Options::trace, nullptr,
     "after generating, print one line per piece of output on standard error, its fields separated by tabs: [BEGIN,END) FILE:LINE:COLUMN STATEMENT OBJECT, byte offsets in the generated text (END excluded), where the statement that produced it is written in the template (the column in bytes), its syntax tree (\\n, \\t, \\\\ escaped), and the JSON pointer of its model object as a JSON string (\"\" is the root), or -; pieces without text are left out"},
    {nullptr, "--trace-file", "FILE", &Options::traceFile, nullptr, nullptr,
     "write the trace to FILE instead (- is standard output); implies --trace"},
    {nullptr, "--explain", "FILE", &Options::explainPath, nullptr, nullptr,
     "also write FILE, an HTML page that shows, for every piece of the generated text, the template directive and the model element that produced it, and every message of the run (open it in a browser); written even when the run writes nothing else; - is standard output"},
    {nullptr, "--explain-since", "FILE", &Options::explainSince, nullptr, nullptr,
     "mark on the explain page the lines that changed since FILE, an earlier explain page (then each change is traced to the template line or model value behind it) or an earlier generated file; FILE may be the page this run replaces"},
    {"-h", "--help", nullptr, nullptr, &Options::help, nullptr, "show this text and exit"},
    {nullptr, "--version", nullptr, nullptr, &Options::version, nullptr, "show the version and exit"},
};

bool StartsWith(const std::string& iText, const std::string& iPrefix)
{
    return iText.compare(0, iPrefix.size(), iPrefix) == 0;
}

bool Fail(std::string& oError, const std::string& iMessage)
{
    oError = iMessage;
    return false;
}

bool SetValue(const OptionSpec& iOption, const std::string& iSpelling, const std::string* iValue, Options& ioOptions,
              std::string& oError)
{
    if (iValue == nullptr || iValue->empty()) {
        const std::string what = iOption.valueName;
        return Fail(oError, "option " + iSpelling + " needs " +
                                (what == "FILE"  ? "a file name"
                                 : what == "DIR" ? "a folder"
                                                 : "a value"));
    }
    if (iOption.list != nullptr) {
        if (iOption.list == &Options::defines) {
            const size_t equals = iValue->find('=');
            const std::string name = iValue->substr(0, equals);
            const bool identifier = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
                                    std::all_of(name.begin(), name.end(), [](char c) {
                                        return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
                                    });
            if (equals == std::string::npos || !identifier) {
                return Fail(oError,
                            "option " + iSpelling + " needs NAME=VALUE with a variable name, found '" + *iValue + "'");
            }
        }
        (ioOptions.*(iOption.list)).push_back(*iValue);
        return true;
    }
    std::string& field = ioOptions.*(iOption.value);
    static const Options kDefaults;
    if (field != kDefaults.*(iOption.value)) {
        return Fail(oError, "option " + std::string(iOption.longName) + " is given twice");
    }
    field = *iValue;
    return true;
}

// Handles one option at iArguments[ioIndex], advancing ioIndex past a
// separate value. False with oError for an unknown or malformed option.
bool ParseOption(const std::vector<std::string>& iArguments, size_t& ioIndex, Options& ioOptions, std::string& oError)
{
    const std::string& argument = iArguments[ioIndex];
    for (const OptionSpec& option : kOptions) {
        const std::string longName = option.longName;
        const bool named = argument == longName || (option.shortName != nullptr && argument == option.shortName);
        if (option.flag != nullptr) {
            if (named) {
                ioOptions.*(option.flag) = true;
                return true;
            }
            continue;
        }
        if (StartsWith(argument, longName + "=")) {
            const std::string value = argument.substr(longName.size() + 1);
            return SetValue(option, longName, &value, ioOptions, oError);
        }
        if (named) {
            const std::string* value = ioIndex + 1 < iArguments.size() ? &iArguments[++ioIndex] : nullptr;
            return SetValue(option, argument, value, ioOptions, oError);
        }
        // "-Dname=value", "-Iinclude": a short option with its value attached.
        if (option.shortName != nullptr && argument.size() > 2 && StartsWith(argument, option.shortName)) {
            const std::string value = argument.substr(2);
            return SetValue(option, option.shortName, &value, ioOptions, oError);
        }
    }
    return Fail(oError, "unknown option " + argument);
}

// Combinations that would silently do something else than asked.
bool CheckCombination(const Options& iOptions, std::string& oError)
{
    if (iOptions.jobs.empty()) {
        return Fail(oError, "no template given");
    }
    const Options::Job& first = iOptions.jobs.front();
    const bool several = iOptions.jobs.size() > 1;
    if (!iOptions.commentSyntax.empty() && !CommentSyntax::FromOpener(iOptions.commentSyntax, nullptr)) {
        return Fail(oError, "unknown comment syntax '" + iOptions.commentSyntax + "' (use " +
                                CommentSyntax::KnownOpeners() + ")");
    }
    if (iOptions.dump) {
        if (several) return Fail(oError, "--dump prints one template's syntax tree; give one template");
        if (!first.outputPath.empty()) {
            return Fail(oError, "--dump prints to standard output and takes no -o");
        }
        return true;
    }
    for (const Options::Job& job : iOptions.jobs) {
        if (several && job.WritesToStandardOutput()) {
            return Fail(oError, "with several templates each is followed by its own -o FILE; " + job.templatePath +
                                    " has none");
        }
        if (iOptions.modelPath == "-" && job.templatePath == "-") {
            return Fail(oError, "the template and the model cannot both come from standard input");
        }
    }
    if (iOptions.late && !iOptions.modelPath.empty()) {
        return Fail(oError, "--late reads no model: the generated code loads it when it runs; drop -m");
    }
    if (!iOptions.modelFormat.empty() && iOptions.modelFormat != "json" && iOptions.modelFormat != "yaml") {
        return Fail(oError, "unknown model format '" + iOptions.modelFormat + "' (use json or yaml)");
    }
    if (!iOptions.late && iOptions.modelPath.empty()) {
        return Fail(oError, "evaluation needs a model: give -m FILE.json (or --late, or --dump)");
    }
    if (several && iOptions.trace) {
        return Fail(oError, "--trace describes one template's output; give one template");
    }
    if (!iOptions.eachPath.empty()) {
        if (iOptions.late) return Fail(oError, "--each reads the model, and --late reads none");
        if (first.WritesToStandardOutput()) {
            return Fail(oError, "--each needs -o with a file name template, e.g. -o 'gen/${name}.h'");
        }
        if (iOptions.trace) return Fail(oError, "--trace describes one output; it cannot be used with --each");
    }
    if (!iOptions.explainSince.empty() && iOptions.explainPath.empty()) {
        return Fail(oError, "--explain-since marks changes on the explain page; give --explain FILE too");
    }
    if (!iOptions.depFileTarget.empty() && iOptions.depFile.empty()) {
        return Fail(oError, "--depfile-target names the target of --depfile FILE; give --depfile too");
    }
    if ((iOptions.check || iOptions.diff) && iOptions.AnyToStandardOutput()) {
        return Fail(oError, std::string(iOptions.diff ? "--diff" : "--check") +
                                " compares files with what a run would write; give -o FILE");
    }
    if (iOptions.TracesToStandardOutput() && iOptions.AnyToStandardOutput()) {
        return Fail(oError, "--trace-file - and the generated text would both go to standard output; give -o FILE");
    }
    if (iOptions.explainPath == "-" && (iOptions.AnyToStandardOutput() || iOptions.TracesToStandardOutput())) {
        return Fail(oError, "--explain - and the " +
                                std::string(iOptions.AnyToStandardOutput() ? "generated text" : "trace") +
                                " would both go to standard output; give -o FILE or --trace-file FILE");
    }
    return true;
}

// Where a template is given a second -o.
bool OutputTwice(const std::string& iTemplate, std::string& oError)
{
    return Fail(oError,
                "option -o is given twice for " + iTemplate + "; each template takes one -o, after it or before it");
}

// A -o just given joins the template before it. One given before the
// first template, or after a template that has its file already, waits
// for the template after it: "-o A a.mtt -o B b.mtt" reads as the pairs
// it was meant as, where every other reading was refused.
bool PlaceOutput(Options& ioOptions, std::string& ioPending, std::string& oError)
{
    if (ioOptions.outputPath.empty()) return true;
    std::string output;
    output.swap(ioOptions.outputPath);
    if (!ioPending.empty()) {
        if (ioOptions.jobs.empty()) return Fail(oError, "option -o is given twice before the template");
        return OutputTwice(ioOptions.jobs.back().templatePath, oError);
    }
    if (ioOptions.jobs.empty() || !ioOptions.jobs.back().outputPath.empty()) {
        ioPending = output;
        return true;
    }
    ioOptions.jobs.back().outputPath = output;
    return true;
}

// "  -m, --model FILE       text", the text wrapped in its column.
std::string HelpEntry(const OptionSpec& iOption)
{
    const size_t column = 25;
    const size_t width = 79;
    std::string head = std::string("  ") +
                       (iOption.shortName != nullptr ? std::string(iOption.shortName) + ", " : std::string("    ")) +
                       iOption.longName;
    if (iOption.valueName != nullptr) head += std::string(" ") + iOption.valueName;
    std::string entry = head;
    size_t used = head.size();
    if (used + 1 >= column) {
        entry += "\n";
        used = 0;
    }
    entry += std::string(column - used, ' ');
    used = column;
    const std::string help = iOption.help;
    for (size_t start = 0; start < help.size();) {
        size_t end = help.find(' ', start);
        if (end == std::string::npos) end = help.size();
        const std::string word = help.substr(start, end - start);
        if (used > column && used + 1 + word.size() > width) {
            entry += "\n" + std::string(column, ' ');
            used = column;
        } else if (used > column) {
            entry += ' ';
            ++used;
        }
        entry += word;
        used += word.size();
        start = end + 1;
    }
    return entry + "\n";
}

// iText wrapped to the usual 79 columns, each line indented by iIndent.
std::string Wrapped(const std::string& iText, size_t iIndent)
{
    const size_t width = 79;
    std::string wrapped;
    std::string line(iIndent, ' ');
    for (size_t start = 0; start < iText.size();) {
        size_t end = iText.find(' ', start);
        if (end == std::string::npos) end = iText.size();
        const std::string word = iText.substr(start, end - start);
        if (line.size() > iIndent && line.size() + 1 + word.size() > width) {
            wrapped += line + "\n";
            line.assign(iIndent, ' ');
        }
        line += (line.size() > iIndent ? " " : "") + word;
        start = end + 1;
    }
    return wrapped + line + "\n";
}

}  // namespace

bool CommandLine::Parse(const std::vector<std::string>& iArguments, Options& oOptions, std::string& oError)
{
    oOptions = Options();
    bool optionsEnded = false;
    std::string pendingOutput;  // a -o waiting for the template after it
    for (size_t i = 0; i < iArguments.size(); ++i) {
        const std::string& argument = iArguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (!ParseOption(iArguments, i, oOptions, oError) || !PlaceOutput(oOptions, pendingOutput, oError)) {
                return false;
            }
        } else {
            oOptions.jobs.push_back(Options::Job{argument, std::string()});
            oOptions.jobs.back().outputPath.swap(pendingOutput);
        }
    }
    if (!pendingOutput.empty() && !oOptions.help && !oOptions.version) {
        // No template came after it: the last one has its file already.
        if (oOptions.jobs.empty()) return Fail(oError, "no template given");
        return OutputTwice(oOptions.jobs.back().templatePath, oError);
    }
    if (!oOptions.traceFile.empty()) {
        oOptions.trace = true;
    }
    if (oOptions.diff) oOptions.check = true;
    // The process's own streams by name are the streams themselves: a file
    // they were redirected to must be written through them, not replaced.
    std::vector<std::string*> paths = {&oOptions.traceFile, &oOptions.explainPath};
    for (Options::Job& job : oOptions.jobs) paths.push_back(&job.outputPath);
    for (std::string* path : paths) {
        if (*path == "/dev/stdout" || *path == "/dev/fd/1" || *path == "/proc/self/fd/1") *path = "-";
    }
    if (oOptions.traceFile == "/dev/stderr" || oOptions.traceFile == "/dev/fd/2" ||
        oOptions.traceFile == "/proc/self/fd/2") {
        oOptions.traceFile.clear();
    }
    if (oOptions.help || oOptions.version) {
        return true;
    }
    return CheckCombination(oOptions, oError);
}

std::string CommandLine::HelpText()
{
    std::string text =
        "Usage: mttgen [options] TEMPLATE [-o FILE] [TEMPLATE -o FILE]...\n"
        "Generates text from TEMPLATE (\"-\" reads standard input).\n"
        "\n"
        "Options:\n";
    for (const OptionSpec& option : kOptions) text += HelpEntry(option);
    text +=
        "\n"
        "Messages of the evaluation, including its \"ERROR: \" lines, go to standard\n"
        "error, each followed by a FILE:LINE:COLUMN: note: line naming the template\n"
        "directive behind it; standard output carries only the generated text.\n"
        "\n"
        "Output files (-o FILE, --each):\n"
        "  All files of a run are written together or not at all, each replaced in\n"
        "  one step and only when its text changes (an unchanged file keeps its time\n"
        "  stamp). A link named by -o is written through; mode and owner are kept.\n"
        "  Template, model, outputs, trace and page must be different files, and\n"
        "  --each names stay inside the folder of -o (see --output-root).\n"
        "  .mttgen-manifest in that folder records what each run wrote, so that\n"
        "  the next run refuses, naming its lines, a file changed by hand outside\n"
        "  its user-code sections, or one it did not write; and reports the --each\n"
        "  files whose element has gone (--prune, --force). Keep it with the files.\n" +
        Wrapped(
            "User code: each [% usercode %] section is written between marker lines in the comment syntax "
            "of FILE (" +
                CommentSyntax::ExtensionSummary() + "), the begin line carrying the key of the section's owner:",
            2) +
        "    // Begin of User Code /classes/Order\n"
        "    ...kept...\n"
        "    // End of User Code\n"
        "  The key is the path of the owner in the model, with the owner's and its\n"
        "  ancestors' identifying values (--key-members) in place of list positions;\n"
        "  [% usercode as \"NAME\" %] adds #NAME. On regeneration the text between\n"
        "  the markers (in any comment syntax) is kept for the owner with the same\n"
        "  key in the same file, wherever it moved; what cannot be placed for sure\n"
        "  is refused (see --force).\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  evaluation reported an error (nothing is written, unless\n"
        "     --keep-going), or a file could not be written (nothing is)\n"
        "  2  usage error; the template or the model cannot be read or is\n"
        "     malformed; two inputs or outputs are one file; an output name leads\n"
        "     outside the output folder or through a link it did not name\n"
        "  3  what a person wrote could not be kept safely; nothing was written:\n"
        "     a marker line out of place, user code without a sure owner, a file\n"
        "     changed by hand or not written by mttgen, an --each file with user\n"
        "     code whose element has gone (see --force), a key two owners share\n"
        "     or made from a list position, or a file changed while mttgen ran\n";
    return text;
}
