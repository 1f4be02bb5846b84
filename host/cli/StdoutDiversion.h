#ifndef STDOUTDIVERSION_H
#define STDOUTDIVERSION_H

// While it lives, everything written to standard output (file descriptor 1,
// C stdio included) goes to standard error instead. The library writes its
// "ERROR: " lines to standard output; diverting them keeps standard output
// for the generated text alone.
class StdoutDiversion {
public:
    StdoutDiversion();
    ~StdoutDiversion();

private:
    StdoutDiversion(const StdoutDiversion&) = delete;
    StdoutDiversion& operator=(const StdoutDiversion&) = delete;

    int _savedOut;
};

#endif
