#include "CommandLine.h"

namespace {

// Options that take a value: "-m FILE", "--model FILE" and "--model=FILE".
struct ValueOption {
    const char* shortName;  // may be null
    const char* longName;
    std::string Options::*field;
};

const ValueOption kValueOptions[] = {
    {"-m", "--model", &Options::modelPath},
    {"-o", "--output", &Options::outputPath},
    {nullptr, "--trace-file", &Options::traceFile},
};

struct FlagOption {
    const char* longName;
    bool Options::*field;
};

const FlagOption kFlagOptions[] = {
    {"--late", &Options::late},
    {"--dump", &Options::dump},
    {"--normalize", &Options::normalize},
    {"--trace", &Options::trace},
    {"--force", &Options::force},
    {"--help", &Options::help},
    {"--version", &Options::version},
};

bool StartsWith(const std::string& iText, const std::string& iPrefix) {
    return iText.compare(0, iPrefix.size(), iPrefix) == 0;
}

bool Fail(std::string& oError, const std::string& iMessage) {
    oError = iMessage;
    return false;
}

// Fills in a value option; false when it was given before or has no value.
bool SetValue(const ValueOption& iOption, const std::string& iSpelling, const std::string* iValue,
              Options& ioOptions, std::string& oError) {
    if (iValue == nullptr || iValue->empty()) {
        return Fail(oError, "option " + iSpelling + " needs a file name");
    }
    std::string& field = ioOptions.*(iOption.field);
    if (!field.empty()) {
        return Fail(oError, "option " + iSpelling + " is given twice");
    }
    field = *iValue;
    return true;
}

// Handles one option at iArguments[ioIndex], advancing ioIndex past a
// separate value. False with oError for an unknown or malformed option.
bool ParseOption(const std::vector<std::string>& iArguments, size_t& ioIndex, Options& ioOptions,
                 std::string& oError) {
    const std::string& argument = iArguments[ioIndex];
    for (const FlagOption& flag : kFlagOptions) {
        if (argument == flag.longName) {
            ioOptions.*(flag.field) = true;
            return true;
        }
    }
    for (const ValueOption& option : kValueOptions) {
        const std::string longName = option.longName;
        if (StartsWith(argument, longName + "=")) {
            const std::string value = argument.substr(longName.size() + 1);
            return SetValue(option, longName, &value, ioOptions, oError);
        }
        if (argument == longName || (option.shortName != nullptr && argument == option.shortName)) {
            const std::string* value = ioIndex + 1 < iArguments.size() ? &iArguments[++ioIndex] : nullptr;
            return SetValue(option, argument, value, ioOptions, oError);
        }
    }
    return Fail(oError, "unknown option " + argument);
}

// Combinations that would silently do something else than asked.
bool CheckCombination(const Options& iOptions, std::string& oError) {
    if (iOptions.templatePath.empty()) {
        return Fail(oError, "no template given");
    }
    if (iOptions.dump) {
        if (!iOptions.outputPath.empty()) {
            return Fail(oError, "--dump prints to standard output and takes no -o");
        }
        return true;
    }
    if (iOptions.late && !iOptions.modelPath.empty()) {
        return Fail(oError, "--late reads no model: the generated code loads it when it runs; drop -m");
    }
    if (!iOptions.late && iOptions.modelPath.empty()) {
        return Fail(oError, "evaluation needs a model: give -m FILE.json (or --late, or --dump)");
    }
    return true;
}

}  // namespace

bool CommandLine::Parse(const std::vector<std::string>& iArguments, Options& oOptions, std::string& oError) {
    oOptions = Options();
    bool optionsEnded = false;
    for (size_t i = 0; i < iArguments.size(); ++i) {
        const std::string& argument = iArguments[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            if (!ParseOption(iArguments, i, oOptions, oError)) {
                return false;
            }
        } else if (oOptions.templatePath.empty()) {
            oOptions.templatePath = argument;
        } else {
            return Fail(oError, "more than one template given: " + oOptions.templatePath + " and " + argument);
        }
    }
    if (!oOptions.traceFile.empty()) {
        oOptions.trace = true;
    }
    if (oOptions.help || oOptions.version) {
        return true;
    }
    return CheckCombination(oOptions, oError);
}

const char* CommandLine::HelpText() {
    return
        "Usage: mttgen [options] TEMPLATE\n"
        "Generates text from TEMPLATE (\"-\" reads standard input).\n"
        "\n"
        "Options:\n"
        "  -m, --model FILE     the JSON model to evaluate the template against\n"
        "                       (needed unless --late or --dump)\n"
        "  -o, --output FILE    write the result to FILE (default: standard output).\n"
        "                       FILE is replaced in one step, never half-written.\n"
        "                       If FILE exists, the text of each of its user-code\n"
        "                       sections (between \"// Begin of User Code\" and\n"
        "                       \"// End of User Code\" lines) replaces, in order, the\n"
        "                       model's user code in the new text.\n"
        "      --force          write even when the user-code sections of FILE do not\n"
        "                       match the template's: sections are kept by position,\n"
        "                       the model's user code fills the rest, and every\n"
        "                       section dropped is printed, text included, on\n"
        "                       standard error\n"
        "      --late           generate C++ code that reads the model when it runs,\n"
        "                       instead of reading the model now (takes no -m)\n"
        "      --normalize      empty every literal text made only of blanks, tabs\n"
        "                       and line breaks before evaluating or dumping\n"
        "      --dump           print the template's syntax tree as one line on\n"
        "                       standard output and stop (no evaluation, no -o)\n"
        "      --trace          after generating, print one line per piece of output\n"
        "                       on standard error, in order:\n"
        "                         [BEGIN,END)<TAB>STATEMENT<TAB>OBJECT\n"
        "                       BEGIN and END are byte offsets in the generated text\n"
        "                       (END excluded), STATEMENT is the syntax tree of the\n"
        "                       statement that produced the piece (line breaks, tabs\n"
        "                       and backslashes written as \\n, \\t, \\\\), OBJECT the\n"
        "                       JSON pointer of its model object as a JSON string\n"
        "                       (\"\" is the root), or - when there is none\n"
        "      --trace-file FILE  write the trace to FILE instead (implies --trace)\n"
        "      --help           show this text and exit\n"
        "      --version        show the version and exit\n"
        "\n"
        "Messages of the evaluation, including its \"ERROR: \" lines, go to standard\n"
        "error; standard output carries only the generated text.\n"
        "\n"
        "Exit status:\n"
        "  0  success\n"
        "  1  evaluation failed, or the output could not be written; the output\n"
        "     file is left as it was\n"
        "  2  usage error, or the template, the model or an existing output file\n"
        "     could not be read or is malformed\n"
        "  3  the existing output file's user-code sections do not match the\n"
        "     template's (different number, or one is not closed); nothing was\n"
        "     written. Check the template, or use --force\n";
}
