#include "ModelLoading.h"

#include <cstdio>
#include <fstream>
#include <memory>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "JsonModel.h"

namespace {

// The model's file for the process's life.
class ModelFile {
public:
    explicit ModelFile(const std::string& iJson)
    {
        char path[] = "/tmp/mtt-bench-model-XXXXXX";
        const int descriptor = mkstemp(path);
        if (descriptor >= 0) close(descriptor);
        _path = path;
        std::ofstream(_path, std::ios::binary) << iJson;
    }
    ~ModelFile() { std::remove(_path.c_str()); }
    const std::string& Path() const { return _path; }

private:
    std::string _path;
};

}  // namespace

void ModelLoading::Register(const std::string& iJson)
{
    static std::unique_ptr<ModelFile> file;
    static std::string text;
    file.reset(new ModelFile(iJson));
    text = iJson;
    benchmark::RegisterBenchmark("g_json_load_file", [](benchmark::State& ioState) {
        for (auto _ : ioState) {
            std::string error;
            std::unique_ptr<JsonModel> model = JsonModel::LoadFile(file->Path(), error);
            if (!model) ioState.SkipWithError(error.c_str());
            benchmark::DoNotOptimize(model.get());
        }
        ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations() * text.size()));
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("g_yaml_load", [](benchmark::State& ioState) {
        for (auto _ : ioState) {
            std::string error;
            std::unique_ptr<JsonModel> model = JsonModel::FromYamlText(text, "bench.yaml", error);
            if (!model) ioState.SkipWithError(error.c_str());
            benchmark::DoNotOptimize(model.get());
        }
        ioState.SetBytesProcessed(static_cast<int64_t>(ioState.iterations() * text.size()));
    })->Unit(benchmark::kMillisecond);
}
