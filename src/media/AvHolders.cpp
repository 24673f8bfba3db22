#include "media/AvHolders.h"

#include "media/LibraryLogs.h"

extern "C" {
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/log.h>
}

namespace media {

std::string AvErrorText(int code) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(code, buf, sizeof buf) < 0) return "error " + std::to_string(code);
    return buf;
}

int CheckAv(int code, const std::string& what) {
    if (code < 0) throw MediaError(what + ": " + AvErrorText(code), code);
    return code;
}

void AvDictionary::Set(const char* key, const char* value) {
    CheckAv(av_dict_set(&dict_, key, value, 0), std::string("Setting option ") + key);
}

void QuietLibraryLogs() { av_log_set_level(AV_LOG_FATAL); }

FramePtr MakeFrame() {
    FramePtr f(av_frame_alloc());
    if (!f) throw MediaError("Out of memory allocating a video frame");
    return f;
}

PacketPtr MakePacket() {
    PacketPtr p(av_packet_alloc());
    if (!p) throw MediaError("Out of memory allocating a packet");
    return p;
}

}  // namespace media
