#include "JsonEventPipe.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <system_error>
#include <thread>

#include "JsonModelBuilder.h"
#include "ResidentPages.h"

namespace {

// Batches in all: one being written, one being heard, the others waiting
// for the side that is behind (on the reference model, the reader). Made
// before the reader starts, on the calling thread, so that their memory
// comes from where the model's does; Release gives it back after.
const std::size_t kBatches = 6;

}  // namespace

const std::size_t JsonEventPipe::kBatchBytes = std::size_t(128) << 10;

bool JsonEventPipe::Read(const std::function<bool(JsonEventPipe&)>& iRead, JsonModelBuilder& ioBuilder,
                         const std::function<bool()>& iAlone, Texts iTexts, std::size_t iBatchBytes)
{
    // A batch holds at least one event and its number.
    JsonEventPipe pipe(ioBuilder.Texts(), iTexts == Texts::kNumberedByReader, std::max(iBatchBytes, kNumbered));
    pipe._writing.bytes.resize(pipe._batchBytes);
    pipe._spare.resize(kBatches - 1);
    for (Batch& batch : pipe._spare) batch.bytes.resize(pipe._batchBytes);
    std::thread reader;
    try {
        reader = std::thread([&pipe, &iRead] {
            bool read = false;
            std::exception_ptr failure;
            try {
                read = iRead(pipe);
            } catch (...) {
                failure = std::current_exception();
            }
            pipe.End(read, failure);
        });
    } catch (const std::system_error&) {
        return iAlone();
    }
    bool heard = false;
    try {
        heard = pipe.Hear(ioBuilder);
    } catch (...) {
        pipe.Refuse();
        reader.join();
        throw;
    }
    if (!heard) pipe.Refuse();
    reader.join();
    pipe.Release();
    if (pipe._failure) std::rethrow_exception(pipe._failure);
    return heard;
}

void JsonEventPipe::PutLongText(char iEvent, std::string_view iText)
{
    if (iText.size() > std::numeric_limits<uint32_t>::max()) {
        Refuse();  // more than the model holds: the careful reader says so
        return;
    }
    Ship();
    // A text longer than a batch has one of its own.
    if (_writing.bytes.size() < kNumbered + iText.size()) _writing.bytes.resize(kNumbered + iText.size());
    PutText(iEvent, iText);
}

void JsonEventPipe::Ship()
{
    std::unique_lock<std::mutex> hold(_lock);
    if (_spare.empty() && !_refused) {
        // Woken when half the batches are free again, to write several in
        // a row: each wake is paid by the builder, which the load waits on.
        _readerWaits = true;
        _forReader.wait(hold, [this] { return _spare.size() >= kBatches / 2 || _refused; });
        _readerWaits = false;
    }
    if (!_refused) {
        _full.push_back(std::move(_writing));
        _writing = std::move(_spare.back());
        _spare.pop_back();
        if (_builderWaits) _forBuilder.notify_one();
    }
    _writing.used = 0;
}

void JsonEventPipe::End(bool iRead, std::exception_ptr iFailure)
{
    {
        std::lock_guard<std::mutex> hold(_lock);
        if (_writing.used > 0 && !_refused) _full.push_back(std::move(_writing));
        _ended = true;
        _read = iRead;
        _failure = iFailure;
    }
    _forBuilder.notify_all();
}

bool JsonEventPipe::Hear(JsonModelBuilder& ioBuilder)
{
    Batch batch;
    for (;;) {
        {
            std::unique_lock<std::mutex> hold(_lock);
            if (!batch.bytes.empty()) {
                batch.used = 0;
                _spare.push_back(std::move(batch));
                if (_readerWaits && _spare.size() >= kBatches / 2) _forReader.notify_one();
            }
            if (_full.empty() && !_ended) {
                _builderWaits = true;
                _forBuilder.wait(hold, [this] { return !_full.empty() || _ended; });
                _builderWaits = false;
            }
            if (_full.empty()) return _read && !_refused;
            batch = std::move(_full.front());
            _full.pop_front();
        }
        if (!(_numbered ? HearBatch<true>(batch, ioBuilder) : HearBatch<false>(batch, ioBuilder))) return false;
    }
}

template <bool kNumberedTexts>
bool JsonEventPipe::HearBatch(const Batch& iBatch, JsonModelBuilder& ioBuilder)
{
    const char* at = iBatch.bytes.data();
    const char* const end = at + iBatch.used;
    while (at < end) {
        const char event = *at++;
        uint32_t number = 0;
        std::string_view text;
        if (event == kKey || event == kString || event == kNumber) {
            std::memcpy(&number, at, sizeof number);
            at += sizeof number;
            if (!kNumberedTexts) {
                text = std::string_view(at, number);
                at += number;
            }
        }
        switch (event) {
        case kOpenArray: ioBuilder.OpenArray(); break;
        case kOpenObject: ioBuilder.OpenObject(); break;
        case kClose:
            if (!ioBuilder.Close()) return false;
            break;
        case kKey: kNumberedTexts ? ioBuilder.KeyNumbered(number) : ioBuilder.Key(text); break;
        case kString: kNumberedTexts ? ioBuilder.StringAt(number) : ioBuilder.String(text); break;
        case kNumber: kNumberedTexts ? ioBuilder.NumberAt(number) : ioBuilder.Number(text); break;
        case kTrue: ioBuilder.Boolean(true); break;
        case kFalse: ioBuilder.Boolean(false); break;
        default: ioBuilder.Null(); break;
        }
    }
    return true;
}

void JsonEventPipe::Release()
{
    const auto release = [](std::string& ioBytes) { ResidentPages::Release(&ioBytes[0], ioBytes.size()); };
    release(_writing.bytes);
    for (Batch& batch : _full) release(batch.bytes);
    for (Batch& batch : _spare) release(batch.bytes);
}

void JsonEventPipe::Refuse()
{
    {
        std::lock_guard<std::mutex> hold(_lock);
        _refused = true;
    }
    _forReader.notify_all();
}
