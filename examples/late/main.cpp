// Runs the statements that late evaluation of report.cpp.mtt produced:
//   mttgen --late report.cpp.mtt -o report.inc
//   g++ -std=c++17 -I. -I../../host/runtime main.cpp -o report
//   ./report model.json
#include "mtt_runtime.h"

int main(int argc, char** argv)
{
    mtt_runtime::Model mtt_model;
    std::string error;
    if (argc != 2 || !mtt_model.LoadFile(argv[1], error)) {
        std::cerr << (argc != 2 ? std::string("usage: report MODEL.json") : error) << "\n";
        return 2;
    }
#include "report.inc"
    return 0;
}
