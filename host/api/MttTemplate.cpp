#include "MttTemplate.h"

#include <algorithm>
#include <cstdio>

#include "CppLateEvaluator.h"
#include "CppLateSyntax.h"
#include "MTTEvaluateText.h"
#include "MTTITextPieceListener.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTIStatement.h"
#include "MTTResult.h"
#include "MttModel.h"
#include "RenderMessageObserver.h"
#include "SourceMap.h"
#include "TemplateParser.h"

namespace mtt {

namespace {

ParseOptions ParsingFor(const TemplateOptions& iOptions, const LateSyntax& iSyntax)
{
    ParseOptions parsing;
    parsing.late = iOptions.late;
    parsing.lateSyntax = &iSyntax;
    parsing.strict = iOptions.strict;
    parsing.includeDirs = iOptions.includeDirs;
    parsing.variables = iOptions.variables;
    return parsing;
}

}  // namespace

Template::Template(std::unique_ptr<MTTIStatement> iTree, std::unique_ptr<SourceMap> iMap, bool iLate, bool iUserCode,
                   std::unordered_map<const MTTIStatement*, std::string> iUserCodeNames)
    : _map(std::move(iMap)),
      _tree(std::move(iTree)),
      _late(iLate),
      _userCode(iUserCode),
      _userCodeNames(std::move(iUserCodeNames))
{
}

const std::string& Template::UserCodeName(const MTTIStatement* iStatement) const
{
    static const std::string kNone;
    auto found = _userCodeNames.find(iStatement);
    return found == _userCodeNames.end() ? kNone : found->second;
}

Template::~Template() {}

std::unique_ptr<Template> Template::FromFile(const std::string& iPath, std::vector<TemplateError>& oErrors,
                                             const TemplateOptions& iOptions)
{
    const CppLateSyntax cpp;
    TemplateParser parser(iPath, ParsingFor(iOptions, cpp));
    MTTIStatement* tree = parser.ParseFile();
    return Made(parser, tree, iOptions.late, oErrors);
}

std::unique_ptr<Template> Template::FromString(const std::string& iText, const std::string& iName,
                                               std::vector<TemplateError>& oErrors, const TemplateOptions& iOptions)
{
    const CppLateSyntax cpp;
    TemplateParser parser(iName, ParsingFor(iOptions, cpp));
    MTTIStatement* tree = parser.Parse(iText);
    return Made(parser, tree, iOptions.late, oErrors);
}

std::unique_ptr<Template> Template::Made(TemplateParser& ioParser, MTTIStatement* iTree, bool iLate,
                                         std::vector<TemplateError>& oErrors)
{
    if (iTree == nullptr) {
        oErrors = ioParser.ErrorValues();
        return nullptr;
    }
    oErrors.clear();
    return std::unique_ptr<Template>(new Template(std::unique_ptr<MTTIStatement>(iTree), ioParser.TakeSourceMap(),
                                                  iLate, ioParser.HasUserCode(), ioParser.TakeUserCodeNames()));
}

RenderResult Template::Render(Model& ioModel, const RenderOptions& iOptions) const
{
    return Evaluate(&ioModel, iOptions);
}

RenderResult Template::RenderLate(const RenderOptions& iOptions) const
{
    return Evaluate(nullptr, iOptions);
}

RenderResult Template::Evaluate(Model* ioModel, const RenderOptions& iOptions) const
{
    RenderResult result;
    if ((ioModel == nullptr) != _late) {
        RenderMessage wrongMode;
        wrongMode.text = _late ? "a template parsed for late evaluation renders with RenderLate\n"
                               : "RenderLate needs a template parsed with Options::late\n";
        if (iOptions.printMessages) std::fprintf(stderr, "%s\n", wrongMode.ToString().c_str());
        if (iOptions.onMessage) iOptions.onMessage(wrongMode);
        result.messages.push_back(wrongMode);
        return result;
    }
    // The environment borrows the late evaluator, so it is made first.
    CppLateEvaluator lateEvaluator;
    std::unique_ptr<MTTEvaluationEnvironment> environment(ioModel == nullptr
                                                              ? new MTTEvaluationEnvironment(&lateEvaluator)
                                                              : new MTTEvaluationEnvironment(ioModel->Root()));
    for (const auto& variable : iOptions.variables) {
        environment->AddVariable(MTTString(variable.first.c_str()), MTTString(variable.second.c_str()), MTTVarString);
    }
    if (iOptions.current != nullptr) environment->PushScope(iOptions.current);
    // Only the text wanted: it is written directly, without a tree.
    const bool direct = !_late && !iOptions.keepOutput && iOptions.text;
    bool& evaluated = result.evaluated;
    MTTString text;
    // A hint, not a limit: past 1 GiB the text grows as it needs.
    if (iOptions.text && iOptions.sizeHint > 0) text.Reserve(std::min(iOptions.sizeHint, size_t(1) << 30));
    {
        MTLIModelObject* root = ioModel != nullptr && iOptions.current != nullptr ? ioModel->Root() : nullptr;
        RenderMessageObserver observer(*_map, iOptions.onMessage, iOptions.printMessages, iOptions.printed,
                                       root != iOptions.current ? root : nullptr);
        if (direct) {
            struct Pieces final : MTTITextPieceListener {
                explicit Pieces(std::vector<MTTTextPiece>& oPieces) : pieces(oPieces) {}
                void OnUserCodePiece(const MTTTextPiece& iPiece) override { pieces.push_back(iPiece); }
                std::vector<MTTTextPiece>& pieces;
            } pieces(result.userCode);
            if (iOptions.shape) {
                result.shape.reset(new OutputShape());
                result.shape->Reserve(iOptions.sizeHint);
            }
            evaluated = MTTEvaluateText(_tree.get(), environment.get(), text,
                                        iOptions.userCodePieces ? &pieces : nullptr, result.shape.get()) == S_OK;
            if (!evaluated) {
                result.userCode.clear();
                result.shape.reset();
            }
        } else {
            result.output.reset(_late ? _tree->LateEvaluate(environment.get()) : _tree->Evaluate(environment.get()));
            evaluated = result.output != nullptr;
        }
        result.messages = std::move(observer.Messages());
    }
    result.ok = evaluated && result.messages.empty();
    if (direct && iOptions.keepRendered) {
        result.rendered = std::move(text);
    } else if (direct) {
        text.MoveTo(result.text);
    } else if (result.output && iOptions.text) {
        result.output->toString(text);
        text.MoveTo(result.text);
    }
    if (!iOptions.keepOutput) result.output.reset();
    return result;
}

}  // namespace mtt
