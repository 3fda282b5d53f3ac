// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Icons loaded from files, to be put on dialog buttons.
//
// An icon is loaded once (at start-up the program loads its bold, italic and underline icons)
// and may then be put on any number of buttons. The program carries its own copy of the style
// icons (Bold.ico, Italic.ico, Underline.ico): a file of one of those names that is missing or
// unreadable gives the built-in icon instead. Any other file that cannot be read gives a null
// icon, which is not an error: a button given a null icon simply shows its text.

#include <memory>
#include <string>

namespace vorax::gwl {

struct IconData; // the loaded image, known to the layer only

class IconHandle {
public:
    IconHandle() = default;

    bool is_null() const { return data_ == nullptr; }
    const IconData* data() const { return data_.get(); }

private:
    friend IconHandle load_icon_file(const std::string& path);
    std::shared_ptr<const IconData> data_;
};

// Loads an icon file (ICO, PNG, ...) at its natural size, from any thread; else the built-in icon
// of the same file name; else null.
IconHandle load_icon_file(const std::string& path);

} // namespace vorax::gwl
