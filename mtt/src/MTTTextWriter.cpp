#include "MTTTextWriter.h"

#include <vector>

#include "MTTEvaluationEnvironment.h"
#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTIOutputListener.h"
#include "MTTITextPieceListener.h"
#include "MTTIStatement.h"
#include "MTTStatementKindFinder.h"

namespace {

// An output still to write, or with closes set, the end of the node whose
// children were written. A type of this file's own, so that the vector of
// them is not exported with the output classes.
struct Pending {
    MTTEvaluationOutput* output;
    bool closes;
};

}  // namespace

template <bool kHeard>
MTTTextWriterOf<kHeard>::MTTTextWriterOf(MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                                         MTTITextPieceListener* iUserCode, MTTIOutputListener* iOutput)
    : _environment(iEnvironment), _text(ioText), _userCode(iUserCode), _output(iOutput)
{
}

template <bool kHeard>
bool MTTTextWriterOf<kHeard>::Write(MTTIStatement* iStatement)
{
    return Write(iStatement, MTTStatementKindFinder::Of(iStatement));
}

template <bool kHeard>
bool MTTTextWriterOf<kHeard>::WriteOther(MTTIStatement* iStatement)
{
    MTTEvaluationOutput* output = iStatement->Evaluate(_environment);
    if (output == nullptr) return false;
    if (_userCode == nullptr && !kHeard) {
        output->toString(_text);
    } else {
        // Leaf by leaf, in text order, to hear those of usercode
        // statements and the shape of the output; without recursion, as an
        // output may nest deeply.
        std::vector<Pending> pending{Pending{output, false}};
        while (!pending.empty()) {
            const Pending next = pending.back();
            pending.pop_back();
            if (next.closes) {
                HearClose();
                continue;
            }
            if (next.output == nullptr) continue;
            const MTTEvaluationOutputType type = next.output->GetMTTEvaluationOutputType();
            MTTIStatement* statement = next.output->GetStatement();
            MTLIModelObject* object = next.output->GetModelObject();
            if (type == MTTEvaluationOutputType::MTTOutputNode) {
                const MTTEvaluationOutputNode* node = static_cast<MTTEvaluationOutputNode*>(next.output);
                if constexpr (kHeard) {
                    HearOpen(statement, object);
                    pending.push_back(Pending{nullptr, true});
                }
                for (int i = node->GetChildCount() - 1; i >= 0; --i)
                    pending.push_back(Pending{node->GetChild(i), false});
                continue;
            }
            const size_t begin = _text.Length();
            MTTEvaluationOutputLeafType leafType = MTTLeafGeneratedText;
            if (type == MTTEvaluationOutputType::MTTOutputLeaf) {
                const MTTEvaluationOutputLeaf* leaf = static_cast<MTTEvaluationOutputLeaf*>(next.output);
                _text.Append(leaf->Text());
                leafType = leaf->GetLeafType();
            } else {
                next.output->toString(_text);
            }
            if (_userCode != nullptr && statement != nullptr &&
                MTTStatementKindFinder::Of(statement) == MTTStatementKind::kStatUsercode) {
                Hear(statement, object, leafType, begin);
            }
            if constexpr (kHeard) HearLeaf(statement, object, leafType, begin);
        }
    }
    delete output;
    return true;
}

template <bool kHeard>
void MTTTextWriterOf<kHeard>::Hear(MTTIStatement* iStatement, MTLIModelObject* iObject,
                                   MTTEvaluationOutputLeafType iType, size_t iBegin)
{
    _userCode->OnUserCodePiece(MTTTextPiece{iStatement, iObject, iType, iBegin, _text.Length()});
}

template class MTTTextWriterOf<false>;
template class MTTTextWriterOf<true>;
