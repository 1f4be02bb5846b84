#ifndef JSONEVENTPIPE_H
#define JSONEVENTPIPE_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "JsonTextEvents.h"

class JsonModelBuilder;

// Loads a large model on two cores: a reader parses the text on a thread of
// its own and writes what it meets into batches of bytes, while the
// builder, on the calling thread, fills the model from them. Parsing is a
// third of loading a JSON model (more of a YAML one), building the rest;
// both now run at once. Six batches of 16 KiB go round, whatever the
// model's size.
class JsonEventPipe final : public JsonTextEvents {
public:
    // Reads with iRead (on another thread) into ioBuilder; true when the
    // reader read the whole text and the builder took every value (a name
    // given twice stops both). Where no thread can be had, iAlone reads
    // into the builder instead. Batches of iBatchBytes (tests try small
    // ones).
    static bool Read(const std::function<bool(JsonEventPipe&)>& iRead, JsonModelBuilder& ioBuilder,
                     const std::function<bool()>& iAlone, std::size_t iBatchBytes = kBatchBytes);

    static const std::size_t kBatchBytes;

    // The reader's side, here to be inlined into the JSON reader's loop.
    void OpenArray() override { Put(kOpenArray); }
    void OpenObject() override { Put(kOpenObject); }
    void Key(std::string_view iName) override { Put(kKey, iName); }
    void String(std::string_view iText) override { Put(kString, iText); }
    void Number(std::string_view iText) override { Put(kNumber, iText); }
    void Boolean(bool iValue) override { Put(iValue ? kTrue : kFalse); }
    void Null() override { Put(kNull); }
    // False once the builder has refused a value: the reader stops.
    bool Close() override
    {
        Put(kClose);
        return !_refused.load(std::memory_order_relaxed);
    }

private:
    // An event is a byte; a text follows its byte as its length (32 bits,
    // as the model's texts) and its bytes.
    enum Event : char {
        kOpenArray = '[',
        kOpenObject = '{',
        kClose = '}',
        kKey = 'k',
        kString = 's',
        kNumber = 'd',
        kTrue = 't',
        kFalse = 'f',
        kNull = 'n',
    };

    explicit JsonEventPipe(std::size_t iBatchBytes) : _batchBytes(iBatchBytes) {}

    struct Batch {
        std::string bytes;  // its room; the first used bytes are events
        std::size_t used = 0;
    };

    void Put(char iEvent)
    {
        if (_writing.used == _writing.bytes.size()) Ship();
        _writing.bytes[_writing.used++] = iEvent;
    }
    void Put(char iEvent, std::string_view iText);
    // Hands the batch being written to the builder and takes a free one;
    // when none is free, waits until half of them are.
    void Ship();
    // The reader's end: its last batch shipped, and what it gave.
    void End(bool iRead, std::exception_ptr iFailure);
    // The builder's side: every batch heard until the reader ends; false
    // when a value is refused.
    bool Hear(JsonModelBuilder& ioBuilder);
    bool HearBatch(const Batch& iBatch, JsonModelBuilder& ioBuilder) const;
    // Stops the reader at its next batch or close (the builder failed).
    void Refuse();

    const std::size_t _batchBytes;
    Batch _writing;  // the reader's
    std::mutex _lock;
    std::condition_variable _forReader;   // a batch to write, or refused
    std::condition_variable _forBuilder;  // a batch to hear, or the end
    bool _readerWaits = false;
    bool _builderWaits = false;
    std::deque<Batch> _full;    // shipped, not yet heard
    std::vector<Batch> _spare;  // heard, to be written again
    bool _ended = false;
    bool _read = false;
    std::exception_ptr _failure;
    // Also read by the reader without the lock, at every close.
    std::atomic<bool> _refused{false};
};

#endif
