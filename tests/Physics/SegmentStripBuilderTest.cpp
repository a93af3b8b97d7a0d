#include <gtest/gtest.h>

#include "Physics/SegmentStripBuilder.h"
#include "PhysicsTestSupport.h"

namespace {

std::vector<std::pair<Vector2, Vector2>> segments_of(const SegmentStrip& strip) {
    std::vector<std::pair<Vector2, Vector2>> out;
    for (const Segment& s : strip.segments) {
        out.push_back({s.start, s.end});
    }
    return out;
}

using Segments = std::vector<std::pair<Vector2, Vector2>>;

TEST(SegmentStripBuilderTest, AddSegmentChainsFromThePen) {
    SegmentStripBuilder builder;
    builder.create_segment(0, 0);
    ASSERT_NE(builder.unfinished(), nullptr);
    EXPECT_TRUE(builder.unfinished()->segments.empty());
    EXPECT_EQ(builder.unfinished()->code, 0);
    EXPECT_TRUE(builder.unfinished()->enabled);
    builder.add_segment(10, 0);
    builder.add_segment(20, 5);
    EXPECT_EQ(segments_of(*builder.unfinished()),
              (Segments{{{0, 0}, {10, 0}}, {{10, 0}, {20, 5}}}));
    EXPECT_EQ(builder.pen(), Vector2(20, 5));
}

TEST(SegmentStripBuilderTest, CreateSegmentReplacesTheUnfinishedStrip) {
    SegmentStripBuilder builder;
    builder.create_segment(0, 0);
    builder.add_segment(10, 0);
    const SegmentStrip* first = builder.unfinished();
    builder.create_segment(50, 50);
    ASSERT_NE(builder.unfinished(), first);
    EXPECT_TRUE(builder.unfinished()->segments.empty());
    EXPECT_EQ(builder.pen(), Vector2(50, 50));
}

TEST(SegmentStripBuilderTest, AddSegmentWithoutAStripOrAPenDoesNothing) {
    SegmentStripBuilder builder;
    builder.add_segment(10, 0);
    EXPECT_EQ(builder.unfinished(), nullptr);
    EXPECT_FALSE(builder.pen().has_value());

    // A coded strip without any earlier pen point: the call is ignored, pen stays unset.
    builder.create_segment_with_code(0, 0, 5, 5, 9);
    builder.add_segment(10, 0);
    EXPECT_EQ(segments_of(*builder.unfinished()), (Segments{{{0, 0}, {5, 5}}}));
    EXPECT_FALSE(builder.pen().has_value());

    // After an upload there is no unfinished strip; the pen survives.
    SegmentStripList strips;
    builder.create_segment(1, 1);
    builder.upload_segmentstrip(strips);
    builder.add_segment(2, 2);
    EXPECT_EQ(builder.unfinished(), nullptr);
    EXPECT_EQ(builder.pen(), Vector2(1, 1));
    EXPECT_TRUE(strips[0]->segments.empty());
}

TEST(SegmentStripBuilderTest, CodedStripContinuesFromTheOldPenNotItsOwnEnd) {
    SegmentStripBuilder builder;
    builder.create_segment(100, 100);
    builder.add_segment(110, 100);
    builder.create_segment_with_code(0, 0, 10, 0, 42);
    ASSERT_NE(builder.unfinished(), nullptr);
    EXPECT_EQ(builder.unfinished()->code, 42);
    EXPECT_EQ(builder.pen(), Vector2(110, 100));
    builder.add_segment(120, 90);
    EXPECT_EQ(segments_of(*builder.unfinished()),
              (Segments{{{0, 0}, {10, 0}}, {{110, 100}, {120, 90}}}));
}

TEST(SegmentStripBuilderTest, UploadAppendsTheStripAndClearsIt) {
    SegmentStripList strips;
    SegmentStripBuilder builder;
    builder.upload_segmentstrip(strips);
    EXPECT_TRUE(strips.empty());

    builder.create_segment(0, 0);
    builder.add_segment(10, 0);
    const SegmentStrip* first = builder.unfinished();
    builder.upload_segmentstrip(strips);
    builder.create_segment_with_code(0, 0, 1, 1, 5);
    const SegmentStrip* second = builder.unfinished();
    builder.upload_segmentstrip(strips);
    builder.upload_segmentstrip(strips);
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].get(), first);
    EXPECT_EQ(strips[1].get(), second);
    EXPECT_EQ(builder.unfinished(), nullptr);
    EXPECT_EQ(builder.pen(), Vector2(10, 0));
}

TEST(SegmentStripBuilderTest, ClearDropsTheUnfinishedStripButKeepsThePen) {
    SegmentStripBuilder builder;
    builder.create_segment(3, 4);
    builder.clear();
    EXPECT_EQ(builder.unfinished(), nullptr);
    EXPECT_EQ(builder.pen(), Vector2(3, 4));
}

TEST(SegmentStripBuilderTest, AddSegmentWithCodeExtendsTheFirstUploadedStripWithTheCode) {
    SegmentStripList strips;
    SegmentStripBuilder builder;
    builder.create_segment_with_code(0, 0, 10, 0, 7);
    builder.upload_segmentstrip(strips);
    builder.create_segment_with_code(50, 0, 60, 0, 7);
    builder.upload_segmentstrip(strips);
    builder.create_segment_with_code(0, 0, 1, 0, 8);  // still unfinished: not seen

    SegmentStripBuilder::add_segment_with_code(strips, 20, 5, 7);
    SegmentStripBuilder::add_segment_with_code(strips, 30, 5, 7);
    EXPECT_EQ(segments_of(*strips[0]),
              (Segments{{{0, 0}, {10, 0}}, {{10, 0}, {20, 5}}, {{20, 5}, {30, 5}}}));
    EXPECT_EQ(strips[1]->segments.size(), 1u);

    SegmentStripBuilder::add_segment_with_code(strips, 9, 9, 8);
    EXPECT_EQ(builder.unfinished()->segments.size(), 1u);
    EXPECT_EQ(strips[0]->segments.size(), 3u);
    EXPECT_EQ(strips[1]->segments.size(), 1u);
    EXPECT_FALSE(builder.pen().has_value());  // the pen is not used or moved
}

TEST(SegmentStripBuilderTest, AddSegmentWithCodeIgnoresAStripWithoutSegments) {
    SegmentStripList strips;
    SegmentStripBuilder builder;
    builder.create_segment(0, 0);  // code 0, no segments
    builder.upload_segmentstrip(strips);
    SegmentStripBuilder::add_segment_with_code(strips, 5, 5, 0);
    EXPECT_TRUE(strips[0]->segments.empty());
    SegmentStripBuilder::add_segment_with_code(SegmentStripList{}, 5, 5, 0);
}

}  // namespace
