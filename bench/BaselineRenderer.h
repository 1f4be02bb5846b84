#ifndef BASELINERENDERER_H
#define BASELINERENDERER_H

#include <string>

#include "BenchDataset.h"

// The reference template written by hand: std::string appends straight
// from the dataset, with no reserve (the library cannot know the size
// ahead either). What the library's renders are measured against.
class BaselineRenderer {
public:
    static std::string Render(const BenchDataset& iDataset);
};

#endif
