#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/skUtils.h"

using rt::Point;
using rt::Rect;
using rt::TBitmap;

namespace {

const std::string kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::uint32_t CodeColor(char c) {
    std::uint32_t i = std::uint32_t(kAlphabet.find(c));
    return 0x100000u + i * 0x0301u;  // distinct, never white or black
}

char ColorCode(std::uint32_t p) {
    if ((p & 0xFFFFFF) == 0xFFFFFF) return '.';
    for (char c : kAlphabet)
        if (CodeColor(c) == (p & 0xFFFFFF)) return c;
    return '#';
}

// A picture painted from rows of letters at (dx, dy); the rest is a colour no letter has.
TBitmap Paint(const std::vector<std::string>& rows, int w, int h, int dx, int dy) {
    TBitmap b(w, h);
    for (auto& p : b.Pixels()) p = 0x0000FE;
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[std::size_t(y)].size()); ++x)
            b.ScanLine(y + dy)[x + dx] = CodeColor(rows[std::size_t(y)][std::size_t(x)]);
    return b;
}

std::vector<std::string> Read(const TBitmap& b) {
    std::vector<std::string> out;
    for (int y = 0; y < b.Height(); ++y) {
        std::string row;
        for (int x = 0; x < b.Width(); ++x) row += ColorCode(b.ScanLine(y)[x]);
        out.push_back(row);
    }
    return out;
}

// Each of the 64 pixels of the 8 x 8 piece has its own letter.
const std::vector<std::string> kPiece = {
    "ABCDEFGH", "IJKLMNOP", "QRSTUVWX", "YZabcdef", "ghijklmn", "opqrstuv", "wxyz0123", "456789+/",
};

struct Frame {
    TBitmap picture = Paint(kPiece, 10, 10, 1, 1);
    rt::TRect piece = Rect(1, 1, 9, 9);
    // Client 2,2 - 6,6; two-pixel bands between the corner points.
    rt::TPoint lt = Point(3, 3), rt = Point(5, 3), lb = Point(3, 5), rb = Point(5, 5);
    rt::TRect client = Rect(2, 2, 6, 6);
    // Target 11 x 10: everything right of the bands moves by 3, below them by 2.
    rt::TPoint nlt = Point(3, 3), nrt = Point(8, 3), nlb = Point(3, 7), nrb = Point(8, 7);
    rt::TRect nclient = Rect(2, 2, 9, 8);
};

}  // namespace

TEST(SkinImage, FourCornerCompositionWorkedByHand) {
    Frame f;
    TBitmap target(3, 3);
    sk::CreateSkinImage(f.lt, f.rt, f.lb, f.rb, f.client, f.piece, f.picture, true, target, 11, 10,
                        f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    const std::vector<std::string> expected = {
        "ABCDEDEDFGH",  // corners fixed, top band DE tiled from x 3 and cut at 8
        "IJKLMLMLNOP",
        "QRSTUVSTUWX",  // left/right upper pieces, client row 2 tiled
        "YZabcdabcef",  // side bands rows 3, 4 tiled downward from y 3
        "ghijklijkmn", "YZqrstqrsef",
        "ghSTUVSTUmn",  // client tiles wrap after four rows
        "opabcdabcuv",  // left and right lower pieces start at y 7
        "wxyz0z0z123",  // bottom band z0 tiled from x 3 to 8
        "456787879+/",
    };
    EXPECT_EQ(Read(target), expected);

    sk::CreateSkinImage(f.lt, f.rt, f.lb, f.rb, f.client, f.piece, f.picture, false, target, 11, 10,
                        f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    std::vector<std::string> unfilled = expected;
    for (int y = 2; y < 8; ++y) unfilled[std::size_t(y)].replace(2, 7, ".......");
    EXPECT_EQ(Read(target), unfilled);
}

TEST(SkinImage, LeftAnchoredCompositionRunsToTheRightEdge) {
    Frame f;
    TBitmap target;
    sk::CreateSkinImage2(f.lt, f.rt, f.lb, f.rb, f.client, f.piece, f.picture, true, target, 11, 10,
                         f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    const std::vector<std::string> expected = {
        "ABCDEDEDEDE", "IJKLMLMLMLM", "QRSTUVSTUVS", "YZabcdabcda", "ghijklijkli",
        "YZqrstqrstq", "ghSTUVSTUVS", "opabcdabcda", "wxyz0z0z0z0", "45678787878",
    };
    EXPECT_EQ(Read(target), expected);
}

TEST(SkinImage, DegenerateGeometryNeitherDividesByZeroNorLoops) {
    Frame f;
    TBitmap target;
    // Right-bottom on the left-top column: only the sized, blank target.
    sk::CreateSkinImage(f.lt, f.rt, f.lb, Point(3, 5), f.client, f.piece, f.picture, true, target,
                        6, 4, f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    EXPECT_EQ(Read(target), std::vector<std::string>(4, "......"));

    // Zero-wide top band and an empty client with the fill flag: those are skipped, the fixed
    // pieces still land.
    sk::CreateSkinImage(f.lt, Point(3, 3), f.lb, f.rb, Rect(2, 2, 2, 6), f.piece, f.picture, true,
                        target, 11, 10, f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    std::vector<std::string> img = Read(target);
    EXPECT_EQ(img[0].substr(0, 3), "ABC");
    EXPECT_EQ(img[0].substr(3, 5), ".....");
    EXPECT_EQ(img[9].substr(0, 3), "456");

    sk::CreateSkinImage(f.lt, f.rt, f.lb, f.rb, f.client, f.piece, TBitmap(), true, target, 5, 5,
                        f.nlt, f.nrt, f.nlb, f.nrb, f.nclient);
    EXPECT_EQ(target.Width(), 5);
    EXPECT_EQ(Read(target)[2], ".....");
}

namespace {

// Source column of target column X by modular arithmetic: right piece wins over left.
char ExpectedH(int X, int width, int l, int r, int m, bool withRight, const std::string& row) {
    const int pieceWidth = int(row.size());
    if (withRight && r > 0 && X >= width - r) return row[std::size_t(pieceWidth - (width - X))];
    if (X < l) return row[std::size_t(X)];
    return row[std::size_t(l + (X - l) % m)];
}

}  // namespace

TEST(SkinImage, ThreePieceStripsCutTheLastTile) {
    // Piece 2 + 4 + 3 columns at (2, 1) of a larger picture.
    const std::vector<std::string> rows = {"ABCDEFGHI", "JKLMNOPQR"};
    const TBitmap pic = Paint(rows, 14, 4, 2, 1);
    const rt::TRect piece = Rect(2, 1, 11, 3);
    const int l = 2, r = 3, m = 4;
    for (bool withRight : {true, false})
        for (int width : {l + r + 2 * m - 1, l + r + 2 * m, l + r + 2 * m + 1, l + r + 1, l + r,
                          l + r - 2, 30}) {
            TBitmap target;
            if (withRight)
                sk::CreateHSkinImage(l, r, target, width, piece, pic);
            else
                sk::CreateHSkinImage2(l, r, target, width, piece, pic);
            ASSERT_EQ(target.Width(), width);
            ASSERT_EQ(target.Height(), 2);
            std::vector<std::string> got = Read(target);
            for (int y = 0; y < 2; ++y) {
                std::string want;
                for (int X = 0; X < width; ++X)
                    want += ExpectedH(X, width, l, r, m, withRight, rows[std::size_t(y)]);
                EXPECT_EQ(got[std::size_t(y)], want) << "width " << width << " right " << withRight;
            }
        }

    TBitmap ends;
    sk::CreateHSkinImage(l, r, ends, l + r, piece, pic);
    EXPECT_EQ(Read(ends)[0], "ABGHI");
}

TEST(SkinImage, ZeroWideMiddleRepeatsOneColumn) {
    const TBitmap pic = Paint({"ABCDE"}, 5, 1, 0, 0);
    TBitmap target;
    sk::CreateHSkinImage(2, 3, target, 9, Rect(0, 0, 5, 1), pic);
    EXPECT_EQ(Read(target)[0], "ABCCCCCDE");  // the column right after the left piece
}

TEST(SkinImage, VerticalStripTilesRowsAndSkipsAnEmptyMiddle) {
    const TBitmap pic = Paint({"A", "B", "C", "D", "E", "F"}, 3, 8, 1, 1);
    TBitmap target;
    sk::CreateVSkinImage(1, 2, target, 10, Rect(1, 1, 2, 7), pic);  // middle B C D
    std::string col;
    for (const auto& row : Read(target)) col += row;
    EXPECT_EQ(col, "ABCDBCDBEF");
    sk::CreateVSkinImage(1, 2, target, 9, Rect(1, 1, 2, 7), pic);
    col.clear();
    for (const auto& row : Read(target)) col += row;
    EXPECT_EQ(col, "ABCDBCDEF");

    sk::CreateVSkinImage(2, 4, target, 8, Rect(1, 1, 2, 7), pic);  // no middle rows
    col.clear();
    for (const auto& row : Read(target)) col += row;
    EXPECT_EQ(col, "AB..CDEF");
}

// Skin descriptions are read from files: any geometry, however inconsistent, gives a target of
// the asked size and a finite region, without reading or writing outside a bitmap.
TEST(SkinImage, ArbitraryGeometryStaysWithinBounds) {
    const TBitmap pic = Paint(kPiece, 10, 10, 1, 1);
    unsigned seed = 12345;
    auto next = [&](int lo, int hi) {
        seed = seed * 1103515245u + 12345u;
        return lo + int((seed >> 8) % unsigned(hi - lo + 1));
    };
    auto point = [&] { return Point(next(-4, 14), next(-4, 14)); };
    auto rect = [&] { return Rect(next(-4, 14), next(-4, 14), next(-4, 14), next(-4, 14)); };
    for (int i = 0; i < 400; ++i) {
        const int w = next(-2, 30), h = next(-2, 30);
        const auto lt = point(), rt = point(), lb = point(), rb = point();
        const auto nlt = point(), nrt = point(), nlb = point(), nrb = point();
        const auto cr = rect(), ncr = rect(), piece = rect();
        TBitmap target;
        sk::CreateSkinImage(lt, rt, lb, rb, cr, piece, pic, next(0, 1) == 1, target, w, h, nlt, nrt,
                            nlb, nrb, ncr);
        ASSERT_EQ(target.Width(), std::max(w, 0));
        ASSERT_EQ(target.Height(), std::max(h, 0));
        sk::CreateSkinImage2(lt, rt, lb, rb, cr, piece, pic, true, target, w, h, nlt, nrt, nlb, nrb,
                             ncr);
        ASSERT_EQ(target.Width(), std::max(w, 0));
        sk::CreateHSkinImage(next(-3, 12), next(-3, 12), target, w, piece, pic);
        ASSERT_EQ(target.Width(), std::max(w, 0));
        sk::CreateVSkinImage(next(-3, 12), next(-3, 12), target, h, piece, pic);
        ASSERT_EQ(target.Height(), std::max(h, 0));
        auto region = sk::CreateSkinRegion(lt, rt, lb, rb, cr, pic, w, h, nlt, nrt, nlb, nrb, ncr);
        if (region) {
            for (const rt::TRect& r : region->Rects()) ASSERT_FALSE(r.IsEmpty());
        }
    }
}
