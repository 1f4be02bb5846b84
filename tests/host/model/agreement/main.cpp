// The late-generated statements of the agreement pairs in one program:
//   agreement report|constructs|schema|language MODEL.json
#include "mtt_runtime.h"

namespace {

void Report(mtt_runtime::Model& mtt_model)
{
#include "report.inc"
}

void Constructs(mtt_runtime::Model& mtt_model)
{
#include "constructs.inc"
}

void Schema(mtt_runtime::Model& mtt_model)
{
#include "schema.inc"
}

void Language(mtt_runtime::Model& mtt_model)
{
#include "language.inc"
}

}  // namespace

int main(int argc, char** argv)
{
    mtt_runtime::Model mtt_model;
    std::string error;
    if (argc != 3 || !mtt_model.LoadFile(argv[2], error)) {
        std::cerr << (argc != 3 ? std::string("usage: agreement report|constructs|schema|language MODEL.json") : error)
                  << "\n";
        return 2;
    }
    const std::string pair = argv[1];
    if (pair == "report") {
        Report(mtt_model);
    } else if (pair == "constructs") {
        Constructs(mtt_model);
    } else if (pair == "language") {
        Language(mtt_model);
    } else {
        Schema(mtt_model);
    }
    return 0;
}
