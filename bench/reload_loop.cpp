// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the edit-look loop in the running program (offscreen): a model's graph drawn once,
// then its file saved again and again as an editor saves it, each time with another title, and
// the time from the end of the write to the last repaint of the graph window. Measured two ways:
// through the file watch, which waits for the file to be quiet for FileWatch::kSettleMs first,
// and through File > Reload Model, which is the work itself (reading, comparing, drawing the
// window again, repainting it). Best and median of five saves each, for the examples, the grid
// of 10^4 nodes and elements, and the lattice of 10^6.
//
//   cmake --preset release && cmake --build --preset release --target bench_reload_loop -- -j2
//   build/release/bench/bench_reload_loop [FOLDER]

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/gui_session.h"
#include "app/model_reload.h"
#include "app/program.h"
#include "bench_support.h"
#include "gwl/platform/file_watch.h"
#include "gwl/platform/system.h"
#include "gwl/dialogs/dialog_handle.h"
#include "gwl/prompts.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/graphics_window.h"
#include "settings/dialog_controls.h"

namespace {

using vorax::bench::Clock;

// Draws at once whatever the Graph Settings dialog offers; nothing else is asked.
class DrawAtOnce final : public vorax::gwl::Prompter {
public:
    int message_box(std::string_view, std::string_view, unsigned) override { return 1; }
    std::optional<std::string> choose_open_file(const vorax::gwl::OpenFileRequest&) override
    {
        return std::nullopt;
    }
    std::optional<vorax::Rgb> choose_color(vorax::Rgb, std::array<vorax::Rgb, 16>&) override
    {
        return std::nullopt;
    }
    std::string read_line(vorax::gwl::TextWindow&) override { return {}; }
    std::optional<std::string> ask_text(std::string_view, std::string_view, std::string_view, std::string_view) override
    {
        return std::nullopt;
    }
    int run_modal(vorax::gwl::DialogHandle& dialog) override
    {
        vorax::gwl::dialog_user_click(dialog, vorax::settings_control::kDraw);
        return 1;
    }
    vorax::gwl::MouseEventResult wait_mouse(vorax::gwl::GraphicsWindow&, int) override { return {}; }
};

// Notes the time of every paint of a widget.
class PaintClock : public QObject {
public:
    Clock::time_point last{};
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            last = Clock::now();
        return QObject::eventFilter(object, event);
    }
};

void wait_until(const std::function<bool()>& done, int limit_ms = 60000)
{
    const auto start = Clock::now();
    while (!done() && vorax::bench::seconds_since(start) * 1000 < limit_ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

void settle_events(int ms)
{
    const auto start = Clock::now();
    while (vorax::bench::seconds_since(start) * 1000 < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

std::string read_all(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text with its title line (the first line that is not a comment) ending in `mark`.
std::string with_title_mark(const std::string& text, char mark)
{
    std::size_t at = 0;
    while (text.compare(at, 2, "//") == 0)
        at = text.find('\n', at) + 1;
    std::string changed = text;
    const std::size_t end = changed.find('\n', at);
    changed.insert(end, std::string(" ") + mark);
    return changed;
}

struct Figures {
    double best = 0.0;
    double median = 0.0;
};
Figures figures(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

void measure(const std::string& label, const std::filesystem::path& original,
             const std::filesystem::path& folder)
{
    using namespace vorax;
    const std::filesystem::path model = folder / ("edited-" + original.filename().string());
    const std::string text = read_all(original);
    {
        std::ofstream(model, std::ios::binary) << text;
    }
    AppState state;
    GuiSession session(state, StartupPaths{folder.string(), folder.string()});
    session.start();
    wait_until([&] { return session.program().start_up_done(); });
    gwl::set_program_arguments({model.string()});
    session.frame().choose_menu_item(kProgramMenu, kNewGraphItem);
    gwl::GraphicsWindow* window = session.frame().graphics_window(10);
    if (window == nullptr) {
        std::printf("%-22s no graph drawn\n", label.c_str());
        return;
    }
    PaintClock paints;
    window->viewport()->installEventFilter(&paints);
    ModelReload& reload = session.reload();

    auto save = [&](int round) {
        std::ofstream out(model, std::ios::binary | std::ios::trunc);
        out << with_title_mark(text, static_cast<char>('A' + round % 26));
    };
    // One save, then the wait for the reload and its repaints; the seconds from the end of the
    // write to the last repaint.
    auto one = [&](int round, bool by_menu) {
        const int before = reload.reloads();
        save(round);
        const auto written = Clock::now();
        if (by_menu)
            session.frame().choose_menu_item(gwl::kFileMenu, reload.menu_items().reload);
        wait_until([&] { return reload.reloads() > before; });
        settle_events(150); // the repaints that follow
        return std::chrono::duration<double>(paints.last - written).count();
    };
    std::vector<double> watched, by_menu;
    for (int round = 0; round < 5; ++round)
        watched.push_back(one(round, false));
    reload.toggle_watch(); // off: the menu's reloads alone
    for (int round = 5; round < 10; ++round)
        by_menu.push_back(one(round, true));
    reload.toggle_watch();
    const Figures w = figures(watched);
    const Figures m = figures(by_menu);
    std::printf("%-22s %9d elements   watch %7.3f s (median %7.3f)   F5 %7.3f s (median %7.3f)\n",
                label.c_str(), state.model.element_count, w.best, w.median, m.best, m.median);
    session.finish();
}

} // namespace

int main(int argc, char** argv)
{
    vorax::bench::use_offscreen_platform();
    QApplication app(argc, argv);
    DrawAtOnce prompter;
    vorax::gwl::set_prompter(&prompter);
    const std::filesystem::path folder = vorax::bench::bench_folder(argc > 1 ? argv[1] : nullptr);
    std::printf("From the end of a save to the last repaint of the graph window (settle time %d ms "
                "included in 'watch')\n",
                vorax::gwl::FileWatch::kSettleMs);
    for (const char* example : {"plane_frame.dat", "space_tower.dat", "truss_by_node.dat"})
        measure(example, std::filesystem::path(VORAX_SOURCE_DIR) / "examples" / example, folder);
    measure("grid 10^4", vorax::bench::grid_file(folder, 10000), folder);
    measure("lattice 10^6", vorax::bench::lattice_file(folder, 1000000), folder);
    vorax::gwl::set_prompter(nullptr);
    return 0;
}
