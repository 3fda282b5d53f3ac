// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Carrying layer calls from the program thread over to the user-interface thread.
//
// Qt's main thread runs the event loop, the menu actions, dialogs and drawing. The program
// thread (main_program) calls the layer too; such a call is posted to the UI thread and the
// program thread waits for its result. Calls made on the UI thread run directly.
//
// When the event loop has ended (the user chose Exit), posted work can no longer run: waiting
// calls are released with ProgramExit so that the program thread unwinds instead of hanging.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

#include "core/program_exit.h"

namespace vorax::gwl {

// True on the thread that runs the Qt event loop.
bool on_ui_thread();

// Marks the UI thread as gone (the event loop ended): pending and later calls from other threads
// throw ProgramExit. Called once by the program's main after the event loop returned.
void shut_down_ui_calls();
bool ui_calls_shut_down();
// Accepts calls again, for a new run of the program in the same process (as tests make). Calls
// that an earlier run posted and that have not run yet are dropped, never run.
void open_ui_calls();
// Calls posted to the UI thread that it has not taken up yet.
int pending_ui_calls();

namespace detail {
// Posts `task` to the UI thread and waits until it has run; returns false when the UI thread
// is shut down before the task ran.
bool post_and_wait(std::function<void()> task);
} // namespace detail

// Runs `f` on the UI thread and returns its result. Exceptions thrown by `f` (ProgramExit among
// them) are passed on to the caller's thread.
template <class F>
auto ui_call(F&& f) -> std::invoke_result_t<F&>
{
    using R = std::invoke_result_t<F&>;
    if (on_ui_thread())
        return f();
    if constexpr (std::is_void_v<R>) {
        ui_call([&] {
            f();
            return true;
        });
    } else {
        std::optional<R> result;
        std::exception_ptr error;
        const bool ran = detail::post_and_wait([&] {
            try {
                result.emplace(f());
            } catch (...) {
                error = std::current_exception();
            }
        });
        if (!ran)
            throw ProgramExit{0, {}};
        if (error)
            std::rethrow_exception(error);
        return std::move(*result);
    }
}

} // namespace vorax::gwl
