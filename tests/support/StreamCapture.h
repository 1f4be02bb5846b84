#ifndef STREAMCAPTURE_H
#define STREAMCAPTURE_H

#include <string>

// Captures everything written to file descriptors 1 and 2 (standard output
// and standard error, C stdio included) from construction until Stop().
class StreamCapture {
public:
    StreamCapture();
    ~StreamCapture();

    // Restores both streams; later calls do nothing.
    void Stop();
    // What was written to standard output / standard error (stops first).
    const std::string& Out();
    const std::string& Err();

private:
    StreamCapture(const StreamCapture&) = delete;
    StreamCapture& operator=(const StreamCapture&) = delete;

    int _savedOut;
    int _savedErr;
    int _fileOut;
    int _fileErr;
    bool _stopped;
    std::string _out;
    std::string _err;
};

#endif
