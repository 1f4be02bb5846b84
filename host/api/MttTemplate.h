#ifndef MTTTEMPLATE_H
#define MTTTEMPLATE_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "MttRenderResult.h"
#include "TemplateError.h"

class MTTIStatement;
class SourceMap;
class TemplateParser;

namespace mtt {

class Model;

// How a template is parsed.
struct TemplateOptions {
    // Parse for late evaluation (RenderLate): C++ for mtt_runtime.h.
    bool late = false;
    // A value the model lacks is an error, not the empty text.
    bool strict = false;
    // Searched for include and import after the including file's folder.
    std::vector<std::string> includeDirs;
    // The variables a render will set (RenderOptions::variables): in a late
    // template they exist only while generating, so the parser refuses to
    // write them into generated code.
    std::vector<std::string> variables;
};

// A parsed template, rendered any number of times. A few lines of a host:
//
//   std::vector<TemplateError> errors;
//   auto page = mtt::Template::FromFile("page.mtt", errors);
//   std::string error;
//   auto model = mtt::Model::FromFile("model.json", error);
//   if (page && model) std::cout << page->Render(*model).text;
class Template {
public:
    // Null on a syntax error, with oErrors (file, line, column, message and
    // the include chain).
    static std::unique_ptr<Template> FromFile(const std::string& iPath, std::vector<TemplateError>& oErrors,
                                              const TemplateOptions& iOptions = TemplateOptions());
    static std::unique_ptr<Template> FromString(const std::string& iText, const std::string& iName,
                                                std::vector<TemplateError>& oErrors,
                                                const TemplateOptions& iOptions = TemplateOptions());
    ~Template();
    Template(const Template&) = delete;
    Template& operator=(const Template&) = delete;

    // Evaluates against the model (which must outlive a kept output).
    RenderResult Render(Model& ioModel, const RenderOptions& iOptions = RenderOptions()) const;
    // Late evaluation (a template parsed with TemplateOptions::late): the C++
    // statements that read the model when they run.
    RenderResult RenderLate(const RenderOptions& iOptions = RenderOptions()) const;

    MTTIStatement* Tree() const { return _tree.get(); }
    // Whether the template writes user-code sections (a usercode
    // directive), which a host finds in the output tree.
    bool HasUserCode() const { return _userCode; }
    // The name of a usercode statement's section ([% usercode as "NAME" %]);
    // empty when it has none.
    const std::string& UserCodeName(const MTTIStatement* iStatement) const;
    const SourceMap& Sources() const { return *_map; }

private:
    Template(std::unique_ptr<MTTIStatement> iTree, std::unique_ptr<SourceMap> iMap, bool iLate, bool iUserCode,
             std::unordered_map<const MTTIStatement*, std::string> iUserCodeNames);
    static std::unique_ptr<Template> Made(TemplateParser& ioParser, MTTIStatement* iTree, bool iLate,
                                          std::vector<TemplateError>& oErrors);
    RenderResult Evaluate(Model* ioModel, const RenderOptions& iOptions) const;

    std::unique_ptr<SourceMap> _map;
    std::unique_ptr<MTTIStatement> _tree;
    bool _late;
    bool _userCode;
    std::unordered_map<const MTTIStatement*, std::string> _userCodeNames;
};

}  // namespace mtt

#endif
