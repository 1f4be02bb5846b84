#ifndef MTTSTATEMENTKIND_H
#define MTTSTATEMENTKIND_H

// The library's statement kinds, for the text path's dispatch: a parent
// finds its children's kinds once, when it is built, so that writing their
// text costs a switch instead of a visit. kOther is any other statement (a
// host's own kind), which is evaluated and its output's text taken.
enum class MTTStatementKind : unsigned char {
    kOther,
#define MTT_NODE(Kind)
#define MTT_STATEMENT(Kind) k##Kind,
#include "MTTNodeKinds.def"
};

#endif
