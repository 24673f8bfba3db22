#pragma once
// The editing timeline: groups (one per output stream type) holding tracks holding sources,
// each source naming a stretch of a media file and where it sits on the timeline.

#include <memory>
#include <string>
#include <vector>

#include "media/Guids.h"

namespace media {

enum TIMELINE_MAJOR_TYPE {
    TIMELINE_MAJOR_TYPE_TRACK = 2,
    TIMELINE_MAJOR_TYPE_SOURCE = 4,
    TIMELINE_MAJOR_TYPE_GROUP = 128,
};

// Flags of AMTimeline::ValidateSourceNames; a source name is checked whatever they say.
enum SFN_VALIDATEF {
    SFN_VALIDATEF_CHECK = 0x01,
    SFN_VALIDATEF_POPUP = 0x02,
    SFN_VALIDATEF_TELLME = 0x04,
    SFN_VALIDATEF_REPLACE = 0x08,
    SFN_VALIDATEF_USELOCAL = 0x10,
};

class AMTimelineObj;
using AMTimelineObjPtr = std::shared_ptr<AMTimelineObj>;

// One node of the timeline. A node is a group, a track or a source; the operations of the
// other kinds throw MediaError on it. A group is also the composition its tracks sit in.
class AMTimelineObj {
public:
    explicit AMTimelineObj(TIMELINE_MAJOR_TYPE kind) : kind_(kind) {}

    TIMELINE_MAJOR_TYPE Kind() const { return kind_; }

    // Place on the timeline, seconds.
    void SetStartStop2(double start, double stop);
    double Start() const { return start_; }
    double Stop() const { return stop_; }

    // Group: the major type of its output stream (MEDIATYPE_Video or MEDIATYPE_Audio).
    void SetMediaType(const Guid& majorType);
    const Guid& MediaType() const { return mediaType_; }
    // Group: recompress into the format of `source` (its codec, where that can be written).
    void SetRecompFormatFromSource(const AMTimelineObjPtr& source);
    bool RecompressesLikeSource() const { return recompFromSource_; }

    // Composition: inserts `track` before the track at `priority`; -1 appends.
    void VTrackInsBefore(const AMTimelineObjPtr& track, long priority);
    const std::vector<AMTimelineObjPtr>& Tracks() const { return children_; }

    // Track: appends a source.
    void SrcAdd(const AMTimelineObjPtr& source);
    const std::vector<AMTimelineObjPtr>& Sources() const { return children_; }

    // Source: the stretch of the media file, seconds from its start, and the file's name.
    void SetMediaTimes2(double start, double stop);
    void SetMediaName(const std::string& name);
    double MediaStart() const { return mediaStart_; }
    double MediaStop() const { return mediaStop_; }
    const std::string& MediaName() const { return mediaName_; }

    bool HasParent() const { return hasParent_; }

private:
    void Require(TIMELINE_MAJOR_TYPE kind, const char* operation) const;

    TIMELINE_MAJOR_TYPE kind_;
    double start_ = 0.0;
    double stop_ = 0.0;
    Guid mediaType_{};
    bool recompFromSource_ = false;
    std::vector<AMTimelineObjPtr> children_;
    double mediaStart_ = 0.0;
    double mediaStop_ = 0.0;
    std::string mediaName_;
    bool hasParent_ = false;
};

class AMTimeline {
public:
    AMTimelineObjPtr CreateEmptyNode(TIMELINE_MAJOR_TYPE kind);
    void AddGroup(const AMTimelineObjPtr& group);
    long GetGroupCount() const { return static_cast<long>(groups_.size()); }
    const AMTimelineObjPtr& Group(long index) const;
    // Checks that every source names a readable file; throws MediaError naming the first that
    // does not.
    void ValidateSourceNames(long flags) const;

private:
    std::vector<AMTimelineObjPtr> groups_;
};

}  // namespace media
