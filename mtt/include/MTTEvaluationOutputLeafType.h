#ifndef MTTEVALUATIONOUTPUTLEAFTYPE_H
#define MTTEVALUATIONOUTPUTLEAFTYPE_H

// What a leaf's text is. Other values are stored and returned unchanged.
enum MTTEvaluationOutputLeafType : int {
    MTTLeafUserCode = 0,       // user code kept from the model
    MTTLeafGeneratedText = 1,  // everything else; the type of a new leaf
};

#endif
