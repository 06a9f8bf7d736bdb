// The mirror list over a scripted window world: mirrors made and destroyed as secondary
// taskbars come and go, the limit of sixteen, the settings that allow none, the clock search
// schedule, placement before the clock, the change report and the diagnostics.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/config.hpp"
#include "mirror_scripted_world.hpp"
#include "render/mirror_list.hpp"
#include "render/placement.hpp"

namespace vessa {

void PrintTo(const Placement& placement, std::ostream* out);

namespace {

using namespace std::chrono_literals;
using Taskbar = ScriptedMirrorWorld::Taskbar;

// A second display right of Wine's 1280 × 800 one, its taskbar 40 pixels at the bottom.
constexpr Rect kSecondBand{1280, 760, 2560, 800};
constexpr Rect kSecondClock{2380, 760, 2560, 800};
constexpr Rect kThirdBand{2560, 0, 3840, 30};

Config all_displays() {
  Config config;
  config.general.displays = Displays::All;
  return config;
}

std::vector<TaskbarId> mirrored(const MirrorList& list) {
  std::vector<TaskbarId> ids;
  for (const MirrorRecord& record : list.records()) ids.push_back(record.taskbar);
  return ids;
}

std::vector<TaskbarId> windows(const ScriptedMirrorWorld& world) {
  std::vector<TaskbarId> ids;
  for (const auto& window : world.windows()) ids.push_back(window.taskbar);
  return ids;
}

TEST(MirrorList, MirrorsFollowTheSecondaryTaskbarsAsDisplaysComeAndGo) {
  // Each step sets which taskbars the system lists (in its order), then updates once.
  const struct {
    const char* name;
    std::vector<TaskbarId> present;
    std::vector<TaskbarId> mirrors;  // the list, in its order
    bool changed;
  } steps[] = {
      {"nothing yet", {}, {}, false},
      {"two displays plugged in", {11, 12}, {11, 12}, true},
      {"nothing changed", {11, 12}, {11, 12}, false},
      {"the first one unplugged", {12}, {12}, true},
      {"plugged in again: created after the others", {11, 12}, {12, 11}, true},
      {"the system lists them the other way: order kept", {12, 11}, {12, 11}, false},
      {"a third between them, the middle one gone", {12, 13}, {12, 13}, true},
      {"all unplugged", {}, {}, true},
  };
  ScriptedMirrorWorld world;
  MirrorList list;
  const Config config = all_displays();
  for (const auto& step : steps) {
    for (const TaskbarId id : {11, 12, 13}) world.remove_taskbar(id);
    for (const TaskbarId id : step.present) world.set_taskbar(id, Taskbar{kSecondBand, 96, std::nullopt});
    const MirrorUpdate update = list.update(world, config, {});
    EXPECT_EQ(mirrored(list), step.mirrors) << step.name;
    EXPECT_EQ(windows(world), step.mirrors) << step.name << ": one window per mirror";
    EXPECT_EQ(update.changed, step.changed) << step.name;
  }
  EXPECT_EQ(world.created(), 4);
  EXPECT_EQ(world.destroyed(), 4);
}

TEST(MirrorList, OnlyAllDisplaysOnTheTaskbarGetMirrors) {
  const struct {
    const char* name;
    Displays displays;
    AttachMode mode;
    std::size_t taskbars;
    std::size_t mirrors;
  } cases[] = {
      {"all, overlay", Displays::All, AttachMode::Overlay, 2, 2},
      {"all, child", Displays::All, AttachMode::Child, 2, 2},
      {"seventeen taskbars: the first sixteen", Displays::All, AttachMode::Overlay, 17, 16},
      {"primary only", Displays::Primary, AttachMode::Overlay, 2, 0},
      {"tray only", Displays::All, AttachMode::TrayOnly, 2, 0},
  };
  for (const auto& c : cases) {
    ScriptedMirrorWorld world;
    for (std::size_t i = 0; i < c.taskbars; ++i) world.set_taskbar(100 + i, Taskbar{kSecondBand, 96, std::nullopt});
    Config config;
    config.general.displays = c.displays;
    MirrorList list;
    (void)list.update(world, config, MirrorUpdateInputs{c.mode, true, false});
    ASSERT_EQ(list.records().size(), c.mirrors) << c.name;
    if (c.mirrors > 0) {
      EXPECT_EQ(list.records().back().taskbar, 100 + c.mirrors - 1) << c.name;
    }
  }
}

TEST(MirrorList, SwitchingToPrimaryRemovesEveryMirrorAtTheNextUpdate) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, std::nullopt});
  world.set_taskbar(2, Taskbar{kThirdBand, 96, std::nullopt});
  MirrorList list;
  Config config = all_displays();
  (void)list.update(world, config, {});
  ASSERT_EQ(list.records().size(), 2u);
  config.general.displays = Displays::Primary;
  EXPECT_TRUE(list.update(world, config, {}).changed);
  EXPECT_TRUE(list.records().empty());
  EXPECT_TRUE(world.windows().empty());
}

TEST(MirrorList, NewMirrorsAreHiddenWhileTheBarsAreHidden) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, std::nullopt});
  MirrorList list;
  (void)list.update(world, all_displays(), MirrorUpdateInputs{AttachMode::Overlay, false, false});
  ASSERT_EQ(world.windows().size(), 1u);
  EXPECT_FALSE(world.windows()[0].visible);
}

TEST(MirrorList, AFailedWindowIsReportedAndTriedAgainAtTheNextUpdate) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, std::nullopt});
  world.fail_creation = true;
  MirrorList list;
  const MirrorUpdateInputs inputs{AttachMode::Overlay, true, true};
  const MirrorUpdate failed = list.update(world, all_displays(), inputs);
  EXPECT_FALSE(failed.changed);
  EXPECT_EQ(failed.diagnostics, std::vector<std::string>{"副ディスプレイの複製を作れません"});
  EXPECT_TRUE(list.records().empty());

  world.fail_creation = false;
  EXPECT_TRUE(list.update(world, all_displays(), inputs).changed);
  EXPECT_EQ(list.records().size(), 1u);
}

// The clock search runs at most every two seconds of updates, for one minute from the mirror's
// creation or from a change of band size, DPI or notification area, and a found area ends it.
TEST(MirrorList, ClockSearchSchedule) {
  const struct {
    const char* name;
    MirrorClock::duration advance;  // before this update
    void (*change)(Taskbar&);       // to the taskbar, before this update
    int searches;                   // in all, after this update
  } steps[] = {
      {"created: searched at once", 0s, nullptr, 1},
      {"1.9 s later: too soon", 1900ms, nullptr, 1},
      {"2 s after the first", 100ms, nullptr, 2},
      {"the same moment again", 0s, nullptr, 2},
      {"58 s after creation", 56s, nullptr, 3},
      {"exactly 60 s after creation: over", 2s, nullptr, 3},
      {"long after", 30s, nullptr, 3},
      {"the band changed its size: from now again", 0s, [](Taskbar& t) { t.band = Rect{1280, 0, 2560, 48}; }, 4},
      {"2 s later", 2s, nullptr, 5},
      {"the DPI changed: at once", 0s, [](Taskbar& t) { t.dpi = 144; }, 6},
      {"the clock appears", 2s, [](Taskbar& t) { t.clock_area = Rect{2380, 0, 2560, 40}; }, 7},
      {"found: no more searching", 2s, nullptr, 7},
      {"still found", 20s, nullptr, 7},
      {"the notification area grew: at once", 0s, [](Taskbar& t) { t.notification_area = Rect{2300, 0, 2560, 48}; },
       8},
      {"the band changed its size: the found area is forgotten", 0s, [](Taskbar& t) { t.band = kSecondBand; }, 9},
  };
  ScriptedMirrorWorld world;
  world.set_taskbar(7, Taskbar{kSecondBand, 96, std::nullopt});
  MirrorList list;
  for (const auto& step : steps) {
    world.advance(step.advance);
    if (step.change != nullptr) step.change(world.taskbar(7));
    (void)list.update(world, all_displays(), {});
    EXPECT_EQ(world.clock_searches(7), step.searches) << step.name;
  }
  EXPECT_EQ(list.records().at(0).clock_area, (Rect{2380, 0, 2560, 40}));
}

// A display plugged in while a clock search waits: the update its message asks for runs after
// the one in progress, which holds nothing of the list across the search.
TEST(MirrorList, AnUpdateAskedForDuringAClockSearchRunsAfterTheCurrentOne) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, std::nullopt});
  MirrorList list;
  const Config config = all_displays();
  int nested = 0;
  world.during_clock_search = [&](TaskbarId) {
    if (nested++ != 0) return;
    world.set_taskbar(2, Taskbar{kThirdBand, 96, std::nullopt});
    EXPECT_FALSE(list.update(world, config, {}).changed) << "an update ran inside another";
  };
  EXPECT_TRUE(list.update(world, config, {}).changed);
  EXPECT_EQ(mirrored(list), (std::vector<TaskbarId>{1, 2}));
  EXPECT_EQ(windows(world), (std::vector<TaskbarId>{1, 2}));
  for (const MirrorRecord& record : list.records()) EXPECT_TRUE(record.laid_out) << record.taskbar;
  EXPECT_EQ(world.clock_searches(1), 1);
  EXPECT_EQ(world.clock_searches(2), 1);
}

// An auto-hiding taskbar's slide moves its band at the same size: the clock area found moves
// with it, without a new search. A taskbar that moves during the search keeps the rectangle
// read with the band, so the next look sees the move, and the area found meanwhile is not
// trusted.
TEST(MirrorList, AMovedBandCarriesItsClockAreaAndAMoveDuringTheSearchIsSeen) {
  constexpr Rect kLower{1280, 800, 2560, 840};
  constexpr Rect kLowerClock{2380, 800, 2560, 840};
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, kSecondClock});
  bool moving = true;
  world.during_clock_search = [&](TaskbarId) {
    if (!std::exchange(moving, false)) return;
    world.taskbar(1).band = kLower;
    world.taskbar(1).clock_area = kLowerClock;
  };
  MirrorList list;
  (void)list.update(world, all_displays(), {});
  EXPECT_EQ(list.records().at(0).taskbar_rect, kSecondBand) << "the move during the search is not seen";
  EXPECT_EQ(list.records().at(0).clock_area, std::nullopt);

  // The look that sees the move lays out again: searched again at once, at the new place.
  EXPECT_TRUE(list.update(world, all_displays(), {}).changed);
  EXPECT_EQ(world.clock_searches(1), 2);
  EXPECT_EQ(list.records().at(0).taskbar_rect, kLower);
  EXPECT_EQ(list.records().at(0).placement, (Placement{2380 - 8 - 80, 800 + 4, 80, 38}));

  // A slide by (0, +40) costs no search: the area moves along.
  world.taskbar(1).band = Rect{1280, 840, 2560, 880};
  EXPECT_TRUE(list.update(world, all_displays(), {}).changed);
  EXPECT_EQ(world.clock_searches(1), 2);
  EXPECT_EQ(list.records().at(0).clock_area, (Rect{2380, 840, 2560, 880}));
  EXPECT_EQ(list.records().at(0).placement, (Placement{2380 - 8 - 80, 840 + 4, 80, 38}));
}

TEST(MirrorList, AMirrorWhoseBandCannotBeHadIsNeitherPlacedNorSearched) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{std::nullopt, 96, kSecondClock});
  MirrorList list;
  (void)list.update(world, all_displays(), {});
  ASSERT_EQ(list.records().size(), 1u);
  EXPECT_FALSE(list.records()[0].laid_out);
  EXPECT_EQ(world.clock_searches(1), 0);

  // Placed once the band is there; losing it again keeps the last placement.
  world.taskbar(1).band = kSecondBand;
  EXPECT_TRUE(list.update(world, all_displays(), {}).changed);
  const Placement placed = list.records()[0].placement;
  world.taskbar(1).band.reset();
  EXPECT_FALSE(list.update(world, all_displays(), {}).changed);
  EXPECT_EQ(list.records()[0].placement, placed);
  EXPECT_TRUE(list.records()[0].laid_out);
}

// Each mirror is placed in its own band at its own DPI, with the clock area anchoring tray_left.
TEST(MirrorList, EachMirrorIsPlacedInItsBandBeforeItsClock) {
  const struct {
    const char* name;
    Taskbar taskbar;
    Placement placement;
    bool vertical;
  } cases[] = {
      // Band 32 reduced to 40 − 6 = 34 → 32 fits; K = 38 centred in 40 (+3 offset_y); ends 8 before the clock.
      {"before the clock", {kSecondBand, 96, kSecondClock}, {2380 - 8 - 80, 760 + 3 + 1, 80, 38}, false},
      {"no clock: like right", {kSecondBand, 96, std::nullopt}, {2560 - 8 - 80, 760 + 3 + 1, 80, 38}, false},
      {"an empty clock area: like right", {kSecondBand, 96, Rect{2400, 760, 2400, 800}},
       {2560 - 8 - 80, 764, 80, 38}, false},
      // At 144 DPI: t = 26 → band 20; L = 120, K = 39 in 40 (offset 4); 12 before the clock.
      {"144 DPI", {kSecondBand, 144, kSecondClock}, {2380 - 12 - 120, 760 + 4 + 0, 120, 39}, false},
      // A taskbar that reports no DPI counts as 96.
      {"no DPI reported", {kSecondBand, 0, kSecondClock}, {2380 - 8 - 80, 764, 80, 38}, false},
      // On the left edge of a display: vertical, centred across, ending 8 above the clock's top.
      {"vertical", {Rect{1280, 0, 1320, 800}, 96, Rect{1280, 700, 1320, 800}}, {1281, 700 - 8 - 80, 38, 80}, true},
  };
  for (const auto& c : cases) {
    ScriptedMirrorWorld world;
    world.set_taskbar(1, c.taskbar);
    MirrorList list;
    ASSERT_TRUE(list.update(world, all_displays(), {}).changed) << c.name;
    const MirrorRecord& record = list.records().at(0);
    EXPECT_EQ(record.placement, c.placement) << c.name;
    EXPECT_EQ(record.vertical, c.vertical) << c.name;
    EXPECT_EQ(record.dpi, c.taskbar.dpi != 0 ? c.taskbar.dpi : 96u) << c.name;
    EXPECT_TRUE(record.laid_out) << c.name;
  }
}

TEST(MirrorList, AMirrorKeepsClearOfItsTaskbarsButtonsOrHides) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, kSecondClock});
  MirrorList list;
  ASSERT_TRUE(list.update(world, all_displays(), {}).changed);
  const Placement full{2292, 764, 80, 38};
  ASSERT_EQ(list.records().at(0).placement, full);
  const AutomationElement clock_icon{{2400, 760, 2420, 800}, kButtonControlType};  // never in the way
  const auto scanned = [&](std::int32_t task_buttons_right) {
    world.taskbar(1).elements = {clock_icon, {{1400, 762, task_buttons_right, 798}, kButtonControlType}};
    return list.update(world, all_displays(), {}).changed;
  };
  EXPECT_FALSE(scanned(2292));  // up to the mirror's start: nothing changes
  EXPECT_TRUE(scanned(2300));
  EXPECT_EQ(list.records().at(0).placement, (Placement{2304, 764, 68, 38}));
  EXPECT_FALSE(list.records().at(0).crowded_out);
  EXPECT_TRUE(scanned(2340));
  EXPECT_TRUE(list.records().at(0).crowded_out);
  world.taskbar(1).elements.clear();
  EXPECT_TRUE(list.update(world, all_displays(), {}).changed);
  EXPECT_EQ(list.records().at(0).placement, full);
  EXPECT_FALSE(list.records().at(0).crowded_out);
}

TEST(MirrorList, TheReportSaysWhetherAnyMirrorChanged) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, std::nullopt});
  world.set_taskbar(2, Taskbar{kThirdBand, 96, std::nullopt});
  MirrorList list;
  Config config = all_displays();
  const struct {
    const char* name;
    void (*change)(ScriptedMirrorWorld&, Config&);
    bool changed;
  } steps[] = {
      {"created", nullptr, true},
      {"steady", nullptr, false},
      {"steady again", nullptr, false},
      {"a taller band and a clock that move nothing under anchor right",
       [](ScriptedMirrorWorld& w, Config& c) {
         c.layout.anchor = Anchor::Right;
         w.taskbar(1).band = Rect{1280, 760, 2560, 801};  // the same placement, one row lower centre
         w.taskbar(1).clock_area = kSecondClock;
       },
       false},
      {"the same band again", nullptr, false},
      {"a geometry change only", [](ScriptedMirrorWorld&, Config& c) { c.layout.line_inset = 2; }, true},
      {"the second taskbar's DPI", [](ScriptedMirrorWorld& w, Config&) { w.taskbar(2).dpi = 120; }, true},
      {"the second turned vertical",
       [](ScriptedMirrorWorld& w, Config&) { w.taskbar(2).band = Rect{2560, 0, 2600, 800}; }, true},
      {"steady at last", nullptr, false},
  };
  for (const auto& step : steps) {
    if (step.change != nullptr) step.change(world, config);
    EXPECT_EQ(list.update(world, config, {}).changed, step.changed) << step.name;
  }
  EXPECT_TRUE(list.records().at(1).vertical);
  EXPECT_EQ(list.records().at(1).dpi, 120u);
}

TEST(MirrorList, DiagnosticsNameCreationTheClockAndEveryPlacementChange) {
  ScriptedMirrorWorld world;
  world.set_taskbar(1, Taskbar{kSecondBand, 96, kSecondClock});
  world.set_taskbar(2, Taskbar{kThirdBand, 144, std::nullopt});
  MirrorList list;
  const MirrorUpdateInputs inputs{AttachMode::Overlay, true, true};
  EXPECT_EQ(list.update(world, all_displays(), inputs).diagnostics,
            (std::vector<std::string>{
                "副ディスプレイの複製: 2 枚",
                "副タスクバーの時計: Rect { left: 2380, top: 760, right: 2560, bottom: 800 }",
                "複製の配置 vertical=false dpi=96 container=1280x40 placement=Placement { x: 2292, y: 764, width: 80, "
                "height: 38 }",
                "副タスクバーの時計: None",
                "複製の配置 vertical=false dpi=144 container=1280x30 placement=Placement { x: 3708, y: 4, width: 120, "
                "height: 30 }",
            }));
  // Nothing changed and no search due: nothing to say.
  EXPECT_EQ(list.update(world, all_displays(), inputs).diagnostics, std::vector<std::string>{});
  // Without the debug switch no line is even made.
  world.advance(2s);
  EXPECT_EQ(list.update(world, all_displays(), MirrorUpdateInputs{}).diagnostics, std::vector<std::string>{});
  EXPECT_EQ(world.clock_searches(2), 2);
}

}  // namespace
}  // namespace vessa
