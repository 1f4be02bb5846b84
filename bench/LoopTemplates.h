#ifndef LOOPTEMPLATES_H
#define LOOPTEMPLATES_H

class MTTIStatement;

// Templates that stress variables and functions, built through the node
// factory. Each loops over the "items" list of its model:
//
//   Growing(false): declare string s; foreach items { s += <40 characters> }; ${s}
//   Growing(true):  declare int s;    foreach items { s |= <40 characters> }; ${s}
//   Calling(n):     function f0(p) {} ... function f<n-1>(p) { ${p} }
//                   foreach items { f<n-1>("x") }
class LoopTemplates {
public:
    // The 40 characters added per element.
    static const char* const kPiece;

    static MTTIStatement* Growing(bool iOrEquals);
    static MTTIStatement* Calling(int iFunctions);
};

#endif
