#pragma once
// What a modal dialog of the page reports to the engine while the engine
// waits on it: a timer's tick (the timer's own number, 1 or 20), a button
// that closes the dialog, or a button inside the correction dialog's rows
// (row 0 to 2 the answers, row 3 the comment).
namespace kz::web::modal_event {

inline constexpr int ok = 100;
inline constexpr int yes = 101;
inline constexpr int no = 102;
inline constexpr int close_box = 103;  // the dialog's close button, or Escape

inline constexpr int play_row = 200;     // + row
inline constexpr int stop_row = 300;     // + row
inline constexpr int preview_row = 400;  // + row
inline constexpr int rows = 4;

}  // namespace kz::web::modal_event
