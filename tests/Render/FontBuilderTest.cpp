// Cutting letters out of pictures: marker runs and grids.
#include <gtest/gtest.h>

#include "Render/FontBuilders.h"
#include "Render/Texture.h"
#include "Support/PngWriter.h"

TEST(MarkerFont, RunsBecomeLettersInReadingOrderAndTheMarkersAreCleared) {
    // Two bands of 32 rows. Band 0's marker row is empty; band 1 has a run of three, a run of
    // one after exactly one transparent pixel, and a run reaching the right edge.
    Picture p(64, 64);
    p.fill(5, 10, 20, 10, 9, 8, 7);        // ink in band 0 (not a marker)
    p.fill(2, 63, 3, 1, 255, 0, 255);      // columns 2..4
    p.set(6, 63, 255, 0, 255);             // column 6
    p.fill(60, 63, 4, 1, 255, 0, 255, 1);  // columns 60..63, barely opaque
    p.fill(0, 40, 64, 2, 1, 2, 3, 4);      // ink in band 1 above its marker row
    Texture t(&p.image, 0, 0, 0);

    auto table = build_marker_font(&t, 32, 'a');
    ASSERT_TRUE(table);
    EXPECT_EQ(table->size(), 3);
    struct Expect {
        char c;
        float u_left, u_right, aspect;
    };
    for (Expect e :
         {Expect{'a', 2 / 64.0f, 5 / 64.0f, 3 / 32.0f},
          Expect{'b', 6 / 64.0f, 7 / 64.0f, 1 / 32.0f}, Expect{'c', 60 / 64.0f, 1.0f, 4 / 32.0f}}) {
        const Letter* l = table->find(static_cast<unsigned char>(e.c));
        ASSERT_TRUE(l) << e.c;
        EXPECT_EQ(l->texture, &t);
        EXPECT_FLOAT_EQ(l->u_left, e.u_left) << e.c;
        EXPECT_FLOAT_EQ(l->u_right, e.u_right) << e.c;
        EXPECT_FLOAT_EQ(l->v_bottom, 0.0f) << e.c;  // band 1 is the bottom half
        EXPECT_FLOAT_EQ(l->v_top, 0.5f) << e.c;
        EXPECT_FLOAT_EQ(l->aspect, e.aspect) << e.c;
    }
    EXPECT_FALSE(table->find('d'));

    // Every pixel of both marker rows is cleared; everything else is as it was.
    Picture after(64, 64);
    after.image = *t.image();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint8_t* now = after.at(x, y);
            const uint8_t* was = p.at(x, y);
            const bool marker_row = y == 31 || y == 63;
            for (int i = 0; i < 4; ++i)
                ASSERT_EQ(now[i], marker_row ? 0 : was[i]) << x << "," << y;
        }
    }
}

TEST(MarkerFont, LaterRunsWithTheSameLowByteReplaceEarlierOnes) {
    Picture p(16, 8);
    for (int x = 0; x < 16; x += 2)
        p.set(x, 7, 255, 255, 255);  // eight one-pixel runs
    Texture t(&p.image, 0, 0, 0);
    auto table = build_marker_font(&t, 8, 252);  // codes 252..259: the last four wrap to 0..3
    ASSERT_TRUE(table);
    EXPECT_EQ(table->size(), 8);
    ASSERT_TRUE(table->find(255));
    EXPECT_FLOAT_EQ(table->find(255)->u_left, 6 / 16.0f);
    ASSERT_TRUE(table->find(0));
    EXPECT_FLOAT_EQ(table->find(0)->u_left, 8 / 16.0f);
}

TEST(MarkerFont, RefusesWhatDoesNotFit) {
    Picture p(8, 8);
    p.set(0, 7, 255, 255, 255);
    Texture t(&p.image, 0, 0, 0);
    Texture empty(nullptr, 0, 0, 0);
    EXPECT_FALSE(build_marker_font(nullptr, 8, 32));
    EXPECT_FALSE(build_marker_font(&empty, 8, 32));
    EXPECT_FALSE(build_marker_font(&t, 0, 32));
    EXPECT_FALSE(build_marker_font(&t, -4, 32));
    EXPECT_FALSE(build_marker_font(&t, 9, 32));  // taller than the picture
    EXPECT_EQ(t.image()->pixels, p.image.pixels) << "a refused picture is left alone";
    EXPECT_TRUE(build_marker_font(&t, 8, 32));
}

TEST(GridFont, CellsBecomeLettersRowByRowFromTheTop) {
    Picture p(256, 16);
    Texture t(&p.image, 0, 0, 0);
    auto table = build_grid_font(&t, 8, 8, 32, 64, 32);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->size(), 64);
    const Letter* space = table->find(32);
    ASSERT_TRUE(space);
    EXPECT_FLOAT_EQ(space->u_left, 0.0f);
    EXPECT_FLOAT_EQ(space->u_right, 0.03125f);
    EXPECT_FLOAT_EQ(space->v_bottom, 0.5f);
    EXPECT_FLOAT_EQ(space->v_top, 1.0f);
    EXPECT_FLOAT_EQ(space->aspect, 1.0f);
    const Letter* at = table->find(64);  // the first cell of the second row
    ASSERT_TRUE(at);
    EXPECT_FLOAT_EQ(at->u_left, 0.0f);
    EXPECT_FLOAT_EQ(at->v_bottom, 0.0f);
    EXPECT_FLOAT_EQ(at->v_top, 0.5f);
    const Letter* last = table->find(95);
    ASSERT_TRUE(last);
    EXPECT_FLOAT_EQ(last->u_left, 31 * 8 / 256.0f);
    EXPECT_FLOAT_EQ(last->u_right, 1.0f);
    EXPECT_FALSE(table->find(96));
    EXPECT_FALSE(table->find(31));
    EXPECT_EQ(t.image()->pixels, p.image.pixels);
}

TEST(GridFont, RefusesCellsThatDoNotFit) {
    Picture p(256, 16);
    Texture t(&p.image, 0, 0, 0);
    struct Case {
        int32_t w, h, columns, count;
    };
    for (Case c : {Case{8, 8, 32, 65},  // only 64 cells
                   Case{0, 8, 32, 1}, Case{8, -1, 32, 1}, Case{8, 8, 0, 1},
                   Case{257, 8, 1, 1},  // wider than the picture
                   Case{8, 17, 1, 1},   // taller
                   Case{8, 8, 33, 1},   // a row wider than the picture
                   Case{8, 8, INT32_MAX, 1}}) {
        EXPECT_FALSE(build_grid_font(&t, c.w, c.h, c.columns, c.count, 32))
            << c.w << " " << c.h << " " << c.columns << " " << c.count;
    }
    Texture empty(nullptr, 0, 0, 0);
    EXPECT_FALSE(build_grid_font(&empty, 8, 8, 1, 1, 32));
    // Two letters to a row, five letters: three rows, the last one half full.
    auto table = build_grid_font(&t, 8, 4, 2, 5, 'A');
    ASSERT_TRUE(table);
    ASSERT_TRUE(table->find('E'));
    EXPECT_FLOAT_EQ(table->find('E')->v_top, 8 / 16.0f);
    EXPECT_FLOAT_EQ(table->find('E')->aspect, 2.0f);
}
