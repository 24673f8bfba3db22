#pragma once
// Source clips for the cut tests. Every picture differs strongly from its neighbours (blocks
// whose grey level moves by 29 per frame), so a frame off by one is easy to tell apart.

#include <filesystem>
#include <string>

#include "common/Fixtures.h"

namespace cutfixtures {

inline std::string Pattern(const std::string& size, const std::string& rate, int seconds) {
    return "-f lavfi -i \"nullsrc=s=" + size + ":r=" + rate + ":d=" + std::to_string(seconds) +
           ",geq=lum='mod(N*29+floor(X/16)*53+floor(Y/16)*97,256)':cb=128:cr=128\" ";
}

// MPEG-4 picture (SAR 16:15) and stereo MP3 sound in AVI, 25 fps, 6 s.
inline std::filesystem::path Mpeg4Mp3Avi() {
    return fixtures::Make("cut_mpeg4_mp3.avi",
                          Pattern("320x240", "25", 6) +
                              "-f lavfi -i sine=f=440:r=44100:d=6 -ac 2 -vf setsar=16/15 "
                              "-c:v mpeg4 -q:v 2 -c:a libmp3lame -b:a 128k");
}

// MPEG-4 picture at 30000/1001 fps and 48 kHz stereo PCM sound in AVI, 5 s.
inline std::filesystem::path NtscPcmAvi() {
    return fixtures::Make("cut_ntsc_pcm.avi",
                          Pattern("176x144", "30000/1001", 5) +
                              "-f lavfi -i \"aevalsrc=0.5*sin(2*PI*440*t)+0.3*sin(2*PI*97*t*t)|"
                              "0.4*sin(2*PI*660*t):s=48000:d=5\" -c:v mpeg4 -q:v 2 -c:a pcm_s16le");
}

// Picture only, 15 fps, 4 s.
inline std::filesystem::path VideoOnlyAvi() {
    return fixtures::Make("cut_video_only.avi", Pattern("160x120", "15", 4) + "-c:v mpeg4 -q:v 2");
}

// MPEG-2 / MP2 program stream, whose time stamps start at about 0.5 s, 6 s.
inline std::filesystem::path ProgramStream() {
    return fixtures::Make("cut_program_stream.mpg",
                          Pattern("320x240", "25", 6) +
                              "-f lavfi -i sine=f=330:r=48000:d=6 -c:v mpeg2video -q:v 2 -g 12 "
                              "-c:a mp2 -b:a 192k -f mpeg");
}

// Regular MPEG-4 pictures (a key picture every 12) with 16-bit PCM sound, 8 s: its cuts copy the
// pictures between the edges.
inline std::filesystem::path CopyableAvi() {
    return fixtures::Make("cut_copyable.avi",
                          "-f lavfi -i testsrc2=s=176x144:r=25:d=8 -f lavfi -i "
                          "sine=f=440:r=22050:d=8 -c:a pcm_s16le -c:v mpeg4 -q:v 5 -g 12");
}

// Long enough that a cut of it is still running when the test stops it. A dropped picture
// keeps the cut from copying the pictures, which would be over too soon.
inline std::filesystem::path LongAvi() {
    return fixtures::Make("cut_long.avi",
                          "-f lavfi -i testsrc2=s=320x240:r=25:d=40 "
                          "-f lavfi -i sine=f=440:r=44100:d=40 "
                          "-vf \"select='not(eq(n,30))'\" -fps_mode passthrough "
                          "-c:v mpeg4 -q:v 4 -c:a libmp3lame");
}

}  // namespace cutfixtures
