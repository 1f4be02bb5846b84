#ifndef MTTEVALUATIONOUTPUTTYPE_H
#define MTTEVALUATIONOUTPUTTYPE_H

enum MTTEvaluationOutputType : int {
    MTTOutputLeaf = 0,
    MTTOutputNode = 1,
};

#endif
