// Runs a fuzz target over files and folders given on the command line, so
// that the seed corpus and every input the fuzzer ever found stay regression
// tests in builds without libFuzzer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* iData, size_t iSize);

namespace fs = std::filesystem;

static void Replay(const fs::path& iPath, int& ioCount)
{
    std::ifstream in(iPath, std::ios::binary);
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The library's own messages are expected; keep only the file name.
    std::fprintf(stderr, "replay %s\n", iPath.c_str());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.data()), data.size());
    ++ioCount;
}

int main(int argc, char** argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        fs::path root(argv[i]);
        if (fs::is_directory(root)) {
            std::vector<fs::path> files;
            for (const auto& entry : fs::recursive_directory_iterator(root)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            for (const auto& file : files) Replay(file, count);
        } else if (fs::is_regular_file(root)) {
            Replay(root, count);
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", count);
    return count > 0 ? 0 : 1;
}
