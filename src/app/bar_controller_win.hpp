#pragma once
// What the running program does, over AppState: the update tick (sample, draw, tooltip,
// weather intake), drawing and pushing the bars, attaching to the taskbar and laying out,
// the tooltip's anchor and refresh, and starting weather fetches. The bar window's messages,
// the tray menu's commands and the settings window's apply step call these; the other
// folders offer the narrow pieces they are made of.

#include "app/app_state_win.hpp"

namespace vessa {

// Brings what the running program works out from state.config up to date with it: the UI
// language (and so its texts), the colours, the sampler's counter query (the same sampler;
// no figures until the next tick) and the bar window's timers (none while there is no bar
// window). Start-up and accepting the settings both go through here.
void take_in_config(AppState& state);

// Timer 1: follow the taskbars, sample (drawing and refreshing the tooltip only when the
// figures changed), then take in the weather results.
void on_update_tick(AppState& state);
// Reads the counters; when the sample changed, stores it, redraws and refreshes the tooltip
// while hovering.
void take_sample(AppState& state);

// Draws the bars and every laid-out mirror from the last sample and pushes the pixels.
// Nothing before the first sample or in tray-only mode.
void draw_and_push(AppState& state);

// Shows or hides the bar window and the mirrors as the user chose (state.visible); an overlay
// over a hidden taskbar, and a mirror over a hidden secondary taskbar, stay hidden with it.
void show_or_hide_bars(AppState& state);

// Makes sure the bar window is attached to the current taskbar in the current mode, puts the
// mirrors back in z-order, then lays out.
void attach(AppState& state);
// Computes container, placement and geometry, stores them, and redraws when anything
// changed (a new DPI alone included).
void layout(AppState& state);

// One look at every taskbar the bars are laid over: the primary one in overlay mode (a child
// of the taskbar moves with it and needs none) and each secondary one with a mirror. Raises
// what was covered or left in the other band than its taskbar, hides what lies over a hidden
// taskbar (and shows it again with the taskbar, as the user chose), and lays out again when a
// taskbar or, with anchor tray_left, its notification area moved. A steady taskbar costs a
// few reads: no z-order change, no layout, no drawing.
void follow_taskbars(AppState& state);
// The shell said a taskbar may have moved or been covered: a look now, and again shortly
// after (the shell often finishes its own raise a moment later).
void taskbar_event_heard(AppState& state);
// The re-check timer fired: a look, and the timer set for the next one or killed.
void recheck_taskbars(AppState& state);

// A scan of the taskbars' buttons finished: its findings are kept and the bars laid out
// beside the buttons (shortened, or hidden when too little room is left). The scan's own
// layout asks for no further scan, so a steady taskbar is scanned no more.
void button_scan_finished(AppState& state);
// The timer of a scan that had to wait fired.
void start_pending_button_scan(AppState& state);

// Rebuilds the tooltip's rows and shows or moves it. Nothing before the first sample, and
// nothing while the bars are hidden unless the tooltip is anchored elsewhere (tray icon).
void refresh_tooltip(AppState& state);
void hide_tooltip(AppState& state);

// One weather fetch when weather is enabled with both coordinates; returns at once. Without
// them, the reading shown so far is dropped.
void start_weather_fetch(AppState& state);
// Takes in the finished fetches; redraws and refreshes a shown tooltip when the condition
// changed.
void drain_weather_results(AppState& state);

}  // namespace vessa
