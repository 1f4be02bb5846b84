#ifndef PREVIOUSRUN_H
#define PREVIOUSRUN_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ModelNodeTable;

// What an earlier run left to compare with (--explain-since FILE): its
// explain page, which holds its generated files, its templates, its model
// and, per piece of text, the model elements behind it; or one of its
// generated files, which holds only the text.
class PreviousRun {
public:
    struct Output {
        std::string text;
        // Per line of the text: the model elements its pieces were made
        // for or read from (numbers of Model()); empty for a plain text.
        std::vector<std::vector<int32_t>> lineNodes;
    };

    PreviousRun();
    ~PreviousRun();

    // False with oError when the file cannot be read.
    bool Load(const std::string& iPath, std::string& oError);

    const std::string& Path() const { return _path; }
    bool IsPage() const { return _page; }
    // The output of that name; for a plain text, the text whatever the name.
    const Output* FindOutput(const std::string& iName) const;
    std::vector<std::string> OutputNames() const;
    // A template file's text by its name, or null.
    const std::string* Template(const std::string& iName) const;
    // The earlier model (empty for a plain text).
    const ModelNodeTable& Model() const { return *_model; }
    // A -D variable's value, or null.
    const std::string* Variable(const std::string& iName) const;
    const std::map<std::string, std::string>& Variables() const { return _variables; }

private:
    bool ReadPage(const std::string& iData, std::string& oError);

    std::string _path;
    bool _page = false;
    std::map<std::string, Output> _outputs;
    std::map<std::string, std::string> _templates;
    std::map<std::string, std::string> _variables;
    std::unique_ptr<ModelNodeTable> _model;
};

#endif
