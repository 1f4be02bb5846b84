#include "BenchWorkload.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

#include "AllocationCounter.h"
#include "BaselineRenderer.h"
#include "CpuClock.h"
#include "LoopTemplates.h"
#include "MTTBlockPool.h"
#include "MTTEvaluateText.h"
#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTIStatement.h"
#include "MTTString.h"
#include "OutputCensus.h"
#include "ReferenceTemplate.h"
#include "TemplateParser.h"

namespace {

constexpr int kAttributesPerClass = 10;
constexpr unsigned kSeed = 20240607u;
constexpr int kBaselineRuns = 15;

// Where two texts first differ, for the start-up check's message.
void ReportMismatch(const char* iWhat, const std::string& iExpected, const std::string& iActual)
{
    size_t at = 0;
    while (at < iExpected.size() && at < iActual.size() && iExpected[at] == iActual[at]) ++at;
    size_t from = at < 40 ? 0 : at - 40;
    std::fprintf(stderr,
                 "mtt_bench: %s differs from the hand-written baseline at byte %zu (sizes %zu and %zu)\n"
                 "  baseline: \"%s\"\n  %s: \"%s\"\n",
                 iWhat, at, iExpected.size(), iActual.size(), iExpected.substr(from, 80).c_str(), iWhat,
                 iActual.substr(from, 80).c_str());
}

}  // namespace

BenchWorkload::BenchWorkload(int iClassCount, const std::string& iTemplatePath)
    : _dataset(BenchDataset::Generate(iClassCount, kAttributesPerClass, kSeed)), _templatePath(iTemplatePath)
{
}

BenchWorkload::~BenchWorkload()
{
    delete _tree;
    delete _lateRepeatedTree;
    delete _appendTree;
    delete _orEqualsTree;
    delete _callTree;
}

bool BenchWorkload::Prepare()
{
    _baselineText = BaselineRenderer::Render(_dataset);
    _leanModel = std::make_unique<LeanModel>(_dataset);
    _json = _dataset.ToJson();
    std::string error;
    _jsonModel = JsonModel::FromText(_json, "bench.json", error);
    if (!_jsonModel) {
        std::fprintf(stderr, "mtt_bench: the generated JSON does not load: %s\n", error.c_str());
        return false;
    }

    std::ifstream file(_templatePath, std::ios::binary);
    std::stringstream contents;
    contents << file.rdbuf();
    _templateText = contents.str();
    if (!file || _templateText.empty()) {
        std::fprintf(stderr, "mtt_bench: cannot read the template %s\n", _templatePath.c_str());
        return false;
    }
    TemplateParser parser(_templatePath);
    std::unique_ptr<MTTIStatement> parsed(parser.Parse(_templateText));
    if (!parsed) {
        std::fprintf(stderr, "mtt_bench: the template does not parse:\n%s", parser.Errors().c_str());
        return false;
    }

    _tree = ReferenceTemplate::Build();
    std::string lean = RenderText(_tree, LeanRoot());
    std::string json = RenderText(_tree, JsonRoot());
    std::string fromText = RenderText(parsed.get(), LeanRoot());
    bool same = true;
    const std::pair<const char*, const std::string*> renders[] = {{"the lean-model render", &lean},
                                                                  {"the JSON-model render", &json},
                                                                  {"the parsed template's render", &fromText}};
    for (const auto& render : renders) {
        if (*render.second == _baselineText) continue;
        ReportMismatch(render.first, _baselineText, *render.second);
        same = false;
    }
    if (!same) return false;

    std::string late = LateText(_tree);
    if (late.empty()) {
        std::fprintf(stderr, "mtt_bench: late evaluation of the template gave no text\n");
        return false;
    }
    if (LateText(parsed.get()) != late) {
        std::fprintf(stderr, "mtt_bench: note: the parsed template's late text differs from the built tree's\n");
    }

    // Repeat the template so that late evaluation writes, and parsing reads,
    // about as many bytes as one immediate render writes.
    _lateCopies = static_cast<int>(std::max<size_t>(1, (_baselineText.size() + late.size() / 2) / late.size()));
    _lateRepeatedTree = ReferenceTemplate::BuildRepeated(_lateCopies);
    _parseCopies =
        static_cast<int>(std::max<size_t>(1, (_baselineText.size() + _templateText.size() / 2) / _templateText.size()));
    _repeatedTemplateText.reserve(_templateText.size() * static_cast<size_t>(_parseCopies));
    for (int i = 0; i < _parseCopies; ++i) _repeatedTemplateText += _templateText;

    // The variable and function templates loop over a list of their own.
    _loopObjects.push_back(std::make_unique<LeanModelObject>(0));
    _loopObjects.push_back(std::make_unique<LeanModelObject>(1));
    _loopObjects[0]->AddObject("items", _loopObjects[1].get());
    for (int i = 0; i < kLoopItems; ++i) {
        _loopObjects.push_back(std::make_unique<LeanModelObject>(0));
        _loopObjects[1]->AddElement(_loopObjects.back().get());
    }
    _appendTree = LoopTemplates::Growing(false);
    _orEqualsTree = LoopTemplates::Growing(true);
    _callTree = LoopTemplates::Calling(kFunctions);
    const size_t piece = std::strlen(LoopTemplates::kPiece);
    const std::pair<size_t (BenchWorkload::*)(), size_t> loops[] = {{&BenchWorkload::RenderAppends, kLoopItems * piece},
                                                                    {&BenchWorkload::RenderOrEquals,
                                                                     1 + kLoopItems * (piece + 1)},
                                                                    {&BenchWorkload::RenderCalls, kLoopItems}};
    for (const auto& loop : loops) {
        if ((this->*loop.first)() != loop.second) {
            std::fprintf(stderr, "mtt_bench: a variable or function template gave text of another length\n");
            return false;
        }
    }

    std::vector<double> times;
    for (int i = 0; i < kBaselineRuns; ++i) {
        double begin = CpuClock::Now();
        RenderBaseline();
        times.push_back(CpuClock::Now() - begin);
    }
    _baselineSeconds = *std::min_element(times.begin(), times.end());
    return true;
}

size_t BenchWorkload::RenderBaseline()
{
    std::string text = BaselineRenderer::Render(_dataset);
    return text.size();
}

size_t BenchWorkload::Evaluate(MTTIStatement* iTree, MTLIModelObject* iModel)
{
    MTTEvaluationEnvironment environment(iModel);
    MTTEvaluationOutput* output = iTree->Evaluate(&environment);
    if (output == nullptr) return 0;
    MTTString text;
    output->toString(text);
    delete output;
    return text.Length();
}

size_t BenchWorkload::EvaluateText(MTTIStatement* iTree, MTLIModelObject* iModel)
{
    MTTEvaluationEnvironment environment(iModel);
    MTTString text;
    if (MTTEvaluateText(iTree, &environment, text) != S_OK) return 0;
    return text.Length();
}

size_t BenchWorkload::LateEvaluate(MTTIStatement* iTree)
{
    MTTEvaluationEnvironment environment(&_lateEvaluator);
    MTTEvaluationOutput* output = iTree->LateEvaluate(&environment);
    if (output == nullptr) return 0;
    MTTString text;
    output->toString(text);
    delete output;
    return text.Length();
}

size_t BenchWorkload::Parse(const std::string& iText)
{
    TemplateParser parser(_templatePath);
    MTTIStatement* tree = parser.Parse(iText);
    size_t size = tree == nullptr ? 0 : iText.size();
    delete tree;
    return size;
}

size_t BenchWorkload::RenderLean()
{
    return Evaluate(_tree, LeanRoot());
}
size_t BenchWorkload::RenderLeanText()
{
    return EvaluateText(_tree, LeanRoot());
}
size_t BenchWorkload::RenderLeanShape()
{
    MTTEvaluationEnvironment environment(LeanRoot());
    MTTString text;
    _shape.Clear();
    if (MTTEvaluateText(_tree, &environment, text, nullptr, &_shape) != S_OK) return 0;
    return text.Length();
}
size_t BenchWorkload::RenderJson()
{
    return Evaluate(_tree, JsonRoot());
}
size_t BenchWorkload::RenderJsonText()
{
    return EvaluateText(_tree, JsonRoot());
}
size_t BenchWorkload::RenderAppends()
{
    return EvaluateText(_appendTree, _loopObjects[0].get());
}
size_t BenchWorkload::RenderOrEquals()
{
    return EvaluateText(_orEqualsTree, _loopObjects[0].get());
}
size_t BenchWorkload::RenderCalls()
{
    return EvaluateText(_callTree, _loopObjects[0].get());
}
size_t BenchWorkload::RenderLate()
{
    return LateEvaluate(_tree);
}
size_t BenchWorkload::RenderLateRepeated()
{
    return LateEvaluate(_lateRepeatedTree);
}
size_t BenchWorkload::ParseTemplate()
{
    return Parse(_templateText);
}
size_t BenchWorkload::ParseTemplateRepeated()
{
    return Parse(_repeatedTemplateText);
}

size_t BenchWorkload::LoadJson()
{
    std::string error;
    std::unique_ptr<JsonModel> model = JsonModel::FromText(_json, "bench.json", error);
    return model ? _json.size() : 0;
}

// What the heap holds after the evaluation (seen by the counter), plus the
// pool's chunks that it filled: chunks in use, counted whole, so padding
// and the last chunk's unused end count too.
double BenchWorkload::TreeBytesPerObject(MTLIModelObject* iModel, size_t& oObjects)
{
    MTTEvaluationEnvironment environment(iModel);
    MTTBlockPool::SettleThread();
    const size_t poolBefore = MTTBlockPool::HeldBytes() - MTTBlockPool::IdleBytes();
    AllocationCounter::Start();
    MTTEvaluationOutput* output = _tree->Evaluate(&environment);
    AllocationCounter::Figures figures = AllocationCounter::Current();
    AllocationCounter::Stop();
    MTTBlockPool::SettleThread();
    const size_t poolAfter = MTTBlockPool::HeldBytes() - MTTBlockPool::IdleBytes();
    OutputCensus census;
    census.Walk(output);
    delete output;
    oObjects = census.Nodes() + census.Leaves();
    if (oObjects == 0) return 0;
    double bytes = static_cast<double>(figures.liveBytes) + static_cast<double>(poolAfter - poolBefore);
    return bytes / static_cast<double>(oObjects);
}

std::string BenchWorkload::RenderText(MTTIStatement* iTree, MTLIModelObject* iModel)
{
    MTTEvaluationEnvironment environment(iModel);
    std::unique_ptr<MTTEvaluationOutput> output(iTree->Evaluate(&environment));
    if (!output) return std::string();
    MTTString text;
    output->toString(text);
    return std::string(text.ConvertToChar(), text.Length());
}

std::string BenchWorkload::LateText(MTTIStatement* iTree)
{
    MTTEvaluationEnvironment environment(&_lateEvaluator);
    std::unique_ptr<MTTEvaluationOutput> output(iTree->LateEvaluate(&environment));
    if (!output) return std::string();
    MTTString text;
    output->toString(text);
    return std::string(text.ConvertToChar(), text.Length());
}
