#ifndef MTTUSERCODEMARKERS_H
#define MTTUSERCODEMARKERS_H

// The texts of the two leaves that the user-code statement puts around a
// model object's user code (both of type MTTLeafGeneratedText). Hosts that
// find user-code sections again in an output tree, or in a written file,
// match these.
class MTTUserCodeMarkers {
public:
    // The leaf before the user code.
    static constexpr char kBegin[] = "\n// Begin of User Code\n";
    // The leaf after the user code.
    static constexpr char kEnd[] = "// End of User Code\n";
};

#endif
