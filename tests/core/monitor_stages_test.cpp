#include "engine/monitor_stages.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

struct Expected {
    int left, top, width, height;
    double scale;
};

void ExpectStages(const std::vector<MonitorArea>& monitors, const PixelRect& window, const std::vector<Expected>& want,
                  int fallbackDpi = 96) {
    SlideStage stages[MAX_STAGES] = {};
    const int count = ArrangeStages(monitors.data(), static_cast<int>(monitors.size()), window, fallbackDpi, stages,
                                    MAX_STAGES);
    ASSERT_EQ(count, static_cast<int>(want.size()));
    for (int i = 0; i < count; ++i) {
        const SlideStage& s = stages[i];
        EXPECT_EQ(std::make_tuple(s.left, s.top, s.width, s.height, s.dpiScale),
                  std::make_tuple(want[i].left, want[i].top, want[i].width, want[i].height, want[i].scale)) << i;
    }
}

// The window covers the virtual screen; stages come out in client
// coordinates, the primary first, each at its own monitor's scale.
TEST(MonitorStages, EachMonitorIsAStageInClientCoordinatesPrimaryFirst) {
    SCOPED_TRACE("one monitor: the whole client, as on a desktop of one screen");
    ExpectStages({{{0, 0, 1920, 1080}, true, 96}}, {0, 0, 1920, 1080}, {{0, 0, 1920, 1080, 1.0}});

    SCOPED_TRACE("side by side, the primary on the right");
    ExpectStages({{{0, 0, 1280, 1024}, false, 96}, {{1280, 0, 3200, 1080}, true, 144}}, {0, 0, 3200, 1080},
                 {{1280, 0, 1920, 1080, 1.5}, {0, 0, 1280, 1024, 1.0}});

    SCOPED_TRACE("a monitor at negative coordinates, left of and above the primary");
    ExpectStages({{{0, 0, 2560, 1440}, true, 192}, {{-1920, -300, 0, 780}, false, 120}}, {-1920, -300, 2560, 1440},
                 {{1920, 300, 2560, 1440, 2.0}, {0, 0, 1920, 1080, 1.25}});

    SCOPED_TRACE("stacked, different sizes");
    ExpectStages({{{0, 0, 1920, 1080}, true, 96}, {{320, 1080, 1600, 2104}, false, 96}}, {0, 0, 1920, 2104},
                 {{0, 0, 1920, 1080, 1.0}, {320, 1080, 1280, 1024, 1.0}});
}

// A monitor outside the window is no stage, one partly inside is cut to it,
// and a window over none (or no monitors known) is one stage at the
// fallback resolution. The capacity is never passed.
TEST(MonitorStages, OnlyWhatTheWindowCoversIsAStage) {
    ExpectStages({{{0, 0, 800, 600}, true, 96}, {{800, 0, 1600, 600}, false, 96}}, {0, 0, 1200, 600},
                 {{0, 0, 800, 600, 1.0}, {800, 0, 400, 600, 1.0}});
    ExpectStages({{{5000, 0, 5800, 600}, true, 96}}, {0, 0, 640, 480}, {{0, 0, 640, 480, 1.5}}, 144);
    ExpectStages({}, {0, 0, 640, 480}, {{0, 0, 640, 480, 1.0}}, 0);

    std::vector<MonitorArea> many;
    for (int i = 0; i < MAX_STAGES + 4; ++i) {
        many.push_back({{i * 100, 0, i * 100 + 100, 100}, i == 0, 96});
    }
    SlideStage stages[MAX_STAGES + 1] = {};
    stages[MAX_STAGES].width = -7;
    EXPECT_EQ(ArrangeStages(many.data(), static_cast<int>(many.size()), {0, 0, 3000, 100}, 96, stages, MAX_STAGES),
              MAX_STAGES);
    EXPECT_EQ(stages[MAX_STAGES].width, -7);
}

TEST(MonitorStages, SlidesTakeTheStagesInTurn) {
    const SlideStage stages[3] = {{0, 0, 1, 1, 1.0}, {1, 0, 1, 1, 1.0}, {2, 0, 1, 1, 1.0}};
    std::vector<int> lefts;
    for (unsigned slide = 0; slide < 7; ++slide) {
        lefts.push_back(StageOfSlide(stages, 3, slide).left);
    }
    EXPECT_EQ(lefts, (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
    EXPECT_EQ(StageOfSlide(stages, 1, 5).left, 0);
}

}  // namespace
