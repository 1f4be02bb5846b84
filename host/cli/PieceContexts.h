#ifndef PIECECONTEXTS_H
#define PIECECONTEXTS_H

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <thread>
#include <vector>

#include "MttOutputShape.h"
#include "OutputAncestry.h"
#include "SourceMap.h"

// The contexts of a large output's first pieces (OutputAncestry::Walk),
// found on a thread of their own while the caller takes them in order:
// on two cores, the page's work on each piece and the walk that tells its
// context run side by side. The walk numbers new directives and contexts
// as it goes, so the ancestry may be read elsewhere only after Finish.
class PieceContexts {
public:
    // Starts the walk of iShape for its first iCount leaves (here, before
    // returning, when no thread can be had). iAncestry, iShape, iMap and
    // iFiles must outlive it.
    PieceContexts(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                  const std::vector<uint32_t>& iFiles, size_t iCount);
    // Waits for the walk.
    ~PieceContexts();
    PieceContexts(const PieceContexts&) = delete;
    PieceContexts& operator=(const PieceContexts&) = delete;

    // The context of piece iPiece, once the walk has told it; 0 for a
    // piece past the shape's leaves (or past where a failed walk stopped).
    int32_t At(size_t iPiece)
    {
        if (iPiece < _told.load(std::memory_order_acquire)) return _contexts[iPiece];
        return Wait(iPiece);
    }
    // Waits for the end of the walk; throws what it threw.
    void Finish();

private:
    // How many contexts are published at once: each publication is a
    // write the other core must fetch.
    static constexpr size_t kTellEvery = 1024;

    int32_t Wait(size_t iPiece);
    void Walk(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
              const std::vector<uint32_t>& iFiles);

    std::vector<int32_t> _contexts;
    std::atomic<size_t> _told{0};
    std::atomic<bool> _ended{false};
    std::exception_ptr _failure;
    std::thread _walk;
    bool _finished = false;
};

#endif
