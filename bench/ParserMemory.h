#ifndef PARSERMEMORY_H
#define PARSERMEMORY_H

#include <cstdio>
#include <string>

// What parsing a large template costs in memory, per directive: the
// template repeated to about iBytes is parsed once (as a file is: the
// parser keeps the text it is given), and the peak of the heap it uses, the
// block pool's new chunks and the text it keeps are divided by the number
// of directives ("[%" ... "%]"). False when the template does not parse.
class ParserMemory {
public:
    static bool Report(std::FILE* iStream, const std::string& iTemplate, size_t iBytes);
};

#endif
