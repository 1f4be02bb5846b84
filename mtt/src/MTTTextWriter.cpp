#include "MTTTextWriter.h"

#include <vector>

#include "MTTEvaluationOutput.h"
#include "MTTEvaluationOutputLeaf.h"
#include "MTTEvaluationOutputNode.h"
#include "MTTITextPieceListener.h"
#include "MTTIStatement.h"
#include "MTTStatementKindFinder.h"

namespace {

// An output still to write. A type of this file's own, so that the vector
// of them is not exported with the output classes.
struct Pending {
    MTTEvaluationOutput* output;
};

}  // namespace

MTTTextWriter::MTTTextWriter(MTTEvaluationEnvironment* iEnvironment, MTTString& ioText,
                             MTTITextPieceListener* iUserCode)
    : _environment(iEnvironment), _text(ioText), _userCode(iUserCode)
{
}

bool MTTTextWriter::Write(MTTIStatement* iStatement)
{
    return Write(iStatement, MTTStatementKindFinder::Of(iStatement));
}

bool MTTTextWriter::WriteOther(MTTIStatement* iStatement)
{
    MTTEvaluationOutput* output = iStatement->Evaluate(_environment);
    if (output == nullptr) return false;
    if (_userCode == nullptr) {
        output->toString(_text);
    } else {
        // Leaf by leaf, in text order, to hear those of usercode
        // statements; without recursion, as an output may nest deeply.
        std::vector<Pending> pending{Pending{output}};
        while (!pending.empty()) {
            MTTEvaluationOutput* next = pending.back().output;
            pending.pop_back();
            if (next == nullptr) continue;
            if (next->GetMTTEvaluationOutputType() == MTTEvaluationOutputType::MTTOutputNode) {
                const MTTEvaluationOutputNode* node = static_cast<MTTEvaluationOutputNode*>(next);
                for (int i = node->GetChildCount() - 1; i >= 0; --i) pending.push_back(Pending{node->GetChild(i)});
                continue;
            }
            const MTTEvaluationOutputLeaf* leaf = static_cast<MTTEvaluationOutputLeaf*>(next);
            const size_t begin = _text.Length();
            _text.Append(leaf->Text());
            MTTIStatement* statement = leaf->GetStatement();
            if (statement != nullptr && MTTStatementKindFinder::Of(statement) == MTTStatementKind::kStatUsercode) {
                Hear(statement, leaf->GetModelObject(), leaf->GetLeafType(), begin);
            }
        }
    }
    delete output;
    return true;
}

void MTTTextWriter::Hear(MTTIStatement* iStatement, MTLIModelObject* iObject, MTTEvaluationOutputLeafType iType,
                         size_t iBegin)
{
    _userCode->OnUserCodePiece(MTTTextPiece{iStatement, iObject, iType, iBegin, _text.Length()});
}
