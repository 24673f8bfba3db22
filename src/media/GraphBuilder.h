#pragma once
// Connects render engine pins to an output multiplexer in a filter graph.

#include <string>

#include "media/Guids.h"
#include "media/RenderEngine.h"

namespace media {

class CaptureGraphBuilder2 {
public:
    void SetFiltergraph(FilterGraphPtr graph);
    // Adds the multiplexer writing `fileName` (subtype MEDIASUBTYPE_Avi only) and returns it.
    AviMuxPtr SetOutputFileName(const Guid& subtype, const std::string& fileName);
    // Connects `pin` to `mux`. Throws MediaError when the output file is the pin's source.
    void RenderStream(const OutputPinPtr& pin, const AviMuxPtr& mux);

private:
    FilterGraphPtr graph_;
};

}  // namespace media
