#include "ripple/ripple_surface.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "reference_ripple.h"
#include "ripple/source_fade.h"

namespace {

using SurfacePtr = OwnedRippleSurface;

SurfacePtr makeSurface(int32_t width, int32_t height) {
    SurfacePtr surface(allocateRippleSurface(width, height));
    if (!surface) {
        ADD_FAILURE() << "allocation of " << width << "x" << height << " failed";
    }
    return surface;
}

// A picture whose every pixel differs from its neighbours, with byte 3 set to prove that
// the render clears it.
void paintGradient(RippleSurface& s) {
    for (int32_t i = 0; i < s.pixelCount; ++i) {
        const uint32_t x = uint32_t(i % s.width);
        const uint32_t y = uint32_t(i / s.width);
        s.source[i] = 0xAB000000u | ((x * 7 + y) & 0xFF) << 16 | ((x * 3 + y * 5) & 0xFF) << 8 |
                      ((x + y * 11) & 0xFF);
    }
}

// A picture of the surface's size whose every pixel differs from the gradient's.
std::vector<uint32_t> scrambledPicture(const RippleSurface& s) {
    std::vector<uint32_t> picture(size_t(s.pixelCount));
    for (size_t i = 0; i < picture.size(); ++i) {
        picture[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    }
    return picture;
}

std::vector<int32_t> field(const RippleSurface& s, int index) {
    return {s.heights[index], s.heights[index] + s.pixelCount};
}
std::vector<uint32_t> output(const RippleSurface& s) {
    return {s.output, s.output + s.pixelCount};
}

// Every code path this processor can take, each made the one steps take while it is
// visited; the widest is left in use afterwards.
std::vector<RippleCodePath> availableCodePaths() {
    std::vector<RippleCodePath> paths;
    for (RippleCodePath path : {RippleCodePath::sse2, RippleCodePath::avx2}) {
        if (rippleCodePathAvailable(path)) {
            paths.push_back(path);
        }
    }
    return paths;
}

int32_t& cell(RippleSurface& s, int index, int32_t x, int32_t y) {
    return s.heights[index][y * s.width + x];
}

TEST(RippleSurfaceCreation, StartsFlatBlackAndDescribesTopDown32BitPictures) {
    SurfacePtr s = makeSurface(5, 3);
    EXPECT_EQ(s->pixelCount, 15);
    EXPECT_EQ(s->byteSize, 60);
    EXPECT_EQ(s->header.info.biSize, 40u);
    EXPECT_EQ(s->header.info.biWidth, 5);
    EXPECT_EQ(s->header.info.biHeight, -3);
    EXPECT_EQ(s->header.info.biPlanes, 1);
    EXPECT_EQ(s->header.info.biBitCount, 32);
    EXPECT_EQ(s->header.info.biCompression, 0u);
    EXPECT_EQ(s->header.info.biSizeImage, 0u);
    EXPECT_EQ(s->dampingShift, 7);
    EXPECT_EQ(s->current, 0);
    EXPECT_EQ(field(*s, 0), std::vector<int32_t>(15, 0));
    EXPECT_EQ(field(*s, 1), std::vector<int32_t>(15, 0));
    EXPECT_EQ(output(*s), std::vector<uint32_t>(15, 0));
}

TEST(RippleSurfaceCreation, RefusesSizesWithoutPixelsOrBeyond32BitByteCounts) {
    for (auto [w, h] :
         {std::pair{0, 10}, {10, 0}, {-1, 10}, {10, -5}, {65536, 8192}, {46341, 46341}}) {
        EXPECT_EQ(allocateRippleSurface(w, h), nullptr) << w << "x" << h;
    }
    SurfacePtr largest(allocateRippleSurface(1, std::numeric_limits<int32_t>::max() / 4));
    EXPECT_NE(largest, nullptr);
}

TEST(RippleDrop, FollowsTheOpenDiscInsideTheInterior) {
    struct Case {
        const char* what;
        int32_t x, y, radius;
    };
    const Case cases[] = {
        {"corner", 0, 0, 10},         {"radius 1 interior", 10, 10, 1}, {"radius 0", 10, 10, 0},
        {"last column", 19, 10, 4},   {"bottom right", 19, 14, 6},      {"outside left", -3, 7, 5},
        {"far outside", 500, 500, 3}, {"negative radius", 10, 10, -4},  {"covers all", 10, 7, 90},
    };
    for (const Case& c : cases) {
        SurfacePtr s = makeSurface(20, 15);
        ReferenceRipple reference(20, 15);
        addDrop(s.get(), c.x, c.y, c.radius, 42);
        reference.drop(c.x, c.y, c.radius, 42);
        EXPECT_EQ(field(*s, 1), reference.heights[1]) << c.what;
        EXPECT_EQ(field(*s, 0), reference.heights[0]) << c.what;
    }
}

TEST(RippleDrop, TouchesOnlyTheExpectedCells) {
    SurfacePtr s = makeSurface(20, 15);
    addDrop(s.get(), 10, 10, 1, 9);
    std::vector<int32_t> expected(300, 0);
    expected[10 * 20 + 10] = 9;
    EXPECT_EQ(field(*s, 1), expected);

    SurfacePtr edge = makeSurface(20, 15);
    addDrop(edge.get(), 19, 7, 4, 1);
    for (int32_t y = 0; y < 15; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = x >= 16 && x <= 18 && y >= 4 && y <= 10 &&
                                (x - 19) * (x - 19) + (y - 7) * (y - 7) < 16;
            EXPECT_EQ(cell(*edge, 1, x, y), inside ? 1 : 0) << x << "," << y;
        }
    }
    EXPECT_EQ(cell(*edge, 1, 16, 7), 1);
    EXPECT_EQ(cell(*edge, 1, 18, 4), 1);
}

// A drop flags the tiles of the cells it changes and no others: on calm water the next step
// goes over those tiles and the ones whose ring holds a changed cell.
TEST(RippleDrop, SendsTheStepOverTheTilesOfTheCellsItChangesOnly) {
    struct Case {
        int32_t x, y, radius;
        std::vector<std::pair<int32_t, int32_t>> stepped; // tile column, tile row
    };
    const Case cases[] = {
        {40, 12, 1, {{1, 1}}},                         // inside a tile
        {40, 12, 3, {{1, 1}}},                         // a disc clear of the tile's edges
        {32, 8, 1, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},  // a tile's first cell
        {63, 15, 1, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}}, // a tile's last cell
        {48, 8, 1, {{1, 0}, {1, 1}}},                  // a tile's top row
    };
    for (const Case& c : cases) {
        SurfacePtr s = makeSurface(256, 512);
        paintGradient(*s);
        stepMovingRipple(s.get()); // the output shows the source everywhere
        addDrop(s.get(), c.x, c.y, c.radius, 100);
        stepMovingRipple(s.get());
        std::vector<uint8_t> expected(s->tiles->stepped.size(), 0);
        for (auto [column, row] : c.stepped) {
            expected[size_t(row * s->tiles->columns + column)] = 1;
        }
        EXPECT_EQ(s->tiles->stepped, expected) << c.x << "," << c.y << " radius " << c.radius;
    }
}

TEST(RippleDrop, AccumulatesInTheFieldTheNextStepReadsAndWraps) {
    SurfacePtr s = makeSurface(8, 8);
    addDrop(s.get(), 4, 4, 1, 5);
    addDrop(s.get(), 4, 4, 1, 5);
    EXPECT_EQ(cell(*s, 1, 4, 4), 10);
    stepRipple(s.get());
    addDrop(s.get(), 4, 4, 1, 3);
    EXPECT_EQ(cell(*s, 0, 4, 4), 3);

    addDrop(s.get(), 2, 2, 1, std::numeric_limits<int32_t>::max());
    addDrop(s.get(), 2, 2, 1, 2);
    EXPECT_EQ(cell(*s, 0, 2, 2), std::numeric_limits<int32_t>::min() + 1);
}

TEST(RippleStep, FlatFieldCopiesTheVisitedPixelsAndClearsTheSpareByte) {
    for (int32_t height : {6, 499, 500, 700}) {
        SurfacePtr s = makeSurface(9, height);
        paintGradient(*s);
        stepRipple(s.get());
        EXPECT_EQ(s->current, 1);
        const bool tall = height >= 500;
        const int32_t lastRow = height == 700 ? 697 : height - 2;
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < 9; ++x) {
                const int32_t i = y * 9 + x;
                // Short surfaces render from (1, 1) on without a gap, which takes in the
                // border columns and the first pixels of the bottom row.
                bool visited = tall ? (y >= 1 && y <= lastRow && x >= 1 && x <= 7)
                                    : (i >= 10 && i < 10 + ((9 * (height - 1) - 11) / 7 + 1) * 7);
                EXPECT_EQ(s->output[i], visited ? (s->source[i] & 0xFFFFFFu) : 0u)
                    << "height " << height << " at " << x << "," << y;
            }
        }
    }
}

TEST(RippleStep, BorderColumnsShowBelow500RowsOnly) {
    SurfacePtr shortSurface = makeSurface(12, 499);
    SurfacePtr tallSurface = makeSurface(12, 500);
    for (RippleSurface* s : {shortSurface.get(), tallSurface.get()}) {
        paintGradient(*s);
        stepRipple(s);
    }
    EXPECT_EQ(shortSurface->output[5 * 12], shortSurface->source[5 * 12] & 0xFFFFFFu);
    EXPECT_EQ(shortSurface->output[5 * 12 + 11], shortSurface->source[5 * 12 + 11] & 0xFFFFFFu);
    EXPECT_EQ(tallSurface->output[5 * 12], 0u);
    EXPECT_EQ(tallSurface->output[5 * 12 + 11], 0u);
}

// Monitors are at least 500 rows high: no step writes their outermost ring.
TEST(RippleStep, EdgesShownAsTheSourceStayThroughStepsOverWaves) {
    for (const auto& [width, height] : {std::pair{40, 520}, std::pair{64, 700}}) {
        SurfacePtr s = makeSurface(width, height);
        paintGradient(*s);
        showSourceAtEdges(s.get());
        for (int step = 0; step < 20; ++step) {
            addDrop(s.get(), 2 + step, 2, 6, 300);
            addDrop(s.get(), width - 3, height - 3 - step, 6, 300);
            stepMovingRipple(s.get());
        }
        std::vector<int32_t> rows{0, height - 1};
        if (height == 700) {
            rows.push_back(698);
        }
        for (int32_t y : rows) {
            for (int32_t x = 0; x < width; ++x) {
                ASSERT_EQ(s->output[y * width + x], s->source[y * width + x] & 0xFFFFFFu)
                    << x << "," << y;
            }
        }
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x : {0, width - 1}) {
                ASSERT_EQ(s->output[y * width + x], s->source[y * width + x] & 0xFFFFFFu)
                    << x << "," << y;
            }
        }
    }
}

TEST(RippleStep, Row698OfA700RowSurfaceIsNeitherRenderedNorPropagated) {
    SurfacePtr s = makeSurface(10, 700);
    paintGradient(*s);
    cell(*s, 0, 4, 698) = 77;
    addDrop(s.get(), 4, 697, 3, 20);
    for (int i = 0; i < 4; ++i) {
        stepRipple(s.get());
    }
    for (int32_t x = 0; x < 10; ++x) {
        EXPECT_EQ(s->output[698 * 10 + x], 0u);
    }
    EXPECT_EQ(cell(*s, 0, 4, 698), 77);
    EXPECT_EQ(cell(*s, 1, 4, 698), 20); // the drop's share of row 698 stays put as well
    EXPECT_NE(s->output[697 * 10 + 4], 0u);
}

TEST(RippleStep, SurfacesWithoutAnInteriorOnlyFlip) {
    // Two rows, and grids narrower than three columns, which must not loop forever.
    for (auto [w, h] : {std::pair{50, 2}, {1, 1}, {2, 40}, {1, 40}, {2, 600}, {1, 600}, {3, 2}}) {
        SurfacePtr s = makeSurface(w, h);
        paintGradient(*s);
        addDrop(s.get(), 0, 0, 100, 3);
        const std::vector<int32_t> newer = field(*s, 1);
        stepRipple(s.get());
        stepRipple(s.get());
        stepRipple(s.get());
        EXPECT_EQ(s->current, 1) << w << "x" << h;
        EXPECT_EQ(field(*s, 1), newer) << w << "x" << h;
        EXPECT_EQ(output(*s), std::vector<uint32_t>(size_t(w) * h, 0)) << w << "x" << h;
    }
}

TEST(RippleStep, PropagationAndDampingFollowTheQuarterSumRule) {
    // A cell whose older value is a and whose neighbours are flat becomes v - (v >> 7) with
    // v = -a.
    const std::pair<int32_t, int32_t> cases[] = {
        {5, -4}, {-256, 254}, {-128, 127}, {-100, 100}, {1, 0}, {200, -198}, {0, 0},
    };
    for (auto [older, expected] : cases) {
        SurfacePtr s = makeSurface(5, 5);
        cell(*s, 0, 2, 2) = older;
        stepRipple(s.get());
        EXPECT_EQ(cell(*s, 0, 2, 2), expected) << "older " << older;
    }
    // The eight neighbours count, the centre of the newer field does not.
    SurfacePtr s = makeSurface(5, 5);
    for (int32_t y = 1; y <= 3; ++y) {
        for (int32_t x = 1; x <= 3; ++x) {
            cell(*s, 1, x, y) = 100;
        }
    }
    cell(*s, 1, 2, 2) = 1000000;
    stepRipple(s.get());
    EXPECT_EQ(cell(*s, 0, 2, 2), 200 - (200 >> 7));
}

TEST(RippleStep, SlopesDisplaceTheLookupAndShadeByTheHorizontalSlope) {
    SurfacePtr s = makeSurface(20, 20);
    paintGradient(*s);
    const int32_t i = 5 * 20 + 5;
    s->heights[0][i] = 40;
    s->source[i + 2 * 20 + 2] = 0x00FF3010;
    stepRipple(s.get());
    EXPECT_EQ(s->output[i], 0x00D70800u);

    SurfacePtr raised = makeSurface(20, 20);
    paintGradient(*raised);
    raised->heights[0][i] = -40;
    raised->source[i - 3 * 20 - 3] = 0x12F01020;
    stepRipple(raised.get());
    EXPECT_EQ(raised->output[i], 0x00FF3848u);
}

TEST(RippleStep, ALookupOutsideThePictureKeepsThePreviousPixel) {
    SurfacePtr s = makeSurface(10, 10);
    paintGradient(*s);
    std::fill(s->output, s->output + s->pixelCount, 0x00123456u);
    // dx = 16 moves one column right, dy = -16*k moves k rows up: from (1, 1) to index 0.
    const int32_t i = 1 * 10 + 1;
    s->heights[0][i] = 0;
    s->heights[0][i + 1] = 16;
    s->heights[0][i + 10] = 16;
    // From (8, 8) a slope of 32 both ways points past the last pixel.
    const int32_t far = 8 * 10 + 8;
    s->heights[0][far] = 32;
    stepRipple(s.get());
    EXPECT_EQ(s->output[i], 0x00123456u);
    EXPECT_EQ(s->output[far], 0x00123456u);
}

TEST(RippleStep, ExtremeHeightsWrapWithoutUndefinedBehaviourOnEveryCodePath) {
    const RippleCodePath widest = rippleCodePath();
    for (RippleCodePath path : availableCodePaths()) {
        SCOPED_TRACE(int(path));
        ASSERT_TRUE(useRippleCodePath(path));
        for (auto [w, h] : {std::pair{21, 9}, {37, 500}}) {
            SurfacePtr s = makeSurface(w, h);
            paintGradient(*s);
            ReferenceRipple reference(w, h);
            reference.source.assign(s->source, s->source + s->pixelCount);
            const int32_t extremes[] = {std::numeric_limits<int32_t>::max(),
                                        std::numeric_limits<int32_t>::min()};
            for (int32_t i = 0; i < s->pixelCount; ++i) {
                s->heights[0][i] = reference.heights[0][i] = extremes[i % 2];
                s->heights[1][i] = reference.heights[1][i] = extremes[(i / 3) % 2];
            }
            for (int k = 0; k < 5; ++k) {
                stepRipple(s.get());
                reference.step();
            }
            EXPECT_EQ(field(*s, 0), reference.heights[0]) << w << "x" << h;
            EXPECT_EQ(field(*s, 1), reference.heights[1]) << w << "x" << h;
            EXPECT_EQ(output(*s), reference.output) << w << "x" << h;
        }
    }
    useRippleCodePath(widest);
}

// The engine against the literal model over many sizes, with drops interleaved with steps, on
// every code path this processor can take. Gentle drops, as rain makes, move lookups by a
// row or so; strong ones by many.
TEST(RippleStep, MatchesTheReferenceModelOnRandomRipplesOnEveryCodePath) {
    const std::pair<int32_t, int32_t> sizes[] = {
        {3, 3},   {3, 4},   {4, 3},    {7, 5},   {16, 9},   {31, 17},  {5, 499},
        {6, 500}, {4, 700}, {33, 120}, {67, 40}, {130, 24}, {50, 500}, {147, 503},
    };
    const RippleCodePath widest = rippleCodePath();
    for (RippleCodePath path : availableCodePaths()) {
        ASSERT_TRUE(useRippleCodePath(path));
        EXPECT_EQ(rippleCodePath(), path);
        std::mt19937 random(1234);
        for (auto [w, h] : sizes) {
            SurfacePtr s = makeSurface(w, h);
            paintGradient(*s);
            ReferenceRipple reference(w, h);
            reference.source.assign(s->source, s->source + s->pixelCount);
            for (int round = 0; round < 40; ++round) {
                const int32_t x = int32_t(random() % uint32_t(w + 4)) - 2;
                const int32_t y = int32_t(random() % uint32_t(h + 4)) - 2;
                const int32_t radius = int32_t(random() % 60);
                const int32_t strength =
                    round % 2 == 0 ? int32_t(random() % 4001) - 2000 : int32_t(random() % 121) - 60;
                addDrop(s.get(), x, y, radius, strength);
                reference.drop(x, y, radius, strength);
                stepRipple(s.get());
                reference.step();
                const auto where = testing::Message() << "path " << int(path) << ", " << w << "x"
                                                      << h << " round " << round;
                ASSERT_EQ(field(*s, 0), reference.heights[0]) << where;
                ASSERT_EQ(field(*s, 1), reference.heights[1]) << where;
                ASSERT_EQ(output(*s), reference.output) << where;
                ASSERT_EQ(s->current, reference.current);
            }
        }
    }
    useRippleCodePath(widest);
}

// The step over moving tiles against the whole step, after every step, in long scenarios of
// sparse drops, most of them on tile borders and corners and on the surface's edges, so that
// most tiles are passed over most of the time; also on the sizes stepped whole.
TEST(RippleStep, TheStepOverMovingTilesEqualsTheWholeStepOnEveryCodePath) {
    const std::pair<int32_t, int32_t> sizes[] = {
        {50, 500}, {147, 503}, {64, 512}, {321, 530}, {130, 499}, {70, 700}, {2, 600},
    };
    const RippleCodePath widest = rippleCodePath();
    for (RippleCodePath path : availableCodePaths()) {
        ASSERT_TRUE(useRippleCodePath(path));
        std::mt19937 random(99);
        for (auto [w, h] : sizes) {
            SurfacePtr whole = makeSurface(w, h);
            SurfacePtr tiled = makeSurface(w, h);
            paintGradient(*whole);
            paintGradient(*tiled);
            const int32_t xs[] = {1, 2, 31, 32, 33, 63, 64, 65, w / 2, w - 3, w - 2, w - 1};
            const int32_t ys[] = {1, 2, 7, 8, 9, 15, 16, 250, h - 17, h - 9, h - 2, h - 1};
            for (int round = 0; round < 300; ++round) {
                if (round % 25 == 0 || round == 1) {
                    const bool onBorder = random() % 4 != 0;
                    const int32_t x =
                        onBorder ? xs[random() % 12] : int32_t(random() % uint32_t(w));
                    const int32_t y =
                        onBorder ? ys[random() % 12] : int32_t(random() % uint32_t(h));
                    const int32_t radius = 1 + int32_t(random() % 12);
                    const int32_t strength = round % 50 == 0 ? int32_t(random() % 4001) - 2000
                                                             : int32_t(random() % 121) - 60;
                    addDrop(whole.get(), x, y, radius, strength);
                    addDrop(tiled.get(), x, y, radius, strength);
                }
                stepRipple(whole.get());
                stepMovingRipple(tiled.get());
                const auto where = testing::Message() << "path " << int(path) << ", " << w << "x"
                                                      << h << " round " << round;
                ASSERT_EQ(field(*tiled, 0), field(*whole, 0)) << where;
                ASSERT_EQ(field(*tiled, 1), field(*whole, 1)) << where;
                ASSERT_EQ(output(*tiled), output(*whole)) << where;
                ASSERT_EQ(tiled->current, whole->current);
            }
        }
    }
    useRippleCodePath(widest);
}

// A storm sends the step over everything for a while, then back to the tiles, with the
// same water after every step as the whole step gives.
TEST(RippleStep, TheStepOverMovingTilesEqualsTheWholeStepThroughAStorm) {
    SurfacePtr whole = makeSurface(256, 512);
    SurfacePtr tiled = makeSurface(256, 512);
    paintGradient(*whole);
    paintGradient(*tiled);
    std::mt19937 random(5);
    bool wentWhole = false;
    for (int round = 0; round < 120; ++round) {
        for (int drop = 0; round < 30 && drop < 30; ++drop) {
            const auto x = int32_t(random() % 256);
            const auto y = int32_t(random() % 512);
            addDrop(whole.get(), x, y, 12, 42);
            addDrop(tiled.get(), x, y, 12, 42);
        }
        stepRipple(whole.get());
        stepMovingRipple(tiled.get());
        wentWhole = wentWhole || tiled->tiles->wholeStepsLeft > 0;
        ASSERT_EQ(field(*tiled, 0), field(*whole, 0)) << "round " << round;
        ASSERT_EQ(field(*tiled, 1), field(*whole, 1)) << "round " << round;
        ASSERT_EQ(output(*tiled), output(*whole)) << "round " << round;
    }
    EXPECT_TRUE(wentWhole);
}

// A wave leaves a tile through one cell of its edge or corner: single cells raised at every
// corner and edge cell around the tile in the second row and column send the step into
// exactly the tiles whose ring holds them.
TEST(RippleStep, TheStepOverMovingTilesFollowsSingleCellsAcrossTileEdges) {
    const RippleCodePath widest = rippleCodePath();
    for (RippleCodePath path : availableCodePaths()) {
        ASSERT_TRUE(useRippleCodePath(path));
        for (int32_t x : {31, 32, 40, 63, 64}) {
            for (int32_t y : {7, 8, 12, 15, 16}) {
                SurfacePtr whole = makeSurface(130, 520);
                SurfacePtr tiled = makeSurface(130, 520);
                paintGradient(*whole);
                paintGradient(*tiled);
                for (int round = 0; round < 6; ++round) {
                    if (round == 2) { // on settled water, after the first steps
                        addDrop(whole.get(), x, y, 1, 4000);
                        addDrop(tiled.get(), x, y, 1, 4000);
                    }
                    stepRipple(whole.get());
                    stepMovingRipple(tiled.get());
                    const auto where = testing::Message() << "path " << int(path) << ", cell " << x
                                                          << "," << y << " round " << round;
                    ASSERT_EQ(field(*tiled, 0), field(*whole, 0)) << where;
                    ASSERT_EQ(field(*tiled, 1), field(*whole, 1)) << where;
                    ASSERT_EQ(output(*tiled), output(*whole)) << where;
                }
            }
        }
    }
    useRippleCodePath(widest);
}

// Calm water is passed over: a drop in a corner of a wide surface leaves the tiles far from
// it alone, and they still show their source; a change by hand sends the step everywhere.
TEST(RippleStep, TheStepPassesOverCalmTilesAndGoesEverywhereAfterAChangeByHand) {
    SurfacePtr s = makeSurface(1024, 512);
    paintGradient(*s);
    stepMovingRipple(s.get()); // the first step shows the source everywhere
    addDrop(s.get(), 30, 20, 12, 42);
    for (int i = 0; i < 20; ++i) {
        stepMovingRipple(s.get());
    }
    const RippleTiles& tiles = *s->tiles;
    // Whether the last step went over the tile of the cell.
    const auto stepped = [&](int32_t x, int32_t y) {
        return tiles
            .stepped[size_t(y * tiles.rows / 512 * tiles.columns + x * tiles.columns / 1024)];
    };
    EXPECT_EQ(stepped(30, 20), 1);
    EXPECT_EQ(stepped(600, 300), 0);
    EXPECT_EQ(stepped(1023, 511), 0);
    EXPECT_EQ(s->output[300 * 1024 + 600], s->source[300 * 1024 + 600] & 0xFFFFFFu);
    markRippleSurfaceChanged(s.get());
    stepMovingRipple(s.get());
    EXPECT_EQ(stepped(600, 300), 1);
}

// Calm water is known after a step: then a further step changes nothing, so steps may stop.
// A click's ripple settles back to calm within a few hundred steps; a small surface, stepped
// whole, is never known calm.
TEST(RippleStep, CalmWaterIsKnownAndAStepOverItChangesNothing) {
    SurfacePtr s = makeSurface(1024, 512);
    paintGradient(*s);
    markRippleSurfaceChanged(s.get()); // both fields looked at again, each over two steps
    for (int i = 0; i < 3; ++i) {
        stepMovingRipple(s.get());
        EXPECT_FALSE(rippleSurfaceCalm(s.get()));
    }
    stepMovingRipple(s.get());
    EXPECT_TRUE(rippleSurfaceCalm(s.get()));
    addDrop(s.get(), 60, 50, 50, 70);
    int steps = 0;
    do {
        stepMovingRipple(s.get());
        ++steps;
    } while (!rippleSurfaceCalm(s.get()) && steps < 2000);
    EXPECT_LT(steps, 1000);
    const std::vector<uint32_t> shown = output(*s);
    stepMovingRipple(s.get());
    EXPECT_EQ(output(*s), shown);
    EXPECT_EQ(field(*s, 0), std::vector<int32_t>(size_t(s->pixelCount)));
    EXPECT_EQ(field(*s, 1), std::vector<int32_t>(size_t(s->pixelCount)));
    EXPECT_EQ(s->output[300 * 1024 + 600], s->source[300 * 1024 + 600] & 0xFFFFFFu);

    SurfacePtr small = makeSurface(320, 240);
    for (int i = 0; i < 4; ++i) {
        stepMovingRipple(small.get());
    }
    EXPECT_FALSE(rippleSurfaceCalm(small.get()));
}

// While a picture comes in, the calm tiles show it at once and the steps still pass over
// them: everything stays as a whole step makes it, the black ring included.
TEST(RippleFade, TheStepOverMovingTilesEqualsTheWholeStepThroughAFade) {
    SurfacePtr whole = makeSurface(1024, 512);
    SurfacePtr tiled = makeSurface(1024, 512);
    paintGradient(*whole);
    paintGradient(*tiled);
    const std::vector<uint32_t> picture = scrambledPicture(*whole);
    for (int round = 0; round < 40; ++round) {
        if (round == 10) {
            ASSERT_TRUE(beginSourceFade(whole.get(), picture, 8));
            ASSERT_TRUE(beginSourceFade(tiled.get(), picture, 8));
        }
        if (round % 4 == 0) {
            addDrop(whole.get(), 100 + round * 20, 200, 12, 42);
            addDrop(tiled.get(), 100 + round * 20, 200, 12, 42);
        }
        advanceSourceFade(whole.get());
        advanceSourceFade(tiled.get());
        markRippleSurfaceChanged(whole.get());
        stepRipple(whole.get());
        stepMovingRipple(tiled.get());
        ASSERT_EQ(output(*tiled), output(*whole)) << "round " << round;
        ASSERT_EQ(field(*tiled, 0), field(*whole, 0)) << "round " << round;
    }
    const RippleTiles& tiles = *tiled->tiles;
    EXPECT_LT(std::count(tiles.stepped.begin(), tiles.stepped.end(), 1),
              tiles.columns * tiles.rows / 2);
}

// A new picture comes in over the stages, each channel moving evenly from the old value to
// the new one, while the waves go on; the calm water then shows exactly the new picture.
TEST(RippleFade, TheSourceMovesEvenlyToTheNewPictureAndTheCalmWaterShowsIt) {
    SurfacePtr s = makeSurface(640, 480);
    paintGradient(*s);
    stepMovingRipple(s.get());
    const std::vector<uint32_t> before(s->source, s->source + s->pixelCount);
    const std::vector<uint32_t> picture = scrambledPicture(*s);
    EXPECT_FALSE(beginSourceFade(s.get(), std::vector<uint32_t>(10), 4));
    ASSERT_TRUE(beginSourceFade(s.get(), picture, 4));
    addDrop(s.get(), 320, 240, 50, 70);
    for (int32_t stage = 1; stage <= 4; ++stage) {
        advanceSourceFade(s.get());
        stepMovingRipple(s.get());
        // Each channel exactly (from x (256 - w) + to x w) / 256, rounded down.
        const uint32_t weight = uint32_t(stage * 256 / 4);
        for (size_t i = 0; i < picture.size(); ++i) {
            uint32_t expected = 0;
            for (int shift : {0, 8, 16}) {
                const uint32_t from = before[i] >> shift & 0xFF;
                const uint32_t to = picture[i] >> shift & 0xFF;
                expected |= (from * (256 - weight) + to * weight) >> 8 << shift;
            }
            ASSERT_EQ(s->source[i], expected) << stage << " " << i;
        }
    }
    EXPECT_EQ(s->fade, nullptr);
    EXPECT_EQ(std::vector<uint32_t>(s->source, s->source + s->pixelCount), picture);
    // Far from the drop the water is calm: every tile was rendered from the new picture.
    EXPECT_EQ(s->output[10 * 640 + 10], picture[10 * 640 + 10]);
    EXPECT_EQ(s->output[470 * 640 + 630], picture[470 * 640 + 630]);
    advanceSourceFade(s.get()); // nothing under way
    // Dimmer: every channel scaled, rounded down.
    s->source[0] = 0x00FF8001;
    EXPECT_EQ(dimmedSource(*s, 192)[0], 0x00BF6000u);
}

// A stage taken in bands of rows, a message each on the desktop, ends exactly where the whole
// stage ends, and a new picture arriving mid-stage fades from wherever each row stood.
TEST(RippleFade, AStageInBandsEqualsTheWholeStage) {
    SurfacePtr whole = makeSurface(640, 480);
    SurfacePtr banded = makeSurface(640, 480);
    paintGradient(*whole);
    paintGradient(*banded);
    const std::vector<uint32_t> picture = scrambledPicture(*whole);
    ASSERT_TRUE(beginSourceFade(whole.get(), picture, 5));
    ASSERT_TRUE(beginSourceFade(banded.get(), picture, 5));
    for (int32_t stage = 1; stage <= 5; ++stage) {
        advanceSourceFade(whole.get());
        std::vector<FadedRows> bands;
        do {
            bands.push_back(advanceSourceFade(banded.get(), 100));
        } while (sourceFadeMidStage(*banded));
        ASSERT_EQ(bands.size(), 5u);
        EXPECT_EQ(bands.back().bottom, 480);
        ASSERT_EQ(output(*banded), output(*whole)) << stage;
        ASSERT_EQ(std::vector<uint32_t>(banded->source, banded->source + banded->pixelCount),
                  std::vector<uint32_t>(whole->source, whole->source + whole->pixelCount));
    }
    EXPECT_EQ(banded->fade, nullptr);
    EXPECT_EQ(advanceSourceFade(banded.get(), 100).bottom, 0);

    // Mid-stage, a second picture: rows above the band and below it start from what they show.
    ASSERT_TRUE(beginSourceFade(banded.get(), std::vector<uint32_t>(picture.size(), 0), 2));
    advanceSourceFade(banded.get());
    advanceSourceFade(banded.get(), 240);
    const std::vector<uint32_t> shown(banded->source, banded->source + banded->pixelCount);
    ASSERT_TRUE(beginSourceFade(banded.get(), picture, 1));
    advanceSourceFade(banded.get(), 240);
    EXPECT_TRUE(sourceFadeMidStage(*banded));
    EXPECT_EQ(banded->source[0], picture[0]);
    EXPECT_EQ(banded->source[300 * 640], shown[300 * 640]);
    advanceSourceFade(banded.get(), 240);
    EXPECT_EQ(std::vector<uint32_t>(banded->source, banded->source + banded->pixelCount), picture);
}

} // namespace
