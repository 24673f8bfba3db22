#pragma once
// The corner set of a skin picture piece, relative to the piece's top-left: the inner corners
// of its four corner pieces and the client rectangle in the middle.
//
//   +------+------------+------+
//   |      |    top     |      |
//   +-----LT------------RT-----+
//   | left |   Client   | right|
//   +-----LB------------RB-----+
//   |      |   bottom   |      |
//   +------+------------+------+
//
// Fitted to a target wider or taller than the piece, the corner pieces keep their size: the
// right points move by the extra width, the bottom ones by the extra height, and the edges and
// the client rectangle stretch in between.

#include <algorithm>
#include <cstdint>

#include "runtime/Types.h"

namespace sk {

struct TskCornerSet {
    rt::TPoint LeftTop, RightTop, LeftBottom, RightBottom;
    rt::TRect Client;

    // The set fitted to a target dx wider and dy taller than the piece. Skins are untrusted:
    // a coordinate near the integer limits stops there instead of wrapping.
    TskCornerSet Grown(int dx, int dy) const {
        return TskCornerSet{
            LeftTop,
            {Add(RightTop.X, dx), RightTop.Y},
            {LeftBottom.X, Add(LeftBottom.Y, dy)},
            {Add(RightBottom.X, dx), Add(RightBottom.Y, dy)},
            {Client.Left, Client.Top, Add(Client.Right, dx), Add(Client.Bottom, dy)}};
    }

    bool operator==(const TskCornerSet&) const = default;

private:
    static int Add(int a, int b) {
        return int(std::clamp<std::int64_t>(std::int64_t(a) + b, INT32_MIN, INT32_MAX));
    }
};

}  // namespace sk
