#include "media/GraphBuilder.h"

#include "media/AvHolders.h"
#include "media/OutputFile.h"

namespace media {

void CaptureGraphBuilder2::SetFiltergraph(FilterGraphPtr graph) {
    if (!graph) throw MediaError("No filter graph was given to the graph builder");
    graph_ = std::move(graph);
}

AviMuxPtr CaptureGraphBuilder2::SetOutputFileName(const Guid& subtype,
                                                  const std::string& fileName) {
    if (!graph_) throw MediaError("The graph builder has no filter graph");
    if (!(subtype == MEDIASUBTYPE_Avi)) throw MediaError("Only AVI output files can be written");
    if (fileName.empty()) throw MediaError("No output file name was given");
    return graph_->AddAviMux(fileName);
}

void CaptureGraphBuilder2::RenderStream(const OutputPinPtr& pin, const AviMuxPtr& mux) {
    if (!graph_) throw MediaError("The graph builder has no filter graph");
    if (!pin) throw MediaError("There is no output pin to render");
    if (!graph_->Owns(mux)) throw MediaError("The multiplexer is not part of this graph");
    RefuseOverwritingSource(pin->source, mux->FileName());
    mux->Connect(pin);
}

}  // namespace media
