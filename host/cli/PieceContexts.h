#ifndef PIECECONTEXTS_H
#define PIECECONTEXTS_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "MttOutputShape.h"
#include "OutputAncestry.h"
#include "SourceMap.h"

// The contexts of an output's first pieces (OutputAncestry::Walk), for
// the caller to take in order. A large output's are found on a thread of
// their own while the caller takes them: on two cores, the page's work on
// each piece and the walk that tells its context run side by side. The walk numbers new directives and contexts
// as it goes, so the ancestry may be read elsewhere only after Finish.
// The walk keeps only a few blocks ahead of the caller, who lets go of
// each block read: a number a piece, for millions, is not held at once.
class PieceContexts {
public:
    // Starts the walk of iShape for its first iCount leaves: beside, on a
    // thread, with iBeside; else (or when no thread can be had) here,
    // before returning. iAncestry, iShape, iMap and iFiles must outlive it.
    PieceContexts(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                  const std::vector<uint32_t>& iFiles, size_t iCount, bool iBeside);
    // Waits for the walk.
    ~PieceContexts();
    PieceContexts(const PieceContexts&) = delete;
    PieceContexts& operator=(const PieceContexts&) = delete;

    // The context of piece iPiece, once the walk has told it; 0 for a
    // piece past the shape's leaves (or past where a failed walk stopped).
    // Pieces are asked for in order: the blocks before iPiece's are let go.
    int32_t At(size_t iPiece)
    {
        if (iPiece < _toldSeen && iPiece / kBlock == _reading) return _block[iPiece % kBlock];
        return Next(iPiece);
    }
    // Waits for the end of the walk, which then keeps every context it
    // tells; throws what it threw.
    void Finish();

private:
    // How many contexts are published at once: each publication is a
    // write the other core must fetch.
    static constexpr size_t kTellEvery = 1024;
    // Contexts a block, and how many blocks the walk may be ahead of the
    // block being read.
    static constexpr size_t kBlock = size_t(1) << 13;
    static constexpr size_t kAhead = 4;

    // At, past what was told when last looked or in another block.
    int32_t Next(size_t iPiece);
    int32_t Wait(size_t iPiece);
    // Moves the reading on to block iBlock.
    void Read(size_t iBlock);
    // Waits until the walk may write block iBlock.
    void Admit(size_t iBlock);
    // Lets the walk go on to the end, whatever is read.
    void Unbound();
    void Walk(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
              const std::vector<uint32_t>& iFiles);

    const size_t _count;
    // Made by the walk before it tells their contexts; let go of by the
    // reader behind it.
    std::vector<std::unique_ptr<int32_t[]>> _blocks;
    size_t _reading = 0;              // the block being read
    const int32_t* _block = nullptr;  // its contexts, once told
    size_t _toldSeen = 0;             // _told when last looked
    // The walk sleeps while it is ahead: a walk that spun took a tenth of
    // the page's time from the other threads.
    std::mutex _admitting;
    std::condition_variable _admitted;
    size_t _readingShared = 0;  // _reading, for the walk
    bool _unbounded = false;    // the walk waits for no reader
    std::atomic<size_t> _told{0};
    std::atomic<bool> _ended{false};
    std::exception_ptr _failure;
    std::thread _walk;
    bool _finished = false;
};

#endif
