#ifndef RUNMARKER_H
#define RUNMARKER_H

#include <cstddef>
#include <set>
#include <string>

#include "OutputPaths.h"
#include "TemporaryFileGuard.h"

// Lets a later run remove the temporary files of a run that died before it
// could (kill -9, the out-of-memory killer, a build tool's timeout): the
// signals a run can catch remove them at once (TemporaryFileGuard). While
// a run prepares its files and puts them in place, ROOT/.mttgen-runs/TAG
// is held locked (flock) and lists the folders that hold its temporary
// files, whose names carry TAG; the folder goes when its last marker does. A marker that another run can lock belongs
// to a run that has ended: that run removes the files with its TAG in the
// folders listed, then the marker. Nothing else is touched: no file
// without that TAG, and no file of a run still going.
class RunMarker {
public:
    explicit RunMarker(std::string iRoot);
    ~RunMarker();
    // Removes the marker: the run's temporary files are in place or gone.
    void End();
    RunMarker(const RunMarker&) = delete;
    RunMarker& operator=(const RunMarker&) = delete;

    // The marker of the run preparing files on this thread, or null.
    static RunMarker* Current();
    // Makes a marker Current() on this thread while it lives.
    class Active {
    public:
        explicit Active(RunMarker& ioMarker);
        ~Active();
        Active(const Active&) = delete;
        Active& operator=(const Active&) = delete;

    private:
        RunMarker* _before;
    };

    // The tag for the name of a temporary file about to be made in iFolder
    // (relative to the current folder or absolute; "" is the current
    // folder), once the marker lists iFolder. Empty when no marker can be
    // kept (a file system without locks): the file is named as it was.
    std::string TagFor(const std::string& iFolder);

    // Removes what the ended runs of iRoot left behind: how many
    // temporary files.
    static size_t Sweep(const std::string& iRoot);

    static const char* const kFolder;

private:
    bool Begin();

    std::string _root;
    std::string _tag;
    std::string _path;
    int _fd = -1;
    bool _failed = false;
    std::set<std::string> _folders;
    OutputPaths _paths;  // for the current folder, taken once
    // An interrupted run takes its marker along, and the markers' folder
    // when it empties.
    TemporaryFileGuard _markerGuard;
    TemporaryFileGuard _folderGuard;
};

#endif
