#ifndef PARSEOPTIONS_H
#define PARSEOPTIONS_H

#include <string>
#include <vector>

class LateSyntax;
class TemplateLoader;

// How a template is parsed.
struct ParseOptions {
    // Parse for late evaluation: texts that end up in generated code are
    // written in the generated language (lateSyntax must then be set), and
    // what has no late form is refused.
    bool late = false;
    const LateSyntax* lateSyntax = nullptr;
    // A value that the model lacks (an existing object without that member)
    // is an evaluation error instead of the empty text.
    bool strict = false;
    // The variables set before evaluation (mttgen -D), which late
    // evaluation cannot write into generated code.
    std::vector<std::string> variables;
    // Where "include" and "import" look after the including file's folder.
    std::vector<std::string> includeDirs;
    // Reads included and imported files; null: the file system. Not owned.
    const TemplateLoader* loader = nullptr;
    // Record where each node came from while parsing (16 bytes a node).
    // Otherwise the source map finds out on its first question, by parsing
    // the texts it keeps once more: most runs never ask. Late parses always
    // record, as lateSyntax need not outlive the parse.
    bool recordPositions = false;
};

#endif
