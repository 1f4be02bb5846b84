// Renders a template file against a JSON model in-process, with the
// installed template library:
//   cmake -S . -B build -DCMAKE_PREFIX_PATH=/where/mtt/is/installed && cmake --build build
//   ./build/template-host page.mtt model.json
// or: g++ -std=c++17 main.cpp $(pkg-config --cflags --libs mtt-template) -o template-host
#include <iostream>

#include "MttModel.h"
#include "MttTemplate.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    std::vector<TemplateError> errors;
    std::unique_ptr<mtt::Template> page = mtt::Template::FromFile(argv[1], errors);
    for (const TemplateError& error : errors) std::cerr << error.ToString();
    std::string error;
    std::unique_ptr<mtt::Model> model = mtt::Model::FromFile(argv[2], error);
    if (!model) std::cerr << error << "\n";
    if (!page || !model) return 2;
    mtt::RenderOptions options;
    options.variables["generator"] = "template-host";
    mtt::RenderResult result = page->Render(*model, options);
    std::cout << result.text;
    return result.ok ? 0 : 1;
}
