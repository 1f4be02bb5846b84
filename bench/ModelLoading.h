#ifndef MODELLOADING_H
#define MODELLOADING_H

#include <string>

// Loading the reference model as mttgen does: the JSON file read straight
// into the reader's buffer (g_json_load_file), and the same text read as
// YAML, of which JSON is a part (g_yaml_load). Each case checks that the
// model loaded.
class ModelLoading {
public:
    // iJson: the reference model's text.
    static void Register(const std::string& iJson);
};

#endif
