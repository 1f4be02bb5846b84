#include "PieceContexts.h"

#include <system_error>

PieceContexts::PieceContexts(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                             const std::vector<uint32_t>& iFiles, size_t iCount)
    : _contexts(iCount, 0)
{
    try {
        _walk = std::thread([this, &ioAncestry, &iShape, &iMap, &iFiles] { Walk(ioAncestry, iShape, iMap, iFiles); });
    } catch (const std::system_error&) {
        Walk(ioAncestry, iShape, iMap, iFiles);
    }
}

PieceContexts::~PieceContexts()
{
    if (_walk.joinable()) _walk.join();
}

void PieceContexts::Walk(OutputAncestry& ioAncestry, const mtt::OutputShape& iShape, const SourceMap& iMap,
                         const std::vector<uint32_t>& iFiles)
{
    size_t walked = 0;
    try {
        ioAncestry.Walk(iShape, iMap, iFiles, [&](size_t iLeaf, int32_t iContext) {
            if (iLeaf != walked || walked == _contexts.size()) return;
            _contexts[walked++] = iContext;
            if (walked % kTellEvery == 0) _told.store(walked, std::memory_order_release);
        });
    } catch (...) {
        _failure = std::current_exception();
    }
    _told.store(walked, std::memory_order_release);
    _ended.store(true, std::memory_order_release);
}

int32_t PieceContexts::Wait(size_t iPiece)
{
    for (;;) {
        // Read before the count: once ended, the count is final.
        const bool ended = _ended.load(std::memory_order_acquire);
        if (iPiece < _told.load(std::memory_order_acquire)) return _contexts[iPiece];
        if (ended) return 0;
        std::this_thread::yield();
    }
}

void PieceContexts::Finish()
{
    if (_finished) return;
    _finished = true;
    if (_walk.joinable()) _walk.join();
    if (_failure) std::rethrow_exception(_failure);
}
