#ifndef BENCHWORKLOAD_H
#define BENCHWORKLOAD_H

#include <memory>
#include <string>
#include <vector>

#include "BenchDataset.h"
#include "CppLateEvaluator.h"
#include "JsonModel.h"
#include "LeanModel.h"
#include "MttOutputShape.h"

class MTLIModelObject;
class MTTIStatement;

// Everything the cases share, built once before the runs: the dataset and
// its two models, the template as a tree and as text, the repeated forms
// that make late evaluation and parsing handle about as many bytes as one
// render, and the baseline's best time. Each render function below is one
// case's measured region and returns the bytes it produced or consumed.
class BenchWorkload {
public:
    BenchWorkload(int iClassCount, const std::string& iTemplatePath);
    ~BenchWorkload();
    BenchWorkload(const BenchWorkload&) = delete;
    BenchWorkload& operator=(const BenchWorkload&) = delete;

    // False, with a message on stderr, when something could not be built or
    // when the baseline, the lean model, the JSON model and the parsed
    // template disagree on the text.
    bool Prepare();

    size_t RenderBaseline();
    size_t RenderLean();
    size_t RenderLeanText();
    // The text path with the shape of the tree it would build recorded, as
    // mttgen does for its trace and explain page.
    size_t RenderLeanShape();
    size_t RenderJson();
    size_t RenderJsonText();
    size_t RenderAppends();
    size_t RenderOrEquals();
    size_t RenderCalls();
    size_t RenderLate();
    size_t RenderLateRepeated();
    size_t ParseTemplate();
    size_t ParseTemplateRepeated();
    size_t LoadJson();

    // Bytes per output object (node or leaf) that one immediate evaluation
    // against iModel holds (texts included), and the number of objects.
    double TreeBytesPerObject(MTLIModelObject* iModel, size_t& oObjects);

    MTLIModelObject* LeanRoot() { return _leanModel->Root(); }
    MTLIModelObject* JsonRoot() { return _jsonModel->Root(); }
    double BaselineSeconds() const { return _baselineSeconds; }
    int LateCopies() const { return _lateCopies; }
    int ParseCopies() const { return _parseCopies; }
    size_t JsonBytes() const { return _json.size(); }
    size_t TemplateBytes() const { return _templateText.size(); }
    const std::string& TemplateText() const { return _templateText; }
    size_t OutputBytes() const { return _baselineText.size(); }
    int LoopItems() const { return kLoopItems; }
    int Functions() const { return kFunctions; }
    const std::string& Json() const { return _json; }
    std::string Yaml() const { return _dataset.ToYaml(); }
    const std::string& BaselineText() const { return _baselineText; }
    // The lean render of iTree, for the profile and the checks.
    std::string RenderText(MTTIStatement* iTree, MTLIModelObject* iModel);

private:
    static constexpr int kLoopItems = 25000;
    static constexpr int kFunctions = 10000;

    std::string LateText(MTTIStatement* iTree);
    size_t Evaluate(MTTIStatement* iTree, MTLIModelObject* iModel);
    size_t EvaluateText(MTTIStatement* iTree, MTLIModelObject* iModel);
    size_t LateEvaluate(MTTIStatement* iTree);
    size_t Parse(const std::string& iText);

    BenchDataset _dataset;
    mtt::OutputShape _shape;  // its room kept, as the block pool keeps the tree's
    std::string _templatePath;
    std::string _baselineText;
    std::unique_ptr<LeanModel> _leanModel;
    std::string _json;
    std::unique_ptr<JsonModel> _jsonModel;
    CppLateEvaluator _lateEvaluator;
    MTTIStatement* _tree = nullptr;
    MTTIStatement* _lateRepeatedTree = nullptr;
    // The variable and function templates, and the list they loop over.
    MTTIStatement* _appendTree = nullptr;
    MTTIStatement* _orEqualsTree = nullptr;
    MTTIStatement* _callTree = nullptr;
    std::vector<std::unique_ptr<LeanModelObject>> _loopObjects;
    std::string _templateText;
    std::string _repeatedTemplateText;
    int _lateCopies = 0;
    int _parseCopies = 0;
    double _baselineSeconds = 0;
};

#endif
