#include "media/EdgeEncoderThread.h"

#include "media/VideoEncoders.h"

namespace media {

EdgeEncoderThread::EdgeEncoderThread(CodecContextPtr enc, std::function<void(std::int64_t)> before)
    : enc_(std::move(enc)), before_(std::move(before)), thread_([this] { Loop(); }) {}

EdgeEncoderThread::~EdgeEncoderThread() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void EdgeEncoderThread::Send(FramePtr frame) {
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return input_.size() < kMaxWaiting || failure_; });
        input_.push_back(std::move(frame));
        ++pending_;
    }
    changed_.notify_all();
}

std::vector<PacketPtr> EdgeEncoderThread::Take(bool wait) {
    std::vector<PacketPtr> out;
    {
        std::unique_lock lock(mutex_);
        if (wait) changed_.wait(lock, [this] { return pending_ == 0 || failure_; });
        if (failure_) std::rethrow_exception(failure_);
        out.swap(output_);
    }
    changed_.notify_all();
    return out;
}

bool EdgeEncoderThread::Ended() {
    std::lock_guard lock(mutex_);
    return ended_ && output_.empty();
}

void EdgeEncoderThread::Loop() {
    for (;;) {
        FramePtr frame;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stopping_ || !input_.empty(); });
            if (stopping_) return;
            frame = std::move(input_.front());
            input_.pop_front();
        }
        std::vector<PacketPtr> packets;
        std::exception_ptr failure;
        try {
            if (before_) before_(frame ? frame->pts : -1);
            EncodePicture(enc_.get(), frame.get(), [&](AVPacket* pkt) {
                PacketPtr copy = MakePacket();
                CheckAv(av_packet_ref(copy.get(), pkt), "Out of memory encoding a picture");
                packets.push_back(std::move(copy));
            });
        } catch (...) {
            failure = std::current_exception();
        }
        {
            std::lock_guard lock(mutex_);
            for (PacketPtr& p : packets) output_.push_back(std::move(p));
            if (failure && !failure_) failure_ = failure;
            if (!frame) ended_ = true;
            --pending_;
        }
        changed_.notify_all();
    }
}

}  // namespace media
