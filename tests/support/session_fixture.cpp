// SPDX-License-Identifier: GPL-3.0-or-later
#include "session_fixture.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>

#include "app/info_command.h"
#include "app/program.h"
#include "gwl/platform/system.h"
#include "gwl/surface/drawing_area.h"
#include "gwl/windows/frame.h"
#include "gwl/windows/text_window.h"

namespace vorax::testing {

SessionRun::SessionRun(const std::string& language)
{
    if (!language.empty())
        folder.write("cwd/language.dat", language + "\n");
    std::filesystem::create_directories(folder.path() / "cwd");
    std::filesystem::create_directories(folder.path() / "root");
    session = std::make_unique<GuiSession>(
        state, StartupPaths{(folder.path() / "cwd").string(), (folder.path() / "root").string()});
}

SessionRun::~SessionRun()
{
    if (session)
        session->finish();
    // What a test named on the command line or chose as the drawing area goes with its run.
    gwl::set_program_arguments({});
    gwl::set_default_drawing_area(0, 0);
}

bool SessionRun::start()
{
    // An earlier run in this process that ended the application (Exit, or the program ending
    // itself) leaves Qt's request to quit standing, and every event loop would then return at
    // once. One turn of the application's own loop takes the request back.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    session->start();
    return wait_until([this] {
        return session->program().start_up_done() && info_has_line(" * VORAX Started");
    });
}

void SessionRun::load_example(const std::string& name)
{
    state.model = example_model(name);
    state.model_loaded = true;
    state.problem_title = state.model.problem_title;
    prepare_loaded_model(state.model, state.settings.current_settings);
}

std::filesystem::path SessionRun::draw_model(const std::string& name, const std::string& text)
{
    const std::filesystem::path model = folder.write(name, text);
    gwl::set_program_arguments({model.string()});
    prompter.script_draw();
    if (!choose(kProgramMenu, kNewGraphItem) || session->frame().graphics_window(gwl::kFirstGraphUnit) == nullptr)
        return {};
    return model;
}

std::vector<std::string> SessionRun::info_lines()
{
    if (auto* window = session->frame().text_window(gwl::kInfoUnit))
        return window->lines();
    return {};
}

bool SessionRun::info_has_line(const std::string& line)
{
    const auto lines = info_lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string SessionRun::menu_text(int menu, int item)
{
    std::string text = session->frame().menu_item_text(menu, item);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

unsigned SessionRun::menu_flags(int menu, int item)
{
    return session->frame().menu_item_flags(menu, item);
}

bool SessionRun::choose(int menu, int item) { return session->frame().choose_menu_item(menu, item); }

} // namespace vorax::testing
