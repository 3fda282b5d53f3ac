// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Watching one file for the changes an editor makes to it: written in place, a new file renamed
// over it, deleted and made again. The file and its folder are both watched (a rename or a new
// file shows only in the folder), and a burst of changes is told once, after the file has been
// quiet for a while: a file still being written is not read half-way.
//
// Contents: FileWatch; read_preference, write_preference (switches kept between runs).

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vorax::gwl {

class FileWatch {
public:
    // Called on the user-interface thread once the file has changed and then stayed as it is for
    // the settle time (gone counts as a change, and so does coming back). Returning false means
    // "not now": the watch asks again a settle time later, for the same change.
    using Settled = std::function<bool()>;

    static constexpr int kSettleMs = 300;

    explicit FileWatch(Settled settled);
    ~FileWatch();
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    // Watches the file from now on, as it is now (its present state is not a change); an empty
    // path stops the watch.
    void watch(const std::string& path);
    void stop() { watch({}); }
    bool watching() const;
    const std::string& path() const;
    // For tests: the quiet time before a change is told, in place of kSettleMs.
    void set_settle_ms(int milliseconds);
    // How many changes were told so far.
    int told() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

// A switch of the program kept between runs in its settings (a menu item's check mark).
bool read_preference(std::string_view key, bool fallback);
void write_preference(std::string_view key, bool value);

} // namespace vorax::gwl
