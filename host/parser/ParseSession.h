#ifndef PARSESESSION_H
#define PARSESESSION_H

#include <string>
#include <set>
#include <vector>

#include "LateDeclarations.h"
#include "NodeBuilder.h"

class SourceMap;
class TemplateLoader;
class TrackingNodeFactory;
struct ParseOptions;

// What the statement parsers of one template and of the files it includes
// share: the factory and the source map, the options, the loader, the
// files being parsed (to find include cycles) and the late declarations
// (an included file's statements stand in the including block).
struct ParseSession {
    ParseSession(TrackingNodeFactory& ioFactory, SourceMap& ioMap, const ParseOptions& iOptions,
                 const TemplateLoader& iLoader)
        : factory(ioFactory),
          map(ioMap),
          options(iOptions),
          loader(iLoader),
          builder(ioFactory, iOptions),
          generating(iOptions.variables.begin(), iOptions.variables.end())
    {
    }

    TrackingNodeFactory& factory;
    SourceMap& map;
    const ParseOptions& options;
    const TemplateLoader& loader;
    NodeBuilder builder;
    LateDeclarations declarations;
    // Variables that have a value only while generating (set with "=" or
    // "+=", given before evaluation, or a function's parameters): late
    // evaluation would write their names, not their values.
    std::set<std::string> generating;
    // The normalised paths of the files being parsed, outermost first.
    std::vector<std::string> including;
};

#endif
