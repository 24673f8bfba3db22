#pragma once
// Colour properties of decoded pictures as FFmpeg defines them. A damaged stream can carry any
// number in these fields (FFmpeg copies some straight from the bitstream); values that name no
// colour space, range, primaries, transfer or chroma location become "unspecified", so that the
// code that reads them only ever sees values of their enumerations.

struct AVFrame;

namespace media {

void SanitizeColorProperties(AVFrame* frame);

}  // namespace media
