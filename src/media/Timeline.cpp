#include "media/Timeline.h"

#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "media/AvHolders.h"

namespace media {

namespace {

const char* KindName(TIMELINE_MAJOR_TYPE kind) {
    switch (kind) {
        case TIMELINE_MAJOR_TYPE_GROUP:
            return "group";
        case TIMELINE_MAJOR_TYPE_TRACK:
            return "track";
        case TIMELINE_MAJOR_TYPE_SOURCE:
            return "source";
    }
    return "node";
}

void RequireStretch(double start, double stop, const char* what) {
    if (!std::isfinite(start) || !std::isfinite(stop) || start < 0 || stop < start) {
        throw MediaError(std::string("Invalid ") + what + ": " + std::to_string(start) + " s to " +
                         std::to_string(stop) +
                         " s (times must not be negative and the end must not lie before the "
                         "start)");
    }
}

}  // namespace

void AMTimelineObj::Require(TIMELINE_MAJOR_TYPE kind, const char* operation) const {
    if (kind_ != kind) {
        throw MediaError(std::string(operation) + " needs a " + KindName(kind) + " node, not a " +
                         KindName(kind_));
    }
}

void AMTimelineObj::SetStartStop2(double start, double stop) {
    RequireStretch(start, stop, "timeline times");
    start_ = start;
    stop_ = stop;
}

void AMTimelineObj::SetMediaType(const Guid& majorType) {
    Require(TIMELINE_MAJOR_TYPE_GROUP, "SetMediaType");
    if (!(majorType == MEDIATYPE_Video) && !(majorType == MEDIATYPE_Audio))
        throw MediaError("A group's media type must be video or audio");
    mediaType_ = majorType;
}

void AMTimelineObj::SetRecompFormatFromSource(const AMTimelineObjPtr& source) {
    Require(TIMELINE_MAJOR_TYPE_GROUP, "SetRecompFormatFromSource");
    if (!source || source->kind_ != TIMELINE_MAJOR_TYPE_SOURCE)
        throw MediaError("SetRecompFormatFromSource needs a source node");
    recompFromSource_ = true;
}

void AMTimelineObj::VTrackInsBefore(const AMTimelineObjPtr& track, long priority) {
    Require(TIMELINE_MAJOR_TYPE_GROUP, "VTrackInsBefore");
    if (!track || track->kind_ != TIMELINE_MAJOR_TYPE_TRACK)
        throw MediaError("VTrackInsBefore needs a track node");
    if (track->hasParent_) throw MediaError("The track is already in a composition");
    if (priority < -1 || priority > static_cast<long>(children_.size()))
        throw MediaError("Track priority " + std::to_string(priority) + " is out of range");
    auto pos = priority == -1 ? children_.end() : children_.begin() + priority;
    children_.insert(pos, track);
    track->hasParent_ = true;
}

void AMTimelineObj::SrcAdd(const AMTimelineObjPtr& source) {
    Require(TIMELINE_MAJOR_TYPE_TRACK, "SrcAdd");
    if (!source || source->kind_ != TIMELINE_MAJOR_TYPE_SOURCE)
        throw MediaError("SrcAdd needs a source node");
    if (source->hasParent_) throw MediaError("The source is already on a track");
    children_.push_back(source);
    source->hasParent_ = true;
}

void AMTimelineObj::SetMediaTimes2(double start, double stop) {
    Require(TIMELINE_MAJOR_TYPE_SOURCE, "SetMediaTimes2");
    RequireStretch(start, stop, "media times");
    mediaStart_ = start;
    mediaStop_ = stop;
}

void AMTimelineObj::SetMediaName(const std::string& name) {
    Require(TIMELINE_MAJOR_TYPE_SOURCE, "SetMediaName");
    mediaName_ = name;
}

AMTimelineObjPtr AMTimeline::CreateEmptyNode(TIMELINE_MAJOR_TYPE kind) {
    if (kind != TIMELINE_MAJOR_TYPE_GROUP && kind != TIMELINE_MAJOR_TYPE_TRACK &&
        kind != TIMELINE_MAJOR_TYPE_SOURCE) {
        throw MediaError("Unknown timeline node kind " + std::to_string(static_cast<int>(kind)));
    }
    return std::make_shared<AMTimelineObj>(kind);
}

void AMTimeline::AddGroup(const AMTimelineObjPtr& group) {
    if (!group || group->Kind() != TIMELINE_MAJOR_TYPE_GROUP)
        throw MediaError("AddGroup needs a group node");
    for (const auto& g : groups_)
        if (g == group) throw MediaError("The group is already in the timeline");
    groups_.push_back(group);
}

const AMTimelineObjPtr& AMTimeline::Group(long index) const {
    if (index < 0 || index >= GetGroupCount())
        throw MediaError("There is no group " + std::to_string(index));
    return groups_[static_cast<size_t>(index)];
}

void AMTimeline::ValidateSourceNames(long /*flags*/) const {
    for (const auto& group : groups_) {
        for (const auto& track : group->Tracks()) {
            for (const auto& source : track->Sources()) {
                const std::string& name = source->MediaName();
                std::error_code ec;
                if (name.empty()) throw MediaError("A source has no file name");
                if (!std::filesystem::is_regular_file(name, ec))
                    throw MediaError("The source file \"" + name + "\" cannot be found");
                if (::access(name.c_str(), R_OK) != 0)
                    throw MediaError("The source file \"" + name + "\" cannot be read");
            }
        }
    }
}

}  // namespace media
