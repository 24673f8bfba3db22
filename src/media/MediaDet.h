#pragma once
// The media detector: probes one file for its video and audio streams and writes the frame on
// screen at a given time as a 24-bit BMP file.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/Guids.h"

namespace media {

class SourceInput;

class MediaDet {
public:
    MediaDet();
    ~MediaDet();
    MediaDet(const MediaDet&) = delete;
    MediaDet& operator=(const MediaDet&) = delete;

    // Opens and probes the file, which must be a regular file. On failure throws MediaError and
    // keeps the file opened before.
    void put_Filename(const std::string& path);
    // The same for media held in memory (`data` must outlive the detector's use of it); `name`
    // stands for the file in messages and helps to guess the format.
    void OpenBytes(const std::uint8_t* data, std::size_t size, const std::string& name);
    // Empty while no file is open.
    const std::string& get_Filename() const;

    // Number of video and audio streams of the open file; 0 while no file is open.
    int get_OutputStreams() const;
    // Selects the stream the getters below describe; throws MediaError when out of range.
    void put_CurrentStream(int index);
    int get_CurrentStream() const;
    // MEDIATYPE_Video or MEDIATYPE_Audio.
    Guid get_StreamType() const;
    // Seconds from the stream's first timestamp to its end.
    double get_StreamLength() const;
    // Frames per second of a video stream; 0 for audio.
    double get_FrameRate() const;
    // Width over height of a video stream's pictures as they are meant to be shown (the sample
    // aspect included: 720 x 576 at 64:45 gives 16:9); 0 for audio or when unknown.
    double get_DisplayAspect() const;

    // Writes the frame on screen at `seconds` (0 = the first frame; past the end = the last
    // frame) scaled to width x height as a bottom-up 24-bit BMP. Uses the current stream when it
    // is video, otherwise the first video stream. The file is replaced in one step; on failure
    // it is left as it was and MediaError is thrown.
    void WriteBitmapBits(double seconds, int width, int height, const std::string& file);
    // The same picture as the bytes of a BMP file.
    std::vector<std::uint8_t> GetBitmapBits(double seconds, int width, int height);

    // Threads of the grab's decoder: 0 (the default) as many as the machine has; 1 decodes on
    // the caller's thread, which spares a caller making thousands of short grabs (a fuzzer)
    // the threads' start-up.
    void SetDecoderThreads(int threads) { decoderThreads_ = threads < 0 ? 0 : threads; }

private:
    struct StreamFacts;
    struct Source;
    const StreamFacts& Current() const;
    void Open(std::unique_ptr<SourceInput> input, const std::string& path);
    static void MeasureTrueLengths(Source& src);

    std::unique_ptr<Source> source_;
    int current_ = 0;
    int decoderThreads_ = 0;
};

}  // namespace media
