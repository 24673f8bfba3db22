#pragma once
// An edge's encoder on a thread of its own, so that the pictures of the start are encoded while
// those after them are read and copied. Pictures go in in order (null: the end); the packets
// come out in order and are written on the caller's thread.

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "media/AvHolders.h"

namespace media {

class EdgeEncoderThread {
public:
    // `before`, when set, is called on the thread before each picture is encoded (with its
    // time stamp, the slot) and before the encoder drains (-1).
    EdgeEncoderThread(CodecContextPtr enc, std::function<void(std::int64_t)> before);
    ~EdgeEncoderThread();
    EdgeEncoderThread(const EdgeEncoderThread&) = delete;
    EdgeEncoderThread& operator=(const EdgeEncoderThread&) = delete;

    // Waits while a few pictures are already waiting: each holds a picture's memory.
    void Send(FramePtr frame);

    // The packets encoded so far; with `wait`, once every picture sent is encoded. Rethrows
    // the encoder's failure.
    std::vector<PacketPtr> Take(bool wait);

    // Whether the end was encoded and its packets taken.
    bool Ended();

private:
    static constexpr std::size_t kMaxWaiting = 8;

    void Loop();

    CodecContextPtr enc_;
    std::function<void(std::int64_t)> before_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<FramePtr> input_;
    std::vector<PacketPtr> output_;
    std::int64_t pending_ = 0;
    bool ended_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

}  // namespace media
