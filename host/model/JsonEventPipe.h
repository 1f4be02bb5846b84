#ifndef JSONEVENTPIPE_H
#define JSONEVENTPIPE_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "JsonModelTexts.h"
#include "JsonTextEvents.h"
#include "ShortCopy.h"

class JsonModelBuilder;

// Loads a large model on two cores: a reader parses the text on a thread of
// its own and writes what it meets into batches of bytes, while the
// builder, on the calling thread, fills the model from them. Six batches of
// 128 KiB go round, whatever the model's size: few hand-overs, as each
// wakes a thread, which a small virtual machine makes slow (16 KiB ones
// loaded the 7 MB reference model 15% slower at the median); their pages
// go back to the system once the model is read. The work is shared so that
// neither side waits for long: JSON's reader, the lighter, also puts the
// texts and names in the builder's JsonModelTexts and sends their numbers;
// YAML's, which also finds what its plain scalars are, sends the texts
// themselves.
class JsonEventPipe final : public JsonTextEvents {
public:
    // Which side puts the texts and names in the builder's JsonModelTexts.
    enum class Texts { kNumberedByReader, kSentToBuilder };

    // Reads with iRead (on another thread) into ioBuilder; true when the
    // reader read the whole text and the builder took every value (a name
    // given twice stops both). Where no thread can be had, iAlone reads
    // into the builder instead. Batches of iBatchBytes, and at least an
    // event and its number (tests try small ones).
    static bool Read(const std::function<bool(JsonEventPipe&)>& iRead, JsonModelBuilder& ioBuilder,
                     const std::function<bool()>& iAlone, Texts iTexts, std::size_t iBatchBytes = kBatchBytes);

    static const std::size_t kBatchBytes;

    // The reader's side, here to be inlined into the reader's loop.
    void OpenArray() override
    {
        if (_numbered) _texts.Open();
        Put(kOpenArray);
    }
    void OpenObject() override
    {
        if (_numbered) _texts.Open();
        Put(kOpenObject);
    }
    void Key(std::string_view iName) override
    {
        if (_numbered) {
            Put(kKey, _texts.Key(iName));
        } else {
            PutText(kKey, iName);
        }
    }
    void String(std::string_view iText) override
    {
        if (_numbered) {
            Put(kString, _texts.Text(iText));
        } else {
            PutText(kString, iText);
        }
    }
    void Number(std::string_view iText) override
    {
        if (_numbered) {
            Put(kNumber, _texts.Text(iText));
        } else {
            PutText(kNumber, iText);
        }
    }
    void Boolean(bool iValue) override { Put(iValue ? kTrue : kFalse); }
    void Null() override { Put(kNull); }
    // False once the builder has refused a value: the reader stops.
    bool Close() override
    {
        if (_numbered) _texts.Close();
        Put(kClose);
        return !_refused.load(std::memory_order_relaxed);
    }

private:
    // An event is a byte; a text's offset or a name's number follows its
    // byte (32 bits), or else the text's length (32 bits, as the model's
    // texts) and its bytes.
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

    JsonEventPipe(JsonModelTexts& ioTexts, bool iNumbered, std::size_t iBatchBytes)
        : _texts(ioTexts), _numbered(iNumbered), _batchBytes(iBatchBytes)
    {
    }

    struct Batch {
        std::string bytes;  // its room; the first used bytes are events
        std::size_t used = 0;
    };

    void Put(char iEvent)
    {
        if (_writing.used == _writing.bytes.size()) Ship();
        _writing.bytes[_writing.used++] = iEvent;
    }
    void Put(char iEvent, uint32_t iNumber)
    {
        if (_writing.bytes.size() - _writing.used < kNumbered) Ship();
        char* at = &_writing.bytes[_writing.used];
        at[0] = iEvent;
        std::memcpy(at + 1, &iNumber, sizeof iNumber);
        _writing.used += kNumbered;
    }
    static constexpr std::size_t kNumbered = 1 + sizeof(uint32_t);
    void PutText(char iEvent, std::string_view iText)
    {
        const uint32_t size = static_cast<uint32_t>(iText.size());
        if (_writing.bytes.size() - _writing.used < kNumbered + iText.size()) {
            PutLongText(iEvent, iText);
            return;
        }
        char* at = &_writing.bytes[_writing.used];
        at[0] = iEvent;
        std::memcpy(at + 1, &size, sizeof size);
        ShortCopy::Copy(at + kNumbered, iText.data(), iText.size());
        _writing.used += kNumbered + iText.size();
    }
    // A text that needs another batch, or one of its own.
    void PutLongText(char iEvent, std::string_view iText);
    // Hands the batch being written to the builder and takes a free one;
    // when none is free, waits until half of them are.
    void Ship();
    // The reader's end: its last batch shipped, and what it gave.
    void End(bool iRead, std::exception_ptr iFailure);
    // The builder's side: every batch heard until the reader ends; false
    // when a value is refused.
    bool Hear(JsonModelBuilder& ioBuilder);
    template <bool kNumberedTexts>
    bool HearBatch(const Batch& iBatch, JsonModelBuilder& ioBuilder);
    // Stops the reader at its next batch or close (the builder failed).
    void Refuse();
    // Gives the batches' memory back, the reader gone.
    void Release();

    JsonModelTexts& _texts;  // the reader's while it reads, when _numbered
    const bool _numbered;
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
