#ifndef REFERENCETEMPLATE_H
#define REFERENCETEMPLATE_H

class MTTIStatement;
class MTTNodeFactory;

// The reference template built through the node factory, node by node, as
// a parser would:
//
//   foreach classes
//     "class " ${name} " {\n"
//     foreach attributes
//       "  " if (${type} == "string") "KORUnicodeString" else ${type}
//       " " ${name} ";\n"
//     end
//     "};\n\n"
//   end
class ReferenceTemplate {
public:
    // A new tree; the caller deletes it.
    static MTTIStatement* Build();
    // iCopies copies of the template's loop one after the other in one list.
    static MTTIStatement* BuildRepeated(int iCopies);

private:
    static MTTIStatement* BuildLoop(MTTNodeFactory& ioFactory);
};

#endif
