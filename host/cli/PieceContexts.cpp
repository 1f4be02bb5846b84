#include "PieceContexts.h"

#include <system_error>

PieceContexts::PieceContexts(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                             const std::vector<uint32_t>& iFiles, size_t iCount, bool iBeside)
    : _count(iCount), _blocks((iCount + kBlock - 1) / kBlock)
{
    if (iBeside) {
        try {
            _walk =
                std::thread([this, &ioAncestry, &iShape, &iMap, &iFiles] { Walk(ioAncestry, iShape, iMap, iFiles); });
            return;
        } catch (const std::system_error&) {
            // No thread to be had: walked here.
        }
    }
    // Here, before anything is read: all of it is kept.
    Unbound();
    Walk(ioAncestry, iShape, iMap, iFiles);
}

PieceContexts::~PieceContexts()
{
    // A reader that stops early must not leave the walk waiting for it.
    Unbound();
    if (_walk.joinable()) _walk.join();
}

void PieceContexts::Walk(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                         const std::vector<uint32_t>& iFiles)
{
    size_t walked = 0;
    try {
        ioAncestry.Walk(iShape, iMap, iFiles, [&](size_t iLeaf, int32_t iContext) {
            if (iLeaf != walked || walked == _count) return;
            if (walked % kBlock == 0) {
                // Told only after it is made: the reader sees it made.
                Admit(walked / kBlock);
                _blocks[walked / kBlock].reset(new int32_t[kBlock]);
            }
            _blocks[walked / kBlock][walked % kBlock] = iContext;
            ++walked;
            if (walked % kTellEvery == 0) _told.store(walked, std::memory_order_release);
        });
    } catch (...) {
        _failure = std::current_exception();
    }
    _told.store(walked, std::memory_order_release);
    _ended.store(true, std::memory_order_release);
}

void PieceContexts::Admit(size_t iBlock)
{
    std::unique_lock<std::mutex> lock(_admitting);
    _admitted.wait(lock, [this, iBlock] { return iBlock <= _readingShared + kAhead || _unbounded; });
}

void PieceContexts::Unbound()
{
    {
        const std::lock_guard<std::mutex> lock(_admitting);
        _unbounded = true;
    }
    _admitted.notify_one();
}

void PieceContexts::Read(size_t iBlock)
{
    // The walk is past the blocks behind: it no longer writes them.
    const size_t told = _told.load(std::memory_order_acquire);
    for (size_t block = _reading; block < iBlock && block < _blocks.size(); ++block) {
        if ((block + 1) * kBlock <= told) _blocks[block].reset();
    }
    _reading = iBlock;
    {
        const std::lock_guard<std::mutex> lock(_admitting);
        _readingShared = iBlock;
    }
    _admitted.notify_one();
}

int32_t PieceContexts::Next(size_t iPiece)
{
    if (iPiece / kBlock != _reading) {
        Read(iPiece / kBlock);
        _block = nullptr;
    }
    _toldSeen = _told.load(std::memory_order_acquire);
    if (iPiece >= _toldSeen) return Wait(iPiece);
    _block = _blocks[_reading].get();
    return _block[iPiece % kBlock];
}

int32_t PieceContexts::Wait(size_t iPiece)
{
    for (;;) {
        // Read before the count: once ended, the count is final.
        const bool ended = _ended.load(std::memory_order_acquire);
        if (iPiece < _told.load(std::memory_order_acquire)) return _blocks[iPiece / kBlock][iPiece % kBlock];
        if (ended) return 0;
        std::this_thread::yield();
    }
}

void PieceContexts::Finish()
{
    if (_finished) return;
    _finished = true;
    Unbound();
    if (_walk.joinable()) _walk.join();
    if (_failure) std::rethrow_exception(_failure);
}
